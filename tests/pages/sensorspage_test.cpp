// The sensors page's own commands and rules: the throttle calibration from the live voltage, the resistance of a
// temperature sensor, the lambda sensor type with its defaults, the controls that follow the inputs' functions and
// the cylinders, and the potentiometer group with its ranges and the launch-control take-over.
#include <gtest/gtest.h>

#include "pages/potentiometer.h"
#include "pages/sensorspage.h"
#include "person.h"
#include "settings/helpers.h"
#include "settings/newbike.h"

namespace {

class SensorsPage : public PagesTest
{
protected:
    void SetUp() override
    {
        Build();
        w.pageHooks.message = [](int index) { return index == 161 ? std::string("Range") : "m" + std::to_string(index); };
        SetPage(PAGE_SENSORS);
        ShowImageOnPages(w, 1);
        commits = 0;
    }
    Image& image() { return w.images.image; }
    void set(std::initializer_list<std::pair<int, int>> settings)
    {
        for (auto [address, value] : settings) image()[std::size_t(address)] = std::uint8_t(value);
        ShowImageOnPages(w, 1);
        commits = 0;
    }
    int word(int index) const { return imageWord(w.images.image, index); }
    int signedWord(int index) const { return std::int16_t(imageWord(w.images.image, index)); }
};

}  // namespace

TEST_F(SensorsPage, ThrottleCalibrationTakesTheLiveVoltageWithinItsRange)
{
    struct Case
    {
        const char* button;
        bool threePoint;
        int millivolts;
        int word;  // the word written, -1: nothing happens
    };
    const Case cases[] = {
        {"ButtonTps0", false, 99, -1},    {"ButtonTps0", false, 100, 1084},  {"ButtonTps100", false, 4990, 1086},
        {"ButtonTps100", false, 4995, -1}, {"ButtonTps100", true, 3000, 1086}, {"ButtonTpsX", true, 2500, 1085},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.button << " " << c.millivolts);
        for (int word : {1084, 1085, 1086}) setImageWord(image(), word, 7 + (word - 1084) * 2000);
        set({{4052, 0}, {4059, c.threePoint ? 1 : 0}, {4058, 50}});
        w.liveValues.tpsMillivolts = c.millivolts;
        auto* button = Control<TButton>(w, c.button);
        ASSERT_TRUE(button->Visible());
        button->Click();
        for (int word : {1084, 1085, 1086})
            EXPECT_EQ(imageWord(image(), word), word == c.word ? c.millivolts : 7 + (word - 1084) * 2000) << word;
        EXPECT_EQ(commits, c.word < 0 ? 0 : 1);
    }
    // The middle point's button shows its percentage and is there only for a 3-point characteristic.
    set({{4059, 1}, {4058, 50}});
    EXPECT_EQ(Control<TButton>(w, "ButtonTpsX")->Caption(), "<- 50%");
    set({{4059, 0}});
    EXPECT_FALSE(Shown(w, "ButtonTpsX"));
    set({{4052, 1}});
    EXPECT_FALSE(Shown(w, "ButtonTps0"));
    EXPECT_FALSE(Shown(w, "CheckBoxTPS3pt"));
}

TEST_F(SensorsPage, ResistanceOfATemperatureSensorAndBack)
{
    // A 2.2 kOhm pull-up at 5 V; from 5000 mV on the input is open. Large resistances are worked out in 64 bits.
    const std::pair<int, std::int64_t> voltages[] = {{0, 0}, {2500, 2200}, {4999, 10'997'800}, {5000, 20'000'000},
                                                     {6000, 20'000'000}};
    for (auto [millivolts, ohms] : voltages) EXPECT_EQ(VoltageToResistance(millivolts), ohms) << millivolts;
    const std::pair<std::int64_t, int> resistances[] = {
        {-5, 0}, {0, 0}, {2200, 2500}, {1'000'000, 4989}, {19'999'999, 4999}, {20'000'000, 5000}};
    for (auto [ohms, millivolts] : resistances) EXPECT_EQ(ResistanceToVoltage(ohms), millivolts) << ohms;
}

TEST_F(SensorsPage, ALambdaSensorTypeBringsItsDefaultsInOneCommit)
{
    // Over CAN (type 2) the characteristic is not used; the image repair then keeps its voltages falling, as for
    // the standard sensor, so only the Marvex and standard types are compared here.
    for (int type : {1, 0}) {
        SCOPED_TRACE(type);
        Image expected = image();
        expected[4060] = std::uint8_t(type);
        SetLambdaSensorDefaults(expected, type != 0 ? 1 : 0);
        Click(w, "RadioGroupCidloLambdaMode", type);
        EXPECT_EQ(commits, 1);
        EXPECT_EQ(image()[4060], type);
        for (int i = 4061; i <= 4066; ++i) EXPECT_EQ(image()[std::size_t(i)], expected[std::size_t(i)]) << i;
        for (int i = 1062; i <= 1067; ++i) EXPECT_EQ(imageWord(image(), i), imageWord(expected, i)) << i;
        commits = 0;
    }
}

TEST_F(SensorsPage, ControlsFollowTheInputsTheCylindersAndTheSynchronisation)
{
    struct Case
    {
        const char* name;
        std::initializer_list<std::pair<int, int>> settings;
        std::vector<const char*> shown, hidden;
        const char* canItem;
    };
    const Case cases[] = {
        {"nothing optional", {{3836, 0}, {3843, 0}, {4060, 2}, {4057, 0}, {3817, 0}, {2680, 1}, {2730, 0}},
         {"RadioGroupCidloLambdaMode"},
         {"LabelFuelMonitor", "EditQsDown", "LabelMonQuickShift", "GroupBoxCANID", "LabelNavolenoSyncIap"},
         "Marvex-CAN (ID:802)"},
        {"fuel on input 8, quick-shift analog on input 7, lambda over CAN for three cylinders",
         {{3843, 13}, {3842, 14}, {4060, 2}, {4057, 0}, {3817, 0}, {2680, 3}},
         {"LabelFuelMonitor2", "EditQsUp", "LabelQsDown", "GroupBoxCANID", "EditCANID03"},
         {"EditCANID04", "LabelCANID04"},
         "Marvex-CAN (multichannel)"},
        {"coupled injectors: one CAN channel; the lambda sensor off",
         {{4060, 2}, {4057, 1}, {3817, 1}, {2680, 4}},
         {},
         {"GroupBoxCANID", "RadioGroupCidloLambdaMode"},
         "Marvex-CAN (ID:802)"},
        {"the AP sensor's input serves the IAP hunting", {{2730, 1}, {2682, 6}}, {"LabelNavolenoSyncIap"}, {}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        set(c.settings);
        for (const char* name : c.shown) EXPECT_TRUE(Shown(w, name)) << name;
        for (const char* name : c.hidden) EXPECT_FALSE(Shown(w, name)) << name;
        if (c.canItem) {
            EXPECT_EQ(Control<TRadioGroup>(w, "RadioGroupCidloLambdaMode")->Item(2), c.canItem);
        }
    }
}

TEST_F(SensorsPage, PotentiometerRangesStoreAndShowByMode)
{
    struct Case
    {
        const char* name;
        int mode, bySpeed;
        std::vector<std::pair<const char*, const char*>> typed;  // edit, text
        std::array<int, 4> words;                                // 1076..1079 stored
        std::array<int, 4> shown;                                // positions after showing them again
        const char* rangeCaption;
    };
    const Case cases[] = {
        {"start limiter: in 50 rpm", 3, 0, {{"EditPotencRozsah", "275"}}, {5, 0, 0, 0}, {250, 0, 0, 0},
         "Range  +/- RPM"},
        {"launch control by rpm: hundreds", 4, 0,
         {{"EditPotencRozsah", "-1250"}, {"EditPotencRozsah2", "30"}, {"EditPotencRozsah3", "-7"},
          {"EditPotencRozsah4", "250"}},
         {-12, 30, -7, 250}, {-1200, 30, -7, 250}, "Range  +/- rpm/s"},
        {"launch control by speed", 4, 1, {{"EditPotencRozsah", "-120"}}, {-120, 0, 0, 0}, {-120, 0, 0, 0},
         "Range  +/- km/h/s"},
        {"advance", 2, 0, {{"EditPotencRozsah", "-60"}, {"EditPotencRozsah2", "40"}}, {-60, 40, 0, 0},
         {-60, 40, 0, 0}, "Range  +/- °"},
    };
    const char* upDowns[] = {"UpDownPotencRozsah", "UpDownPotencRozsah2", "UpDownPotencRozsah3", "UpDownPotencRozsah4"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int k = 0; k < 4; ++k) setImageWord(image(), 1076 + k, 0);
        set({{4067, c.mode}, {4631, c.bySpeed}});
        for (auto [edit, text] : c.typed) Type(w, edit, text);
        for (int k = 0; k < 4; ++k) EXPECT_EQ(signedWord(1076 + k), c.words[std::size_t(k)]) << k;
        ShowImageOnPages(w, 1);
        for (int k = 0; k < 4; ++k)
            if (Shown(w, upDowns[k])) {
                EXPECT_EQ(Position(w, upDowns[k]), c.shown[std::size_t(k)]) << k;
            }
        EXPECT_EQ(Control<TLabel>(w, "LabelPotencRozsah")->Caption(), c.rangeCaption);
        EXPECT_EQ(Shown(w, "ButtonLaunchPotiSave"), c.mode == 4);
    }
}

TEST_F(SensorsPage, TheKnobsLaunchControlOffsetsAreTakenOverInOneChange)
{
    auto prepare = [&](int threshold, int effect) {
        for (int i = 0; i < 25; ++i) {
            image()[std::size_t(4641 + i)] = 248;
            image()[std::size_t(4671 + i)] = 3;
            image()[std::size_t(4701 + i)] = 100;
        }
        // The tables' first RPM points, as every repaired image has them.
        for (int table : {4636, 4666, 4696}) image()[std::size_t(table)] = 20;
        set({{4067, 4}, {4627, 155}});
        w.liveValues.potiThreshold = threshold;
        w.liveValues.potiEffect = effect;
        w.liveValues.potiReturn = 9;
        w.liveValues.potiOffsets = {5, 10, -5, 20};
    };
    // Nothing reported but the speed of return: the button does nothing.
    prepare(0, 0);
    Control<TButton>(w, "ButtonLaunchPotiSave")->Click();
    EXPECT_EQ(image()[4067], 4);
    EXPECT_EQ(image()[4641], 248);
    EXPECT_EQ(commits, 0);

    prepare(1200, 0);
    Control<TButton>(w, "ButtonLaunchPotiSave")->Click();
    EXPECT_EQ(image()[4067], 0);  // the knob is off
    EXPECT_EQ(image()[4641 + 24], 250);  // 248 + 5, no more than 250
    EXPECT_EQ(image()[4671], 0);         // 3 - 5, no less than 0
    EXPECT_EQ(image()[4701], 110);       // the second offset goes to the third table
    // The minimum advance stays within what the launch page offers instead of wrapping round.
    EXPECT_EQ(image()[4627], 160);
    EXPECT_EQ(commits, 1);
    EXPECT_EQ(Control<TComboBox>(w, "ComboBoxPotencMode")->ItemIndex(), 0);
}
