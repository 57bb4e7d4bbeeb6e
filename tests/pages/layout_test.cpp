// Every page as it stands at start: its sheet at its page number and of the design size, its form description
// and binding tables complete, and nothing a person would see as broken (overlaps, controls outside their
// parent, captions cut off at the default font).
#include <gtest/gtest.h>

#include <QPixmap>
#include <QString>
#include <QWidget>
#include <array>
#include <filesystem>

#include "pagefixture.h"
#include "testpage.h"
#include "os/lngtext.h"
#include "pages/captions.h"
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
// control a page may show (all cylinders, every optional sensor and input function, the special settings, both
// PWM tables with their note).
TEST_F(PageLayout, EveryLanguageFitsWithTheControlsAnImageCanShow)
{
    Build();
    ShowWindow();
    Image busy{};
    for (auto [address, value] : std::initializer_list<std::pair<int, int>>{
             {2501, 1}, {2680, 4}, {2681, 5}, {2682, 2}, {2695, 1}, {2733, 5}, {3836, 14}, {3837, 13}, {3838, 18},
             {3839, 12}, {4060, 2}, {4067, 4}, {4445, 4}, {3840, 17}, {4411, 1}, {4431, 1}, {4625, 1}, {4797, 1},
             {4446, 9}, {4447, 19}})
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
}

// The captions follow the language with the program's own words, also where they read oddly ("Lamba",
// "Einlaßstutzen") or stay English in German; a few rows of each page.
TEST_F(PageLayout, CaptionsFollowTheLanguageWithTheProgramsOwnWords)
{
    Build();
    struct Row
    {
        const char* control;
        std::array<const char*, kLanguageCount> text;  // English, German, Czech
    };
    const Row rows[] = {
        {"GroupBoxMonInj", {"Injection", "Einspritzung", "Vstřik"}},
        {"GroupBoxMonAdvance", {"Advance", "Vorzündung", "Předstih"}},
        {"GroupBoxMonInput", {"Feature activated", "Feature aktiviert", "Funkce aktivována"}},
        {"GroupBoxTestOut", {"Output tests", "Ausgabetests", "Test výstupů"}},
        {"CheckBoxTestInjFuelOn", {"Fuel pump on", "Kraftstoffpumpe ein", "Zapnutí palivové pumpy"}},
        {"ButtonTestFan1", {"Fan 1", "Ventilator 1", "Ventilátor 1"}},
        {"ButtonTestServo3Minus", {"Idle servo  minus", "Freilauf servo minus", "Volnoběžné servo mínus"}},
        {"ButtonTestPortIn", {"Intake port", "Einlaßstutzen", "Sací hrdlo"}},
        {"GroupBoxLambdaBar",
         {"Setting of Lambda bar graph", "Einstellung von Lambda Bargraph", "Nastavení pro Lamba graf"}},
        {"GroupBoxProprietary", {"Proprietary settings", "Proprietäre Einstellungen", "Proprietární nastavení"}},
        {"LabelServoIOff", {"I off", "I aus", "I vyp."}},
        {"LabelServoDOff", {"D off", "D aus", "D vyp."}},
        {"TabSheet_Tracking", {"Tracking", "Tracking", "Tracking"}},
        {"CheckBoxLaunchEnable", {"Launch enable", "Launch enable", "Ovládání startu povoleno"}},
        {"RadioGroupSpeedSource", {"Speed source method", "Speed source method", "Metoda detekce rychlosti"}},
        {"GroupBoxTempSet", {"Tempomat settings", "Tempomat-Einstellungen", "Nastavení tempomatu"}},
        {"RadioGroupDisplay", {"Display on Bike", "Motorradanzeige", "Displej na motocyklu"}},
        {"GroupBoxRaceQuickShiftDown", {"Quickshift down", "Wechsel unten", "Quickshift down"}},
        {"RadioGroupKyvaniPodminka", {"Central section", "Mittelabschnitt", "Stredni úsek"}},
        {"LabelPowerOutHyst1", {"Hysteresis", "Hysterese", "Hystereze"}},
        {"LabelPowerOutHyst5", {"Hysteresis", "Hysterese", "Hystereze"}},
    };
    for (int language : {LNG_GERMAN, LNG_CZECH, LNG_ENGLISH}) {
        SetLanguageIndex(language);
        RefreshPageCaptions(w);
        for (const Row& row : rows) {
            SCOPED_TRACE(testing::Message() << "language " << language << ", " << row.control);
            const auto* control = FindControl<TControl>(w, row.control);
            ASSERT_NE(control, nullptr);
            EXPECT_EQ(control->Caption(), row.text[std::size_t(language)]);
        }
    }
    // While synchronisation 2 hunts by the intake pressure the middle group speaks of values.
    w.images.image[2682] = 5;
    for (auto [language, text] :
         {std::pair{LNG_GERMAN, "Mittleren Werte"}, {LNG_CZECH, "Střední hodnota"}, {LNG_ENGLISH, "Central value"}}) {
        SetLanguageIndex(language);
        RefreshPageCaptions(w);
        EXPECT_EQ(FindControl<TRadioGroup>(w, "RadioGroupKyvaniPodminka")->Caption(), text);
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
