// Pictures of the map editor's graph views as a tuner sees them: the advance and injection maps of the model the
// program starts with, in editors made by the main window's factory (as the pages will make them), drawn as 2-D
// and 3-D graphs, and a power output's on/off map as a check grid. Left in build/screenshots for a person to look
// at; the test checks that each view drew its surface, curves or cells.
#include <QApplication>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>

#include "mapeditor/graph3d.h"
#include "mapeditor/tab.h"
#include "pages/mapgrids.h"
#include "pages/mapside.h"
#include "startedform.h"

namespace {

const StepEntry kAdvanceSteps[] = {{10, 5, 1, 1, 2}, {30, 5, 5, 5, 5}};
const StepEntry kGridRpmSteps[] = {{25000, 2000, 1000, 1000, 2000}};
const StepEntry kGridTpSteps[] = {{100, 25, 25, 10, 25}};
constexpr int kTpPoints[] = {0, 2, 5, 10, 20, 30, 40, 60, 80, 100};

class MapViews : public StartedFormTest
{
protected:
    // The advance and injection pages' own editors, showing the image.
    TTab& pageEditor(int id)
    {
        ShowImageOnPages(*form, 1);
        TTab* tab = form->mapEditors[std::size_t(id)];
        EXPECT_NE(tab, nullptr);
        tab->SelectSheet(0);
        return *tab;
    }
    TTab& advance() { return pageEditor(kAdvanceEditorId); }
    TTab& injection() { return pageEditor(kInjectionEditorId); }
    // Power output 1's throttle/RPM on/off map, as its page makes it (3 RPM and 2 throttle breakpoints).
    TTab& onOffMap()
    {
        TTab* tab = CreateMapEditor(*form, 25, 273, 218, kTabCheckGrid | kTabTableView | kTabGraph2D,
                                    form->tabSheets[PAGE_POWER_OUT]);
        tab->layout.visibleColumns = 4;
        tab->layout.visibleRows = 3;
        tab->AddSheet("1", "RPM", "TP", "Pout1", 3, 2, kSheetOperatingPoint);
        tab->SetAxis(0, 1, {.name = "RPM", .min = 3, .max = 250, .scale = 100, .steps = kGridRpmSteps, .count = 3,
                            .collapseOption = 0, .resizable = 0, .colour = 0xFCE2F4});
        tab->SetAxis(0, 2, {.name = "TP", .unit = "%", .min = 0, .max = 100, .steps = kGridTpSteps, .count = 2,
                            .resizable = 0, .collapsePos = kCollapseLast, .colour = 0xFCE2F4});
        tab->SetAxis(0, 4, {.name = "PO", .min = 0, .max = 2, .steps = kAdvanceSteps, .options = 2, .colour = 0xFCE2F4});
        const Image& image = form->images.image;
        CSheet& sheet = tab->sheets[0];
        for (int i = 0; i < 3; ++i) sheet.x.points[std::size_t(i)] = image[std::size_t(4448 + i)];
        for (int j = 0; j < 2; ++j) sheet.y.points[std::size_t(j)] = image[std::size_t(4464 + j)];
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 4; ++c) sheet.value(c, r) = (image[std::size_t(4472 + r)] >> c) & 1;
        tab->UpdateLimits(sheet, 0x107);
        tab->SelectSheet(0);
        return *tab;
    }
    void save(TTab& tab, const std::string& name)
    {
        tab.dirty |= kDirtyRedraw | kDirtyRecompute;
        tab.Redraw();
        const std::filesystem::path dir(SCREENSHOT_DIR);
        std::filesystem::create_directories(dir);
        EXPECT_TRUE(tab.BackBuffer().SaveToFile((dir / name).string()));
    }
    // Pixels of the height ramp's colours inside the graph area (every second one each way).
    int rampPixels(TTab& tab)
    {
        const auto& ramp = HeightRamp();
        const std::set<TColor> colours(ramp.begin(), ramp.end());
        int n = 0;
        const TBitmap& b = tab.BackBuffer();
        for (int y = tab.graph.top; y < b.Height() - tab.graph.bottom; y += 2)
            for (int x = tab.graph.left + tab.graph.scaleSpace; x < b.Width() - tab.graph.right; x += 2)
                n += colours.count(b.Pixel(x, y)) != 0;
        return n;
    }
    // Pixels of a colour inside the graph area.
    int count(TTab& tab, TColor colour)
    {
        int n = 0;
        const TBitmap& b = tab.BackBuffer();
        for (int y = tab.graph.top; y < b.Height() - tab.graph.bottom; y += 2)
            for (int x = tab.graph.left; x < b.Width() - tab.graph.right; x += 2) n += b.Pixel(x, y) == colour;
        return n;
    }
};

}  // namespace

// The model files carry empty maps over a few hundred rpm; a tuner's maps are written over them first, as a
// settings file would bring them: RPM points up to 12000 and 14000 rpm with the limiters near the end, advance
// rising with RPM and falling with throttle, injection times rising with both.
void tunersMaps(Image& image)
{
    for (int map = 0; map < 2; ++map) {
        for (int c = 0; c < 15; ++c) image[std::size_t(2755 + 15 * map + c)] = std::uint8_t(10 + c * 8);
        image[std::size_t(3089 + map)] = 15;
    }
    for (int map = 0; map < 4; ++map) {
        for (int c = 0; c < 20; ++c) image[std::size_t(3097 + 20 * map + c)] = std::uint8_t(10 + c * 7);
        image[std::size_t(kImageInjectionCount1 + map)] = 20;
    }
    image[kImageLimiter] = 115;
    image[kImageInjectionLimiter] = 140;
    image[kImageStartLimiter] = 40;
    image[kImageBaseAdvance] = 8;
    for (int map = 0; map < 2; ++map)
        for (int r = 0; r < 10; ++r)
            for (int c = 0; c < 15; ++c) {
                const double rpm = image[std::size_t(2755 + 15 * map + c)] * 100.0, tp = kTpPoints[r];
                const double degrees = 6 + 30 * (1 - std::exp(-rpm / 4500)) - 12 * tp / 100 + 3 * map;
                image[std::size_t(2785 + 150 * map + 15 * r + c)] = std::uint8_t(std::clamp(degrees, 0.0, 60.0));
            }
    for (int map = 0; map < 4; ++map)
        for (int r = 0; r < 10; ++r)
            for (int c = 0; c < 20; ++c) {
                const double rpm = image[std::size_t(3097 + 20 * map + c)] * 100.0, tp = kTpPoints[r];
                const double us = 1400 + 7000 * std::sqrt(tp / 100) + 1500 * rpm / 20000 + 150 * map;
                setImageWord(image, 200 * map + 20 * r + c, std::uint16_t(us));
            }
}

TEST_F(MapViews, AdvanceAndInjectionMapsAsGraphs)
{
    tunersMaps(form->images.image);
    TTab& adv = advance();
    TTab& inj = injection();
    FeedLiveValuesToMapEditors(*form, false);  // the guide values from the image, as the first tick gives them
    ASSERT_GT(adv.sheets[0].value(5, 5) + adv.sheets[0].value(10, 9), 0) << "the model has no advance values";
    for (TTab* tab : {&adv, &inj}) {
        const std::string name = tab == &adv ? "advance" : "injection";
        tab->Command(kCmdView2D);
        save(*tab, "map_" + name + "_2d.png");
        EXPECT_GT(count(*tab, tab->sheets[0].currentRowColour), 20) << name;  // the current curve is drawn
        tab->Command(kCmdView3D);
        save(*tab, "map_" + name + "_3d.png");
        EXPECT_GT(rampPixels(*tab), 1000) << name;  // the surface in height colours
    }
}

TEST_F(MapViews, PowerOutputOnOffMapAsACheckGrid)
{
    // A tuner's breakpoints (3000, 6000, 9000 rpm; 20 and 60 %) in place of the model file's empty map.
    Image& image = form->images.image;
    const std::uint8_t rpm[] = {30, 60, 90}, tp[] = {20, 60};
    std::copy(std::begin(rpm), std::end(rpm), image.begin() + 4448);
    std::copy(std::begin(tp), std::end(tp), image.begin() + 4464);
    TTab& grid = onOffMap();
    ASSERT_TRUE(grid.drawnViews & kViewCheck);
    grid.Tick();  // drawn once, as the main timer does
    // A person's rubber band over the upper right cells turns them on.
    auto send = [&](TMsg msg, int x, int y) {
        TMessage m;
        m.msg = msg;
        m.x = x;
        m.y = y;
        grid.Perform(m);
    };
    const TTabGraph& g = grid.graph;
    const int top = g.plotBottom - g.plotHeight;
    send(TMsg::MouseMove, g.screenX[1] + 5, top + 5);
    send(TMsg::LButtonDown, g.screenX[1] + 5, top + 5);
    send(TMsg::MouseMove, g.plotLeft + g.plotWidth - 5, g.screenY[0] + 5);
    send(TMsg::LButtonUp, g.plotLeft + g.plotWidth - 5, g.screenY[0] + 5);
    EXPECT_EQ(grid.sheets[0].value(3, 1), 1);
    EXPECT_EQ(grid.sheets[0].value(1, 1), 0);
    grid.sheets[0].value(0, 2) = 2;  // a cell with the second mark
    save(grid, "map_onoff_index.png");
    EXPECT_GT(count(grid, 0x008000), 50);  // on cells
    grid.graph.proportional = 1;
    save(grid, "map_onoff_proportional.png");
    EXPECT_GT(count(grid, 0x008000), 50);
}

// The Jet menu's three injection modes as a person picks them, and Tools > Plus and Interpolate on the injection
// page, with the injection editor made by the factory.
TEST_F(MapViews, InjectionModesAndToolsFromTheMenus)
{
    tunersMaps(form->images.image);
    TTab& inj = injection();
    // The modes are picked with the injection page shown, whose sheets hold what the test gives them below.
    form->PageControl1->SetActivePageIndex(PAGE_INJECTION);
    form->PageControl1Change(form->PageControl1);
    CSheet& one = inj.sheets[0];
    CSheet& two = inj.sheets[1];
    // Map 2 differs: fewer points, its own values.
    two.x.count = 10;
    for (int c = 0; c < 10; ++c) two.x.points[std::size_t(c)] = std::uint8_t(10 + 15 * c);
    for (int r = 0; r < 10; ++r)
        for (int c = 0; c < 20; ++c) two.value(c, r) = 50000 + 1000 * c;
    Image& image = form->images.image;
    image[kImageInjectionMode] = 0;

    // Coupled: map 2 takes map 1's points, its own values re-sampled onto them; the RPM counts follow map 1.
    form->Menu_Jet123CoupledClick(nullptr);
    EXPECT_EQ(image[kImageInjectionMode], 1);
    EXPECT_EQ(two.x.count, one.x.count);
    EXPECT_EQ(two.x.points[5], one.x.points[5]);  // 45 (4500 rpm) ...
    // ... lies a third of the way from map 2's 40 to 55, kept in whole microseconds.
    EXPECT_EQ(two.value(5, 3), (50000 + 1000 * 7 / 3) / 10 * 10);
    EXPECT_EQ(image[kImageInjectionCount1 + 1], image[kImageInjectionCount1]);
    // Normal after Coupled copies nothing.
    two.value(0, 0) = 12340;
    form->Menu_Jet123NormalClick(nullptr);
    EXPECT_EQ(image[kImageInjectionMode], 0);
    EXPECT_EQ(two.value(0, 0), 12340);
    // 1=2=3=4: maps 2 to 4 are map 1; leaving it for Normal copies map 1 again first.
    form->Menu_Jet123StejnyClick(nullptr);
    EXPECT_EQ(image[kImageInjectionMode], 2);
    EXPECT_EQ(two.value(0, 0), one.value(0, 0));
    EXPECT_EQ(inj.sheets[3].value(19, 9), one.value(19, 9));
    two.value(0, 0) = 4321;
    form->Menu_Jet123NormalClick(nullptr);
    EXPECT_EQ(two.value(0, 0), one.value(0, 0));

    // Tools > Plus on the injection page: its editor takes the focus and steps the selected cell by 1 %.
    form->Show();
    QApplication::setActiveWindow(form->Widget());
    form->PageControl1->SetActivePageIndex(PAGE_INJECTION);
    form->PageControl1Change(form->PageControl1);
    ASSERT_EQ(form->currentPage, PAGE_INJECTION);
    inj.SelectSheet(0);
    one.sel.SelectOne(inj.fullHits, 4, 2);
    const std::int32_t before = one.value(4, 2);
    form->MenuToolsPlusClick(nullptr);
    EXPECT_TRUE(inj.Focused());
    EXPECT_GT(one.value(4, 2), before);
    EXPECT_LE(one.value(4, 2), before + before / 50);
    // Tools > Interpolate over a selected rectangle fills it from its corners.
    one.sel.SelectOne(inj.fullHits, 0, 0);
    one.sel.SelectTo(inj.fullHits, 4, 0);
    one.value(0, 0) = 10000;
    one.value(4, 0) = 50000;
    form->MenuToolsInterpolOnClick(nullptr);
    EXPECT_NE(one.value(2, 0), 0);
    EXPECT_GT(one.value(2, 0), 10000);
    EXPECT_LT(one.value(2, 0), 50000);
}
