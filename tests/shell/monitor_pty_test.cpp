// The external monitor on the main window against the simulated unit: live frames from the unit reach the
// monitor variables, and each built-in set, chosen from the Monitor menu, shows them. The pictures are kept in
// build/screenshots for a person to look at.
#include <gtest/gtest.h>

#include <QPixmap>
#include <QWidget>

#include "monitors/cidlist.h"
#include "monitors/extmon.h"
#include "monitors/monset.h"
#include "os/files.h"
#include "shell/appsettings.h"
#include "unitlinktest.h"

namespace {

// Answer bytes of a running engine (block byte k is answer byte k - 1; block word w is answer bytes 2w - 1 and 2w,
// high byte first).
std::vector<std::pair<int, std::uint8_t>> runningEngine()
{
    std::vector<std::pair<int, std::uint8_t>> bytes;
    const auto word = [&](int w, int v) {
        bytes.emplace_back(2 * w - 1, static_cast<std::uint8_t>(v >> 8));
        bytes.emplace_back(2 * w, static_cast<std::uint8_t>(v & 0xFF));
    };
    const auto byte = [&](int k, int v) { bytes.emplace_back(k - 1, static_cast<std::uint8_t>(v)); };
    word(2, 7450);    // rpm
    word(47, 618);    // throttle 61.8 %
    word(36, 112);    // km/h
    byte(197, 4);     // gear
    byte(203, 131);   // AFR 13.1
    byte(195, 191);   // coolant 91 °C
    byte(196, 127);   // air 27 °C
    word(4, 1008);    // ambient 100.8 kPa
    word(69, 713);    // intake 71.3 kPa
    word(10, 14100);  // 14.1 V
    for (int c = 0; c < 4; ++c) {
        byte(183 + c, 28 + 2 * c);  // advance per cylinder
        byte(187 + c, 51 + c);      // injection A, 0.1 ms
        byte(191 + c, 9 + c);       // injection B
    }
    word(26, 365);
    word(27, 395);
    byte(198, 72);
    return bytes;
}

class MonitorUnitTest : public UnitLinkTest
{
protected:
    void SetUp() override
    {
        UnitLinkTest::SetUp();
        ResetMonitorVariables();
        picker = std::make_unique<TFormCIDList>();
        monitor = std::make_unique<TFormEM>();
        AttachMonitorWindows(*form, monitor.get(), picker.get());
        form->images.image[2680] = 4;    // four cylinders
        form->images.image[2660] = 110;  // limiter 11000 rpm
        for (const auto& [at, value] : runningEngine()) sim->setLiveBytes(at, {value});
    }
    void TearDown() override
    {
        UnitLinkTest::TearDown();
        monitor.reset();
        picker.reset();
        ResetMonitorVariables();
    }
    void keepPicture(const std::string& name)
    {
#if !defined(__SANITIZE_THREAD__)
        const std::filesystem::path dir(SCREENSHOT_DIR);
        std::filesystem::create_directories(dir);
        EXPECT_TRUE(monitor->Widget()->grab().save(QString::fromStdString((dir / name).string())));
#else
        (void)name;
#endif
    }
    std::unique_ptr<TFormCIDList> picker;
    std::unique_ptr<TFormEM> monitor;
};

}  // namespace

TEST_F(MonitorUnitTest, BuiltInSetsShowTheUnitsLiveValues)
{
    ASSERT_TRUE(runUntil([] { return GetDef(1010)->value == 7450; }));
    EXPECT_TRUE(MonitorValuesArrived());
    EXPECT_NEAR(GetDef(1020)->value, 61.8, 1e-9);
    EXPECT_EQ(GetDef(1210)->value, 31) << "the mean advance of four cylinders";
    EXPECT_EQ(GetDef(1010)->max, 11000);
    for (int set = 1; set <= 3; ++set) {
        SCOPED_TRACE(set);
        form->MainMenu1->Find("MenuMonitorSet" + std::to_string(set))->Click();
        ASSERT_TRUE(monitor->Visible());
        ASSERT_TRUE(runUntil([&] {
            monitor->TimerMonitor->Fire();
            return monitor->Caption() == "External monitor   (Connected)";
        }));
        keepPicture("monitor_unit_set" + std::to_string(set) + ".png");
    }
    // The set shown last is what the program settings keep in monitor.ini.
    SaveAppSettings(*form);
    const auto stored = os::readWholeFile(form->monitorPath);
    ASSERT_TRUE(stored);
    const ParsedSet parsed =
        ParseMonitorSet(std::span(reinterpret_cast<const std::uint8_t*>(stored->data()), stored->size()));
    EXPECT_EQ(parsed.result, kSetOk);
    EXPECT_EQ(parsed.widgets.size(), 55u);
}
