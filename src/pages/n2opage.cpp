// The N2O page: two gas stages with delay and build-up time and their injection corrections, two ignition retard
// stages, and the RPM and throttle minimums. Two status lines on top say whether an input and power output 2 are
// set for N2O; until both are, the settings are greyed.
#include "pages/n2opage.h"

#include "os/lngtext.h"
#include "pages/captions.h"
#include "pages/inputspage.h"
#include "pages/modules.h"
#include "pages/pages.h"

namespace {

constexpr int kPowerOut2FunctionByte = 4445;
constexpr int kPowerOutN2O = 4;
constexpr TColor kMissing = clYellow;

// clang-format off
constexpr ControlRow kN2OLayout[] = {
    // name                kind                  parent           left top width height caption
    {"LabelN2O_Input",     ControlKind::Label,    "TabSheet_Gas",    8,   8, 844, 19, "Input:"},
    {"LabelN2O_Output",    ControlKind::Label,    "TabSheet_Gas",    8,  32, 844, 19, "Output:"},

    {"GroupBoxGas",        ControlKind::GroupBox, "TabSheet_Gas",    8,  62, 420, 190, "N2O"},
    {"LabelGas1",          ControlKind::Label,    "GroupBoxGas",    12,  27, 270, 17, "N2O initial [%]"},
    {"EditGas1",           ControlKind::Edit,     "GroupBoxGas",   290,  24,  80, 21},
    {"UpDownGas1",         ControlKind::UpDown,   "GroupBoxGas",     0,   0,  16, 21, {}, "EditGas1"},
    {"LabelGas2",          ControlKind::Label,    "GroupBoxGas",    12,  53, 270, 17, "N2O final [%]"},
    {"EditGas2",           ControlKind::Edit,     "GroupBoxGas",   290,  50,  80, 21},
    {"UpDownGas2",         ControlKind::UpDown,   "GroupBoxGas",     0,   0,  16, 21, {}, "EditGas2"},
    {"LabelGasD",          ControlKind::Label,    "GroupBoxGas",    12,  79, 270, 17, "Delay [ms]"},
    {"EditGasD",           ControlKind::Edit,     "GroupBoxGas",   290,  76,  80, 21},
    {"UpDownGasD",         ControlKind::UpDown,   "GroupBoxGas",     0,   0,  16, 21, {}, "EditGasD"},
    {"LabelGasT",          ControlKind::Label,    "GroupBoxGas",    12, 105, 270, 17, "Build up time [ms]"},
    {"EditGasT",           ControlKind::Edit,     "GroupBoxGas",   290, 102,  80, 21},
    {"UpDownGasT",         ControlKind::UpDown,   "GroupBoxGas",     0,   0,  16, 21, {}, "EditGasT"},
    {"LabelGasJetKor1",    ControlKind::Label,    "GroupBoxGas",    12, 131, 270, 17, "Correction Inj. initial [%]"},
    {"EditGasJetKor1",     ControlKind::Edit,     "GroupBoxGas",   290, 128,  80, 21},
    {"UpDownGasJetKor1",   ControlKind::UpDown,   "GroupBoxGas",     0,   0,  16, 21, {}, "EditGasJetKor1"},
    {"LabelGasJetKor2",    ControlKind::Label,    "GroupBoxGas",    12, 157, 270, 17, "Correction Inj. final [%]"},
    {"EditGasJetKor2",     ControlKind::Edit,     "GroupBoxGas",   290, 154,  80, 21},
    {"UpDownGasJetKor2",   ControlKind::UpDown,   "GroupBoxGas",     0,   0,  16, 21, {}, "EditGasJetKor2"},

    {"GroupBoxRetard",     ControlKind::GroupBox, "TabSheet_Gas",  436,  62, 416, 138, "Retard"},
    {"LabelRetard1",       ControlKind::Label,    "GroupBoxRetard", 12,  27, 270, 17, "Retard initial [°]"},
    {"EditRetard1",        ControlKind::Edit,     "GroupBoxRetard",290,  24,  80, 21},
    {"UpDownRetard1",      ControlKind::UpDown,   "GroupBoxRetard",  0,   0,  16, 21, {}, "EditRetard1"},
    {"LabelRetard2",       ControlKind::Label,    "GroupBoxRetard", 12,  53, 270, 17, "Retard final [°]"},
    {"EditRetard2",        ControlKind::Edit,     "GroupBoxRetard",290,  50,  80, 21},
    {"UpDownRetard2",      ControlKind::UpDown,   "GroupBoxRetard",  0,   0,  16, 21, {}, "EditRetard2"},
    {"LabelRetardD",       ControlKind::Label,    "GroupBoxRetard", 12,  79, 270, 17, "Delay [ms]"},
    {"EditRetardD",        ControlKind::Edit,     "GroupBoxRetard",290,  76,  80, 21},
    {"UpDownRetardD",      ControlKind::UpDown,   "GroupBoxRetard",  0,   0,  16, 21, {}, "EditRetardD"},
    {"LabelRetardT",       ControlKind::Label,    "GroupBoxRetard", 12, 105, 270, 17, "Build up time [ms]"},
    {"EditRetardT",        ControlKind::Edit,     "GroupBoxRetard",290, 102,  80, 21},
    {"UpDownRetardT",      ControlKind::UpDown,   "GroupBoxRetard",  0,   0,  16, 21, {}, "EditRetardT"},

    {"LabelN2O_RPMmin",    ControlKind::Label,    "TabSheet_Gas",   20, 267, 700, 17,
     "RPM min (if 0 - used default value 2000 for older, 5000 for newer versios firmware)"},
    {"EditN2O_RPMmin",     ControlKind::Edit,     "TabSheet_Gas",  726, 264,  80, 21},
    {"UpDownN2O_RPMmin",   ControlKind::UpDown,   "TabSheet_Gas",    0,   0,  16, 21, {}, "EditN2O_RPMmin"},
    {"LabelN2O_TPSmin",    ControlKind::Label,    "TabSheet_Gas",   20, 293, 700, 17, "TP min [%] (if 0 - used default value 85%)"},
    {"EditN2O_TPSmin",     ControlKind::Edit,     "TabSheet_Gas",  726, 290,  80, 21},
    {"UpDownN2O_TPSmin",   ControlKind::UpDown,   "TabSheet_Gas",    0,   0,  16, 21, {}, "EditN2O_TPSmin"},
};

// Build-up time lies before delay in the image, the other way round from the page.
constexpr FieldBinding kN2OBindings[] = {
    // control             kind        address index scale offset min  max    incr
    {"UpDownGas1",         Bind::Byte, 4432,   0,      1,    0,   0,   100,    1},
    {"UpDownGas2",         Bind::Byte, 4433,   0,      1,    0,   0,   100,    1},
    {"UpDownGasD",         Bind::Byte, 4435,   0,    100,    0,   0, 25500,  100},
    {"UpDownGasT",         Bind::Byte, 4434,   0,    100,    0,   0, 25500,  100},
    {"UpDownRetard1",      Bind::Byte, 4436,   0,      1,    0,   0,    25,    1},
    {"UpDownRetard2",      Bind::Byte, 4437,   0,      1,    0,   0,    25,    1},
    {"UpDownRetardD",      Bind::Byte, 4439,   0,    100,    0,   0, 25500,  100},
    {"UpDownRetardT",      Bind::Byte, 4438,   0,    100,    0,   0, 25500,  100},
    {"UpDownGasJetKor1",   Bind::Byte, 4440,   0,      1,  100, 100,   350,    1},
    {"UpDownGasJetKor2",   Bind::Byte, 4441,   0,      1,  100, 100,   350,    1},
    {"UpDownN2O_RPMmin",   Bind::Byte, 4442,   0,    100,    0,   0, 25000,  100},
    {"UpDownN2O_TPSmin",   Bind::Byte, 4443,   0,      1,    0,   0,   100,    1},
};

constexpr CaptionRow kN2OCaptions[] = {
    {"GroupBoxGas",      {"N2O", "N2O", "N2O"}},
    {"LabelGas1",        {"N2O initial [%]", "N2O Anfang [%]", "N2O počáteční [%]"}},
    {"LabelGas2",        {"N2O final [%]", "N2O Ende [%]", "N2O konečné [%]"}},
    {"LabelGasD",        {"Delay [ms]", "Verzögerung [ms]", "Zpoždění [ms]"}},
    {"LabelRetardD",     {"Delay [ms]", "Verzögerung [ms]", "Zpoždění [ms]"}},
    {"LabelGasT",        {"Build up time [ms]", "Anstiegszeit [ms]", "Doba náběhu [ms]"}},
    {"LabelRetardT",     {"Build up time [ms]", "Anstiegszeit [ms]", "Doba náběhu [ms]"}},
    {"LabelGasJetKor1",  {"Correction Inj. initial [%]", "Einspritzkorrektur Anfang [%]", "Korekce vstřiku počáteční [%]"}},
    {"LabelGasJetKor2",  {"Correction Inj. final [%]", "Einspritzkorrektur Ende [%]", "Korekce vstřiku konečná [%]"}},
    {"GroupBoxRetard",   {"Retard", "Spätverstellung", "Zpoždění zážehu"}},
    {"LabelRetard1",     {"Retard initial [°]", "Spätverstellung Anfang [°]", "Zpoždění zážehu počáteční [°]"}},
    {"LabelRetard2",     {"Retard final [°]", "Spätverstellung Ende [°]", "Zpoždění zážehu konečné [°]"}},
    {"LabelN2O_RPMmin",  {"RPM min (if 0 - used default value 2000 for older, 5000 for newer versios firmware)",
                          "Drehzahl min (bei 0 gilt 2000 für ältere, 5000 für neuere Firmware)",
                          "Otáčky min (při 0 platí 2000 pro starší, 5000 pro novější firmware)"}},
    {"LabelN2O_TPSmin",  {"TP min [%] (if 0 - used default value 85%)", "TP min [%] (bei 0 gilt 85%)",
                          "TP min [%] (při 0 platí 85%)"}},
};
// clang-format on

// The controls that the N2O function's availability enables: the two groups' contents and the two minimum rows.
constexpr std::string_view kEnabledWithN2O[] = {
    "LabelGas1",     "EditGas1",        "UpDownGas1",       "LabelGas2",        "EditGas2",        "UpDownGas2",
    "LabelGasD",     "EditGasD",        "UpDownGasD",       "LabelGasT",        "EditGasT",        "UpDownGasT",
    "LabelGasJetKor1", "EditGasJetKor1", "UpDownGasJetKor1", "LabelGasJetKor2", "EditGasJetKor2", "UpDownGasJetKor2",
    "LabelRetard1",  "EditRetard1",     "UpDownRetard1",    "LabelRetard2",     "EditRetard2",     "UpDownRetard2",
    "LabelRetardD",  "EditRetardD",     "UpDownRetardD",    "LabelRetardT",     "EditRetardT",     "UpDownRetardT",
    "LabelN2O_RPMmin", "EditN2O_RPMmin", "UpDownN2O_RPMmin", "LabelN2O_TPSmin", "EditN2O_TPSmin", "UpDownN2O_TPSmin",
};

void N2OPageCaptions(TPageForm& w)
{
    ApplyCaptions(w, kN2OCaptions);
    N2OPageLayout(w);
}

void StoreN2OPage(TPageForm& w)
{
    if (w.settingGuard == 0) StoreBindings(w, PAGE_N2O);
}

void ShowN2OPage(TPageForm& w)
{
    ShowBindings(w, PAGE_N2O);
    N2OPageLayout(w);
}

}  // namespace

void N2OPageLayout(TPageForm& w)
{
    const Image& image = w.images.image;
    int input = 0;  // the last input with the N2O function
    for (int n = 1; n <= kInputCount; ++n)
        if (image[std::size_t(kInputFunctionByte + n - 1)] == kInputN2O) input = n;
    const bool outputSet = image[kPowerOut2FunctionByte] == kPowerOutN2O;
    const bool available = outputSet && input != 0;

    for (std::string_view name : kEnabledWithN2O)
        if (auto* control = FindControl<TControl>(w, name)) control->SetEnabled(available);
    for (std::string_view name : {"GroupBoxGas", "GroupBoxRetard"})
        if (auto* group = FindControl<TGroupBox>(w, name)) group->SetFontColor(available ? clBlack : clGray);

    if (auto* label = FindControl<TLabel>(w, "LabelN2O_Input")) {
        if (input == 0) {
            label->SetCaption(GetLngText(
                "###Input: Select some input to allow N2O function##Eingang: Wählen Sie einen Eingang, um die "
                "N2O-Funktion zu ermöglichen##Vstup: Zvolte některý vstup pro povolení funkce N2O"));
            label->SetColor(kMissing);
        } else {
            label->SetCaption(std::string(GetLngText("###Input:##Eingang:##Vstup:")) + " " +
                              MultifunctionInputName(input));
            label->SetColor(clBtnFace);
        }
    }
    if (auto* label = FindControl<TLabel>(w, "LabelN2O_Output")) {
        if (outputSet) {
            label->SetCaption(GetLngText(
                "###Output: Power Out2 = N2O##Ausgang: Power Out2 = N2O##Výstup: Power Out2 = N2O"));
            label->SetColor(clBtnFace);
        } else {
            label->SetCaption(GetLngText(
                "###Output: Select Power Out2 to allow N2O function##Ausgang: Wählen Sie Power Out2, um die "
                "N2O-Funktion zu ermöglichen##Výstup: Navolte POUT2 pro povolení funkce N2O"));
            label->SetColor(kMissing);
        }
    }
}

extern const PageModule kN2OPage{
    .sheetName = "TabSheet_Gas",
    .caption = "N2O",
    .layout = kN2OLayout,
    .bindings = kN2OBindings,
    .store = StoreN2OPage,
    .show = ShowN2OPage,
    .captions = N2OPageCaptions,
};
