// The Monitor page: labels that the live display fills, in three columns: injection and advance, the servos and
// power outputs, and the features the unit switched on. It stores and shows no settings.
#include <string>

#include "pages/captions.h"
#include "pages/modules.h"

namespace {

// clang-format off
constexpr ControlRow kMonitorLayout[] = {
    // name                        kind                   parent               left top  wid  hgt  caption
    // Injection: mean and per injector times, positions, the TP share; advance and dwell; fuel.
    {"GroupBoxMonInj",                ControlKind::GroupBox, "TabSheet_Monitor",      8,   8, 214, 275, "Injection"},
    {"LabelMon_Jet_A",                ControlKind::Label,    "GroupBoxMonInj",       10,  20, 194,  17, "Injection time A= ---"},
    {"LabelMon_Jet_B",                ControlKind::Label,    "GroupBoxMonInj",       10,  39, 194,  17, "Injection time B= ---"},
    {"LabelMon_Jet_1A",               ControlKind::Label,    "GroupBoxMonInj",       10,  58, 194,  17, "Injection time 1A= ---"},
    {"LabelMon_Jet_2A",               ControlKind::Label,    "GroupBoxMonInj",       10,  77, 194,  17, "Injection time 2A= ---"},
    {"LabelMon_Jet_3A",               ControlKind::Label,    "GroupBoxMonInj",       10,  96, 194,  17, "Injection time 3A= ---"},
    {"LabelMon_Jet_4A",               ControlKind::Label,    "GroupBoxMonInj",       10, 115, 194,  17, "Injection time 4A= ---"},
    {"LabelMon_Jet_1B",               ControlKind::Label,    "GroupBoxMonInj",       10, 134, 194,  17, "Injection time 1B= ---"},
    {"LabelMon_Jet_2B",               ControlKind::Label,    "GroupBoxMonInj",       10, 153, 194,  17, "Injection time 2B= ---"},
    {"LabelMon_Jet_3B",               ControlKind::Label,    "GroupBoxMonInj",       10, 172, 194,  17, "Injection time 3B= ---"},
    {"LabelMon_Jet_4B",               ControlKind::Label,    "GroupBoxMonInj",       10, 191, 194,  17, "Injection time 4B= ---"},
    {"LabelMon_PolohaA",              ControlKind::Label,    "GroupBoxMonInj",       10, 210, 194,  17, "Position A= ---"},
    {"LabelMon_PolohaB",              ControlKind::Label,    "GroupBoxMonInj",       10, 229, 194,  17, "Position B= ---"},
    {"LabelDleTpsProcent",            ControlKind::Label,    "GroupBoxMonInj",       10, 248, 194,  17, "Inj. according TP= ---"},
    {"GroupBoxMonAdvance",            ControlKind::GroupBox, "TabSheet_Monitor",      8, 291, 214, 123, "Advance"},
    {"LabelAdvance1",                 ControlKind::Label,    "GroupBoxMonAdvance",   10,  20, 194,  17, "Advance 1= ---"},
    {"LabelAdvance2",                 ControlKind::Label,    "GroupBoxMonAdvance",   10,  39, 194,  17, "Advance 2= ---"},
    {"LabelAdvance3",                 ControlKind::Label,    "GroupBoxMonAdvance",   10,  58, 194,  17, "Advance 3= ---"},
    {"LabelAdvance4",                 ControlKind::Label,    "GroupBoxMonAdvance",   10,  77, 194,  17, "Advance 4= ---"},
    {"LabelDwellMer",                 ControlKind::Label,    "GroupBoxMonAdvance",   10,  96, 194,  17, "Dwell= ---"},
    {"LabelMonFuelMv",                ControlKind::Label,    "TabSheet_Monitor",      8, 424, 214,  17, "Fuel= ---"},
    {"CGaugeFuel",                    ControlKind::Gauge,    "TabSheet_Monitor",      8, 443, 214,  12},
    {"LabelPocetProgramovani",        ControlKind::Label,    "TabSheet_Monitor",      8, 466, 214,  17, "Number of Programing = ---"},
    // The line is long: it names the last overvoltage and when it came.
    {"LabelOvervoltageEvents",        ControlKind::Label,    "TabSheet_Monitor",      8, 486, 844,  17, "Number of overvoltages on-board = ---"},
    // Servos, speed and potentiometer; the lambda tuning channels; the power outputs.
    {"LabelMonServoIntake",           ControlKind::Label,    "TabSheet_Monitor",    230,   8, 300,  17, "Intake servo= ---"},
    {"LabelMonServoExhaust",          ControlKind::Label,    "TabSheet_Monitor",    230,  27, 300,  17, "Exhaust servo= ---"},
    {"LabelMonServoPosition",         ControlKind::Label,    "TabSheet_Monitor",    230,  46, 300,  17, "Step servo position= ---"},
    {"LabelMonPotenc",                ControlKind::Label,    "TabSheet_Monitor",    230,  65, 300,  17, "Potentiometer = ---"},
    {"LabelMonSpeed",                 ControlKind::Label,    "TabSheet_Monitor",    230,  84, 300,  17, "Speed rear/front= ---"},
    {"LabelTunningMsg",               ControlKind::Label,    "TabSheet_Monitor",    230, 112, 300,  17, "T: ---"},
    {"LabelTunningMsg2",              ControlKind::Label,    "TabSheet_Monitor",    230, 131, 300,  17, "T: ---"},
    {"LabelTunningMsg3",              ControlKind::Label,    "TabSheet_Monitor",    230, 150, 300,  17, "T: ---"},
    {"LabelTunningMsg4",              ControlKind::Label,    "TabSheet_Monitor",    230, 169, 300,  17, "T: ---"},
    {"LabelMonPOut1",                 ControlKind::Label,    "TabSheet_Monitor",    230, 197, 300,  17, "01: --- "},
    {"LabelMonPOut2",                 ControlKind::Label,    "TabSheet_Monitor",    230, 216, 300,  17, "02: --- "},
    {"LabelMonPOut3",                 ControlKind::Label,    "TabSheet_Monitor",    230, 235, 300,  17, "03: --- "},
    {"LabelMonPOut4",                 ControlKind::Label,    "TabSheet_Monitor",    230, 254, 300,  17, "04: --- "},
    {"LabelMonPOut5",                 ControlKind::Label,    "TabSheet_Monitor",    230, 273, 300,  17, "05: --- "},
    {"LabelMonN2O",                   ControlKind::Label,    "TabSheet_Monitor",    230, 292, 300,  17, "N2O --- %"},
    {"LabelMonPOut6",                 ControlKind::Label,    "TabSheet_Monitor",    230, 311, 300,  17, "06: --- "},
    {"LabelMonPOut7",                 ControlKind::Label,    "TabSheet_Monitor",    230, 330, 300,  17, "07: --- "},
    {"LabelMonPOut8",                 ControlKind::Label,    "TabSheet_Monitor",    230, 349, 300,  17, "08: --- "},
    {"LabelMonPOut9",                 ControlKind::Label,    "TabSheet_Monitor",    230, 368, 300,  17, "09: --- "},
    {"LabelMonPOut10",                ControlKind::Label,    "TabSheet_Monitor",    230, 387, 300,  17, "10: --- "},
    {"LabelMonPOut11",                ControlKind::Label,    "TabSheet_Monitor",    230, 406, 300,  17, "11: --- "},
    {"LabelMonPOut12",                ControlKind::Label,    "TabSheet_Monitor",    230, 425, 300,  17, "12: --- "},
    // Features: first the switches the unit sees (In), then what it does (Out).
    {"GroupBoxMonInput",              ControlKind::GroupBox, "TabSheet_Monitor",    538,   8, 314, 382, "Feature activated"},
    {"LabelMonFallIn",                ControlKind::Label,    "GroupBoxMonInput",     10,  20, 294,  17, "Fall sensor = ---"},
    {"LabelMonBlock2In",              ControlKind::Label,    "GroupBoxMonInput",     10,  39, 294,  17, "Blocking = ---"},
    {"LabelMonStartLimiterIn",        ControlKind::Label,    "GroupBoxMonInput",     10,  58, 294,  17, "Start limiter = ---"},
    {"LabelMonClutchIn",              ControlKind::Label,    "GroupBoxMonInput",     10,  77, 294,  17, "Shift up master = ---"},
    {"LabelMonRpmLambdaIn",           ControlKind::Label,    "GroupBoxMonInput",     10,  96, 294,  17, "Tacho/AFR, autotunning = ---"},
    {"LabelMonFallOut",               ControlKind::Label,    "GroupBoxMonInput",     10, 125, 294,  17, "Fall sensor = ---"},
    {"LabelMonBlock2Out",             ControlKind::Label,    "GroupBoxMonInput",     10, 144, 294,  17, "Blocking = ---"},
    {"LabelMonStartLimiterOut",       ControlKind::Label,    "GroupBoxMonInput",     10, 163, 294,  17, "Start limiter by ignition = ---"},
    {"LabelMonStartLimiterRetardOut", ControlKind::Label,    "GroupBoxMonInput",     10, 182, 294,  17, "Start limiter by retard = ---"},
    {"LabelMonClutchOut",             ControlKind::Label,    "GroupBoxMonInput",     10, 201, 294,  17, "Shift up master = ---"},
    {"LabelMonRpmLambdaOut",          ControlKind::Label,    "GroupBoxMonInput",     10, 220, 294,  17, "Tacho/Lambda = ---"},
    {"LabelMonIgnLimiter",            ControlKind::Label,    "GroupBoxMonInput",     10, 239, 294,  17, "Limiter by ignition = ---"},
    {"LabelMonJetLimiter",            ControlKind::Label,    "GroupBoxMonInput",     10, 258, 294,  17, "Limiter by injection = ---"},
    {"LabelMonRetardLimiter",         ControlKind::Label,    "GroupBoxMonInput",     10, 277, 294,  17, "Limiter by retard = ---"},
    {"LabelMonPitRetardOn",           ControlKind::Label,    "GroupBoxMonInput",     10, 296, 294,  17, "Pit speed control retard = ---"},
    {"LabelPitIgn",                   ControlKind::Label,    "GroupBoxMonInput",     10, 315, 294,  17, "Pit speed control no ignition = ---"},
    {"LabelN2oEnable",                ControlKind::Label,    "GroupBoxMonInput",     10, 334, 294,  17, "N2O = ---"},
    {"LabelChlazeniMon",              ControlKind::Label,    "GroupBoxMonInput",     10, 353, 294,  17, "Cooling = ---"},
};
// clang-format on

constexpr int kShownPowerOutputs = 5;  // the live display shows the others when a unit has them

void BuildMonitorPage(TPageForm& w)
{
    for (std::size_t i = 0; i < w.monitorLabels.size(); ++i) {
        const std::string name =
            i < 4 ? "LabelAdvance" + std::to_string(i + 1) : "LabelMonPOut" + std::to_string(i - 3);
        w.monitorLabels[i] = FindControl<TLabel>(w, name);
        if (!w.monitorLabels[i])
            w.pageBuildProblems.push_back(name + ": missing on the Monitor page");
        else if (i >= 4 + kShownPowerOutputs)
            w.monitorLabels[i]->SetVisible(false);
    }
    if (TCGauge* fuel = FindControl<TCGauge>(w, "CGaugeFuel")) {
        fuel->SetShowText(false);
        fuel->SetForeColor(clNavy);
    }
}

constexpr CaptionRow kMonitorCaptions[] = {
    {"GroupBoxMonInj", {"Injection", "Einspritzung", "Vstřik"}},
    {"GroupBoxMonInput", {"Feature activated", "Feature aktiviert", "Funkce aktivována"}},
};

void MonitorPageCaptions(TPageForm& w)
{
    ApplyCaptions(w, kMonitorCaptions);
    constexpr int kAdvanceMessage = 11;  // "Advance", the word the advance page's live texts use too
    if (auto* advance = FindControl<TGroupBox>(w, "GroupBoxMonAdvance")) advance->SetCaption(PageMessage(w, kAdvanceMessage));
}

}  // namespace

extern const PageModule kMonitorPage{
    .sheetName = "TabSheet_Monitor",
    .caption = "Monitor",
    .layout = kMonitorLayout,
    .build = BuildMonitorPage,
    .captions = MonitorPageCaptions,
};
