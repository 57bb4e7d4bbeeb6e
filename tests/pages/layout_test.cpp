// Every page as it stands at start: its sheet at its page number and of the design size, its form description
// and binding tables complete, and nothing a person would see as broken (overlaps, controls outside their
// parent, captions cut off at the default font).
#include <gtest/gtest.h>

#include <QPixmap>
#include <QString>
#include <QWidget>
#include <filesystem>

#include "pagefixture.h"
#include "testpage.h"
#include "os/lngtext.h"
#include "vcl/image.h"

namespace {

class PageLayout : public PagesTest
{
};

}  // namespace

TEST_F(PageLayout, SheetsStandAtTheirPageNumbers)
{
    Build();
    EXPECT_TRUE(w.pageBuildProblems.empty()) << testing::PrintToString(w.pageBuildProblems);
    ASSERT_EQ(w.PageControl1->PageCount(), kPageCount);
    for (int page = 0; page < kPageCount; ++page) {
        SCOPED_TRACE(page);
        ASSERT_NE(w.tabSheets[std::size_t(page)], nullptr);
        EXPECT_EQ(w.tabSheets[std::size_t(page)]->Name(), kPageModules[std::size_t(page)]->sheetName);
        EXPECT_EQ(w.tabSheets[std::size_t(page)]->PageIndex(), page);
    }
    EXPECT_EQ(w.tabSheets[PAGE_ADVANCE]->Name(), "TabSheet_Advance");
    EXPECT_EQ(w.tabSheets[PAGE_INJECTION]->Name(), "TabSheet_Injection");
    EXPECT_EQ(w.tabSheets[PAGE_POSITION]->Name(), "TabSheet_Position");
    EXPECT_EQ(w.tabSheets[PAGE_SERVOS]->Name(), "TabSheet_Servo");
    EXPECT_EQ(w.tabSheets[PAGE_MONITOR]->Name(), "TabSheet_Monitor");
    EXPECT_EQ(w.tabSheets[PAGE_MAINTENANCE]->Name(), "TabMaintenance");
}

TEST_F(PageLayout, NoPageHasOverlapsControlsOutsideTheirParentOrCutCaptions)
{
    Build();
    ShowImageOnPages(w, 1);
    TickCurrentPage(w);
    ShowWindow();
    for (int page = 0; page < kPageCount; ++page) {
        SCOPED_TRACE(page);
        TTabSheet* sheet = w.tabSheets[std::size_t(page)];
        if (!sheet->TabVisible()) continue;  // a page whose tab the image hides is not laid out
        w.PageControl1->SetActivePageIndex(page);
        QApplication::processEvents();
        EXPECT_EQ(sheet->Width(), kDesignPageWidth);
        EXPECT_EQ(sheet->Height(), kDesignPageHeight);
        const std::vector<std::string> faults = LayoutFaults(*sheet);
        EXPECT_TRUE(faults.empty()) << testing::PrintToString(faults);
    }
    // The controls beside the page control, and the page control itself, on the window.
    const std::vector<std::string> faults = LayoutFaults(w);
    EXPECT_TRUE(faults.empty()) << testing::PrintToString(faults);
}

// The pages in each language, once with an image that shows the least and once with one that shows nearly every
// control a page may show (all cylinders, every optional sensor and input function, the special settings).
TEST_F(PageLayout, EveryLanguageFitsWithTheControlsAnImageCanShow)
{
    Build();
    ShowWindow();
    Image busy{};
    for (auto [address, value] : std::initializer_list<std::pair<int, int>>{
             {2501, 1}, {2680, 4}, {2681, 5}, {2682, 2}, {2695, 1}, {2733, 5}, {3836, 14}, {3837, 13}, {3838, 18},
             {3839, 12}, {4060, 2}, {4067, 4}, {4445, 4}, {3840, 17}, {4411, 1}, {4431, 1}, {4625, 1}, {4797, 1}})
        busy[std::size_t(address)] = std::uint8_t(value);
    for (int language : {LNG_ENGLISH, LNG_GERMAN, LNG_CZECH}) {
        SetLanguageIndex(language);
        RefreshPageCaptions(w);
        for (const Image& image : {Image{}, busy}) {
            w.images.image = image;
            ShowImageOnPages(w, 1);
            for (int page = 0; page < kPageCount; ++page) {
                SCOPED_TRACE(testing::Message() << "language " << language << ", page " << page);
                if (!w.tabSheets[std::size_t(page)]->TabVisible()) continue;
                w.PageControl1->SetActivePageIndex(page);
                QApplication::processEvents();
                const std::vector<std::string> faults = LayoutFaults(*w.tabSheets[std::size_t(page)]);
                EXPECT_TRUE(faults.empty()) << testing::PrintToString(faults);
            }
        }
    }
    SetLanguageIndex(LNG_ENGLISH);
}

TEST_F(PageLayout, MonitorPageFillsItsLabelTableAndShowsFivePowerOutputs)
{
    Build();
    ASSERT_NE(w.monitorLabels[0], nullptr);
    EXPECT_EQ(w.monitorLabels[0]->Name(), "LabelAdvance1");
    EXPECT_EQ(w.monitorLabels[3]->Name(), "LabelAdvance4");
    EXPECT_EQ(w.monitorLabels[4]->Name(), "LabelMonPOut1");
    EXPECT_EQ(w.monitorLabels[15]->Name(), "LabelMonPOut12");
    for (std::size_t i = 4; i < w.monitorLabels.size(); ++i)
        EXPECT_EQ(w.monitorLabels[i]->Visible(), i < 9) << w.monitorLabels[i]->Name();
    for (std::size_t i = 0; i < w.testLabels.size(); ++i)
        EXPECT_EQ(w.testLabels[i]->Name(), "LabelTest" + std::to_string(i + 1));
    // Its group captions follow the language.
    struct Case {
        int language;
        const char *injection, *advance, *features;
    };
    for (const Case& c : {Case{LNG_GERMAN, "Einspritzung", "Vorzündung", "Feature aktiviert"},
                          Case{LNG_CZECH, "Vstřik", "Předstih", "Funkce aktivována"},
                          Case{LNG_ENGLISH, "Injection", "Advance", "Feature activated"}}) {
        SetLanguageIndex(c.language);
        RefreshPageCaptions(w);
        EXPECT_EQ(FindControl<TGroupBox>(w, "GroupBoxMonInj")->Caption(), c.injection);
        EXPECT_EQ(FindControl<TGroupBox>(w, "GroupBoxMonAdvance")->Caption(), c.advance);
        EXPECT_EQ(FindControl<TGroupBox>(w, "GroupBoxMonInput")->Caption(), c.features);
    }
}

// Pictures of the window's page part for a person to look at (build/screenshots/pages_*.png): the test page
// with its bound controls, and the Monitor page, with the lambda scale of thresholds 10 to 18.5.
TEST_F(PageLayout, Screenshots)
{
    w.pageModules[PAGE_GEAR] = &kTestPage;
    Build();
    w.images.image[4872] = 100;
    w.images.image[4873] = 125;
    w.images.image[4874] = 155;
    w.images.image[4875] = 185;
    w.images.image[2516] = 22;
    ShowImageOnPages(w, 1);
    TickCurrentPage(w);
    ShowWindow();
    const std::filesystem::path dir = std::filesystem::path(SCREENSHOT_DIR);
    std::filesystem::create_directories(dir);
    for (const auto& [page, name] : {std::pair{PAGE_GEAR, "pages_testpage.png"}, {PAGE_MONITOR, "pages_monitor.png"}}) {
        w.PageControl1->SetActivePageIndex(page);
        QApplication::processEvents();
        EXPECT_TRUE(w.Widget()->grab().save(QString::fromStdString((dir / name).string())));
    }
}
