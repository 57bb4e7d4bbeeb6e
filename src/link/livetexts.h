#pragma once
// What the live display shows, as plain data: the text, background colour and visibility of every live label and
// the position, colour and visibility of every live gauge, computed from the live-data block, the settings image
// and the message table of the current language. The window applies it to its controls by name; this part knows
// nothing of them, so that every text can be checked without a window.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "link/livedata.h"
#include "settings/helpers.h"

// Background colours of live labels and bar colours of live gauges (0x00BBGGRR; 0xFF0000nn a system colour).
inline constexpr std::uint32_t kLiveFace = 0xFF00000F;
inline constexpr std::uint32_t kLiveRed = 0x0000FF;
inline constexpr std::uint32_t kLiveYellow = 0x00FFFF;
inline constexpr std::uint32_t kLiveLime = 0x00FF00;
inline constexpr std::uint32_t kLiveAqua = 0xFFFF00;
inline constexpr std::uint32_t kLiveFuchsia = 0xFF00FF;
inline constexpr std::uint32_t kLiveWhite = 0xFFFFFF;
inline constexpr std::uint32_t kLiveBlue = 0xFF0000;

// Every label the live display writes, by name. Most stand on the Monitor page, beside the page control or on the
// pages whose values they show; the names from LabelMonLaunchAcc on are those that the launch, quick-shift and
// power-outputs pages give the live labels they make at run time. A label that no page has made is left out.
// Groups that the display walks by number (inputs, injectors, advances, test values, power outputs) stand in order.
inline constexpr std::string_view kLiveLabelNames[] = {
    // beside the page control
    "LabelRpm", "LabelTpsMon", "LabelGasMon", "LabelLambda", "LabelVoda", "LabelVzduch", "LabelTlak", "LabelPodtlak",
    "LabelNapeti", "LabelMon_Ign", "LabelMaxInjProcent", "LabelGear", "LabelEeDataErr", "LabelSnimacCkps",
    "LabelSnimacCmps", "LabelTest1", "LabelTest2", "LabelTest3", "LabelTest4", "LabelTest5", "LabelTest6",
    "LabelTest7", "LabelTest8", "LabelTest9", "LabelTest10", "LabelTest11", "LabelTest12",
    // the Monitor page
    "LabelMon_Jet_A", "LabelMon_Jet_B", "LabelMon_Jet_1A", "LabelMon_Jet_2A", "LabelMon_Jet_3A", "LabelMon_Jet_4A",
    "LabelMon_Jet_1B", "LabelMon_Jet_2B", "LabelMon_Jet_3B", "LabelMon_Jet_4B", "LabelMon_PolohaA",
    "LabelMon_PolohaB", "LabelDleTpsProcent", "LabelMonFuelMv", "LabelAdvance1", "LabelAdvance2", "LabelAdvance3",
    "LabelAdvance4", "LabelDwellMer", "LabelDwellMer2", "LabelMonServoIntake", "LabelMonServoExhaust",
    "LabelMonServoPosition", "LabelMonPotenc", "LabelMonSpeed", "LabelTunningMsg", "LabelTunningMsg2",
    "LabelTunningMsg3", "LabelTunningMsg4", "LabelMonPOut1", "LabelMonPOut2", "LabelMonPOut3", "LabelMonPOut4",
    "LabelMonPOut5", "LabelMonN2O", "LabelPocetProgramovani", "LabelOvervoltageEvents", "LabelMonFallIn",
    "LabelMonFallOut", "LabelMonBlock2In", "LabelMonBlock2Out", "LabelMonStartLimiterIn", "LabelMonStartLimiterOut",
    "LabelMonStartLimiterRetardOut", "LabelMonClutchIn", "LabelMonClutchOut", "LabelMonRpmLambdaIn",
    "LabelMonRpmLambdaOut", "LabelMonIgnLimiter", "LabelMonJetLimiter", "LabelMonRetardLimiter",
    "LabelMonPitRetardOn", "LabelPitIgn", "LabelN2oEnable", "LabelChlazeniMon",
    // other pages
    "LabelSyncInfo1", "LabelSyncInfo2", "LabelMonInput1In", "LabelMonInput2In", "LabelMonInput3In",
    "LabelMonInput4In", "LabelMonInput5In", "LabelMonInput6In", "LabelMonInput7In", "LabelCorInjStart",
    "LabelCorInjU", "LabelCorInjTW", "LabelCorInjAT", "LabelCorInjAP", "LabelCorInjPOT", "LabelStartJet",
    "LabelCorAdvTW", "LabelCorAdvAT", "LabelCorAdvPOT", "LabelCorAdvIdle", "LabelCorAcc", "LabelCorAccAval",
    "LabelCorAccTWa", "LabelCorAccTWs", "LabelAccTres", "LabelMonGearNapeti", "LabelMonGearNapeti1",
    "LabelMonGearNapeti2", "LabelMonGearNapeti3", "LabelMonPomerRpmSpeed", "LabelMonPomerRpmSpeedAuto1",
    "LabelMonPomerRpmSpeedAuto2", "LabelMonPomerRpmSpeedAuto3", "LabelMonPomerRpmSpeedAuto4",
    "LabelMonPomerRpmSpeedAuto5", "LabelMonPomerRpmSpeedAuto6", "LabelMonAcclimRetard", "LabelMonAcclimPropEffect",
    "LabelMonAcclimSpeedRet", "LabelMonAcclimMinAdv", "LabelFuelMonitor", "LabelFuelMonitor1", "LabelFuelMonitor2",
    "LabelMonServoPositionCopy", "LabelMonSpeedF1", "LabelHourMeter", "LabelMonOilPressure", "LabelMonTempomatV",
    // made at run time by their pages
    "LabelMonLaunchAcc", "LabelMonLaunchRetard", "LabelMonSpeedFront", "LabelMonSpeedRear", "LabelMonSlip",
    "LabelMonTrackRetard", "LabelMonQuickShift", "LabelPowerOutState1", "LabelPowerOutState2", "LabelPowerOutState3",
    "LabelPowerOutState4", "LabelPowerOutState5",
};
inline constexpr int kLiveLabelCount = static_cast<int>(std::size(kLiveLabelNames));

// The gauges, in this order; CGaugeLambda to CGaugeLambda4 stand one above the other.
inline constexpr std::string_view kLiveGaugeNames[] = {
    "CGaugeRpm",     "CGaugeTps",     "CGaugeTps2", "CGaugeGas",  "CGaugeLambda", "CGaugeLambda2",
    "CGaugeLambda3", "CGaugeLambda4", "CGaugeVoda", "CGaugeDuty", "CGaugeDutyB",  "CGaugeFuel",
};
inline constexpr int kLiveGaugeCount = static_cast<int>(std::size(kLiveGaugeNames));

// The index of a live label or gauge by name; a name that is not in the tables does not compile.
consteval int LiveLabel(std::string_view name)
{
    for (int i = 0; i < kLiveLabelCount; ++i)
        if (kLiveLabelNames[i] == name) return i;
    throw "not a live label";
}
consteval int LiveGauge(std::string_view name)
{
    for (int i = 0; i < kLiveGaugeCount; ++i)
        if (kLiveGaugeNames[i] == name) return i;
    throw "not a live gauge";
}

// What a pass sets on one control; an empty field is left as the control has it.
struct LiveLabelView
{
    std::optional<std::string> text;
    std::optional<std::uint32_t> color;  // background; a label that gets a colour turns opaque
    std::optional<bool> visible;
    std::optional<bool> enabled;
    std::optional<int> fontSize;
};
struct LiveGaugeView
{
    std::optional<int> progress;
    std::optional<std::uint32_t> color;  // bar colour
    std::optional<bool> visible;
    std::optional<int> height;
};

struct LiveTextInputs
{
    const LiveBlock& block;
    const LiveValues& values;  // decoded from the block for this pass
    const DerivedLiveValues& derived;
    const Image& image;
    const LambdaColorTable& lambdaColors;
    std::span<const std::string> messages;  // the message table in the current language
    bool hasLiveData = false;
    bool extended = false;  // the raw sensor voltages are shown too
    bool czech = false;     // the AP label takes a smaller font in Czech
};

// The live display's state: what every label and gauge shows. It lasts from pass to pass, since some texts (a
// tuning state without a text of its own, a synchronisation state without a meaning) keep what they showed.
struct LiveTexts
{
    std::array<LiveLabelView, kLiveLabelCount> labels;
    std::array<LiveGaugeView, kLiveGaugeCount> gauges;
    // The lambda range bars stand under this lambda gauge (0 = CGaugeLambda .. 3 = CGaugeLambda4).
    int lambdaRangeGauge = 0;

    [[nodiscard]] const LiveLabelView& Label(int index) const { return labels[static_cast<std::size_t>(index)]; }
    [[nodiscard]] const LiveGaugeView& Gauge(int index) const { return gauges[static_cast<std::size_t>(index)]; }
};

// One pass of the live display over the block. Texts are cut at 251 characters.
void UpdateLiveTexts(LiveTexts& texts, const LiveTextInputs& in);

// A value as the live labels print it: "---" without live data, else printed with the format (an integer), or
// divided by `divisor` and printed with the format or with as many decimals as the divisor has tens (a real).
[[nodiscard]] std::string FormatLiveInt(bool hasLiveData, int value, const char* format = "%i");
[[nodiscard]] std::string FormatLiveReal(bool hasLiveData, double value, int divisor, const char* format = nullptr);
