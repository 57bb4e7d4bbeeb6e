// The controls beside the page control that belong to no page: the mixture gauge with its colour scale and range
// bars, the pickup labels, the external monitor switch and the test-value labels. Their builder, store, show and
// tick run with every page.
#include <string>

#include "pages/captions.h"
#include "pages/lambdascale.h"
#include "pages/modules.h"
#include "vcl/image.h"

namespace {

// A column right of the page control, level with the top of its sheets: the live values a rider reads at a
// glance, each with its bar where it has one, from the engine speed down to the gear; then the mixture with its
// gauges and colour scale, whose height follows the number of lambda channels, and the gas handle, which only
// a throttle set by a servo has.
constexpr int kLeft = 872;
constexpr int kWidth = kDesignFormWidth - 6 - kLeft;
constexpr int kLine = 20;  // a value label at the column's larger font
constexpr int kBar = 14;
constexpr int kLambdaTop = 430;
constexpr int kLambdaPitch = 17;  // the lambda gauges stand one under the other
constexpr int kTestWidth = 82;

// clang-format off
constexpr ControlRow kIndependentLayout[] = {
    // name               kind                   parent left        top  width   height caption
    {"LabelRpm",          ControlKind::Label,    "", kLeft,             92, kWidth, kLine, "RPM= ---"},
    {"CGaugeRpm",         ControlKind::Gauge,    "", kLeft,            113, kWidth,  kBar},
    {"LabelTpsMon",       ControlKind::Label,    "", kLeft,            131, kWidth, kLine, "TP= ---"},
    {"CGaugeTps",         ControlKind::Gauge,    "", kLeft,            152, kWidth,    15},
    {"CGaugeTps2",        ControlKind::Gauge,    "", kLeft,            161, kWidth,     6},
    {"LabelVoda",         ControlKind::Label,    "", kLeft,            171, kWidth, kLine, "Coolant= ---"},
    {"CGaugeVoda",        ControlKind::Gauge,    "", kLeft,            192, kWidth,  kBar},
    {"LabelVzduch",       ControlKind::Label,    "", kLeft,            210, kWidth, kLine, "AT= ---"},
    {"LabelTlak",         ControlKind::Label,    "", kLeft,            232, kWidth, kLine, "AP= ---"},
    {"LabelPodtlak",      ControlKind::Label,    "", kLeft,            254, kWidth, kLine, "IAP= ---"},
    {"LabelNapeti",       ControlKind::Label,    "", kLeft,            276, kWidth, kLine, "U= --- V"},
    {"LabelMon_Ign",      ControlKind::Label,    "", kLeft,            298, kWidth, kLine, "Advance= ---"},
    {"LabelMaxInjProcent", ControlKind::Label,   "", kLeft,            320, kWidth, kLine, "Max injection= ---"},
    {"CGaugeDuty",        ControlKind::Gauge,    "", kLeft,            341, kWidth,     8},
    {"CGaugeDutyB",       ControlKind::Gauge,    "", kLeft,            350, kWidth,     8},
    {"LabelGear",         ControlKind::Label,    "", kLeft,            362, kWidth, kLine, "Gear= ---"},
    {"LabelLambda",       ControlKind::Label,    "", kLeft,            386, kWidth,    42, "LAMBDA = ---"},
    {"CGaugeLambda",      ControlKind::Gauge,    "", kLeft, kLambdaTop,                     kWidth, 15},
    {"CGaugeLambda2",     ControlKind::Gauge,    "", kLeft, kLambdaTop + kLambdaPitch,      kWidth, 15},
    {"CGaugeLambda3",     ControlKind::Gauge,    "", kLeft, kLambdaTop + 2 * kLambdaPitch,  kWidth, 15},
    {"CGaugeLambda4",     ControlKind::Gauge,    "", kLeft, kLambdaTop + 3 * kLambdaPitch,  kWidth, 15},
    // Under the last lambda gauge shown; the live display moves them.
    {"LabelLambdaBlue",   ControlKind::Label,    "", kLeft,       kLambdaTop + 4 * kLambdaPitch,       83,  6},
    {"LabelLambdaGreen",  ControlKind::Label,    "", kLeft + 83,  kLambdaTop + 4 * kLambdaPitch,       83,  6},
    {"LabelLambdaRed",    ControlKind::Label,    "", kLeft + 166, kLambdaTop + 4 * kLambdaPitch,       84,  6},
    {"ImageLambdaColor",  ControlKind::Image,    "", kLeft,       kLambdaTop + 4 * kLambdaPitch + 12, kWidth, 14},
    {"LabelGasMon",       ControlKind::Label,    "", kLeft,            528, kWidth, kLine, "Gas handle= ---"},
    {"CGaugeGas",         ControlKind::Gauge,    "", kLeft,            549, kWidth,  kBar},
    {"LabelSnimacCkps",   ControlKind::Label,    "", kLeft,            568, kWidth,    17, "CKPS"},
    {"LabelSnimacCmps",   ControlKind::Label,    "", kLeft,            586, kWidth,    17, "CMPS"},
    {"CheckBoxExtMonitor", ControlKind::CheckBox, "", kLeft,            606, kWidth,    19, "Detailed representation"},
    {"LabelEeDataErr",    ControlKind::Label,    "", kLeft,            606, kWidth,    19, "Programmed data error!"},
    // Values of the output test, which the program keeps hidden.
    {"LabelTest1",        ControlKind::Label,    "", kLeft,                      628, kTestWidth, 17, "Test1= ---"},
    {"LabelTest2",        ControlKind::Label,    "", kLeft,                      645, kTestWidth, 17, "Test2= ---"},
    {"LabelTest3",        ControlKind::Label,    "", kLeft,                      662, kTestWidth, 17, "Test3= ---"},
    {"LabelTest4",        ControlKind::Label,    "", kLeft,                      679, kTestWidth, 17, "Test4= ---"},
    {"LabelTest5",        ControlKind::Label,    "", kLeft + kTestWidth + 2,     628, kTestWidth, 17, "Test5= ---"},
    {"LabelTest6",        ControlKind::Label,    "", kLeft + kTestWidth + 2,     645, kTestWidth, 17, "Test6= ---"},
    {"LabelTest7",        ControlKind::Label,    "", kLeft + kTestWidth + 2,     662, kTestWidth, 17, "Test7= ---"},
    {"LabelTest8",        ControlKind::Label,    "", kLeft + kTestWidth + 2,     679, kTestWidth, 17, "Test8= ---"},
    {"LabelTest9",        ControlKind::Label,    "", kLeft + 2 * kTestWidth + 4, 628, kTestWidth, 17, "Test9= ---"},
    {"LabelTest10",       ControlKind::Label,    "", kLeft + 2 * kTestWidth + 4, 645, kTestWidth, 17, "Test10= ---"},
    {"LabelTest11",       ControlKind::Label,    "", kLeft + 2 * kTestWidth + 4, 662, kTestWidth, 17, "Test11= ---"},
    {"LabelTest12",       ControlKind::Label,    "", kLeft + 2 * kTestWidth + 4, 679, kTestWidth, 17, "Test12= ---"},
};
// clang-format on

constexpr int kValueFontPoints = 12;
constexpr std::string_view kValueLabels[] = {
    "LabelRpm",    "LabelTpsMon", "LabelGasMon",  "LabelLambda",        "LabelVoda", "LabelVzduch", "LabelTlak",
    "LabelPodtlak", "LabelNapeti", "LabelMon_Ign", "LabelMaxInjProcent", "LabelGear",
};
// Full scale and bar colour of the gauges: engine speed in % of the limiter, throttle in %, mixture (the live
// display colours it), coolant in deg C, injector duty in %.
struct GaugeLook
{
    std::string_view name;
    int maxValue;
    TColor color;
};
constexpr GaugeLook kGaugeLooks[] = {
    {"CGaugeRpm", 100, clNavy},     {"CGaugeTps", 100, clNavy},     {"CGaugeTps2", 100, clGreen},
    {"CGaugeGas", 100, clNavy},     {"CGaugeLambda", 100, clBtnFace}, {"CGaugeLambda2", 100, clBtnFace},
    {"CGaugeLambda3", 100, clBtnFace}, {"CGaugeLambda4", 100, clBtnFace}, {"CGaugeVoda", 120, clAqua},
    {"CGaugeDuty", 100, clBlue},    {"CGaugeDutyB", 100, clBlue},
};

template <class T>
void find(TPageForm& w, T*& slot, std::string_view name)
{
    slot = FindControl<T>(w, name);
    if (!slot) w.pageBuildProblems.push_back(std::string(name) + ": missing beside the page control");
}

void BuildIndependent(TPageForm& w)
{
    find(w, w.ImageLambdaColor, "ImageLambdaColor");
    find(w, w.CGaugeLambda, "CGaugeLambda");
    find(w, w.LabelLambdaBlue, "LabelLambdaBlue");
    find(w, w.LabelLambdaGreen, "LabelLambdaGreen");
    find(w, w.LabelLambdaRed, "LabelLambdaRed");
    find(w, w.LabelSnimacCkps, "LabelSnimacCkps");
    find(w, w.LabelSnimacCmps, "LabelSnimacCmps");
    find(w, w.CheckBoxExtMonitor, "CheckBoxExtMonitor");
    find(w, w.LabelEeDataErr, "LabelEeDataErr");
    for (std::size_t i = 0; i < w.testLabels.size(); ++i) find(w, w.testLabels[i], "LabelTest" + std::to_string(i + 1));
    if (w.LabelLambdaBlue && w.LabelLambdaGreen && w.LabelLambdaRed) {
        w.LabelLambdaBlue->SetColor(clBlue);
        w.LabelLambdaGreen->SetColor(clLime);
        w.LabelLambdaRed->SetColor(clRed);
    }
    if (w.LabelEeDataErr) w.LabelEeDataErr->SetFontColor(clRed);
    // The values in a larger font; the labels carry the numbers, so the bars show none.
    for (std::string_view name : kValueLabels)
        if (TLabel* label = FindControl<TLabel>(w, name)) label->SetFontSize(kValueFontPoints);
    // Four channels need two lines; one stands right over its gauge.
    if (TLabel* lambda = FindControl<TLabel>(w, "LabelLambda")) {
        lambda->SetWordWrap(true);
        lambda->SetLayout(TLabel::Layout::Bottom);
    }
    for (const GaugeLook& look : kGaugeLooks) {
        TCGauge* gauge = FindControl<TCGauge>(w, look.name);
        if (!gauge) continue;
        gauge->SetShowText(false);
        gauge->SetMaxValue(look.maxValue);
        gauge->SetForeColor(look.color);
    }
    if (TCGauge* second = FindControl<TCGauge>(w, "CGaugeTps2")) second->SetVisible(false);
}

// Controls of the main window outside the pages.
constexpr CaptionRow kIndependentCaptions[] = {
    {"CheckBoxProgHned", {"Programming after change", "Programmierung nach Änderung", "Programování po změně"}},
    {"LabelEeDataErr", {"Programmed data error!", "Abgelegte Daten Fehler!", "Chyba naprogramovaných dat!"}},
    {"CheckBoxExtMonitor", {"Detailed representation", "Detailliert Abbildung", "Detailní zobrazení"}},
};

void IndependentCaptions(TPageForm& w)
{
    ApplyCaptions(w, kIndependentCaptions);
}

void StoreIndependent(TPageForm& w)
{
    if (w.pageHooks.showLiveData) w.pageHooks.showLiveData();
}

void TickIndependent(TPageForm& w)
{
    if (w.LabelVersion && w.pageHooks.versionLabelShown) w.LabelVersion->SetVisible(w.pageHooks.versionLabelShown());
    if (w.CheckBoxExtMonitor && w.LabelEeDataErr) w.CheckBoxExtMonitor->SetVisible(!w.LabelEeDataErr->Visible());
}

}  // namespace

extern const PageModule kIndependentModule{
    .layout = kIndependentLayout,
    .build = BuildIndependent,
    .store = StoreIndependent,
    .show = ShowLambdaScale,
    .captions = IndependentCaptions,
    .tick = TickIndependent,
};
