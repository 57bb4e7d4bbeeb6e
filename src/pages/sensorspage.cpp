// The sensors page ("Čidla"): the characteristics that turn the unit's sensor voltages into temperatures, mixture,
// throttle position, pressures and fuel level, the throttle sensor's calibration from the live voltage, the lambda
// sensor type with its CAN identifiers, the lambda notation, the analog quick-shift thresholds and the
// potentiometer group.
#include "pages/sensorspage.h"

#include <string>

#include "os/lngtext.h"
#include "pages/bikepage.h"
#include "pages/captions.h"
#include "pages/creators.h"
#include "pages/commit.h"
#include "pages/inputspage.h"
#include "pages/lambdascale.h"
#include "pages/modules.h"
#include "pages/pages.h"
#include "pages/potentiometer.h"
#include "pages/sensormaps.h"
#include "pages/syncpage.h"
#include "pages/tuningpage.h"
#include "settings/newbike.h"

namespace {

constexpr int kTpsOffByte = 4052;  // 1: the TP characteristic is switched off
constexpr int kLambdaOffByte = 4057;
constexpr int kWaterOffByte = 4055;
constexpr int kAirOffByte = 4056;
constexpr int kTpsMiddleByte = 4058;  // the middle point of a 3-point TP characteristic, in %
constexpr int kTps3PointByte = 4059;
constexpr int kLambdaTypeByte = 4060;  // 0 standard, 1 Marvex, 2 Marvex over CAN
constexpr int kInjectionModeByte = 3817;
constexpr int kTpsClosedWord = 1084, kTpsMiddleWord = 1085, kTpsOpenWord = 1086;
constexpr int kLambdaCan = 2;
// The calibration buttons stand in a column beside the throttle map, 2 px apart; in a 3-point characteristic the
// 100 % button moves down by the height of the middle button and its two 1 px gaps, and the middle one stands between.
constexpr int kButtonGap = 2, kButtonGap3Point = 18;
constexpr int kSensorEditors[] = {37, 38, 39, 40, 41, 45};

// Three columns: the throttle and pressure sensors; temperatures, quick-shift and fuel; lambda and the
// potentiometer. The map editors take the rest of each column.
// clang-format off
constexpr ControlRow kSensorsLayout[] = {
    // name                      kind                     parent            left top width height caption
    {"ButtonTps0",               ControlKind::Button,     "TabSheet_Cidla",  185,  60,  60, 16, "<- 0%"},
    {"ButtonTpsX",               ControlKind::Button,     "TabSheet_Cidla",  185,  77,  60, 16, "<- 50%"},
    {"ButtonTps100",             ControlKind::Button,     "TabSheet_Cidla",  185,  78,  60, 16, "<- 100%"},
    {"CheckBoxTPS3pt",           ControlKind::CheckBox,   "TabSheet_Cidla",  185, 120,  60, 21, "3 pt."},
    {"LabelNavolenoSyncIap",     ControlKind::Label,      "TabSheet_Cidla",   10, 250, 235, 17, "Used sync IAP"},

    {"CheckBoxTempWater",        ControlKind::CheckBox,   "TabSheet_Cidla",  262,  10, 222, 21, "Temperature water sensor"},
    {"CheckBoxTempAir",          ControlKind::CheckBox,   "TabSheet_Cidla",  262,  32, 222, 21, "Temperature air sensor"},
    {"RadioGroupTempView",       ControlKind::RadioGroup, "TabSheet_Cidla",  253, 330, 232, 40, "View characteristic as "},
    {"LabelQuickShift",          ControlKind::Label,      "TabSheet_Cidla",  253, 376, 232, 17, "Quickshift analog [V]"},
    {"EditQsDown",               ControlKind::DeciEdit,   "TabSheet_Cidla",  253, 394,  50, 21},
    {"UpDownQsDown",             ControlKind::DeciUpDown, "TabSheet_Cidla",    0,   0,  16, 21, {}, "EditQsDown"},
    {"LabelQsDown",              ControlKind::Label,      "TabSheet_Cidla",  323, 397,  30, 17, "dn."},
    {"EditQsUp",                 ControlKind::DeciEdit,   "TabSheet_Cidla",  359, 394,  50, 21},
    {"UpDownQsUp",               ControlKind::DeciUpDown, "TabSheet_Cidla",    0,   0,  16, 21, {}, "EditQsUp"},
    {"LabelQsUp",                ControlKind::Label,      "TabSheet_Cidla",  429, 397,  30, 17, "up"},
    {"LabelMonQuickShift",       ControlKind::Label,      "TabSheet_Cidla",  253, 418, 232, 17, "Quickshift = --- V"},
    {"LabelFuelMonitor",         ControlKind::Label,      "TabSheet_Cidla",  253, 440,  80, 17, "Fuel"},
    {"LabelFuelMonitor1",        ControlKind::Label,      "TabSheet_Cidla",  337, 440,  60, 17, "--- %"},
    {"LabelFuelMonitor2",        ControlKind::Label,      "TabSheet_Cidla",  401, 440,  84, 17, "--- mV"},

    {"GroupBoxCANID",            ControlKind::GroupBox,   "TabSheet_Cidla",  492, 194, 210, 124, "MARVEX CAN ID"},
    {"LabelCANID01",             ControlKind::Label,      "GroupBoxCANID",    12,  23,  60, 17, "ID 1"},
    {"EditCANID01",              ControlKind::Edit,       "GroupBoxCANID",    80,  20,  70, 21},
    {"UpDownCANID01",            ControlKind::UpDown,     "GroupBoxCANID",     0,   0,  16, 21, {}, "EditCANID01"},
    {"LabelCANID02",             ControlKind::Label,      "GroupBoxCANID",    12,  48,  60, 17, "ID 2"},
    {"EditCANID02",              ControlKind::Edit,       "GroupBoxCANID",    80,  45,  70, 21},
    {"UpDownCANID02",            ControlKind::UpDown,     "GroupBoxCANID",     0,   0,  16, 21, {}, "EditCANID02"},
    {"LabelCANID03",             ControlKind::Label,      "GroupBoxCANID",    12,  73,  60, 17, "ID 3"},
    {"EditCANID03",              ControlKind::Edit,       "GroupBoxCANID",    80,  70,  70, 21},
    {"UpDownCANID03",            ControlKind::UpDown,     "GroupBoxCANID",     0,   0,  16, 21, {}, "EditCANID03"},
    {"LabelCANID04",             ControlKind::Label,      "GroupBoxCANID",    12,  98,  60, 17, "ID 4"},
    {"EditCANID04",              ControlKind::Edit,       "GroupBoxCANID",    80,  95,  70, 21},
    {"UpDownCANID04",            ControlKind::UpDown,     "GroupBoxCANID",     0,   0,  16, 21, {}, "EditCANID04"},
    {"RadioGroupCidloLambdaMode", ControlKind::RadioGroup, "TabSheet_Cidla", 492, 322, 210, 70, "Type of lambda sensor"},
    {"CheckBoxLambdaNotation",   ControlKind::CheckBox,   "TabSheet_Cidla",  492, 396, 360, 21, "Use lambda notation (benzin 1:14,7)"},
    {"LabelMonAcclimRetard",     ControlKind::Label,      "TabSheet_Cidla",  706,  25, 146, 36, "---"},
    {"LabelMonAcclimPropEffect", ControlKind::Label,      "TabSheet_Cidla",  706,  65, 146, 36, "---"},
    {"LabelMonAcclimSpeedRet",   ControlKind::Label,      "TabSheet_Cidla",  706, 105, 146, 36, "---"},
    {"LabelMonAcclimMinAdv",     ControlKind::Label,      "TabSheet_Cidla",  706, 145, 146, 36, "---"},

    {"GroupBoxPotenc",           ControlKind::GroupBox,   "TabSheet_Cidla",  492, 420, 360, 180, "Potentiometer"},
    {"ComboBoxPotencMode",       ControlKind::ComboBox,   "GroupBoxPotenc",   12,  20, 200, 23},
    {"LabelUpPotencRozsah",      ControlKind::Label,      "GroupBoxPotenc",   12,  51, 132, 17, "Threshold:"},
    {"EditPotencRozsah",         ControlKind::Edit,       "GroupBoxPotenc",  146,  48,  44, 21},
    {"UpDownPotencRozsah",       ControlKind::UpDown,     "GroupBoxPotenc",    0,   0,  16, 21, {}, "EditPotencRozsah"},
    {"LabelPotencRozsah",        ControlKind::Label,      "GroupBoxPotenc",  208,  51, 146, 17, "Range"},
    {"LabelUpPotencRozsah2",     ControlKind::Label,      "GroupBoxPotenc",   12,  76, 132, 17, "TP min:"},
    {"EditPotencRozsah2",        ControlKind::Edit,       "GroupBoxPotenc",  146,  73,  44, 21},
    {"UpDownPotencRozsah2",      ControlKind::UpDown,     "GroupBoxPotenc",    0,   0,  16, 21, {}, "EditPotencRozsah2"},
    {"LabelPotencRozsah2",       ControlKind::Label,      "GroupBoxPotenc",  208,  76, 146, 17, "%"},
    {"LabelUpPotencRozsah3",     ControlKind::Label,      "GroupBoxPotenc",   12, 101, 132, 17, "Effect:"},
    {"EditPotencRozsah3",        ControlKind::Edit,       "GroupBoxPotenc",  146,  98,  44, 21},
    {"UpDownPotencRozsah3",      ControlKind::UpDown,     "GroupBoxPotenc",    0,   0,  16, 21, {}, "EditPotencRozsah3"},
    {"LabelPotencRozsah3",       ControlKind::Label,      "GroupBoxPotenc",  208, 101, 146, 17, "Range"},
    {"LabelUpPotencRozsah4",     ControlKind::Label,      "GroupBoxPotenc",   12, 126, 132, 17, "Min. adv:"},
    {"EditPotencRozsah4",        ControlKind::Edit,       "GroupBoxPotenc",  146, 123,  44, 21},
    {"UpDownPotencRozsah4",      ControlKind::UpDown,     "GroupBoxPotenc",    0,   0,  16, 21, {}, "EditPotencRozsah4"},
    {"LabelPotencRozsah4",       ControlKind::Label,      "GroupBoxPotenc",  208, 126, 146, 17, "Range"},
    {"ButtonLaunchPotiSave",     ControlKind::Button,     "GroupBoxPotenc",   12, 150, 336, 23, "Store values set by poti"},
};

constexpr FieldBinding kSensorsBindings[] = {
    // control                    kind             address index scale offset min  max  incr divisor
    {"CheckBoxTPS3pt",            Bind::Check,     kTps3PointByte},
    {"RadioGroupCidloLambdaMode", Bind::Radio,     kLambdaTypeByte},
    {"ComboBoxPotencMode",        Bind::ItemIndex, kPotiModeByte},
    {"UpDownCANID01",             Bind::Word,      1080, 0,    1,    0,    1, 2047, 1},
    {"UpDownCANID02",             Bind::Word,      1081, 0,    1,    0,    1, 2047, 1},
    {"UpDownCANID03",             Bind::Word,      1082, 0,    1,    0,    1, 2047, 1},
    {"UpDownCANID04",             Bind::Word,      1083, 0,    1,    0,    1, 2047, 1},
    {"CheckBoxLambdaNotation",    Bind::Check,     kLambdaNotationByte},
    {"UpDownQsDown",              Bind::Word,      1087, 0,    1,    0,    0,  500, 1, 100},
    {"UpDownQsUp",                Bind::Word,      1088, 0,    1,    0,    0,  500, 1, 100},
};

constexpr CaptionRow kSensorsCaptions[] = {
    {"TabSheet_Cidla",            {"Sensors", "Senzoren", "Čidla"}},
    {"CheckBoxTPS3pt",            {"3 pt.", "3 Pkt.", "3 b."}},
    {"LabelNavolenoSyncIap",      {"Used sync IAP", "Für Sync IAP", "Použito pro sync IAP"}},
    {"CheckBoxTempWater",         {"Temperature water sensor", "Kühlwasser-Temperatursensor", "Čidlo teploty vody"}},
    {"CheckBoxTempAir",           {"Temperature air sensor", "Lufttemperatursensor", "Čidlo teploty vzduchu"}},
    {"RadioGroupTempView",        {"View characteristic as ", "Kennlinie zeigen als ", "Zobrazit charakteristiku jako "}},
    {"RadioGroupTempView",        {"Voltage\nResistance", "Spannung\nWiderstand", "Napětí\nOdpor"}, kCaptionItems},
    {"CheckBoxLambdaNotation",    {"Use lambda notation (benzin 1:14,7)", "Lambda-Notation anzeigen (benzin 1:14,7)",
                                   "Použijte lambda notaci (benzin 1:14,7)"}},
    {"RadioGroupCidloLambdaMode", {"Type of lambda sensor", "Lambdasonde", "Typ lambda sondy"}},
    {"GroupBoxPotenc",            {"Potentiometer", "Potentiometer", "Potenciometr"}},
    {"ComboBoxPotencMode",        {"No", "Kein", "Ne"}, 0},
    {"ComboBoxPotencMode",        {"Injection", "Einspritzung", "Vstřik"}, 1},
    {"ComboBoxPotencMode",        {"Advance", "Vorzündung", "Předstih"}, 2},
    {"ComboBoxPotencMode",        {"Start Limiter", "Startbegrenzer", "Startovací omezovač"}, 3},
    {"ComboBoxPotencMode",        {"Launch control", "Launch Control", "Ovládání startu"}, 4},
    {"ButtonLaunchPotiSave",      {"Store values set by poti", "Mit Poti gestellte Werte speichern",
                                   "Uložit hodnoty nastavené potenciometrem"}},
    {"GroupBoxCANID",             {"MARVEX CAN ID", "MARVEX CAN ID", "MARVEX CAN ID"}},
    {"LabelQuickShift",           {"Quickshift analog [V]", "Quickshift analog [V]", "Rychlořazení analog [V]"}},
    {"LabelQsDown",               {"dn.", "dn.", "-"}},
    {"LabelQsUp",                 {"up", "up", "+"}},
    // Until the first live frame writes them, in the live display's words.
    {"LabelMonQuickShift",        {"Quickshift = --- V", "Quickshift = --- V", "Rychlořazení = --- V"}},
    {"LabelFuelMonitor",          {"Fuel", "Kraftstoff", "Palivo"}},
};
// clang-format on

// Controls shown with the fuel sensor and with the analog quick-shift sensor.
constexpr std::string_view kFuelControls[] = {"LabelFuelMonitor", "LabelFuelMonitor1", "LabelFuelMonitor2"};
constexpr std::string_view kQuickShiftControls[] = {"LabelQuickShift", "EditQsDown", "UpDownQsDown",
                                                    "LabelQsDown",     "EditQsUp",   "UpDownQsUp",
                                                    "LabelQsUp",       "LabelMonQuickShift"};

template <class T = TControl>
T* find(TPageForm& w, std::string_view name)
{
    return FindControl<T>(w, name);
}

void setVisible(TPageForm& w, std::string_view name, bool visible)
{
    if (auto* control = find(w, name)) control->SetVisible(visible);
}

void storeTemperatureSwitches(TPageForm& w)
{
    Image& image = w.images.image;
    if (auto* box = find<TCheckBox>(w, "CheckBoxTempWater")) image[kWaterOffByte] = box->Checked() ? 0 : 1;
    if (auto* box = find<TCheckBox>(w, "CheckBoxTempAir")) image[kAirOffByte] = box->Checked() ? 0 : 1;
}

void showTemperatureSwitches(TPageForm& w)
{
    SetCheckQuiet(w, find<TCheckBox>(w, "CheckBoxTempWater"), w.images.image[kWaterOffByte] == 0);
    SetCheckQuiet(w, find<TCheckBox>(w, "CheckBoxTempAir"), w.images.image[kAirOffByte] == 0);
}

// The buttons follow the rows of the throttle map: the 100 % button makes room for the middle one in a 3-point
// characteristic.
void placeTpsButtons(TPageForm& w)
{
    auto* closed = find<TButton>(w, "ButtonTps0");
    auto* middle = find<TButton>(w, "ButtonTpsX");
    auto* open = find<TButton>(w, "ButtonTps100");
    if (!closed || !middle || !open) return;
    const int below = closed->Top() + closed->Height();
    middle->SetTop(below + 1);
    open->SetTop(below + (w.images.image[kTps3PointByte] != 0 ? kButtonGap3Point : kButtonGap));
    middle->SetCaption("<- " + std::to_string(w.images.image[kTpsMiddleByte]) + "%");
}

void BuildSensorsPage(TPageForm& w)
{
    const SettingGuard guard(w);
    if (auto* group = find<TRadioGroup>(w, "RadioGroupCidloLambdaMode")) {
        group->SetItems({"Standard", "Marvex", "Marvex-CAN (ID:802)"});
        group->OnClick = [&w](TObject*) { RadioGroupCidloLambdaModeClick(w); };
    }
    if (auto* group = find<TRadioGroup>(w, "RadioGroupTempView")) {
        group->SetItems({"Voltage", "Resistance"});
        group->SetColumns(2);
        group->SetItemIndex(0);
        group->OnClick = [&w](TObject*) { SensorsViewAsClick(w); };
    }
    if (auto* list = find<TComboBox>(w, "ComboBoxPotencMode"))
        for (int tag = 0; std::string_view item : {"No", "Injection", "Advance", "Start Limiter", "_Launch_control"})
            AddComboItem(list, item, tag++);
    if (auto* label = find<TLabel>(w, "LabelNavolenoSyncIap")) label->SetFontColor(clRed);
    for (auto [name, point] : {std::pair{"ButtonTps0", TpsPoint::Closed}, std::pair{"ButtonTps100", TpsPoint::Open},
                               std::pair{"ButtonTpsX", TpsPoint::Middle}})
        if (auto* button = find<TButton>(w, name)) button->OnClick = [&w, at = point](TObject*) { CalibrateTps(w, at); };
    if (auto* button = find<TButton>(w, "ButtonLaunchPotiSave")) button->OnClick = [&w](TObject*) { ButtonPotiSave(w); };
    for (std::string_view name :
         {"LabelMonAcclimRetard", "LabelMonAcclimPropEffect", "LabelMonAcclimSpeedRet", "LabelMonAcclimMinAdv"})
        if (auto* label = find<TLabel>(w, name)) {
            label->SetWordWrap(true);
            label->SetVisible(false);
        }
    BuildSensorMaps(w);
    ApplyCaptions(w, kSensorsCaptions);
}

void SensorsMapChanged(TPageForm& w, int)
{
    CommitChangeNow(w);
}

void SensorsPageCaptions(TPageForm& w)
{
    ApplyCaptions(w, kSensorsCaptions);
    SensorsPageLayout(w);
}

}  // namespace

std::int64_t VoltageToResistance(int millivolts)
{
    if (millivolts >= 5000) return 20'000'000;
    return std::int64_t(millivolts) * 2200 / (5000 - millivolts);
}

int ResistanceToVoltage(std::int64_t ohms)
{
    if (ohms > 19'999'999) return 5000;
    if (ohms <= 0) return 0;
    // In 64 bits: the resistance view goes up to 20 MOhm, whose product with 5000 leaves 32 bits.
    return static_cast<int>(ohms * 5000 / (ohms + 2200));
}

void StoreSensorsPage(TPageForm& w)
{
    if (w.settingGuard != 0) return;
    storeTemperatureSwitches(w);
    StoreBindings(w, PAGE_SENSORS);
    StorePotentiometer(w);
    StoreSensorMaps(w);
    // The lambda and throttle settings feed the bike page's layout, the tuning page and the mixture scale.
    SensorsPageLayout(w);
    BikePageLayout(w);
    ShowTuningState(w);
    ShowLambdaScale(w);
}

void ShowSensorsPage(TPageForm& w)
{
    ShowBindings(w, PAGE_SENSORS);
    placeTpsButtons(w);
    ShowPotentiometer(w);
    ShowSensorMaps(w);
    showTemperatureSwitches(w);
    SensorsPageLayout(w);
    for (int id : kSensorEditors) RequestMapRedraw(w, id);
}

void SensorsPageLayout(TPageForm& w)
{
    const Image& image = w.images.image;
    const int synchro2 = image[kSynchro2Byte];
    setVisible(w, "LabelNavolenoSyncIap", image[kHuntingSourceByte] == 1 && (synchro2 == 5 || synchro2 == 6));

    const bool fuel = AnyInputHas(image, kInputFuelSensor, true);
    for (std::string_view name : kFuelControls) setVisible(w, name, fuel);
    const bool quickShift = AnyInputHas(image, kInputQuickshiftAnalog, true);
    for (std::string_view name : kQuickShiftControls) setVisible(w, name, quickShift);

    PotentiometerLayout(w);
    SensorMapsLayout(w);

    const bool tps = image[kTpsOffByte] == 0;
    setVisible(w, "ButtonTps0", tps);
    setVisible(w, "ButtonTps100", tps);
    setVisible(w, "CheckBoxTPS3pt", tps);
    setVisible(w, "ButtonTpsX", tps && image[kTps3PointByte] != 0);
    setVisible(w, "RadioGroupCidloLambdaMode", image[kLambdaOffByte] == 0);

    // One lambda channel over CAN while the injectors are coupled or the engine has one cylinder; one per cylinder
    // otherwise, each with its identifier.
    const int cylinders = image[kCylindersByte];
    const bool singleChannel = image[kInjectionModeByte] != 0 || cylinders < 2;
    if (auto* group = find<TRadioGroup>(w, "RadioGroupCidloLambdaMode"); group && group->ItemCount() > kLambdaCan)
        group->SetItem(kLambdaCan, singleChannel ? "Marvex-CAN (ID:802)"
                                                 : GetLngText("###Marvex-CAN (multichannel)##Marvex-CAN "
                                                              "(mehrkanalig)##Marvex-CAN (vícekanálový)"));
    setVisible(w, "GroupBoxCANID", image[kLambdaTypeByte] == kLambdaCan && image[kLambdaOffByte] == 0 && !singleChannel);
    for (int k = 2; k <= 4; ++k) {
        const std::string n = "0" + std::to_string(k);
        for (std::string_view stem : {"LabelCANID", "EditCANID", "UpDownCANID"})
            setVisible(w, std::string(stem) + n, cylinders >= k);
    }
    InputsPageLayout(w);
}

void CalibrateTps(TPageForm& w, TpsPoint point)
{
    const int liveMillivolts = w.liveValues.tpsMillivolts;
    if (liveMillivolts < kTpsMinMillivolts || liveMillivolts > kTpsMaxMillivolts) return;
    const bool threePoint = w.images.image[kTps3PointByte] != 0;
    if (point == TpsPoint::Middle && !threePoint) return;
    const int word = point == TpsPoint::Closed ? kTpsClosedWord : point == TpsPoint::Open ? kTpsOpenWord : kTpsMiddleWord;
    setImageWord(w.images.image, word, static_cast<std::uint16_t>(liveMillivolts));
    // The map shows the new voltage before the commit stores it, or the store would put the old one back.
    ShowSensorMaps(w);
    CommitChangeNow(w);
}

void RadioGroupCidloLambdaModeClick(TPageForm& w)
{
    if (w.settingGuard != 0) return;
    // The new type and its characteristic are one change: stored, written, shown, then committed once.
    StoreSensorsPage(w);
    SetLambdaSensorDefaults(w.images.image, w.images.image[kLambdaTypeByte] != 0 ? 1 : 0);
    ShowSensorsPage(w);
    NotePendingChange(w, find(w, "RadioGroupCidloLambdaMode"), kChangeNow);
}

extern const PageModule kSensorsPage{
    .sheetName = "TabSheet_Cidla",
    .caption = "Sensors",
    .layout = kSensorsLayout,
    .bindings = kSensorsBindings,
    .editorIds = kSensorEditors,
    .build = BuildSensorsPage,
    .store = StoreSensorsPage,
    .show = ShowSensorsPage,
    .captions = SensorsPageCaptions,
    .mapChanged = SensorsMapChanged,
};
