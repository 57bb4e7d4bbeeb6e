// The live display of the main window against the simulated unit: what the unit sends shows in the tick that
// stores the frame, silence clears it, and the unit sees the tuning switch in its live requests (the pickup
// monitor's wish: pickup_pty_test). Under Xvfb (the test shell_xvfb) also pictures of the window with a running
// engine.
#include <QApplication>
#include <QGuiApplication>

#include "link/livetexts.h"
#include "shell/appsettings.h"
#include "shell/livedisplay.h"
#include "unitlinktest.h"
#include "vcl/formlayout.h"

namespace {

constexpr int kLiveRequest = 0x30;  // the simulated unit's protocol asks for live data with this command

class LiveDisplayTest : public UnitLinkTest
{
protected:
    [[nodiscard]] TLabel* label(std::string_view name) const { return FindControl<TLabel>(*form, name); }
    [[nodiscard]] std::string text(std::string_view name) const
    {
        const TLabel* l = label(name);
        return l ? l->Caption() : "<missing " + std::string(name) + ">";
    }
    [[nodiscard]] const LiveBlock& block() const { return form->device->live; }
    // Connected, checked and showing the unit's live values.
    void connect()
    {
        ASSERT_TRUE(resultShows("Checking: OK", 30000));
        ASSERT_TRUE(runUntil([&] { return text("LabelRpm") != "RPM= ---"; }));
    }
    // The data of the live requests the unit received since the last call.
    std::vector<std::vector<std::uint8_t>> liveRequests()
    {
        std::vector<std::vector<std::uint8_t>> found;
        for (const unitsim::Request& r : sim->requests())
            if (r.command == kLiveRequest && r.data.size() >= 300) found.push_back(r.data);
        sim->clearRequests();
        return found;
    }
    // Waits for a live request that the unit received after the call, and returns it.
    std::vector<std::uint8_t> nextLiveRequest()
    {
        sim->clearRequests();
        std::vector<std::vector<std::uint8_t>> seen;
        EXPECT_TRUE(runUntil([&] {
            for (auto& r : liveRequests()) seen.push_back(std::move(r));
            return !seen.empty();
        }));
        return seen.empty() ? std::vector<std::uint8_t>(300, 0xEE) : seen.back();
    }
};

TEST_F(LiveDisplayTest, WhatTheUnitSendsShowsInTheTickThatStoresItAndSilenceClearsIt)
{
    sim->setRunningEngine(0);
    connect();
    EXPECT_EQ(text("LabelVoda"), "Coolant= 88 °C");
    EXPECT_EQ(text("LabelVzduch"), "AT= 24 °C");
    EXPECT_EQ(text("LabelNapeti"), "U= 13.9 V");

    // A new engine speed: the frame that brings it is on the labels in the same tick, within a live cycle.
    sim->setLiveBytes(3, {0x10, 0xE1});  // word 2: 4321 rpm
    const std::uint32_t since = clock.now();
    bool sameTick = true;
    ASSERT_TRUE(runUntil([&] {
        if (block().Monw(2) != 4321) return false;
        sameTick = text("LabelRpm") == "RPM= 4321";
        return true;
    }));
    EXPECT_TRUE(sameTick) << "the display lags behind the stored frame";
    // Seven ticks between live requests, and the request and answer on the line.
    EXPECT_LE(clock.now() - since, static_cast<std::uint32_t>(2 * kLiveCycleTicks * kTmrPerTick + 400));
    EXPECT_EQ(form->liveValues.rpm, 4321);

    // The unit goes silent: after the failed live cycles the link lets the port go, and the display shows no
    // values, not the last ones.
    sim->setSilent(true);
    ASSERT_TRUE(runUntil([&] { return !PortInUse(*form); }, 30000));
    form->Timer1->Fire();
    EXPECT_EQ(text("LabelRpm"), "RPM= ---");
    EXPECT_EQ(text("LabelVoda"), "Coolant= --- °C");
    EXPECT_EQ(text("LabelNapeti"), "U= --- V");
    EXPECT_EQ(label("LabelNapeti")->Color(), clBtnFace);
    for (int k = 0; k < kLiveBlockLength; ++k) ASSERT_EQ(block().Monb(k), 0) << k;
}

TEST_F(LiveDisplayTest, TheUnitSeesTheTuningSwitch)
{
    connect();
    std::vector<std::uint8_t> request = nextLiveRequest();
    EXPECT_EQ(request[0], 0);
    EXPECT_EQ(request[105], 0);

    // The tuning switch stands on the lambda tuning page; F6 turns it on as the menu does.
    TCheckBox* tuning = FindControl<TCheckBox>(*form, "CheckBoxLadeniPovoleno");
    if (!tuning) tuning = form->Make<TCheckBox>(form->tabSheets[PAGE_TUNING], "CheckBoxLadeniPovoleno");
    form->MenuLadeniOnClick(nullptr);
    ASSERT_TRUE(tuning->Checked());
    request = nextLiveRequest();
    EXPECT_EQ(request[0], 1);
    EXPECT_EQ(request[105], 0);

    form->MenuLadeniOnClick(nullptr);
    request = nextLiveRequest();
    EXPECT_EQ(request[0], 0);
}

// Pictures of the window with a running engine, in English and German, for a person to look at
// (build/screenshots/live_en.png, live_de.png, live_monitor_en.png, live_monitor_de.png).
TEST_F(LiveDisplayTest, XvfbScreenshots)
{
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X server (run as the test shell_xvfb)";
    sim->setRunningEngine(3);
    // Settings as a tuner has them: a limiter at 11000 rpm, the mixture scale from AFR 12.0 to 17.0.
    form->images.image[2660] = 110;
    form->images.image[2680] = 2;  // a twin
    for (int k = 0; k < 4; ++k) form->images.image[std::size_t(4872 + k)] = std::array{120, 135, 155, 170}[std::size_t(k)];
    ShowImageOnPages(*form, 1);
    connect();
    form->Show();
    const std::pair<void (TMainForm::*)(TObject*), const char*> languages[] = {
        {&TMainForm::MenuEnglishClick, "en"}, {&TMainForm::MenuGermanClick, "de"}, {&TMainForm::MenuCzechClick, "cs"}};
    for (const auto& [language, suffix] : languages) {
        SCOPED_TRACE(suffix);
        (form.get()->*language)(nullptr);
        ASSERT_TRUE(runUntil([&] { return block().Monw(2) != 0; }));
        for (int page : {PAGE_BIKE, PAGE_MONITOR}) {
            form->PageControl1->SetActivePageIndex(page);
            form->PageControl1Change(form->PageControl1);
            QApplication::processEvents();
            // No live text is cut off or runs into another in any language.
            const std::vector<std::string> faults = LayoutFaults(*form);
            EXPECT_TRUE(faults.empty()) << testing::PrintToString(faults);
            if (std::string_view(suffix) != "cs")
                saveScreenshot(std::string(page == PAGE_BIKE ? "live_" : "live_monitor_") + suffix + ".png");
        }
    }
    form->MenuEnglishClick(nullptr);
}

}  // namespace
