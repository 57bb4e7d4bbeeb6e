// The race page's own rules: the gear rows by the gear page's method and number of gears, the display choice by
// model, quick-shift down by its actuator, the deceleration control by the idle actuator, the mirrors of shift 1,
// the live gear marks and the deceleration test.
#include <gtest/gtest.h>

#include "person.h"

namespace {

class RacePage : public PagesTest
{
protected:
    void SetUp() override
    {
        Build();
        SetPage(PAGE_RACE);
        set({{2500, 17}, {4527, 0}, {4528, 6}, {4559, 1}, {4520, 1}});
    }
    Image& image() { return w.images.image; }
    void set(std::initializer_list<std::pair<int, int>> settings)
    {
        for (auto [address, value] : settings) image()[std::size_t(address)] = std::uint8_t(value);
        ShowImageOnPages(w, 1);
        commits = 0;
    }
    bool enabled(std::string_view name) { return Control<TControl>(w, name)->Enabled(); }
    int top(std::string_view name) { return Control<TControl>(w, name)->Top(); }
};

}  // namespace

TEST_F(RacePage, GearRowsFollowTheGearMethodAndCount)
{
    const struct
    {
        int method, gears;
        int lastRow;     // the last gear row shown
        bool labels;     // the row labels show
        int boxesBelow;  // the row whose blink edit the two boxes stand under
    } cases[] = {{0, 6, 6, true, 6}, {1, 4, 4, true, 4}, {0, 1, 1, true, 2}, {3, 6, 1, false, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "method " << c.method << ", gears " << c.gears);
        set({{4527, c.method}, {4528, c.gears}});
        for (int r = 1; r <= 6; ++r) {
            const std::string n = std::to_string(r);
            EXPECT_EQ(Shown(w, "EditRaceBlink" + n), r <= c.lastRow) << r;
            EXPECT_EQ(Shown(w, "UpDownRaceLight" + n), r <= c.lastRow) << r;
            EXPECT_EQ(Shown(w, "LabelRaceGear" + n), c.labels && r <= c.lastRow) << r;
            EXPECT_EQ(Shown(w, "LabelRaceQSD" + n), c.labels && r <= c.lastRow) << r;
        }
        for (int s = 1; s <= 5; ++s) {
            const std::string n = std::to_string(s);
            EXPECT_EQ(Shown(w, "EditQSUAdv" + n), s == 1 || s + 1 <= c.lastRow) << s;
            EXPECT_EQ(Shown(w, "EditQSDTps" + n), s == 1 || s + 1 <= c.lastRow) << s;
        }
        const int edge = top("EditRaceBlink" + std::to_string(c.boxesBelow));
        EXPECT_EQ(top("CheckBoxQSHUpOver"), edge + 20);
        EXPECT_EQ(top("CheckBoxQSHUCancelAfterCompletion"), edge + 45);
        // Leaving after the shift needs the gear position sensor.
        EXPECT_EQ(enabled("CheckBoxQSHUCancelAfterCompletion"), c.method == 0);
    }
}

TEST_F(RacePage, TheDisplayChoiceIsOnlyForModelsWithTheDashboard)
{
    set({{2500, 17}, {4484, 2}});
    EXPECT_TRUE(enabled("RadioGroupDisplay"));
    EXPECT_EQ(Control<TRadioGroup>(w, "RadioGroupDisplay")->ItemIndex(), 2);
    set({{2500, 11}});
    EXPECT_FALSE(enabled("RadioGroupDisplay"));
    EXPECT_EQ(image()[4484], 0);
    EXPECT_EQ(Control<TRadioGroup>(w, "RadioGroupDisplay")->ItemIndex(), 0);
}

TEST_F(RacePage, QuickshiftDownNeedsAnOutputOrTheThrottleServo)
{
    for (auto [setting, present] : std::initializer_list<std::pair<std::pair<int, int>, bool>>{
             {{4446, 7}, true}, {{4881, 7}, true}, {{4431, 1}, true}, {{4445, 4}, false}}) {
        SCOPED_TRACE(setting.first);
        set({{4444, 0}, {4445, 0}, {4446, 0}, {4447, 0}, {4881, 0}, {4431, 0}, setting});
        EXPECT_EQ(enabled("LabelRaceDownTPS"), present);
        EXPECT_EQ(enabled("EditQSDTime2"), present);
        EXPECT_TRUE(enabled("EditQSDTime1"));  // shift 1 stays
    }
}

TEST_F(RacePage, TheDecelerationActionIsTheIdleActuatorsSetting)
{
    setImageWord(image(), 1137, 1500);
    setImageWord(image(), 1124, static_cast<std::uint16_t>(-1200));
    setImageWord(image(), 1125, 800);
    image()[4523] = 40;
    const struct
    {
        int mode, percent;
        const char* caption;
        const char* shown;
        int max;
    } cases[] = {{1, 1, "Intake servo [%]", "40", 100},
                 {1, 0, "Intake servo [mV]", "1 500", 5000},
                 {2, 0, "Step motor without potentiometer", "-1 200", 30000},
                 {3, 0, "Step motor set TP min", "800", 30000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        set({{4559, c.mode}, {4415, c.percent}});
        EXPECT_EQ(Control<TLabel>(w, "LabelDCaction")->Caption(), c.caption);
        EXPECT_EQ(Control<TEdit>(w, "EditDCaction")->Text(), c.shown);
        EXPECT_EQ(Control<TUpDown>(w, "UpDownDCaction")->Max(), c.max);
        EXPECT_TRUE(enabled("EditDCaction"));
    }
    // The servo in millivolts also writes its old byte form.
    set({{4559, 1}, {4415, 0}});
    Type(w, "EditDCaction", "2000");
    EXPECT_EQ(imageWord(image(), 1137), 2000);
    EXPECT_EQ(image()[4524], 2000 / 50 + 25);
    // A step motor's negative value goes in as it is typed.
    set({{4559, 2}});
    Type(w, "EditDCaction", "-2500");
    EXPECT_EQ(static_cast<std::int16_t>(imageWord(image(), 1124)), -2500);
    EXPECT_EQ(commits, 1);

    // Without an actuator the control is greyed and the action value neither shown nor stored.
    for (int mode : {0, 4}) {
        set({{4559, mode}});
        EXPECT_FALSE(enabled("CheckBoxRaceDC"));
        EXPECT_FALSE(enabled("EditDCaction"));
        const Image before = image();
        StoreCurrentPage(w);
        EXPECT_EQ(image(), before);
    }
    // Deceleration off: only the switch and the test; by speed: the speed minimum instead of TP and RPM.
    set({{4559, 1}, {4520, 0}});
    EXPECT_TRUE(enabled("CheckBoxRaceDC"));
    EXPECT_TRUE(enabled("ButtonDCTest"));
    EXPECT_FALSE(enabled("CheckBoxDCUseSpeed"));
    set({{4520, 1}, {4525, 1}});
    EXPECT_TRUE(enabled("EditDCSpeedMin"));
    EXPECT_FALSE(enabled("EditDCTPSmin"));
    EXPECT_FALSE(enabled("LabelDCRPMmin"));
}

TEST_F(RacePage, ShiftOneIsMirroredAndAdvanceKeepsItsSign)
{
    Type(w, "EditQSUAdv1", "-60");
    EXPECT_EQ(image()[4901], 196);
    EXPECT_EQ(image()[4512], 196);
    ShowImageOnPages(w, 1);
    EXPECT_EQ(Control<TEdit>(w, "EditQSUAdv1")->Text(), "-60");
    Type(w, "EditQSUInj1", "35");
    Type(w, "EditQSDTime1", "250");
    Type(w, "EditQSDTps1", "20");
    EXPECT_EQ(image()[4511], 35);
    EXPECT_EQ(image()[4513], 50);
    EXPECT_EQ(image()[4514], 20);
    EXPECT_EQ(commits, 4);
}

TEST_F(RacePage, TheGearEngagedMarksItsRows)
{
    w.liveValues.gear = 3;
    TickCurrentPage(w);
    for (int n = 1; n <= 6; ++n) {
        const std::string s = std::to_string(n);
        EXPECT_EQ(Control<TEdit>(w, "EditRaceBlink" + s)->Color(), n == 3 ? clLime : clWindow) << n;
        EXPECT_EQ(Control<TLabel>(w, "LabelRaceQSU" + s)->Color(), n == 3 ? clLime : clBtnFace) << n;
        if (n > 5) continue;
        EXPECT_EQ(Control<TEdit>(w, "EditQSUPause" + s)->Color(), n == 3 ? clLime : clWindow) << n;
        EXPECT_EQ(Control<TEdit>(w, "EditQSDTps" + s)->Color(), n == 2 ? clLime : clWindow) << n;
    }
    w.liveValues.gear = 0;
    TickCurrentPage(w);
    EXPECT_EQ(Control<TEdit>(w, "EditRaceBlink1")->Color(), clWindow);
    EXPECT_EQ(Control<TLabel>(w, "LabelRaceGear1")->Color(), clBtnFace);
}

TEST_F(RacePage, TheDecelerationTestGoesOutOnceHoweverOftenItIsPressed)
{
    w.pageHooks.unitAnswers = [] { return true; };
    auto* button = Control<TButton>(w, "ButtonDCTest");
    button->Click();
    button->Click();
    EXPECT_EQ(w.testCommands[3], 0x80);
    EXPECT_EQ(commits, 0);
}
