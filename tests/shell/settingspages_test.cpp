// The synchronisation, sensors, inputs, N2O and oil pressure pages in the started main window, with model 11's
// settings as the program loads them at start.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <filesystem>

#include "startedform.h"

namespace {

class SettingsPagesTest : public StartedFormTest
{
protected:
    void open(int page)
    {
        form->PageControl1->SetActivePageIndex(page);
        form->PageControl1Change(form->PageControl1);
        ASSERT_EQ(form->currentPage, page);
    }
    void shoot(const std::string& name)
    {
        const std::filesystem::path dir = std::filesystem::path(SCREENSHOT_DIR);
        std::filesystem::create_directories(dir);
        QApplication::processEvents();
        EXPECT_TRUE(form->Widget()->grab().save(QString::fromStdString((dir / name).string())));
    }
};

constexpr struct
{
    int page;
    const char* name;
} kPages[] = {{PAGE_SYNCHRO, "synchro"}, {PAGE_INPUTS, "inputs"}, {PAGE_SENSORS, "sensors"}, {PAGE_N2O, "n2o"},
              {PAGE_MAINTENANCE, "oilpressure"}};

}  // namespace

// Pictures for a person to look at (build/screenshots/page_*.png): each page as model 11's settings show it, in
// English; the pages with the longest texts in German and Czech; and the synchronisation and sensors pages with
// the special setting on and every optional sensor chosen, so that all their controls show.
TEST_F(SettingsPagesTest, Screenshots)
{
    form->Show();
    for (const auto& p : kPages) {
        open(p.page);
        shoot(std::string("page_") + p.name + "_en.png");
    }
    form->MainMenu1->Find("MenuGerman")->Click();
    open(PAGE_SENSORS);
    shoot("page_sensors_de.png");
    open(PAGE_N2O);
    shoot("page_n2o_de.png");
    form->MainMenu1->Find("MenuCzech")->Click();
    open(PAGE_SYNCHRO);
    shoot("page_synchro_cs.png");
    open(PAGE_INPUTS);
    shoot("page_inputs_cs.png");
    form->MainMenu1->Find("MenuEnglish")->Click();

    for (auto [address, value] : std::initializer_list<std::pair<int, int>>{
             {2501, 1}, {2680, 4}, {2681, 5}, {2682, 2}, {2695, 1}, {2733, 5}, {3836, 14}, {3837, 13}, {3838, 18},
             {3839, 12}, {4060, 2}, {4067, 4}, {4445, 4}})
        form->images.image[std::size_t(address)] = std::uint8_t(value);
    ShowImageOnPages(*form, 1);
    for (int page : {PAGE_SYNCHRO, PAGE_SENSORS, PAGE_N2O}) {
        open(page);
        shoot(std::string("page_") + (page == PAGE_SYNCHRO ? "synchro" : page == PAGE_SENSORS ? "sensors" : "n2o") +
              "_all_en.png");
    }
}
