// Under Xvfb (the test "shell_pages_xvfb"): pictures of the settings pages in a real window, in English, German and
// Czech, with the settings of a model loaded, for a person to look at (build/screenshots/page_*.png). Elsewhere they
// skip.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "mapeditor/tab.h"
#include "pages/mapgrids.h"
#include "startedform.h"
#include "vcl/menus.h"

// A tuner's advance and injection maps over the model file's empty ones (mapviews_test.cpp).
void tunersMaps(Image& image);

namespace {

class XvfbPages : public StartedFormTest
{
};

// The fewest blank pixel columns between the texts of two neighbouring cells of a row, as the editor drew them;
// with `heads`, between those of two neighbouring X heads (grey when the axis is fixed).
int narrowestGapBetweenCellTexts(TTab& tab, bool heads = false)
{
    tab.dirty |= kDirtyRedraw;
    tab.Redraw();
    TBitmap shown = tab.BackBuffer();
    const TabLayout& L = tab.layout;
    auto left = [&](int k) { return static_cast<int>(L.cellsLeft + k * L.cellWidth); };
    auto top = [&](int j) { return static_cast<int>(L.cellsTop + j * L.cellHeight); };
    const TColor darkest = heads ? 0x90 : 0x80;
    auto ink = [&](int x, int y) {
        const TColor c = shown.Pixel(x, y);
        return (c & 0xFF) < darkest && ((c >> 8) & 0xFF) < darkest && ((c >> 16) & 0xFF) < darkest;
    };
    const int rows = heads ? 1 : L.shownRows;
    int gap = 1000;
    for (int j = 0; j < rows; ++j) {
        // The texts' band, inside any frame.
        const int y0 = heads ? L.tableTop + 4 : top(j) + 4, y1 = heads ? L.tableTop + L.headHeight - 4 : top(j + 1) - 4;
        for (int k = 0; k + 1 < L.visibleColumns; ++k) {
            int last = -1, first = 1 << 20;
            for (int y = y0; y < y1; ++y) {
                for (int x = left(k) + 1; x < left(k + 1); ++x)
                    if (ink(x, y)) last = std::max(last, x);
                for (int x = left(k + 1) + 1; x < left(k + 2); ++x)
                    if (ink(x, y)) first = std::min(first, x);
            }
            if (last >= 0 && first < (1 << 20)) gap = std::min(gap, first - last - 1);
        }
    }
    return gap;
}

}  // namespace

TEST_F(XvfbPages, PagesWithAModelsSettings)
{
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "runs under Xvfb only";
    const std::filesystem::path dir = std::filesystem::path(SCREENSHOT_DIR);
    std::filesystem::create_directories(dir);
    // A few values of the user's own on top of the model's settings, so that fields show numbers.
    Image& image = form->images.image;
    image[2660] = 125;
    image[2661] = 128;
    image[2662] = 110;
    image[2663] = 20;
    image[2664] = 30;
    image[2667] = 105;
    image[4876] = 30;
    image[4877] = 20;
    tunersMaps(image);
    image[2680] = 4;  // four cylinders, coupled injector maps
    image[3817] = 1;
    for (int j = 0; j < 15; ++j) {
        image[std::size_t(3845 + j)] = image[std::size_t(3875 + j)] = std::uint8_t(10 + 15 * j);
        image[std::size_t(3860 + j)] = std::uint8_t(60 + 3 * j);
        image[std::size_t(3890 + j)] = std::uint8_t(80 + 2 * j);
    }
    image[3906] = 1;
    ShowImageOnPages(*form, 1);
    form->Show();
    QApplication::processEvents();
    const struct
    {
        int page;
        const char* file;
    } pages[] = {{PAGE_BIKE, "page_bike.png"},         {PAGE_TEST, "page_test.png"},
                 {PAGE_ADVANCE, "page_advance.png"},   {PAGE_INJECTION, "page_injection.png"},
                 {PAGE_POSITION, "page_position.png"}};
    for (const auto& p : pages) {
        form->PageControl1->SetActivePageIndex(p.page);
        form->PageControl1Change(form->PageControl1);
        for (int i = 0; i < 5; ++i) form->Timer1->Fire();
        QApplication::processEvents();
        EXPECT_TRUE(form->Widget()->grab().save(QString::fromStdString((dir / p.file).string())));
    }
    // The injection page's other kinds of sheet, each with its own row of controls.
    form->PageControl1->SetActivePageIndex(PAGE_INJECTION);
    form->PageControl1Change(form->PageControl1);
    TTab* injection = form->mapEditors[kInjectionEditorId];
    ASSERT_NE(injection, nullptr);
    EXPECT_GE(narrowestGapBetweenCellTexts(*injection), 6) << "injection times run together";
    for (int sheet : {4, 5, 6, 7}) {
        injection->SelectSheet(sheet);
        ShowImageOnPages(*form, 0);
        for (int i = 0; i < 3; ++i) form->Timer1->Fire();
        QApplication::processEvents();
        const auto file = dir / ("page_injection_sheet" + std::to_string(sheet) + ".png");
        EXPECT_TRUE(form->Widget()->grab().save(QString::fromStdString(file.string())));
    }
    injection->SelectSheet(0);
    // The same pages in German and Czech, chosen from the Language menu.
    for (const auto& [item, suffix] : {std::pair{"MenuGerman", "_de"}, std::pair{"MenuCzech", "_cs"}}) {
        form->MainMenu1->Find(item)->Click();
        for (const auto& p : pages) {
            form->PageControl1->SetActivePageIndex(p.page);
            form->PageControl1Change(form->PageControl1);
            for (int i = 0; i < 3; ++i) form->Timer1->Fire();
            QApplication::processEvents();
            std::string name = p.file;
            name.insert(name.size() - 4, suffix);
            EXPECT_TRUE(form->Widget()->grab().save(QString::fromStdString((dir / name).string())));
        }
        form->PageControl1->SetActivePageIndex(PAGE_INJECTION);
        form->PageControl1Change(form->PageControl1);
        for (int sheet : {4, 5, 7}) {
            injection->SelectSheet(sheet);
            ShowImageOnPages(*form, 0);
            for (int i = 0; i < 3; ++i) form->Timer1->Fire();
            QApplication::processEvents();
            const auto file = dir / ("page_injection_sheet" + std::to_string(sheet) + suffix + ".png");
            EXPECT_TRUE(form->Widget()->grab().save(QString::fromStdString(file.string())));
        }
        injection->SelectSheet(0);
    }
    form->MainMenu1->Find("MenuEnglish")->Click();
}

// Every page whose tab shows, in English, German and Czech at the window's own size, with a model's settings and
// the values that make the most controls show (all cylinders, optional sensors and input functions, each kind of
// power output function): build/screenshots/every_<page>_<language>.png, for a person to look at.
TEST_F(XvfbPages, EveryPageInThreeLanguages)
{
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "runs under Xvfb only";
    const std::filesystem::path dir = std::filesystem::path(SCREENSHOT_DIR);
    std::filesystem::create_directories(dir);
    Image& image = form->images.image;
    tunersMaps(image);
    for (auto [address, value] : std::initializer_list<std::pair<int, int>>{
             {2501, 1}, {2680, 4}, {2681, 5}, {2682, 2}, {2695, 1}, {2733, 5}, {3836, 14}, {3837, 13}, {3838, 18},
             {3839, 12}, {3840, 17}, {4060, 2}, {4067, 4}, {4411, 1}, {4431, 1}, {4625, 1}, {4797, 1}})
        image[std::size_t(address)] = std::uint8_t(value);
    // The power outputs: an on/off map over throttle, the output speed, both PWM tables, an on/off map over pressure.
    for (auto [address, value] : std::initializer_list<std::pair<int, int>>{
             {4444, 3}, {4445, 13}, {4446, 9}, {4447, 19}, {4881, 8}, {4460, 30}})
        image[std::size_t(address)] = std::uint8_t(value);
    for (int i = 0; i < 10; ++i) image[std::size_t(4998 + i)] = std::uint8_t(20 + 5 * i);
    for (int i = 0; i < 10; ++i) image[std::size_t(5017 + i)] = std::uint8_t(10 * i);
    form->Show();
    // The PWM tables of outputs 3 and 4: ten columns in a third of the page, their heads and values apart.
    ShowImageOnPages(*form, 1);
    form->PageControl1->SetActivePageIndex(PAGE_POWER_OUT);
    form->PageControl1Change(form->PageControl1);
    QApplication::processEvents();
    for (int id : {62, 63}) {
        SCOPED_TRACE(id);
        TTab* pwm = form->mapEditors[std::size_t(id)];
        ASSERT_NE(pwm, nullptr);
        EXPECT_GE(narrowestGapBetweenCellTexts(*pwm, true), 3) << "the temperature or speed heads run together";
        EXPECT_GE(narrowestGapBetweenCellTexts(*pwm), 3) << "the PWM values run together";
    }
    for (const auto& [item, suffix] :
         {std::pair{"MenuEnglish", "en"}, std::pair{"MenuGerman", "de"}, std::pair{"MenuCzech", "cs"}}) {
        form->MainMenu1->Find(item)->Click();
        ShowImageOnPages(*form, 1);
        for (int page = 0; page < kPageCount; ++page) {
            if (!form->tabSheets[std::size_t(page)]->TabVisible()) continue;
            form->PageControl1->SetActivePageIndex(page);
            form->PageControl1Change(form->PageControl1);
            for (int i = 0; i < 5; ++i) form->Timer1->Fire();
            QApplication::processEvents();
            char name[64];
            std::snprintf(name, sizeof name, "every_%02d_%s.png", page, suffix);
            EXPECT_TRUE(form->Widget()->grab().save(QString::fromStdString((dir / name).string())));
        }
    }
    form->MainMenu1->Find("MenuEnglish")->Click();
}
