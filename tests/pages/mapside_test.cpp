// The main window's side of the map editors: the factory and its limit, the guide values between the image and the
// editors, the live values of a frame as the editors take them, the injection editor's copy and re-sampling of its
// maps, and the recording's page record.
#include <gtest/gtest.h>

#include <array>

#include "link/ignlog.h"
#include "mapeditor/tab.h"
#include "pagefixture.h"
#include "pages/mapside.h"
#include "settings/helpers.h"
#include "vcl/dialogs.h"

namespace {

class MapSide : public PagesTest
{
protected:
    void SetUp() override { Build(); }
    TTab& make(int id, int sheets, int columns, int rows, const char* dataName = "ADV", int sheetFlags = 0)
    {
        TTab* tab = CreateMapEditor(w, id, 500, 240, kTabSideBar | kTabTableView | kTabGraph2D | kTabGraph3D,
                                    w.tabSheets[PAGE_ADVANCE]);
        EXPECT_NE(tab, nullptr);
        for (int i = 0; i < sheets; ++i) {
            tab->AddSheet("###Sheet", "RPM", "TP", dataName, columns, rows, sheetFlags);
            tab->SetAxis(i, 4, {.name = dataName, .min = -100000, .max = 100000});
        }
        tab->SelectSheet(0);
        return *tab;
    }
    LiveValues frame()
    {
        LiveValues v;
        v.rpm = 4500;
        v.tps = 357;        // 35.7 %
        v.gasHandle = 612;  // 61.2 %
        v.iap = 1004;       // 100.4 kPa
        v.coolant = 185;
        v.air = 125;
        v.startChoke = 47;
        v.tpShare = 40;
        v.lambda = {147, 130, 120, 110};
        v.map0UsesIap = v.secondAdvanceMap = true;
        return v;
    }
};

}  // namespace

TEST_F(MapSide, TheSeventySixthEditorIsRefused)
{
    vcl::ScopedDialogScript dialogs;
    // The pages made theirs already.
    const std::size_t made = w.tabList.editors.size();
    for (int i = int(made); i < kMaxMapEditors; ++i)
        ASSERT_NE(CreateMapEditor(w, i % kMapEditorIds, 0, 0, kTabTableView, w.tabSheets[PAGE_BIKE]), nullptr) << i;
    EXPECT_TRUE(dialogs.Messages().empty());
    EXPECT_EQ(CreateMapEditor(w, 7, 0, 0, kTabTableView, w.tabSheets[PAGE_BIKE]), nullptr);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, "Too many tabs");
    EXPECT_EQ(dialogs.Messages()[0].caption, "Error");
    EXPECT_EQ(dialogs.Messages()[0].flags, unsigned(MB_OK | MB_ICONERROR));
    EXPECT_EQ(w.tabList.editors.size(), std::size_t(kMaxMapEditors));
    // What the factory gives every editor: size (0 is 500 x 200), id, follow switch, pictures, colouring 4.
    TTab& first = *w.tabList.editors[made];
    EXPECT_EQ(first.BackBuffer().Width(), 500);
    EXPECT_EQ(first.BackBuffer().Height(), 200);
    EXPECT_EQ(first.followSwitch, &w.tabList.followSwitch);
    EXPECT_FALSE(first.bitmaps[kBmpCopy].Empty());
    EXPECT_EQ(first.graph.colouring, 4);
    // The last one made with its id.
    EXPECT_EQ(w.mapEditors[(kMaxMapEditors - 1) % kMapEditorIds], w.tabList.editors.back().get());
}

TEST_F(MapSide, GuideValuesGoBothWays)
{
    w.images.image[kImageBaseAdvance] = 12;
    w.images.image[kImageLimiter] = 95;
    w.images.image[kImageInjectionLimiter] = 88;
    w.images.image[kImageStartLimiter] = 30;
    SetPage(PAGE_ADVANCE);  // the editors' page, shown while the user edits them
    ShowImageOnPages(w, 1);
    TTab& advance = make(kAdvanceEditorId, 2, 15, 10, "ADV");
    TTab& injection = make(kInjectionEditorId, 4, 20, 10, "INJ");
    FeedLiveValuesToMapEditors(w, false);  // the factory asked for the guide values
    EXPECT_EQ(advance.guides.baseAdvance, 12);
    EXPECT_EQ(advance.guides.limiter, 9500);
    EXPECT_EQ(advance.guides.startLimiter, 3000);
    EXPECT_EQ(injection.guides.limiter, 8800);  // an injection map's limiter is its own byte
    EXPECT_EQ(w.tabList.guideRefresh, 0);

    // An edit of the injection limiter goes to byte 2661 and makes every editor reload at the next tick.
    injection.guides.limiter = 9100;
    const int commitsBefore = commits;
    NotifyMapEdited(w, injection);
    EXPECT_EQ(w.images.image[kImageInjectionLimiter], 91);
    EXPECT_EQ(w.images.image[kImageLimiter], 95);
    EXPECT_EQ(w.tabList.guideRefresh, 2);
    EXPECT_GT(commits, commitsBefore);  // the injection page's routine commits, and so does the framework after it
    advance.dirty = 0;
    FeedLiveValuesToMapEditors(w, false);
    EXPECT_EQ(w.tabList.guideRefresh, 0);
    EXPECT_EQ(injection.guides.limiter, 9100);
    // The other editors recompute their views (a tick redraws them, so look at what was drawn for).
    advance.guides.baseAdvance = 40;
    NotifyMapEdited(w, advance);
    EXPECT_EQ(w.images.image[kImageBaseAdvance], 40);
    EXPECT_EQ(w.images.image[kImageLimiter], 95);  // unchanged guides leave their bytes alone
    injection.guides.baseAdvance = 0;
    FeedLiveValuesToMapEditors(w, false);
    EXPECT_EQ(injection.guides.baseAdvance, 40);
    // An edit that changes no guide value asks for nothing.
    NotifyMapEdited(w, advance);
    EXPECT_EQ(w.tabList.guideRefresh, 0);
}

TEST_F(MapSide, LiveValuesOfAFrame)
{
    TTab& advance = make(kAdvanceEditorId, 2, 15, 10, "ADV", kSheetOperatingPoint);
    TTab& servo = make(kServoEditorId, 2, 15, 10, "SRV");
    TTab& injection = make(kInjectionEditorId, 6, 20, 10, "INJ", kSheetLambdaBlock);
    w.liveValues = frame();
    FeedLiveValuesToMapEditors(w, true);
    const TabLiveValues& a = advance.live;
    EXPECT_EQ(a.rpm, 4500);
    EXPECT_EQ(a.tp, 35);
    EXPECT_EQ(a.iap, 100);  // (1004 + 5) / 10
    EXPECT_EQ(a.tw, 85);
    EXPECT_EQ(a.ta, 25);
    EXPECT_EQ(a.tst, 4);
    EXPECT_EQ(a.tpShare, 40);
    EXPECT_EQ(a.mapMode, 0x11);
    EXPECT_EQ(a.flags, 0);
    EXPECT_EQ(advance.sheets[0].liveValue, 147);
    // The servo editor's throttle is the gas handle when its sheet's servo drives the throttle.
    EXPECT_EQ(servo.live.tp, 35);
    w.liveValues.throttleByServo = true;
    FeedLiveValuesToMapEditors(w, true);
    EXPECT_EQ(servo.live.tp, 61);
    EXPECT_EQ(advance.live.tp, 35);
    // The injector sheets take their own lambda channels, raw; coupled, all take channel 1.
    EXPECT_EQ(injection.sheets[0].liveValue, 147);
    EXPECT_EQ(injection.sheets[3].liveValue, 110);
    EXPECT_EQ(injection.sheets[5].liveValue, 147);
    EXPECT_EQ(injection.buttons[kCmdLambda].state, kButtonEnabled);
    EXPECT_EQ(advance.buttons[kCmdLambda].state, 0);
    w.images.image[kImageInjectionMode] = 1;
    FeedLiveValuesToMapEditors(w, true);
    EXPECT_EQ(injection.sheets[3].liveValue, 147);
    // Lambda notation: lambda x 100, rounded: AFR 14.7 is 100 (the old truncation gave 99), 13.0 is 88.
    w.images.image[kImageLambdaNotation] = 1;
    FeedLiveValuesToMapEditors(w, true);
    EXPECT_EQ(advance.sheets[0].liveValue, 100);
    w.liveValues.lambda[0] = 130;
    FeedLiveValuesToMapEditors(w, true);
    EXPECT_EQ(advance.sheets[0].liveValue, 88);
    EXPECT_EQ(injection.sheets[0].liveValue, 130);  // the injector maps stay raw
    // No sensor values: coolant 80, air 50. No live data at all: flag 0x100, the Monitor Lambda buttons off.
    w.liveValues.coolant = w.liveValues.air = 0;
    FeedLiveValuesToMapEditors(w, false);
    EXPECT_EQ(advance.live.tw, 80);
    EXPECT_EQ(advance.live.ta, 50);
    EXPECT_EQ(advance.live.flags, TabLiveValues::kLiveNone);
    EXPECT_EQ(injection.buttons[kCmdLambda].state, 0);
    // Every tick renews the editors' reference copies of their points.
    advance.sheets[1].x.points[3] = 77;
    FeedLiveValuesToMapEditors(w, false);
    EXPECT_EQ(advance.sheets[1].x.prevPoints[3], 77);
}

// The lambda-learning circles of an editor from the factory take the mixture gauge's colours: the colour table's
// step for a value between the thresholds, magenta from the top threshold on.
TEST_F(MapSide, LambdaCirclesInTheGaugesColours)
{
    Image& image = w.images.image;
    image[4872] = 100;  // the lambda bar's thresholds
    image[4875] = 200;
    for (int i = 0; i < kLambdaColorCount; ++i) w.lambdaColors[std::size_t(i)] = 0x102030u + std::uint32_t(i) * 0x010101u;
    TTab& tab = make(kTuningEditorId, 1, 8, 6, "AFR", kSheetLambdaBlock);
    CSheet& s = tab.sheets[0];
    s.lambdaBlock.assign(kGridCells, 0);
    s.lambdaBlock[gridIndex(2, 3)] = 140;
    s.lambdaBlock[gridIndex(5, 1)] = 230;
    tab.dirty |= kDirtyRedraw;
    tab.Redraw();
    const TabLayout& L = tab.layout;
    auto circle = [&](int col, int row) {
        return tab.BackBuffer().Pixel(static_cast<int>(L.cellsLeft + col * L.cellWidth + 4),
                                      static_cast<int>(L.cellsTop + (row + 0.5) * L.cellHeight));
    };
    EXPECT_EQ(circle(2, 3), ColorToRgb(LambdaColor(image, w.lambdaColors, 140)));
    EXPECT_EQ(circle(2, 3), SwapRedBlue(0x102030u + 40 * 0x010101u));  // step 40 of the table
    EXPECT_EQ(circle(5, 1), ColorToRgb(kColorMagenta));
}

TEST_F(MapSide, InjectionMapsCopiedAndReSampled)
{
    TTab& injection = make(kInjectionEditorId, 4, 20, 10, "INJ");
    CSheet& one = injection.sheets[0];
    CSheet& two = injection.sheets[1];
    // Map 1: RPM 5..250 (5 points), rows 0..40; map 2: RPM 10..200 (4 points), values rising with RPM.
    one.x.count = 5;
    two.x.count = 4;
    one.y.count = two.y.count = 2;
    const int xs1[] = {5, 20, 100, 200, 250}, xs2[] = {10, 50, 100, 200};
    for (int i = 0; i < 5; ++i) one.x.points[i] = xs1[i];
    for (int i = 0; i < 4; ++i) two.x.points[i] = xs2[i];
    one.y.points[0] = two.y.points[0] = 0;
    one.y.points[1] = two.y.points[1] = 40;
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 4; ++c) two.value(c, r) = 1000 + 100 * c + r;
    w.images.image[kImageInjectionCount1] = 5;

    AlignInjectionSheets(w);
    for (int k = 1; k < 4; ++k) EXPECT_EQ(w.images.image[kImageInjectionCount1 + k], 5);
    EXPECT_EQ(two.x.count, 5);
    EXPECT_EQ(two.x.points[4], 250);
    EXPECT_EQ(two.value(0, 0), 1000);  // RPM 5, before map 2's first point: its first column
    EXPECT_EQ(two.value(4, 1), 1301);  // RPM 250, past its last point: its last column
    EXPECT_EQ(two.value(2, 0), 1200);  // RPM 100, on a point
    EXPECT_EQ(two.value(1, 0), 1025);  // RPM 20, a quarter of the way from 10 to 50
    // A follower with one RPM point reads that column only (no value beyond its points).
    CSheet& three = injection.sheets[2];
    three.x.count = 1;
    three.x.points[0] = 100;
    three.value(0, 0) = 7;
    three.value(1, 0) = 999;  // stale, beyond the point in use
    three.y.points[0] = 0;
    three.y.points[1] = 40;
    AlignInjectionSheets(w);
    EXPECT_EQ(three.value(4, 0), 7);

    // 1=2=3=4: maps 2 to 4 become map 1's 20 points and 10 x 20 values.
    one.value(19, 9) = 4242;
    one.x.points[19] = 260;
    CopyInjectionSheets(w);
    for (int k = 1; k < 4; ++k) {
        EXPECT_EQ(injection.sheets[k].value(19, 9), 4242);
        EXPECT_EQ(injection.sheets[k].x.points[19], 260);
        EXPECT_EQ(injection.sheets[k].x.count, 5);
    }
}

TEST_F(MapSide, PageRecordNamesEachEditorsSheet)
{
    // The advance page's own editor, and one made here for a page still to come.
    ASSERT_NE(w.mapEditors[kAdvanceEditorId], nullptr);
    TTab& advance = *w.mapEditors[kAdvanceEditorId];
    TTab& servo = make(kServoEditorId, 2, 15, 10);
    auto place = [&](const TTab& editor) {
        std::size_t j = 0;
        while (j < w.tabList.editors.size() && w.tabList.editors[j].get() != &editor) ++j;
        return j;
    };
    advance.SelectSheet(1);
    LogPage page;
    FillEditorSheets(w, page);
    EXPECT_EQ(page.editorIds[place(advance)], kAdvanceEditorId);
    EXPECT_EQ(page.sheets[place(advance)], 1);
    EXPECT_EQ(page.editorIds[place(servo)], kServoEditorId);
    EXPECT_EQ(page.sheets[place(servo)], 0);
    // Played back: the editors take the recorded sheets; the unused places (id 0, sheet 0) change nothing.
    advance.SelectSheet(0);
    servo.SelectSheet(1);
    SelectRecordedSheets(w, page);
    EXPECT_EQ(advance.current, 1);
    EXPECT_EQ(servo.current, 0);
}
