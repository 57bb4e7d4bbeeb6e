// Under Xvfb (the test "shell_pages_xvfb"): pictures of the settings pages in a real window, in English, German and
// Czech, with the settings of a model loaded, for a person to look at (build/screenshots/page_*.png). Elsewhere they
// skip.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QWidget>
#include <algorithm>
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

// The fewest blank pixel columns between the texts of two neighbouring cells of a row, as the editor drew them.
int narrowestGapBetweenCellTexts(TTab& tab)
{
    tab.dirty |= kDirtyRedraw;
    tab.Redraw();
    TBitmap shown = tab.BackBuffer();
    const TabLayout& L = tab.layout;
    auto left = [&](int k) { return static_cast<int>(L.cellsLeft + k * L.cellWidth); };
    auto top = [&](int j) { return static_cast<int>(L.cellsTop + j * L.cellHeight); };
    auto ink = [&](int x, int y) {
        const TColor c = shown.Pixel(x, y);
        return (c & 0xFF) < 128 && ((c >> 8) & 0xFF) < 128 && ((c >> 16) & 0xFF) < 128;
    };
    int gap = 1000;
    for (int j = 0; j < L.visibleRows; ++j)
        for (int k = 0; k + 1 < L.visibleColumns; ++k) {
            int last = -1, first = 1 << 20;
            for (int y = top(j) + 4; y < top(j + 1) - 4; ++y) {  // the texts' band, inside any frame
                for (int x = left(k) + 1; x < left(k + 1); ++x)
                    if (ink(x, y)) last = std::max(last, x);
                for (int x = left(k + 1) + 1; x < left(k + 2); ++x)
                    if (ink(x, y)) first = std::min(first, x);
            }
            if (last >= 0 && first < (1 << 20)) gap = std::min(gap, first - last - 1);
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
