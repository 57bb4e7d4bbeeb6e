// The output test page: buttons that fire the unit's injectors, coils and outputs one at a time on the bench, the
// test RPM and servo time sent with every live request, the four mixture thresholds of the lambda bar and five
// free settings words.
#include "pages/outputtest.h"

#include <algorithm>
#include <cmath>

#include "pages/captions.h"
#include "pages/creators.h"
#include "pages/lambdascale.h"
#include "pages/modules.h"
#include "pages/pages.h"
#include "settings/layout.h"
#include "vcl/deciedit.h"

namespace {

constexpr int kLambdaModeByte = 5029;
constexpr int kThresholdByte = layoutOffset("LAMBDA_BAR");  // four mixture thresholds, AFR x 10
constexpr std::size_t kStopCommand = 2;
constexpr std::uint8_t kStopBit = 0x20;

// clang-format off
constexpr ControlRow kTestLayout[] = {
    // name                        kind                    parent                    left top width height caption
    {"GroupBoxTestOut",            ControlKind::GroupBox,  "TabSheet_Test",             8,   8, 844, 342, "Output tests"},

    {"GroupBoxTestJet",            ControlKind::GroupBox,  "GroupBoxTestOut",          10,  24, 270, 208, "Injection"},
    {"ButtonTestJet1A",            ControlKind::Button,    "GroupBoxTestJet",          10,  24, 120,  26, "Injection 1A"},
    {"ButtonTestJet2A",            ControlKind::Button,    "GroupBoxTestJet",          10,  54, 120,  26, "Injection 2A"},
    {"ButtonTestJet3A",            ControlKind::Button,    "GroupBoxTestJet",          10,  84, 120,  26, "Injection 3A"},
    {"ButtonTestJet4A",            ControlKind::Button,    "GroupBoxTestJet",          10, 114, 120,  26, "Injection 4A"},
    {"ButtonTestJet1B",            ControlKind::Button,    "GroupBoxTestJet",         140,  24, 120,  26, "Injection 1B"},
    {"ButtonTestJet2B",            ControlKind::Button,    "GroupBoxTestJet",         140,  54, 120,  26, "Injection 2B"},
    {"ButtonTestJet3B",            ControlKind::Button,    "GroupBoxTestJet",         140,  84, 120,  26, "Injection 3B"},
    {"ButtonTestJet4B",            ControlKind::Button,    "GroupBoxTestJet",         140, 114, 120,  26, "Injection 4B"},
    {"ButtonTestFuelPump",         ControlKind::Button,    "GroupBoxTestJet",          10, 148, 120,  26, "Fuel Pump"},
    {"CheckBoxTestInjFuelOn",      ControlKind::CheckBox,  "GroupBoxTestJet",          10, 180, 250,  21, "Fuel pump on"},

    {"GroupBoxTestIgn",            ControlKind::GroupBox,  "GroupBoxTestOut",         290,  24, 190, 208, "Ignition"},
    {"ButtonTestIgn1",             ControlKind::Button,    "GroupBoxTestIgn",          10,  24, 120,  26, "Ignition 1"},
    {"ButtonTestIgn2",             ControlKind::Button,    "GroupBoxTestIgn",          10,  54, 120,  26, "Ignition 2"},
    {"ButtonTestIgn3",             ControlKind::Button,    "GroupBoxTestIgn",          10,  84, 120,  26, "Ignition 3"},
    {"ButtonTestIgn4",             ControlKind::Button,    "GroupBoxTestIgn",          10, 114, 120,  26, "Ignition 4"},
    {"CheckBoxTestIgnFuelOn",      ControlKind::CheckBox,  "GroupBoxTestIgn",          10, 150, 172,  21, "Fuel pump on"},

    {"GroupBoxTestSpecialOut",     ControlKind::GroupBox,  "GroupBoxTestOut",         490,  24, 344, 208, "Various"},
    {"ButtonTestCooling",          ControlKind::Button,    "GroupBoxTestSpecialOut",   10,  24, 104,  26, "Cooling"},
    {"ButtonTestStart",            ControlKind::Button,    "GroupBoxTestSpecialOut",   10,  54, 104,  26, "Start"},
    {"ButtonTestFan1",             ControlKind::Button,    "GroupBoxTestSpecialOut",   10,  84, 104,  26, "Fan 1"},
    {"ButtonTestFan2",             ControlKind::Button,    "GroupBoxTestSpecialOut",   10, 114, 104,  26, "Fan 2"},
    {"ButtonTestPOut1",            ControlKind::Button,    "GroupBoxTestSpecialOut",  120,  24, 104,  26, "Power Out 1"},
    {"ButtonTestPOut2",            ControlKind::Button,    "GroupBoxTestSpecialOut",  120,  54, 104,  26, "Power Out 2"},
    {"ButtonTestPOut3",            ControlKind::Button,    "GroupBoxTestSpecialOut",  120,  84, 104,  26, "Power Out 3"},
    {"ButtonTestPOut4",            ControlKind::Button,    "GroupBoxTestSpecialOut",  120, 114, 104,  26, "Power Out 4"},
    {"ButtonTestPOut5",            ControlKind::Button,    "GroupBoxTestSpecialOut",  120, 144, 104,  26, "Power Out 5"},
    {"ButtonTestRpm",              ControlKind::Button,    "GroupBoxTestSpecialOut",  230,  24, 104,  26, "Rpm"},
    {"EditTestRpm",                ControlKind::Edit,      "GroupBoxTestSpecialOut",  230,  55,  88,  21},
    {"UpDownTestRpm",              ControlKind::UpDown,    "GroupBoxTestSpecialOut",    0,   0,  16,  21, {}, "EditTestRpm"},
    {"ButtonTestStop",             ControlKind::Button,    "GroupBoxTestSpecialOut",  230, 144, 104,  26, "Stop"},

    {"GroupBoxTestServo",          ControlKind::GroupBox,  "GroupBoxTestOut",          10, 240, 824,  92, "Servo"},
    {"LabelTestServo",             ControlKind::Label,     "GroupBoxTestServo",        10,  27,  76,  17, "Time [ms]"},
    {"EditTestServo",              ControlKind::Edit,      "GroupBoxTestServo",        90,  24,  60,  21},
    {"UpDownTestServo",            ControlKind::UpDown,    "GroupBoxTestServo",         0,   0,  16,  21, {}, "EditTestServo"},
    {"ButtonTestServoInPlus",      ControlKind::Button,    "GroupBoxTestServo",       172,  22, 156,  26, "Intake servo plus"},
    {"ButtonTestServoInMinus",     ControlKind::Button,    "GroupBoxTestServo",       172,  54, 156,  26, "Intake servo minus"},
    {"ButtonTestServoExPlus",      ControlKind::Button,    "GroupBoxTestServo",       334,  22, 156,  26, "Exhaust servo plus"},
    {"ButtonTestServoExMinus",     ControlKind::Button,    "GroupBoxTestServo",       334,  54, 156,  26, "Exhaust servo minus"},
    {"ButtonTestServo3Plus",       ControlKind::Button,    "GroupBoxTestServo",       496,  22, 156,  26, "Idle servo  plus"},
    {"ButtonTestServo3Minus",      ControlKind::Button,    "GroupBoxTestServo",       496,  54, 156,  26, "Idle servo  minus"},
    {"ButtonTestPortIn",           ControlKind::Button,    "GroupBoxTestServo",       658,  22, 156,  26, "Intake port"},

    // Each threshold's pair stands 65 px left of its label and 2 px higher, 45 px wide.
    {"GroupBoxLambdaBar",          ControlKind::GroupBox,  "TabSheet_Test",             8, 358, 420,  88, "Setting of Lambda bar graph"},
    {"LabelLambdaBar0",            ControlKind::Label,     "GroupBoxLambdaBar",        80,  27, 120,  17, "Beginning"},
    {"EditLambdaBar0",             ControlKind::DeciEdit,  "GroupBoxLambdaBar",        15,  25,  45,  21},
    {"UpDownLambdaBar0",           ControlKind::DeciUpDown, "GroupBoxLambdaBar",        0,   0,  16,  21, {}, "EditLambdaBar0"},
    {"LabelLambdaBar1",            ControlKind::Label,     "GroupBoxLambdaBar",        80,  57, 120,  17, "1/3"},
    {"EditLambdaBar1",             ControlKind::DeciEdit,  "GroupBoxLambdaBar",        15,  55,  45,  21},
    {"UpDownLambdaBar1",           ControlKind::DeciUpDown, "GroupBoxLambdaBar",        0,   0,  16,  21, {}, "EditLambdaBar1"},
    {"LabelLambdaBar2",            ControlKind::Label,     "GroupBoxLambdaBar",       290,  27, 120,  17, "2/3"},
    {"EditLambdaBar2",             ControlKind::DeciEdit,  "GroupBoxLambdaBar",       225,  25,  45,  21},
    {"UpDownLambdaBar2",           ControlKind::DeciUpDown, "GroupBoxLambdaBar",        0,   0,  16,  21, {}, "EditLambdaBar2"},
    {"LabelLambdaBar3",            ControlKind::Label,     "GroupBoxLambdaBar",       290,  57, 120,  17, "Ending"},
    {"EditLambdaBar3",             ControlKind::DeciEdit,  "GroupBoxLambdaBar",       225,  55,  45,  21},
    {"UpDownLambdaBar3",           ControlKind::DeciUpDown, "GroupBoxLambdaBar",        0,   0,  16,  21, {}, "EditLambdaBar3"},

    {"GroupBoxProprietary",        ControlKind::GroupBox,  "TabSheet_Test",           436, 358, 416,  88, "Proprietary settings"},
    {"LabelProp1",                 ControlKind::Label,     "GroupBoxProprietary",      10,  24,  70,  17, "1"},
    {"EditProp1",                  ControlKind::Edit,      "GroupBoxProprietary",      10,  44,  58,  21},
    {"UpDownProp1",                ControlKind::UpDown,    "GroupBoxProprietary",       0,   0,  16,  21, {}, "EditProp1"},
    {"LabelProp2",                 ControlKind::Label,     "GroupBoxProprietary",      90,  24,  70,  17, "2"},
    {"EditProp2",                  ControlKind::Edit,      "GroupBoxProprietary",      90,  44,  58,  21},
    {"UpDownProp2",                ControlKind::UpDown,    "GroupBoxProprietary",       0,   0,  16,  21, {}, "EditProp2"},
    {"LabelProp3",                 ControlKind::Label,     "GroupBoxProprietary",     170,  24,  70,  17, "3"},
    {"EditProp3",                  ControlKind::Edit,      "GroupBoxProprietary",     170,  44,  58,  21},
    {"UpDownProp3",                ControlKind::UpDown,    "GroupBoxProprietary",       0,   0,  16,  21, {}, "EditProp3"},
    {"LabelProp4",                 ControlKind::Label,     "GroupBoxProprietary",     250,  24,  70,  17, "4"},
    {"EditProp4",                  ControlKind::Edit,      "GroupBoxProprietary",     250,  44,  58,  21},
    {"UpDownProp4",                ControlKind::UpDown,    "GroupBoxProprietary",       0,   0,  16,  21, {}, "EditProp4"},
    {"LabelProp5",                 ControlKind::Label,     "GroupBoxProprietary",     330,  24,  70,  17, "5"},
    {"EditProp5",                  ControlKind::Edit,      "GroupBoxProprietary",     330,  44,  58,  21},
    {"UpDownProp5",                ControlKind::UpDown,    "GroupBoxProprietary",       0,   0,  16,  21, {}, "EditProp5"},
};

constexpr FieldBinding kTestBindings[] = {
    // control          kind        address index          scale offset    min     max   incr
    {"UpDownTestRpm",   Bind::Byte, 4876,   0,              100,    0,     200,  25000,  100},
    {"UpDownTestServo", Bind::Byte, 4877,   0,               10,    0,      10,   2500,   10},
    {"UpDownProp1",     Bind::Word, 1132,   kSignedIndex,     1,    0,  -32000,  32000,    1},
    {"UpDownProp2",     Bind::Word, 1133,   kSignedIndex,     1,    0,  -32000,  32000,    1},
    {"UpDownProp3",     Bind::Word, 1134,   kSignedIndex,     1,    0,  -32000,  32000,    1},
    {"UpDownProp4",     Bind::Word, 1135,   kSignedIndex,     1,    0,  -32000,  32000,    1},
    {"UpDownProp5",     Bind::Word, 1136,   kSignedIndex,     1,    0,  -32000,  32000,    1},
};
// clang-format on

constexpr std::string_view kThresholdUpDowns[] = {"UpDownLambdaBar0", "UpDownLambdaBar1", "UpDownLambdaBar2",
                                                  "UpDownLambdaBar3"};

// The buttons whose tests the unit refuses while it reports them locked (bit 3 of live byte 178).
constexpr std::string_view kLockableControls[] = {
    "GroupBoxTestJet",       "ButtonTestJet1A",        "ButtonTestJet2A",       "ButtonTestJet3A",
    "ButtonTestJet4A",       "ButtonTestJet1B",        "ButtonTestJet2B",       "ButtonTestJet3B",
    "ButtonTestJet4B",       "ButtonTestIgn1",         "ButtonTestIgn2",        "ButtonTestIgn3",
    "ButtonTestIgn4",        "ButtonTestFuelPump",     "ButtonTestCooling",     "ButtonTestRpm",
    "ButtonTestServoInPlus", "ButtonTestServoInMinus", "ButtonTestServoExPlus", "ButtonTestServoExMinus",
    "ButtonTestPOut1",       "ButtonTestPOut2",        "ButtonTestPOut3",       "ButtonTestPOut4",
    "ButtonTestServo3Plus",  "ButtonTestServo3Minus",
};

bool lambdaMode(const TPageForm& w)
{
    return w.images.image[kLambdaModeByte] != 0;
}

void showThresholds(TPageForm& w)
{
    for (std::size_t i = 0; i < std::size(kThresholdUpDowns); ++i) {
        auto* upDown = FindControl<TDeciUpDown>(w, kThresholdUpDowns[i]);
        if (!upDown) continue;
        const int stored = w.images.image[kThresholdByte + i];
        if (lambdaMode(w)) {
            upDown->SetRange(680, 1360);
            upDown->Divisor = 1000;
            SetControlQuiet(w, upDown, MixtureThousandthsShown(stored));
        } else {
            upDown->SetRange(100, 200);
            upDown->Divisor = 10;
            SetControlQuiet(w, upDown, stored);
        }
    }
}

// A threshold the user did not move is left as it is, also one outside the up-down's range, which the show could
// only clamp. In lambda notation every step of the up-down moves the stored AFR at least one step the same way.
void storeThresholds(TPageForm& w)
{
    for (std::size_t i = 0; i < std::size(kThresholdUpDowns); ++i) {
        auto* upDown = FindControl<TDeciUpDown>(w, kThresholdUpDowns[i]);
        if (!upDown) continue;
        std::uint8_t& stored = w.images.image[kThresholdByte + i];
        const int p = upDown->Position();
        const int shown = lambdaMode(w) ? MixtureThousandthsShown(stored) : stored;
        if (p == std::clamp(shown, upDown->Min(), upDown->Max())) continue;
        if (!lambdaMode(w)) {
            stored = static_cast<std::uint8_t>(p);
            continue;
        }
        const int wanted = MixtureThousandthsStored(p);
        if (p > shown)
            stored = static_cast<std::uint8_t>(wanted > stored ? std::min(wanted, 255) : std::min(stored + 1, 255));
        else if (p < shown)
            stored = static_cast<std::uint8_t>(wanted < stored ? std::max(wanted, 0) : std::max(stored - 1, 0));
    }
}

void StoreTestPage(TPageForm& w)
{
    if (w.settingGuard != 0) return;
    StoreBindings(w, PAGE_TEST);
    storeThresholds(w);
}

void ShowTestPage(TPageForm& w)
{
    ShowBindings(w, PAGE_TEST);
    showThresholds(w);
}

// The page's fixed texts in English, German and Czech.
constexpr CaptionRow kTestCaptions[] = {
    {"GroupBoxTestOut", {"Output tests", "Ausgabetests", "Test výstupů"}},
    {"GroupBoxTestJet", {"Injection", "Einspritzung", "Vstřik"}},
    {"ButtonTestJet1A", {"Injection 1A", "Einspritzung 1A", "Vstřik 1A"}},
    {"ButtonTestJet2A", {"Injection 2A", "Einspritzung 2A", "Vstřik 2A"}},
    {"ButtonTestJet3A", {"Injection 3A", "Einspritzung 3A", "Vstřik 3A"}},
    {"ButtonTestJet4A", {"Injection 4A", "Einspritzung 4A", "Vstřik 4A"}},
    {"ButtonTestJet1B", {"Injection 1B", "Einspritzung 1B", "Vstřik 1B"}},
    {"ButtonTestJet2B", {"Injection 2B", "Einspritzung 2B", "Vstřik 2B"}},
    {"ButtonTestJet3B", {"Injection 3B", "Einspritzung 3B", "Vstřik 3B"}},
    {"ButtonTestJet4B", {"Injection 4B", "Einspritzung 4B", "Vstřik 4B"}},
    {"ButtonTestFuelPump", {"Fuel Pump", "Kraftstoffpumpe", "Palivová pumpa"}},
    {"CheckBoxTestInjFuelOn", {"Fuel pump on", "Kraftstoffpumpe ein", "Zapnutí palivové pumpy"}},
    {"GroupBoxTestIgn", {"Ignition", "Zündung", "Zapalování"}},
    {"ButtonTestIgn1", {"Ignition 1", "Zündung 1", "Zapalování 1"}},
    {"ButtonTestIgn2", {"Ignition 2", "Zündung 2", "Zapalování 2"}},
    {"ButtonTestIgn3", {"Ignition 3", "Zündung 3", "Zapalování 3"}},
    {"ButtonTestIgn4", {"Ignition 4", "Zündung 4", "Zapalování 4"}},
    {"CheckBoxTestIgnFuelOn", {"Fuel pump on", "Kraftstoffpumpe ein", "Zapnutí palivové pumpy"}},
    {"GroupBoxTestSpecialOut", {"Various", "Verschiedene", "Různé"}},
    {"ButtonTestCooling", {"Cooling", "Kühlung", "Chlazení"}},
    {"ButtonTestStart", {"Start", "Start", "Start"}},
    {"ButtonTestFan1", {"Fan 1", "Ventilator 1", "Ventilátor 1"}},
    {"ButtonTestFan2", {"Fan 2", "Ventilator 2", "Ventilátor 2"}},
    {"ButtonTestRpm", {"Rpm", "Drehzahl", "Otáčky"}},
    {"ButtonTestStop", {"Stop", "Stopp", "Stop"}},
    {"LabelTestServo", {"Time [ms]", "Zeit [ms]", "Čas [ms]"}},
    {"ButtonTestServoInPlus", {"Intake servo plus", "Ansaugservo plus", "Sací servo plus"}},
    {"ButtonTestServoInMinus", {"Intake servo minus", "Ansaugservo minus", "Sací servo mínus"}},
    {"ButtonTestServoExPlus", {"Exhaust servo plus", "Abblaseservo plus", "Výfukové servo plus"}},
    {"ButtonTestServoExMinus", {"Exhaust servo minus", "Abblaseservo minus", "Výfukové servo mínus"}},
    {"ButtonTestServo3Plus", {"Idle servo  plus", "Freilauf servo plus", "Volnoběžné servo plus"}},
    {"ButtonTestServo3Minus", {"Idle servo  minus", "Freilauf servo minus", "Volnoběžné servo mínus"}},
    {"ButtonTestPortIn", {"Intake port", "Einlaßstutzen", "Sací hrdlo"}},
    {"GroupBoxLambdaBar", {"Setting of Lambda bar graph", "Einstellung von Lambda Bargraph",
                           "Nastavení pro Lamba graf"}},
    {"LabelLambdaBar0", {"Beginning", "Anfang", "Začátek"}},
    {"LabelLambdaBar3", {"Ending", "Ende", "Konec"}},
    {"GroupBoxProprietary", {"Proprietary settings", "Proprietäre Einstellungen", "Proprietární nastavení"}},
};

void TestPageCaptions(TPageForm& w)
{
    ApplyCaptions(w, kTestCaptions);
}

void BuildTestPage(TPageForm& w)
{
    for (const TestCommandBit& bit : kTestCommandBits)
        if (auto* button = FindControl<TButton>(w, bit.button))
            button->OnClick = [&w](TObject* sender) { ButtonTestClick(w, sender); };
    TestPageCaptions(w);
}

}  // namespace

void ButtonTestClick(TPageForm& w, TObject* sender)
{
    // A test fires real outputs: it is taken only while a unit answers, so that none waits for the next unit.
    if (!w.pageHooks.unitAnswers || !w.pageHooks.unitAnswers()) return;
    if (!sender) return;
    for (const TestCommandBit& bit : kTestCommandBits)
        if (FindControl<TButton>(w, bit.button) == sender) w.testCommands[std::size_t(bit.command)] |= bit.mask;
}

void ClearTestCommands(TPageForm& w)
{
    // A stop asked for from the menu is never dropped.
    const std::uint8_t stop = w.testCommands[kStopCommand] & kStopBit;
    w.testCommands.fill(0);
    w.testCommands[kStopCommand] = stop;
}

void EnableTestButtons(TPageForm& w, std::uint8_t liveByte178)
{
    const bool enabled = (liveByte178 & 0x08) == 0;
    for (std::string_view name : kLockableControls)
        if (auto* control = FindControl<TControl>(w, name)) control->SetEnabled(enabled);
}

extern const PageModule kOutputTestPage{
    .sheetName = "TabSheet_Test",
    .caption = "Test",
    .layout = kTestLayout,
    .bindings = kTestBindings,
    .build = BuildTestPage,
    .store = StoreTestPage,
    .show = ShowTestPage,
    .captions = TestPageCaptions,
};
