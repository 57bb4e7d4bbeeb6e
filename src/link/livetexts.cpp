#include "link/livetexts.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace {

constexpr int kLabelTextMax = 251;

// Label texts are printf formats with arguments; a literal percent sign is written "%%" (the compiler checks
// every format against its arguments).
[[gnu::format(printf, 1, 2)]] std::string Print(const char* format, ...)
{
    char text[kLabelTextMax + 1];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return n < 0 ? std::string() : std::string(text);
}

// A bit label: "<caption> = <state>"; its colour shows for a set bit, or for a clear bit on an inverted label.
struct BitLabelRow
{
    int label;
    int caption;  // message numbers
    int byte, bit;
    std::uint32_t color;
    int setText, clearText;
    bool inverted = false;
};
// clang-format off
constexpr BitLabelRow kBitLabels[] = {
    {LiveLabel("LabelSnimacCkps"),               38, 177, 5, kLiveLime,    40, 41},
    {LiveLabel("LabelSnimacCmps"),               39, 177, 6, kLiveLime,    40, 41},
    {LiveLabel("LabelMonFallOut"),               53, 175, 1, kLiveRed,     20, 21},
    {LiveLabel("LabelMonBlock2Out"),             13, 175, 3, kLiveRed,     20, 21},
    {LiveLabel("LabelChlazeniMon"),              54, 177, 4, kLiveWhite,   20, 21},
    {LiveLabel("LabelMonInput1In"),             222, 181, 0, kLiveFuchsia, 224, 223},
    {LiveLabel("LabelMonInput2In"),             222, 181, 1, kLiveFuchsia, 224, 223},
    {LiveLabel("LabelMonInput3In"),             222, 181, 2, kLiveFuchsia, 224, 223},
    {LiveLabel("LabelMonInput4In"),             222, 181, 3, kLiveFuchsia, 224, 223},
    {LiveLabel("LabelMonInput5In"),             222, 181, 4, kLiveFuchsia, 224, 223},
    {LiveLabel("LabelMonInput6In"),             222, 181, 5, kLiveFuchsia, 224, 223},
    {LiveLabel("LabelMonInput7In"),             222, 181, 6, kLiveFuchsia, 224, 223},
    {LiveLabel("LabelN2oEnable"),               189, 177, 1, kLiveLime,    20, 21},
    {LiveLabel("LabelMonFallIn"),                53, 175, 0, kLiveFuchsia, 21, 20, true},
    {LiveLabel("LabelMonBlock2In"),              13, 175, 2, kLiveAqua,    21, 20, true},
    {LiveLabel("LabelMonStartLimiterIn"),        14, 175, 4, kLiveFuchsia, 21, 20, true},
    {LiveLabel("LabelMonClutchIn"),              66, 175, 6, kLiveLime,    21, 20, true},
    {LiveLabel("LabelMonRpmLambdaIn"),           69, 176, 0, kLiveAqua,    21, 20, true},
    {LiveLabel("LabelMonStartLimiterOut"),       15, 175, 5, kLiveFuchsia, 20, 21},
    {LiveLabel("LabelMonStartLimiterRetardOut"), 16, 180, 0, kLiveFuchsia, 20, 21},
    {LiveLabel("LabelMonIgnLimiter"),            17, 176, 2, kLiveFuchsia, 20, 21},
    {LiveLabel("LabelMonJetLimiter"),            18, 176, 3, kLiveFuchsia, 20, 21},
    {LiveLabel("LabelMonRetardLimiter"),         19, 176, 4, kLiveFuchsia, 20, 21},
    {LiveLabel("LabelMonRpmLambdaOut"),          70, 176, 1, kLiveAqua,    67, 68, true},
    {LiveLabel("LabelMonClutchOut"),             66, 175, 7, kLiveRed,     20, 21},
    {LiveLabel("LabelMonPitRetardOn"),          112, 178, 5, kLiveFuchsia, 20, 21},
    {LiveLabel("LabelPitIgn"),                  113, 178, 6, kLiveFuchsia, 20, 21},
};

// Tuning state codes 0..25 and the message each shows.
constexpr int kTuningMessages[] = {83, 85, 86, 87, 94, 95, 96, 97, 98, 99, 100, 101, 102,
                                   103, 104, 105, 106, 84, 88, 89, 90, 91, 92, 93, 108, 107};

// Power-output state codes, the message each shows and its colour; any other code is message 115 on the face.
struct PowerOutRow
{
    int code, message;
    std::uint32_t color;
};
constexpr PowerOutRow kPowerOutStates[] = {
    {1, 116, kLiveWhite},  {2, 117, kLiveYellow}, {3, 118, kLiveAqua},   {4, 119, kLiveWhite},  {5, 120, kLiveYellow},
    {6, 121, kLiveAqua},   {7, 122, kLiveWhite},  {8, 123, kLiveAqua},   {9, 124, kLiveWhite},  {10, 125, kLiveAqua},
    {11, 126, kLiveWhite}, {12, 127, kLiveAqua},  {13, 128, kLiveLime},  {14, 129, kLiveYellow}, {15, 130, kLiveYellow},
    {17, 131, kLiveYellow}, {18, 132, kLiveWhite}, {19, 133, kLiveAqua}, {20, 134, kLiveWhite}, {21, 135, kLiveAqua},
    {22, 136, kLiveWhite}, {23, 137, kLiveAqua},  {24, 138, kLiveWhite}, {25, 139, kLiveAqua},  {26, 140, kLiveYellow},
    {27, 142, kLiveYellow}, {28, 143, kLiveWhite}, {29, 144, kLiveAqua}, {30, 145, kLiveYellow}, {31, 146, kLiveYellow},
    {32, 147, kLiveYellow}, {33, 148, kLiveYellow}, {34, 149, kLiveWhite}, {35, 150, kLiveAqua}, {36, 141, kLiveYellow},
    {39, 151, kLiveWhite}, {40, 152, kLiveAqua},  {41, 153, kLiveWhite}, {42, 154, kLiveAqua},
};
constexpr int kPowerOutDisabled = 115;
// Live bytes of the five power outputs' states.
constexpr int kPowerOutBytes[] = {208, 209, 220, 221, 231};
constexpr int kPowerOutFid = 15;
// clang-format on

// The corrections: label, format, caption message, and the live word with divisor and offset.
struct CorrectionRow
{
    int label;
    const char* format;
    int caption;
    int word, divisor, offset;
};
constexpr CorrectionRow kCorrections[] = {
    {LiveLabel("LabelCorInjStart"), "%s= %s %%", 193, 31, 10, 0},
    {LiveLabel("LabelCorInjTW"), "%s= %s %%", 190, 28, 10, 0},
    {LiveLabel("LabelCorInjAT"), "%s= %s %%", 191, 29, 10, 0},
    {LiveLabel("LabelCorInjAP"), "%s= %s %%", 192, 30, 10, 0},
    {LiveLabel("LabelCorInjPOT"), "%s= %s %%", 194, 35, 10, 0},
    {LiveLabel("LabelStartJet"), "%s= %s ms", 202, 55, 10, 0},
    {LiveLabel("LabelCorAdvTW"), "%s= %s °", 190, 33, 10, 100},
    {LiveLabel("LabelCorAdvAT"), "%s= %s °", 191, 51, 10, 100},
    {LiveLabel("LabelCorAdvPOT"), "%s= %s °", 194, 34, 10, 100},
    {LiveLabel("LabelCorAdvIdle"), "%s= %s °", 195, 45, 10, 100},
    {LiveLabel("LabelCorAcc"), "%s= %s %%", 196, 48, 10, 0},
    {LiveLabel("LabelCorAccAval"), "%s= %s ms", 201, 53, 10, 0},
    {LiveLabel("LabelCorAccTWa"), "%s= %s %%", 198, 52, 10, 0},
    {LiveLabel("LabelCorAccTWs"), "%s= %s %%", 197, 54, 10, 0},
};

// Image bytes the display reads.
constexpr int kImageLimiter = 2660;       // the RPM limiter / 100: the RPM gauge's full scale
constexpr int kImageCylinders = 2680;
constexpr int kImageShowMaxAdvance = 2695;
constexpr int kImageAccLimitMode = 4067;  // 4: the acceleration limit by potentiometer
constexpr int kImageExhaustServo = 4410;
constexpr int kImageIntakeServo = 4411;
constexpr int kImageLambdaNotation = 5029;  // 0: air-fuel ratio, else lambda

class Pass
{
public:
    Pass(LiveTexts& texts, const LiveTextInputs& in) : t(texts), c(in), b(in.block), v(in.values), has(in.hasLiveData)
    {
    }
    void Run();

private:
    LiveLabelView& L(int index) { return t.labels[static_cast<std::size_t>(index)]; }
    LiveGaugeView& G(int index) { return t.gauges[static_cast<std::size_t>(index)]; }
    void Text(int label, std::string text) { L(label).text = std::move(text); }
    void Text(int label, std::string text, std::uint32_t color)
    {
        L(label).text = std::move(text);
        L(label).color = color;
    }
    [[nodiscard]] const char* M(int n) const
    {
        return n >= 0 && static_cast<std::size_t>(n) < c.messages.size() ? c.messages[static_cast<std::size_t>(n)].c_str()
                                                                         : "";
    }
    [[nodiscard]] std::string I(int value, const char* format = "%i") const { return FormatLiveInt(has, value, format); }
    [[nodiscard]] std::string R(double value, int divisor, const char* format = nullptr) const
    {
        return FormatLiveReal(has, value, divisor, format);
    }
    [[nodiscard]] std::string W(int word) const { return I(b.Monw(word)); }
    [[nodiscard]] std::string B(int byte) const { return I(b.Monb(byte)); }
    // The word in units of 1/divisor with `offset` (display units) taken off.
    [[nodiscard]] std::string WordReal(int word, int divisor, int offset) const
    {
        return R(b.Monw(word) - divisor * offset, divisor);
    }
    [[nodiscard]] bool Bit(int byte, int bit) const { return (b.Monb(byte) >> bit & 1) != 0; }
    [[nodiscard]] int Derived(int index) const { return static_cast<int>(c.derived[static_cast<std::size_t>(index)]); }

    void Rpm();
    void Throttle();
    void Lambda();
    void Coolant();
    void AirAndPressures();
    void Battery();
    void Injection();
    void BitLabels();
    void Gear();
    void Tuning();
    void Servos();
    void TestValues();
    void Synchronisation();
    void Corrections();
    void LaunchAndTraction();
    void AccelerationLimit();
    void InjectorsAndFuel();
    void Advance();
    void PowerOutputs();
    void HourMeter();

    LiveTexts& t;
    const LiveTextInputs& c;
    const LiveBlock& b;
    const LiveValues& v;
    const bool has;
};

void Pass::Run()
{
    Rpm();
    Throttle();
    Lambda();
    Coolant();
    AirAndPressures();
    Battery();
    Injection();
    BitLabels();
    Text(LiveLabel("LabelMonSpeed"), Print("%s= %s/%s [km/h]", M(177), W(36).c_str(), W(65).c_str()));
    Gear();
    Tuning();
    Servos();
    L(LiveLabel("LabelEeDataErr")).visible = Bit(177, 7);
    TestValues();
    Text(LiveLabel("LabelPocetProgramovani"), Print("%s = %s", M(12), W(16).c_str()));
    Synchronisation();
    Corrections();
    LaunchAndTraction();
    AccelerationLimit();
    InjectorsAndFuel();
    Text(LiveLabel("LabelMonPotenc"), Print("%s = %s mV", M(52), W(15).c_str()));
    Advance();
    PowerOutputs();
    Text(LiveLabel("LabelMonTempomatV"), Print("%s = %s mV", M(216), I(b.Monb(233) * 20).c_str()));
    HourMeter();
    Text(LiveLabel("LabelMonOilPressure"), Print("%s = %s kPa", M(215), I(b.Monb(232) * 10).c_str()));
}

void Pass::Rpm()
{
    const int limiter = c.image[kImageLimiter];
    if (limiter != 0) G(LiveGauge("CGaugeRpm")).progress = v.rpm / limiter;
    const int limiters = v.limiterIgn + v.limiterJet + v.limiterRetard;
    Text(LiveLabel("LabelRpm"), Print("RPM= %s", I(v.rpm).c_str()),
         limiters == 3 ? kLiveRed : limiters > 0 ? kLiveFuchsia : kLiveFace);
}

void Pass::Throttle()
{
    const int tpsLabel = LiveLabel("LabelTpsMon"), gasLabel = LiveLabel("LabelGasMon");
    const int tps = LiveGauge("CGaugeTps"), tps2 = LiveGauge("CGaugeTps2"), gas = LiveGauge("CGaugeGas");
    // The throttle is the gas handle's, or the intake servo's while the servo sets it.
    const std::string volts = I(v.throttleByServo ? b.Monw(13) : v.tpsMillivolts);
    std::uint32_t gasColor = kLiveFace;
    if (Bit(179, 1)) {
        Text(tpsLabel, c.extended ? Print("TP= %s (%s mV)", M(217), volts.c_str()) : Print("TP= %s", M(217)), kLiveFace);
    } else if (v.tpsError) {
        Text(tpsLabel, Print("TP= error = %s mV", volts.c_str()), kLiveRed);
        G(tps).progress = 0;
        G(tps2).progress = 0;
        G(gas).progress = 0;
        if (v.throttleByServo) gasColor = kLiveRed;
    } else {
        const std::string first = R(v.tps, 10, "%4.1f");
        if (v.secondTps)
            Text(tpsLabel, Print("TP= %s %%, %s %%", first.c_str(), R(v.tps2, 10, "%4.1f").c_str()), kLiveFace);
        else if (c.extended)
            Text(tpsLabel, Print("TP= %s %%= %s mV", first.c_str(), volts.c_str()), kLiveFace);
        else
            Text(tpsLabel, Print("TP= %s %%", first.c_str()), kLiveFace);
        G(tps).progress = v.tps / 10;
        G(tps2).progress = v.tps2 / 10;
        G(gas).progress = v.gasHandle / 10;
    }
    L(gasLabel).visible = v.throttleByServo;
    G(gas).visible = v.throttleByServo;
    G(tps).height = v.secondTps ? 9 : 15;
    G(tps2).visible = v.secondTps;
    const std::string handle = R(v.gasHandle, 10);
    const std::string handleVolts = I(v.tpsMillivolts);
    if (c.extended)
        Text(gasLabel,
             v.tpsError ? Print("%s=error = %s mV", M(114), handleVolts.c_str())
                        : Print("%s= %s %%= %s mV", M(114), handle.c_str(), handleVolts.c_str()),
             gasColor);
    else
        Text(gasLabel, v.tpsError ? Print("%s=error", M(114)) : Print("%s= %s %%", M(114), handle.c_str()), gasColor);
}

void Pass::Lambda()
{
    const bool afr = c.image[kImageLambdaNotation] == 0;
    const char* unit = afr ? "[AFR] " : "";
    std::array<std::string, 4> text;
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = afr ? R(v.lambda[i], 10, "%4.1f") : R(v.lambda[i], 147, "%4.2f");
    const int count = std::clamp(v.lambdaCount, 1, 4);
    const int first = LiveGauge("CGaugeLambda");
    for (int k = 1; k < 4; ++k) G(first + k).visible = count > k;
    auto setGauge = [&](int k) {
        const LambdaGaugeView view = LambdaGaugeFor(c.image, c.lambdaColors, v.lambda[static_cast<std::size_t>(k)]);
        G(first + k).progress = view.progress;
        G(first + k).visible = view.isVisible;
        G(first + k).color = view.color;
    };
    const int label = LiveLabel("LabelLambda");
    const std::string voltage = I(v.lambdaVoltage);
    if (count != 1 || v.lambdaVoltage == 0xFFFF) {
        switch (count) {
            case 1: Text(label, Print("LAMBDA = %s %s", text[0].c_str(), unit)); break;
            case 2: Text(label, Print("LAMBDA = %s, %s %s", text[0].c_str(), text[1].c_str(), unit)); break;
            case 3:
                Text(label, Print("LAMBDA = %s, %s, %s %s", text[0].c_str(), text[1].c_str(), text[2].c_str(), unit));
                break;
            default:
                Text(label, Print("LAMBDA = %s, %s, %s, %s %s", text[0].c_str(), text[1].c_str(), text[2].c_str(),
                                  text[3].c_str(), unit));
        }
        t.lambdaRangeGauge = count - 1;
        for (int k = 0; k < count; ++k) setGauge(k);
    } else {
        t.lambdaRangeGauge = 0;
        if (Bit(179, 6)) {
            Text(label, c.extended ? Print("LAMBDA= %s (%s mV)", M(217), voltage.c_str()) : Print("LAMBDA= %s", M(217)));
            G(first).visible = false;
        } else {
            Text(label, c.extended ? Print("LAMBDA = %s %s= %s mV", text[0].c_str(), unit, voltage.c_str())
                                   : Print("LAMBDA = %s %s", text[0].c_str(), unit));
            setGauge(0);
        }
    }
    L(label).color = kLiveFace;
}

void Pass::Coolant()
{
    const int label = LiveLabel("LabelVoda"), gauge = LiveGauge("CGaugeVoda");
    const std::string volts = W(8);
    if (Bit(179, 4)) {
        Text(label, c.extended ? Print("%s= %s (%s mV)", M(73), M(217), volts.c_str()) : Print("%s= %s", M(72), M(217)),
             kLiveFace);
        G(gauge).visible = false;
    } else if (b.Monb(195) != 0 || !has) {
        const bool hot = v.coolant >= 200;  // 100 deg C
        const std::string degrees = I(v.coolant - 100);
        Text(label,
             c.extended ? Print("%s= %s °C= %s mV", M(72), degrees.c_str(), volts.c_str())
                        : Print("%s= %s °C", M(72), degrees.c_str()),
             hot ? kLiveYellow : kLiveFace);
        G(gauge).color = hot ? kLiveYellow : kLiveAqua;
        G(gauge).progress = v.coolant - 100;
        G(gauge).visible = true;
    } else {
        // The sensor reports an error: the values go on with 80 deg C.
        Text(label, c.extended ? Print("%s= error = %s mV", M(72), volts.c_str()) : Print("%s= error", M(72)),
             kLiveRed);
        G(gauge).color = kLiveRed;
        G(gauge).progress = 80;
        G(gauge).visible = true;
    }
}

void Pass::AirAndPressures()
{
    const int air = LiveLabel("LabelVzduch");
    const std::string airVolts = W(9);
    if (Bit(179, 5)) {
        Text(air, c.extended ? Print("AT= %s (%s mV)", M(217), airVolts.c_str()) : Print("AT= %s", M(217)), kLiveFace);
    } else {
        const bool error = b.Monb(196) == 0 && has;  // a sensor error: shown as 50 deg C
        const std::string degrees = I(error ? 50 : v.air - 100);
        Text(air,
             c.extended ? Print("AT= %s °C= %s mV", degrees.c_str(), airVolts.c_str())
                        : Print("AT= %s °C", degrees.c_str()),
             error ? kLiveRed : kLiveFace);
    }

    const int ap = LiveLabel("LabelTlak");
    const std::string apText = R(v.ap, 10, "%4.1f");
    const std::string apVolts = W(3);
    if (Bit(179, 2)) {
        if (c.extended) {
            Text(ap, Print("AP= %s(%s kPa)= %s mV", M(217), apText.c_str(), apVolts.c_str()), kLiveFace);
            L(ap).fontSize = c.czech ? 11 : 12;
        } else {
            Text(ap, Print("AP= %s", M(217)), kLiveFace);
            L(ap).fontSize = 12;
        }
    } else {
        L(ap).fontSize = 12;
        Text(ap,
             c.extended ? Print("AP= %s kPa= %s mV", apText.c_str(), apVolts.c_str())
                        : Print("AP= %s kPa", apText.c_str()),
             v.pressureError ? kLiveRed : kLiveFace);
    }

    const int iap = LiveLabel("LabelPodtlak");
    const std::string iapVolts = W(5);
    if (Bit(179, 3))
        Text(iap, c.extended ? Print("IAP= %s (%s mV)", M(217), iapVolts.c_str()) : Print("IAP= %s", M(217)),
             kLiveFace);
    else if (v.iapError)
        Text(iap, c.extended ? Print("IAP= error = %s mV", iapVolts.c_str()) : std::string("IAP= error"), kLiveRed);
    else
        Text(iap,
             c.extended ? Print("IAP= %s kPa= %s mV", R(v.iap, 10, "%4.1f").c_str(), iapVolts.c_str())
                        : Print("IAP= %s kPa", R(v.iap, 10, "%4.1f").c_str()),
             kLiveFace);
}

void Pass::Battery()
{
    const int mv = b.Monw(10);
    std::uint32_t color = kLiveFace;
    if (has) {
        if (mv <= 7000 || mv >= 17999)
            color = kLiveRed;
        else if (mv > 14998 || mv <= 11000)
            color = kLiveYellow;
    }
    Text(LiveLabel("LabelNapeti"), Print("U= %s V", R(mv, 1000, "%.1f").c_str()), color);
}

void Pass::Injection()
{
    if (v.baseAdvance)
        Text(LiveLabel("LabelMon_Ign"), Print("%s= BASE", M(11)));
    else
        Text(LiveLabel("LabelMon_Ign"), Print("%s= %s °", M(11), I(Derived(21), "%2i").c_str()));
    Text(LiveLabel("LabelMaxInjProcent"), Print("%s= %s/%s %%", M(47), I(Derived(8)).c_str(), I(Derived(25)).c_str()));
    // The duty bars turn yellow once an injector is open for longer than a whole cycle.
    for (const auto& [gauge, index] : {std::pair{LiveGauge("CGaugeDuty"), 8}, std::pair{LiveGauge("CGaugeDutyB"), 25}}) {
        G(gauge).progress = Derived(index);
        G(gauge).color = Derived(index) > 100 ? kLiveYellow : kLiveBlue;
    }
    Text(LiveLabel("LabelMon_Jet_A"), Print("%s A= %s us", M(46), I(Derived(10)).c_str()));
    Text(LiveLabel("LabelMon_Jet_B"), Print("%s B= %s us", M(46), I(Derived(11)).c_str()));
}

void Pass::BitLabels()
{
    for (const BitLabelRow& row : kBitLabels) {
        const bool set = Bit(row.byte, row.bit);
        L(row.label).enabled = true;
        Text(row.label, Print("%s = %s", M(row.caption), !has ? "---" : M(set ? row.setText : row.clearText)),
             has && set != row.inverted ? row.color : kLiveFace);
    }
}

void Pass::Gear()
{
    const int label = LiveLabel("LabelGear");
    if (v.gear == 255)
        Text(label, Print("%s= ---", M(55)));
    else
        Text(label, Print("%s= %s", M(55), I(v.gear).c_str()));
    L(label).color = has && v.gear == 0 ? kLiveLime : kLiveFace;
}

void Pass::Tuning()
{
    for (int channel = 0; channel < 4; ++channel) {
        LiveLabelView& label = L(LiveLabel("LabelTunningMsg") + channel);
        const int code = b.Monb(199 + channel);
        label.visible = code != 255;
        if (!has) {
            label.text = "T: ---";
            label.color = kLiveFace;
            continue;
        }
        // Codes without a text of their own keep the last text.
        if (code < static_cast<int>(std::size(kTuningMessages))) label.text = M(kTuningMessages[code]);
        label.color = code == 2 ? kLiveFace : code == 14 ? kLiveAqua : code == 15 ? kLiveYellow : code == 16 ? kLiveLime
                                                                                                        : kLiveFuchsia;
    }
}

void Pass::Servos()
{
    const int intake = LiveLabel("LabelMonServoIntake");
    if (Bit(178, 4))
        Text(intake, Print("%s= %s mV/ %s", M(50), W(13).c_str(), M(77)));
    else if (Bit(180, 1))
        Text(intake, Print("%s= %s / %s %% (%s/%s mV)", M(50), B(224).c_str(), B(225).c_str(), W(13).c_str(),
                           W(14).c_str()));
    else
        Text(intake, Print("%s= %s / %s mV", M(50), W(13).c_str(), W(14).c_str()));
    // A servo in use that does not report itself ready shows red.
    L(intake).color = has && !Bit(176, 7) && c.image[kImageIntakeServo] != 0 ? kLiveRed : kLiveFace;

    const int exhaust = LiveLabel("LabelMonServoExhaust");
    if (Bit(180, 2))
        Text(exhaust, Print("%s= %s / %s %% (%s/%s mV)", M(49), B(226).c_str(), B(227).c_str(), W(11).c_str(),
                            W(12).c_str()));
    else
        Text(exhaust, Print("%s= %s / %s mV", M(49), W(11).c_str(), W(12).c_str()));
    L(exhaust).color = has && !Bit(176, 6) && c.image[kImageExhaustServo] != 0 ? kLiveRed : kLiveFace;
}

void Pass::TestValues()
{
    for (int n = 1; n <= 12; ++n)
        Text(LiveLabel("LabelTest1") + n - 1, Print("Test%d= %s", n, W(n <= 8 ? 16 + n : 66 + n).c_str()));
}

void Pass::Synchronisation()
{
    const int first = LiveLabel("LabelSyncInfo1"), second = LiveLabel("LabelSyncInfo2");
    switch (b.Monb(222)) {
        case 0:
            Text(first, Print("Synchro 1:%s", M(184)), kLiveFace);
            Text(second, Print("Synchro 2:%s", M(184)), kLiveFace);
            break;
        case 1:
            Text(first, Print("Synchro 1:%s", M(20)), kLiveLime);
            Text(second, Print("Synchro 2:%s", M(21)), kLiveFace);
            break;
        case 2:
            Text(first, Print("Synchro 1:%s", M(20)), kLiveLime);
            Text(second, Print("Synchro 2:%s", M(20)), kLiveLime);
            break;
        default: break;  // a state this program does not know leaves the texts
    }
}

void Pass::Corrections()
{
    for (const CorrectionRow& row : kCorrections)
        Text(row.label, Print(row.format, M(row.caption), WordReal(row.word, row.divisor, row.offset).c_str()));
    Text(LiveLabel("LabelCorInjU"), Print("%s= %s us", M(203), I(b.Monw(32) - 1000).c_str()));
    Text(LiveLabel("LabelAccTres"), Print("%s= %s %%/s", M(200), I(b.Monb(207) * 10).c_str()));
    const std::string gearVolts = Print("%s= %s mV", M(109), I(v.gearVoltage).c_str());
    for (int k = 0; k < 4; ++k) Text(LiveLabel("LabelMonGearNapeti") + k, gearVolts);
    Text(LiveLabel("LabelMonPomerRpmSpeed"), Print("%s= %s", M(204), I(v.gearRatio).c_str()));
    for (int k = 0; k < 6; ++k) Text(LiveLabel("LabelMonPomerRpmSpeedAuto1") + k, W(39 + k));
    bool fid = false;
    for (int byte : kPowerOutBytes) fid = fid || b.Monb(byte) == kPowerOutFid;
    const std::string position = fid ? Print("%s= %s%%", M(111), R(b.Monw(49), 10).c_str())
                                     : Print("%s= %s", M(110), W(49).c_str());
    Text(LiveLabel("LabelMonServoPosition"), position);
    Text(LiveLabel("LabelMonServoPositionCopy"), position);
}

void Pass::LaunchAndTraction()
{
    const int accel = static_cast<std::int16_t>(b.Monw(63));
    if (v.launchBySpeed) {
        // 0.1 km/h/s rounded to whole km/h/s, halves away from zero.
        const int rounded = accel >= 1 ? (accel + 5) / 10 : (5 - accel) / -10;
        Text(LiveLabel("LabelMonLaunchAcc"), Print("%s= %s [km/h/s]", M(178), I(rounded).c_str()));
    } else {
        Text(LiveLabel("LabelMonLaunchAcc"), Print("%s= %s [rpm/s]", M(178), I(accel * 10).c_str()));
    }
    Text(LiveLabel("LabelMonLaunchRetard"), Print("%s= %s °", M(179), R(b.Monw(64), 10).c_str()));
    const std::string front = Print("%s = %s [km/h]", M(176), W(65).c_str());
    Text(LiveLabel("LabelMonSpeedFront"), front);
    Text(LiveLabel("LabelMonSpeedF1"), front);
    Text(LiveLabel("LabelMonSpeedRear"), Print("%s = %s [km/h]", M(175), W(36).c_str()));
    Text(LiveLabel("LabelMonSlip"),
         Print("%s = %s [%%]", M(180), R(static_cast<std::int16_t>(b.Monw(66)), 100, "%.2f").c_str()));
    Text(LiveLabel("LabelMonTrackRetard"), Print("%s = %s [°]", M(181), R(b.Monw(67), 10).c_str()));
}

void Pass::AccelerationLimit()
{
    const int threshold = LiveLabel("LabelMonAcclimRetard"), effect = LiveLabel("LabelMonAcclimPropEffect");
    const int speedReturn = LiveLabel("LabelMonAcclimSpeedRet"), minAdvance = LiveLabel("LabelMonAcclimMinAdv");
    const std::string effectText = R(v.potiEffect, 10), effectShare = R(v.potiOffsets[1], 10, "%+.1f");
    if (v.launchBySpeed) {
        Text(threshold, Print("%s = %s (%s)  [km/h/s]", M(169), I(v.potiThreshold).c_str(),
                              I(v.potiOffsets[0], "%+i").c_str()));
        Text(effect, Print("%s = %s (%s)  [°/km/h/s]", M(168), effectText.c_str(), effectShare.c_str()));
    } else {
        Text(threshold, Print("%s = %s (%s) [rpm/s]", M(169), I(v.potiThreshold).c_str(),
                              I(v.potiOffsets[0] * 100, "%+i").c_str()));
        Text(effect, Print("%s = %s (%s) [°/1000 rpm/s]", M(168), effectText.c_str(), effectShare.c_str()));
    }
    Text(speedReturn, Print("%s = %s (%s) [°/s]", M(166), I(v.potiReturn).c_str(),
                            I(v.potiOffsets[2], "%+i").c_str()));
    Text(minAdvance, Print("%s = %s (%s) [°]", M(171), I(v.accMinAdvance).c_str(), I(v.potiOffsets[3], "%+i").c_str()));
    const bool shown = (v.potiThreshold != 0 || v.potiEffect != 0 || v.potiReturn != 0 || v.accMinAdvance != 0) &&
                       c.image[kImageAccLimitMode] == 4;
    for (int label : {threshold, effect, speedReturn, minAdvance}) L(label).visible = shown;
}

void Pass::InjectorsAndFuel()
{
    Text(LiveLabel("LabelMonQuickShift"), Print("%s = %s V", M(231), R(b.Monw(80), 1000, "%.3f").c_str()));
    const int cylinders = c.image[kImageCylinders];
    for (int i = 0; i < 4; ++i) {
        const int a = LiveLabel("LabelMon_Jet_1A") + i, bLabel = LiveLabel("LabelMon_Jet_1B") + i;
        Text(a, Print("%s %dA= %s us", M(46), i + 1, I(b.Monb(187 + i) * 100).c_str()));
        Text(bLabel, Print("%s %dB= %s us", M(46), i + 1, I(b.Monb(191 + i) * 100).c_str()));
        if (i > 0) {
            L(a).visible = cylinders > i;
            L(bLabel).visible = cylinders > i;
        }
    }
    Text(LiveLabel("LabelMon_PolohaA"), Print("%s A= %s °", M(48), W(26).c_str()));
    Text(LiveLabel("LabelMon_PolohaB"), Print("%s B= %s °", M(48), W(27).c_str()));
    Text(LiveLabel("LabelDleTpsProcent"), Print("%s= %2s %%", M(71), I(v.tpShare).c_str()));
    const std::string dwell = Print("%s= %s [ms]", M(205), R(b.Monw(58), 10).c_str());
    Text(LiveLabel("LabelDwellMer"), dwell);
    Text(LiveLabel("LabelDwellMer2"), dwell);
    const std::uint32_t fuelColor = Bit(179, 7) ? kLiveFuchsia : kLiveFace;  // the tank is empty
    const std::string fuel = B(230), fuelVolts = W(79);
    Text(LiveLabel("LabelMonFuelMv"), Print("%s= %s %%= %s mV", M(207), fuel.c_str(), fuelVolts.c_str()), fuelColor);
    Text(LiveLabel("LabelFuelMonitor"), M(207), fuelColor);
    Text(LiveLabel("LabelFuelMonitor1"), Print("%s %%", fuel.c_str()), fuelColor);
    Text(LiveLabel("LabelFuelMonitor2"), Print("%s mV", fuelVolts.c_str()), fuelColor);
    G(LiveGauge("CGaugeFuel")).progress = b.Monb(230);
}

void Pass::Advance()
{
    const int cylinders = c.image[kImageCylinders];
    for (int i = 1; i <= 4; ++i) {
        LiveLabelView& label = L(LiveLabel("LabelAdvance1") + i - 1);
        std::string text = v.baseAdvance && has ? Print("%s %i= BASE", M(11), i)
                                                : Print("%s %i= %s °", M(11), i, I(Derived(20 + i), "%2i").c_str());
        // The cylinder's maximum advance, when the settings ask for it.
        if (c.image[kImageShowMaxAdvance] != 0 && has) text += Print(" / %i°", b.Monw(58 + i));
        label.text = std::move(text);
        label.visible = cylinders >= i;
    }
}

void Pass::PowerOutputs()
{
    for (int n = 1; n <= 5; ++n) {
        const int monitor = LiveLabel("LabelMonPOut1") + n - 1, page = LiveLabel("LabelPowerOutState1") + n - 1;
        if (!has) {
            Text(monitor, Print("%02i: --- ", n), kLiveFace);
            Text(page, " --- ", kLiveFace);
            continue;
        }
        const int code = b.Monb(kPowerOutBytes[n - 1]);
        const auto row = std::ranges::find(kPowerOutStates, code, &PowerOutRow::code);
        const int message = row != std::end(kPowerOutStates) ? row->message : kPowerOutDisabled;
        const std::uint32_t color = row != std::end(kPowerOutStates) ? row->color : kLiveFace;
        Text(monitor, Print("%02i:%s", n, M(message)), color);
        Text(page, M(message), color);
    }
    const int n2o = LiveLabel("LabelMonN2O");
    Text(n2o, Print("N2O %s %%", B(210).c_str()));
    L(n2o).visible = b.Monb(209) == 10;
}

void Pass::HourMeter()
{
    auto hours = [](int minutes) { return Print("%i:%02i", minutes / 60, minutes % 60); };
    const int hourMeter = LiveLabel("LabelHourMeter");
    if (v.hourMeter == kLiveTimeUnknown)
        Text(hourMeter, Print("%s = ---", M(185)));
    else
        Text(hourMeter, Print("%s = %s %s", M(185), hours(v.hourMeter).c_str(), M(186)));
    const int events = LiveLabel("LabelOvervoltageEvents");
    const int n = b.Monw(81);
    if (!has)
        Text(events, Print("%s = ---", M(187)));
    else if (v.lastOvervoltage == kLiveTimeUnknown || n == 0)
        Text(events, Print("%s = %i", M(187), n));
    else
        Text(events, Print("%s = %i (%s %s %s) ", M(187), n, M(188), hours(v.lastOvervoltage).c_str(), M(186)));
}

}  // namespace

std::string FormatLiveInt(bool hasLiveData, int value, const char* format)
{
    if (!hasLiveData) return "---";
    char text[100];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string FormatLiveReal(bool hasLiveData, double value, int divisor, const char* format)
{
    if (!hasLiveData) return "---";
    if (divisor == 0) divisor = 1;
    char text[100];
    if (format) {
        std::snprintf(text, sizeof text, format, value / divisor);
    } else {
        int decimals = 0;
        for (int d = divisor; d >= 10; d /= 10) ++decimals;
        std::snprintf(text, sizeof text, "%.*f", decimals, value / divisor);
    }
    return text;
}

void UpdateLiveTexts(LiveTexts& texts, const LiveTextInputs& in)
{
    Pass(texts, in).Run();
}
