// The live display as plain data: live frames, written as the unit sends them, turn into the texts, colours and
// gauge positions the window shows. The message table here holds "#<number>", so that every text shows which
// message it took.
#include "link/livetexts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>

namespace {

// A live answer as it travels: word w at answer bytes 2w - 1 (high) and 2w, block byte k at answer byte k - 1.
struct Frame
{
    std::array<std::uint8_t, kLiveFrameLength> a{};
    Frame& w(int word, int value)
    {
        a[std::size_t(2 * word - 1)] = std::uint8_t(value >> 8);
        a[std::size_t(2 * word)] = std::uint8_t(value);
        return *this;
    }
    Frame& b(int byte, int value)
    {
        a[std::size_t(byte - 1)] = std::uint8_t(value);
        return *this;
    }
};

// A unit at idle with every sensor present: one lambda channel, 1 bar, 20 deg C.
Frame Idle()
{
    Frame f;
    f.w(1, 309).w(2, 1200).w(4, 1000).w(7, 450).w(10, 13800).w(47, 0).w(69, 350).w(83, 0xFFFF);
    f.b(195, 120).b(196, 120).b(203, 147).b(204, 255).b(205, 255).b(206, 255).b(175, 0x55).b(176, 0xC1);
    return f;
}

int LabelIndex(std::string_view name)
{
    const auto it = std::ranges::find(kLiveLabelNames, name);
    EXPECT_NE(it, std::end(kLiveLabelNames)) << name;
    return static_cast<int>(it - std::begin(kLiveLabelNames));
}
int GaugeIndex(std::string_view name)
{
    const auto it = std::ranges::find(kLiveGaugeNames, name);
    EXPECT_NE(it, std::end(kLiveGaugeNames)) << name;
    return static_cast<int>(it - std::begin(kLiveGaugeNames));
}

class Display
{
public:
    Display()
    {
        for (std::size_t n = 0; n < messages.size(); ++n) messages[n] = "#" + std::to_string(n);
        image[2660] = 120;  // limiter 12000 rpm
        image[2680] = 2;    // cylinders
        for (int k = 0; k < 4; ++k) image[std::size_t(4872 + k)] = std::uint8_t(120 + 15 * k);
    }
    // One pass of the display over `frame`, as stored from the unit (or without live data: the block is zero).
    void Show(const Frame& frame, bool hasLiveData = true)
    {
        LiveBlock block;
        if (hasLiveData) block.StoreAnswer(frame.a);
        values = DecodeLiveValues(block, hasLiveData, values);
        ComputeDerivedLiveValues(image, block, derived);
        UpdateLiveTexts(texts, {.block = block,
                                .values = values,
                                .derived = derived,
                                .image = image,
                                .lambdaColors = colors,
                                .messages = messages,
                                .hasLiveData = hasLiveData,
                                .extended = extended,
                                .czech = false});
    }
    [[nodiscard]] std::string Text(std::string_view label) const
    {
        return texts.Label(LabelIndex(label)).text.value_or("<none>");
    }
    [[nodiscard]] std::uint32_t Color(std::string_view label) const
    {
        return texts.Label(LabelIndex(label)).color.value_or(0x12345678);
    }
    [[nodiscard]] bool Visible(std::string_view label) const
    {
        return texts.Label(LabelIndex(label)).visible.value_or(true);
    }
    [[nodiscard]] const LiveGaugeView& Gauge(std::string_view name) const { return texts.Gauge(GaugeIndex(name)); }

    Image image{};
    LambdaColorTable colors{};
    std::array<std::string, 234> messages;
    bool extended = false;
    LiveTexts texts;
    LiveValues values;
    DerivedLiveValues derived{};
};

struct Shown
{
    std::string_view label;
    std::string_view text;
    std::uint32_t color = 0x12345678;  // not checked
};
void Check(const Display& d, const Shown& s)
{
    EXPECT_EQ(d.Text(s.label), s.text) << s.label;
    if (s.color != 0x12345678) {
        EXPECT_EQ(d.Color(s.label), s.color) << s.label;
    }
}

struct FrameCase
{
    std::string_view name;
    std::function<void(Frame&, Display&)> setUp;
    std::vector<Shown> shown;
};

}  // namespace

TEST(LiveTexts, FramesShowAsTheirTextsAndColours)
{
    const FrameCase cases[] = {
        {"idle engine",
         [](Frame&, Display&) {},
         {{"LabelRpm", "RPM= 1200", kLiveFace},
          {"LabelTpsMon", "TP=  0.0 %", kLiveFace},
          {"LabelLambda", "LAMBDA = 14.7 [AFR] ", kLiveFace},
          {"LabelVoda", "#72= 20 °C", kLiveFace},
          {"LabelVzduch", "AT= 20 °C", kLiveFace},
          {"LabelTlak", "AP= 100.0 kPa", kLiveFace},
          {"LabelPodtlak", "IAP= 35.0 kPa", kLiveFace},
          {"LabelNapeti", "U= 13.8 V", kLiveFace},
          {"LabelGear", "#55= 0", kLiveLime},
          {"LabelMonFallIn", "#53 = #21", kLiveFace},
          {"LabelMonFallOut", "#53 = #21", kLiveFace},
          {"LabelMonPOut1", "01:#115", kLiveFace},
          {"LabelPowerOutState1", "#115", kLiveFace},
          {"LabelSyncInfo1", "Synchro 1:#184", kLiveFace},
          {"LabelHourMeter", "#185 = 0:00 #186"},
          {"LabelOvervoltageEvents", "#187 = 0"}}},
        // A literal "%" stands where the text means percent.
        {"percent signs",
         [](Frame& f, Display&) { f.w(2, 6000).b(187, 40).b(188, 45).b(191, 20).b(198, 7).w(66, 0xFF83).w(31, 15); },
         {{"LabelMaxInjProcent", "#47= 22/10 %"},
          {"LabelDleTpsProcent", "#71=  7 %"},
          {"LabelMonSlip", "#180 = -1.25 [%]"},
          {"LabelCorInjStart", "#193= 1.5 %"},
          {"LabelMon_Jet_A", "#46 A= 4250 us"},
          {"LabelMon_Jet_2A", "#46 2A= 4500 us"}}},
        // Range ends of the battery's colours.
        {"battery 7000 mV", [](Frame& f, Display&) { f.w(10, 7000); }, {{"LabelNapeti", "U= 7.0 V", kLiveRed}}},
        {"battery 11000 mV", [](Frame& f, Display&) { f.w(10, 11000); }, {{"LabelNapeti", "U= 11.0 V", kLiveYellow}}},
        {"battery 11001 mV", [](Frame& f, Display&) { f.w(10, 11001); }, {{"LabelNapeti", "U= 11.0 V", kLiveFace}}},
        {"battery 14998 mV", [](Frame& f, Display&) { f.w(10, 14998); }, {{"LabelNapeti", "U= 15.0 V", kLiveFace}}},
        {"battery 14999 mV", [](Frame& f, Display&) { f.w(10, 14999); }, {{"LabelNapeti", "U= 15.0 V", kLiveYellow}}},
        {"battery 17999 mV", [](Frame& f, Display&) { f.w(10, 17999); }, {{"LabelNapeti", "U= 18.0 V", kLiveRed}}},
        // Coolant: yellow from 100 deg C on.
        {"coolant 99", [](Frame& f, Display&) { f.b(195, 199); }, {{"LabelVoda", "#72= 99 °C", kLiveFace}}},
        {"coolant 100", [](Frame& f, Display&) { f.b(195, 200); }, {{"LabelVoda", "#72= 100 °C", kLiveYellow}}},
        // Sensor errors and sensors switched off.
        {"coolant sensor error",
         [](Frame& f, Display&) { f.b(195, 0).b(196, 0).b(178, 0x07).w(8, 4950).w(5, 4900); },
         {{"LabelVoda", "#72= error", kLiveRed},
          {"LabelVzduch", "AT= 50 °C", kLiveRed},
          {"LabelTpsMon", "TP= error = 0 mV", kLiveRed},
          {"LabelPodtlak", "IAP= error", kLiveRed},
          {"LabelTlak", "AP= 100.0 kPa", kLiveRed}}},
        {"sensors off",
         [](Frame& f, Display&) { f.b(179, 0x7E); },
         {{"LabelTpsMon", "TP= #217", kLiveFace},
          {"LabelVoda", "#72= #217", kLiveFace},
          {"LabelVzduch", "AT= #217", kLiveFace},
          {"LabelTlak", "AP= #217", kLiveFace},
          {"LabelPodtlak", "IAP= #217", kLiveFace},
          {"LabelLambda", "LAMBDA= #217", kLiveFace}}},
        {"extended, sensors off",
         [](Frame& f, Display& d) {
             d.extended = true;
             f.b(179, 0x7E).w(6, 512).w(8, 4950).w(9, 4960).w(3, 4100).w(5, 2000).w(7, 0).w(4, 985);
         },
         {{"LabelTpsMon", "TP= #217 (512 mV)"},
          {"LabelVoda", "#73= #217 (4950 mV)"},
          {"LabelVzduch", "AT= #217 (4960 mV)"},
          {"LabelTlak", "AP= #217(98.5 kPa)= 4100 mV"},
          {"LabelPodtlak", "IAP= #217 (2000 mV)"},
          {"LabelLambda", "LAMBDA= #217 (0 mV)"}}},
        {"extended",
         [](Frame& f, Display& d) {
             d.extended = true;
             f.w(47, 125).w(6, 1234).w(8, 1320).w(7, 430);
         },
         {{"LabelTpsMon", "TP= 12.5 %= 1234 mV"},
          {"LabelVoda", "#72= 20 °C= 1320 mV"},
          {"LabelLambda", "LAMBDA = 14.7 [AFR] = 430 mV"}}},
        // Lambda notation; channels 2 and 4 missing take channel 1's and 2's values.
        {"lambda notation",
         [](Frame& f, Display& d) {
             d.image[5029] = 1;
             f.b(203, 140).b(204, 255).b(205, 130).b(206, 255);
         },
         {{"LabelLambda", "LAMBDA = 0.95, 0.95 "}}},
        {"AFR, four channels",
         [](Frame& f, Display&) { f.b(203, 140).b(204, 141).b(205, 142).b(206, 143); },
         {{"LabelLambda", "LAMBDA = 14.0, 14.1, 14.2, 14.3 [AFR] "}}},
        {"lambda voltage not reported", [](Frame& f, Display&) { f.w(7, 0xFFFF); },
         {{"LabelLambda", "LAMBDA = 14.7 [AFR] "}}},
        // The throttle set by the intake servo: the gas handle is shown apart, its voltage is the servo's.
        {"throttle by servo",
         [](Frame& f, Display& d) {
             d.extended = true;
             f.b(179, 0x01).w(13, 2222).w(6, 1111).w(47, 300).w(57, 455);
         },
         {{"LabelTpsMon", "TP= 30.0 %= 2222 mV"}, {"LabelGasMon", "#114= 45.5 %= 1111 mV", kLiveFace}}},
        {"second throttle sensor", [](Frame& f, Display&) { f.b(182, 1).w(47, 300).w(83, 310); },
         {{"LabelTpsMon", "TP= 30.0 %, 31.0 %"}}},
        // Launch acceleration -15: rounded to -2 km/h/s by speed, else -150 rpm/s.
        {"launch by speed", [](Frame& f, Display&) { f.w(63, 0xFFF1).b(211, 1); },
         {{"LabelMonLaunchAcc", "#178= -2 [km/h/s]"}}},
        {"launch by rpm", [](Frame& f, Display&) { f.w(63, 0xFFF1); }, {{"LabelMonLaunchAcc", "#178= -150 [rpm/s]"}}},
        // All three limiters red, one fuchsia; the engine at 6000 of 12000 rpm.
        {"all limiters", [](Frame& f, Display&) { f.b(176, 0x1C).w(2, 6000); }, {{"LabelRpm", "RPM= 6000", kLiveRed}}},
        {"one limiter", [](Frame& f, Display&) { f.b(176, 0x08); }, {{"LabelRpm", "RPM= 1200", kLiveFuchsia}}},
        // Power outputs: listed codes with their colours, an unlisted code as disabled; N2O with output 2.
        {"power outputs",
         [](Frame& f, Display&) { f.b(208, 1).b(209, 10).b(220, 16).b(210, 35); },
         {{"LabelMonPOut1", "01:#116", kLiveWhite},
          {"LabelMonPOut2", "02:#125", kLiveAqua},
          {"LabelMonPOut3", "03:#115", kLiveFace},
          {"LabelPowerOutState2", "#125", kLiveAqua},
          {"LabelMonN2O", "N2O 35 %"}}},
        // Inverted bit labels: the colour shows for a clear bit.
        {"inverted bits",
         [](Frame& f, Display&) { f.b(175, 0x54).b(176, 0xC3); },
         {{"LabelMonFallIn", "#53 = #20", kLiveFuchsia},
          {"LabelMonRpmLambdaOut", "#70 = #67", kLiveFace},
          {"LabelMonBlock2In", "#13 = #21", kLiveFace}}},
        {"synchronised", [](Frame& f, Display&) { f.b(222, 2); },
         {{"LabelSyncInfo1", "Synchro 1:#20", kLiveLime}, {"LabelSyncInfo2", "Synchro 2:#20", kLiveLime}}},
        {"base advance",
         [](Frame& f, Display& d) {
             d.image[3095] = 12;
             f.b(177, 0x08).b(183, 30);
         },
         {{"LabelMon_Ign", "#11= BASE"}, {"LabelAdvance1", "#11 1= BASE"}}},
        {"advance and its maximum",
         [](Frame& f, Display& d) {
             d.image[2695] = 1;
             f.b(183, 7).b(184, 31).w(59, 35).w(60, 36);
         },
         {{"LabelMon_Ign", "#11=  7 °"}, {"LabelAdvance1", "#11 1=  7 ° / 35°"}, {"LabelAdvance2", "#11 2= 31 ° / 36°"}}},
        {"acceleration limit by rpm",
         [](Frame& f, Display&) { f.b(212, 12).b(213, 25).b(214, 40).b(215, 0xFE).b(216, 5).b(217, 3).b(218, 0xFF).b(219, 50); },
         {{"LabelMonAcclimRetard", "#169 = 1200 (-200) [rpm/s]"},
          {"LabelMonAcclimPropEffect", "#168 = 2.5 (+0.5) [°/1000 rpm/s]"},
          {"LabelMonAcclimSpeedRet", "#166 = 40 (+3) [°/s]"},
          {"LabelMonAcclimMinAdv", "#171 = -10 (-1) [°]"}}},
        {"hour meter and overvoltage",
         [](Frame& f, Display&) { f.w(68, 125).b(223, 1).w(81, 3); },
         {{"LabelHourMeter", "#185 = 1094:21 #186"}, {"LabelOvervoltageEvents", "#187 = 3"}}},
    };
    for (const FrameCase& c : cases) {
        SCOPED_TRACE(c.name);
        Display d;
        Frame f = Idle();
        c.setUp(f, d);
        d.Show(f);
        for (const Shown& s : c.shown) Check(d, s);
    }
}

TEST(LiveTexts, WithoutLiveDataEveryValueIsDashesOnTheFace)
{
    Display d;
    d.Show(Idle(), false);
    const Shown shown[] = {
        {"LabelRpm", "RPM= ---", kLiveFace},
        {"LabelVoda", "#72= --- °C", kLiveFace},
        {"LabelNapeti", "U= --- V", kLiveFace},
        {"LabelGear", "#55= ---", kLiveFace},
        {"LabelLambda", "LAMBDA = ---, ---, ---, --- [AFR] ", kLiveFace},
        {"LabelMonFallIn", "#53 = ---", kLiveFace},
        {"LabelSnimacCkps", "#38 = ---", kLiveFace},
        {"LabelTunningMsg", "T: ---", kLiveFace},
        {"LabelMonPOut3", "03: --- ", kLiveFace},
        {"LabelPowerOutState3", " --- ", kLiveFace},
        {"LabelMonServoIntake", "#50= --- / --- mV", kLiveFace},
        {"LabelMaxInjProcent", "#47= ---/--- %"},
        {"LabelHourMeter", "#185 = ---"},
        {"LabelOvervoltageEvents", "#187 = ---"},
        {"LabelTest9", "Test9= ---"},
    };
    for (const Shown& s : shown) Check(d, s);
}

TEST(LiveTexts, GaugesFollowTheValues)
{
    Display d;
    Frame f = Idle();
    f.w(2, 6000).w(47, 421).b(195, 195).b(230, 62).b(187, 60).b(188, 60);
    d.Show(f);
    EXPECT_EQ(d.Gauge("CGaugeRpm").progress, 50);  // 6000 of 12000 rpm
    EXPECT_EQ(d.Gauge("CGaugeTps").progress, 42);
    EXPECT_EQ(d.Gauge("CGaugeTps").height, 15);
    EXPECT_EQ(d.Gauge("CGaugeTps2").visible, false);
    EXPECT_EQ(d.Gauge("CGaugeGas").visible, false);
    EXPECT_EQ(d.Gauge("CGaugeVoda").progress, 95);
    EXPECT_EQ(d.Gauge("CGaugeVoda").color, kLiveAqua);
    EXPECT_EQ(d.Gauge("CGaugeFuel").progress, 62);
    EXPECT_EQ(d.Gauge("CGaugeDuty").progress, 30);  // 6000 rpm x 6.0 ms / 12000
    EXPECT_EQ(d.Gauge("CGaugeDuty").color, kLiveBlue);
    // One lambda channel: AFR 14.7 in the bar from 12.0 to 16.5, the range bars under the first gauge.
    EXPECT_EQ(d.Gauge("CGaugeLambda").progress, (147 - 120) * 100 / 45);
    EXPECT_EQ(d.Gauge("CGaugeLambda2").visible, false);
    EXPECT_EQ(d.texts.lambdaRangeGauge, 0);

    // The coolant sensor's error: the bar goes red at 80 deg C, and so do the values the maps take.
    f.b(195, 0).b(182, 1).w(83, 0xFFFF).b(228, 0).b(229, 7).b(203, 140).b(204, 255).b(205, 130).b(206, 255);
    f.w(2, 20000).b(187, 250);
    d.Show(f);
    EXPECT_EQ(d.Gauge("CGaugeVoda").progress, 80);
    EXPECT_EQ(d.Gauge("CGaugeVoda").color, kLiveRed);
    EXPECT_EQ(d.values.coolant, 180);
    EXPECT_EQ(d.Gauge("CGaugeTps").height, 9);  // a second throttle sensor, reported as none
    EXPECT_EQ(d.Gauge("CGaugeTps2").visible, true);
    EXPECT_EQ(d.Gauge("CGaugeTps2").progress, 0);
    // The unit's own duty figures replace the computed ones together.
    EXPECT_EQ(d.Gauge("CGaugeDuty").progress, 0);
    EXPECT_EQ(d.Gauge("CGaugeDutyB").progress, 7);
    // Channels 1 and 3: two gauges, the range bars under the second.
    EXPECT_EQ(d.Gauge("CGaugeLambda2").visible, true);
    EXPECT_EQ(d.Gauge("CGaugeLambda3").visible, false);
    EXPECT_EQ(d.texts.lambdaRangeGauge, 1);

    // Injectors open longer than a cycle: the duty bar turns yellow.
    f.b(228, 0).b(229, 0);
    d.Show(f);
    EXPECT_EQ(d.derived[8], 20000 * 250 / 12000);
    EXPECT_EQ(d.Gauge("CGaugeDuty").color, kLiveYellow);
}

TEST(LiveTexts, StatesWithoutATextKeepTheLastOne)
{
    Display d;
    Frame f = Idle();
    f.b(199, 16).b(200, 2).b(201, 14).b(202, 255).b(222, 1);
    d.Show(f);
    EXPECT_EQ(d.Text("LabelTunningMsg"), "#106");
    EXPECT_EQ(d.Color("LabelTunningMsg"), kLiveLime);
    EXPECT_EQ(d.Text("LabelTunningMsg2"), "#86");
    EXPECT_EQ(d.Color("LabelTunningMsg2"), kLiveFace);
    EXPECT_EQ(d.Color("LabelTunningMsg3"), kLiveAqua);
    EXPECT_FALSE(d.Visible("LabelTunningMsg4"));  // channel not in use
    EXPECT_EQ(d.Text("LabelSyncInfo2"), "Synchro 2:#21");

    // Code 30 has no text: the last stays, in fuchsia; a synchronisation state 7 leaves both texts.
    f.b(199, 30).b(222, 7);
    d.Show(f);
    EXPECT_EQ(d.Text("LabelTunningMsg"), "#106");
    EXPECT_EQ(d.Color("LabelTunningMsg"), kLiveFuchsia);
    EXPECT_EQ(d.Text("LabelSyncInfo1"), "Synchro 1:#20");
    EXPECT_EQ(d.Color("LabelSyncInfo1"), kLiveLime);
}

TEST(LiveTexts, HourMeterWaitsForLiveDataThenKeepsItsValue)
{
    Display d;
    Frame f = Idle();
    d.Show(f, false);
    EXPECT_EQ(d.Text("LabelHourMeter"), "#185 = ---");
    f.w(68, 600);
    d.Show(f);
    EXPECT_EQ(d.Text("LabelHourMeter"), "#185 = 10:00 #186");
    // Frames that carry the last overvoltage's time leave the hour meter as it was.
    f.w(68, 90).b(176, 0xE1).w(81, 2);
    d.Show(f);
    EXPECT_EQ(d.Text("LabelHourMeter"), "#185 = 10:00 #186");
    EXPECT_EQ(d.Text("LabelOvervoltageEvents"), "#187 = 2 (#188 1:30 #186) ");
    d.Show(f, false);
    EXPECT_EQ(d.Text("LabelHourMeter"), "#185 = ---");
}
