// Under Xvfb (the test "shell_pages_xvfb"): the synchronisation, inputs, sensors, N2O, maintenance, servos, power
// outputs, launch and traction and output test pages in a real window, with a model's settings and working sensor
// characteristics, in English, German and Czech (build/screenshots/page_<page>_<language>.png; the sensors page
// also with a 2-point throttle characteristic, page_sensors_2pt_<language>.png), for a person to look at.
// Elsewhere they skip.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QWidget>
#include <filesystem>
#include <string>

#include "shell/appsettings.h"
#include "startedform.h"

namespace {

class XvfbSensorPages : public StartedFormTest
{
protected:
    void TearDown() override
    {
        SetLanguageIndex(LNG_ENGLISH);
        StartedFormTest::TearDown();
    }
};

// Sensors as a tuner sets them up: both temperature sensors, a throttle sensor with its middle point, pressure
// sensors, the fuel and oil pressure inputs, N2O on input 3 and power output 2.
void workingSensors(Image& image)
{
    image[2680] = 4;
    image[3836] = 18;  // oil pressure
    image[3837] = 13;  // fuel level
    image[3838] = 12;  // N2O
    image[4445] = 4;
    image[4052] = image[4053] = image[4054] = image[4055] = image[4056] = image[4057] = 0;
    image[4059] = 1;
    image[4058] = 40;
    setImageWord(image, 1084, 520);
    setImageWord(image, 1085, 2100);
    setImageWord(image, 1086, 4480);
    for (int r = 0; r < 9; ++r) {
        setImageWord(image, 1044 + r, std::uint16_t(4600 - 450 * r));
        setImageWord(image, 1053 + r, std::uint16_t(4400 - 420 * r));
    }
    const int afr[] = {100, 120, 140, 150, 170, 200};
    for (int r = 0; r < 6; ++r) {
        image[std::size_t(4061 + r)] = std::uint8_t(afr[r]);
        setImageWord(image, 1062 + r, std::uint16_t(900 - 140 * r));
    }
    const int pressures[] = {20, 400, 120, 4600, 20, 300, 300, 4700};
    for (int k = 0; k < 8; ++k) setImageWord(image, 1068 + k, std::uint16_t(pressures[k]));
    for (int c = 0; c < 5; ++c) {
        image[std::size_t(4068 + c)] = std::uint8_t(25 * c);
        image[std::size_t(4073 + c)] = std::uint8_t(25 + 45 * c);
    }
    image[4985] = 0;
    image[4986] = 50;
    setImageWord(image, 1152, 500);
    setImageWord(image, 1153, 4500);
    for (int r = 0; r < 5; ++r) {
        image[std::size_t(4987 + r)] = std::uint8_t(10 + 20 * r);
        image[std::size_t(4992 + r)] = std::uint8_t(5 + 2 * r);
    }
}

}  // namespace

TEST_F(XvfbSensorPages, PagesInThreeLanguages)
{
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "runs under Xvfb only";
    const std::filesystem::path dir = std::filesystem::path(SCREENSHOT_DIR);
    std::filesystem::create_directories(dir);
    workingSensors(form->images.image);
    form->images.image[4444] = 2;  // a gear shift light on power output 1, with its hysteresis
    form->Widget()->resize(1100, 820);
    form->Show();
    const struct
    {
        int page;
        const char* name;
    } pages[] = {{PAGE_SYNCHRO, "synchro"},
                 {PAGE_INPUTS, "inputs"},
                 {PAGE_SENSORS, "sensors"},
                 {PAGE_N2O, "n2o"},
                 {PAGE_MAINTENANCE, "maintenance"},
                 {PAGE_SERVOS, "servos"},
                 {PAGE_POWER_OUT, "powerout"},
                 {PAGE_TRACKING, "tracking"},
                 {PAGE_TEST, "test"}};
    const struct
    {
        int language;
        const char* suffix;
    } languages[] = {{LNG_ENGLISH, "en"}, {LNG_GERMAN, "de"}, {LNG_CZECH, "cs"}};
    for (const auto& l : languages) {
        SetLanguageIndex(l.language);
        ApplyLanguage(*form);
        ShowImageOnPages(*form, 1);
        for (const auto& p : pages) {
            form->PageControl1->SetActivePageIndex(p.page);
            form->PageControl1Change(form->PageControl1);
            for (int i = 0; i < 5; ++i) form->Timer1->Fire();
            QApplication::processEvents();
            const auto file = dir / (std::string("page_") + p.name + "_" + l.suffix + ".png");
            EXPECT_TRUE(form->Widget()->grab().save(QString::fromStdString(file.string())));
        }
        // The throttle map and its buttons with a 2-point characteristic.
        form->images.image[4059] = 0;
        ShowImageOnPages(*form, 1);
        form->PageControl1->SetActivePageIndex(PAGE_SENSORS);
        form->PageControl1Change(form->PageControl1);
        for (int i = 0; i < 5; ++i) form->Timer1->Fire();
        QApplication::processEvents();
        const auto file = dir / (std::string("page_sensors_2pt_") + l.suffix + ".png");
        EXPECT_TRUE(form->Widget()->grab().save(QString::fromStdString(file.string())));
        form->images.image[4059] = 1;
    }
}
