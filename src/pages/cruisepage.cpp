// The cruise control page: the speed regulator's gains and allowed deviation, and the set table: up to six voltage
// levels of the cruise control input, four choosing a set speed, one the highest speed and one switching the
// cruise control off, each speed with the throttle proportion the regulator starts from.
#include "pages/cruisepage.h"

#include "pages/captions.h"
#include "pages/inputspage.h"
#include "pages/modules.h"
#include "pages/pages.h"

namespace {

constexpr int kThrottleServoByte = 4431;  // the servos page's "is TPS": a servo moves the throttle

// The regulator's three settings, then the set table in rows 25 px apart: row label, set speed, input level and
// initial proportion; row 5 is the highest speed, row 6 the level that switches the cruise control off.
// clang-format off
constexpr ControlRow kCruiseLayout[] = {
    // name                    kind                   parent               left top width height caption
    {"LabelTempMaxDeviation",  ControlKind::Label,    "TabSheet_Tempomat",  16,  19, 300, 17, "Max allowed deviation [% speed]"},
    {"Edit1",                  ControlKind::Edit,     "TabSheet_Tempomat", 330,  16,  50, 21},
    {"UpDownTempDev",          ControlKind::UpDown,   "TabSheet_Tempomat",   0,   0,  16, 21, {}, "Edit1"},
    {"LabelTempMaxISpeed",     ControlKind::Label,    "TabSheet_Tempomat",  16,  45, 300, 17, "Max I speed [%tps/s]"},
    {"Edit2",                  ControlKind::Edit,     "TabSheet_Tempomat", 330,  42,  50, 21},
    {"UpDownTempI",            ControlKind::UpDown,   "TabSheet_Tempomat",   0,   0,  16, 21, {}, "Edit2"},
    {"LabelTempP",             ControlKind::Label,    "TabSheet_Tempomat",  16,  71, 300, 17, "P [%tps/km/h]"},
    {"Edit3",                  ControlKind::Edit,     "TabSheet_Tempomat", 330,  68,  50, 21},
    {"UpDownTempP",            ControlKind::UpDown,   "TabSheet_Tempomat",   0,   0,  16, 21, {}, "Edit3"},

    {"GroupBoxTempSet",        ControlKind::GroupBox, "TabSheet_Tempomat",   8, 104, 400, 236, "Tempomat settings"},
    {"LabelTempSetKmH",        ControlKind::Label,    "GroupBoxTempSet",    60,  24, 104, 17, "Speed [km/h]"},
    {"LabelTempSetV",          ControlKind::Label,    "GroupBoxTempSet",   170,  24,  86, 17, "Input [V]"},
    {"LabelTempIP",            ControlKind::Label,    "GroupBoxTempSet",   260,  24, 130, 17, "Initial proportion"},
    {"LabelTempRow1", ControlKind::Label, "GroupBoxTempSet", 40, 55, 12, 17, "1"},
    {"EditTempSpeed1", ControlKind::Edit, "GroupBoxTempSet", 55, 51, 30, 21},
    {"UpDownTempSpeed1", ControlKind::UpDown, "GroupBoxTempSet", 0, 0, 16, 21, {}, "EditTempSpeed1"},
    {"EditTempLevel1", ControlKind::DeciEdit, "GroupBoxTempSet", 160, 51, 40, 21},
    {"UpDownTempLevel1", ControlKind::DeciUpDown, "GroupBoxTempSet", 0, 0, 16, 21, {}, "EditTempLevel1"},
    {"EditTempIP1", ControlKind::Edit, "GroupBoxTempSet", 270, 51, 40, 21},
    {"UpDownTempIP1", ControlKind::UpDown, "GroupBoxTempSet", 0, 0, 16, 21, {}, "EditTempIP1"},
    {"LabelTempRow2", ControlKind::Label, "GroupBoxTempSet", 40, 80, 12, 17, "2"},
    {"EditTempSpeed2", ControlKind::Edit, "GroupBoxTempSet", 55, 76, 30, 21},
    {"UpDownTempSpeed2", ControlKind::UpDown, "GroupBoxTempSet", 0, 0, 16, 21, {}, "EditTempSpeed2"},
    {"EditTempLevel2", ControlKind::DeciEdit, "GroupBoxTempSet", 160, 76, 40, 21},
    {"UpDownTempLevel2", ControlKind::DeciUpDown, "GroupBoxTempSet", 0, 0, 16, 21, {}, "EditTempLevel2"},
    {"EditTempIP2", ControlKind::Edit, "GroupBoxTempSet", 270, 76, 40, 21},
    {"UpDownTempIP2", ControlKind::UpDown, "GroupBoxTempSet", 0, 0, 16, 21, {}, "EditTempIP2"},
    {"LabelTempRow3", ControlKind::Label, "GroupBoxTempSet", 40, 105, 12, 17, "3"},
    {"EditTempSpeed3", ControlKind::Edit, "GroupBoxTempSet", 55, 101, 30, 21},
    {"UpDownTempSpeed3", ControlKind::UpDown, "GroupBoxTempSet", 0, 0, 16, 21, {}, "EditTempSpeed3"},
    {"EditTempLevel3", ControlKind::DeciEdit, "GroupBoxTempSet", 160, 101, 40, 21},
    {"UpDownTempLevel3", ControlKind::DeciUpDown, "GroupBoxTempSet", 0, 0, 16, 21, {}, "EditTempLevel3"},
    {"EditTempIP3", ControlKind::Edit, "GroupBoxTempSet", 270, 101, 40, 21},
    {"UpDownTempIP3", ControlKind::UpDown, "GroupBoxTempSet", 0, 0, 16, 21, {}, "EditTempIP3"},
    {"LabelTempRow4", ControlKind::Label, "GroupBoxTempSet", 40, 130, 12, 17, "4"},
    {"EditTempSpeed4", ControlKind::Edit, "GroupBoxTempSet", 55, 126, 30, 21},
    {"UpDownTempSpeed4", ControlKind::UpDown, "GroupBoxTempSet", 0, 0, 16, 21, {}, "EditTempSpeed4"},
    {"EditTempLevel4", ControlKind::DeciEdit, "GroupBoxTempSet", 160, 126, 40, 21},
    {"UpDownTempLevel4", ControlKind::DeciUpDown, "GroupBoxTempSet", 0, 0, 16, 21, {}, "EditTempLevel4"},
    {"EditTempIP4", ControlKind::Edit, "GroupBoxTempSet", 270, 126, 40, 21},
    {"UpDownTempIP4", ControlKind::UpDown, "GroupBoxTempSet", 0, 0, 16, 21, {}, "EditTempIP4"},
    {"LabelTempRow5", ControlKind::Label, "GroupBoxTempSet", 25, 155, 28, 17, "Max"},
    {"EditTempSpeed5", ControlKind::Edit, "GroupBoxTempSet", 55, 151, 30, 21},
    {"UpDownTempSpeed5", ControlKind::UpDown, "GroupBoxTempSet", 0, 0, 16, 21, {}, "EditTempSpeed5"},
    {"EditTempLevel5", ControlKind::DeciEdit, "GroupBoxTempSet", 160, 151, 40, 21},
    {"UpDownTempLevel5", ControlKind::DeciUpDown, "GroupBoxTempSet", 0, 0, 16, 21, {}, "EditTempLevel5"},
    {"EditTempIP5", ControlKind::Edit, "GroupBoxTempSet", 270, 151, 40, 21},
    {"UpDownTempIP5", ControlKind::UpDown, "GroupBoxTempSet", 0, 0, 16, 21, {}, "EditTempIP5"},
    {"LabelTempRow6", ControlKind::Label, "GroupBoxTempSet", 40, 180, 112, 17, "Tempomat off"},
    {"EditTempLevel6", ControlKind::DeciEdit, "GroupBoxTempSet", 160, 176, 40, 21},
    {"UpDownTempLevel6", ControlKind::DeciUpDown, "GroupBoxTempSet", 0, 0, 16, 21, {}, "EditTempLevel6"},
    {"LabelMonTempomatV",      ControlKind::Label,    "GroupBoxTempSet",    25, 216, 360, 17, "Input voltage = --- mV"},
};

constexpr FieldBinding kCruiseBindings[] = {
    // control            kind        address index scale offset min  max   incr divisor
    {"UpDownTempDev",     Bind::Byte, 4971,   0,    1,    0,     0,  100,   1},
    {"UpDownTempI",       Bind::Byte, 4972,   0,    1,    0,     0,  100,   1},
    {"UpDownTempP",       Bind::Byte, 4973,   0,    1,    0,     0,  250,   1},
    {"UpDownTempSpeed1",  Bind::Byte, 4974,   0,    1,    0,     0,  250,   1},
    {"UpDownTempSpeed2",  Bind::Byte, 4975,   0,    1,    0,     0,  250,   1},
    {"UpDownTempSpeed3",  Bind::Byte, 4976,   0,    1,    0,     0,  250,   1},
    {"UpDownTempSpeed4",  Bind::Byte, 4977,   0,    1,    0,     0,  250,   1},
    {"UpDownTempSpeed5",  Bind::Byte, 4978,   0,    1,    0,     0,  250,   1},
    {"UpDownTempLevel1",  Bind::Byte, 4979,   0,    1,    0,     0,  250,   1,  50},
    {"UpDownTempLevel2",  Bind::Byte, 4980,   0,    1,    0,     0,  250,   1,  50},
    {"UpDownTempLevel3",  Bind::Byte, 4981,   0,    1,    0,     0,  250,   1,  50},
    {"UpDownTempLevel4",  Bind::Byte, 4982,   0,    1,    0,     0,  250,   1,  50},
    {"UpDownTempLevel5",  Bind::Byte, 4983,   0,    1,    0,     0,  250,   1,  50},
    {"UpDownTempLevel6",  Bind::Byte, 4984,   0,    1,    0,     0,  250,   1,  50},
    {"UpDownTempIP1",     Bind::Byte, 5008,   0,    5,    0,     0, 1000,   5},
    {"UpDownTempIP2",     Bind::Byte, 5009,   0,    5,    0,     0, 1000,   5},
    {"UpDownTempIP3",     Bind::Byte, 5010,   0,    5,    0,     0, 1000,   5},
    {"UpDownTempIP4",     Bind::Byte, 5011,   0,    5,    0,     0, 1000,   5},
    {"UpDownTempIP5",     Bind::Byte, 5012,   0,    5,    0,     0, 1000,   5},
};

constexpr CaptionRow kCruiseCaptions[] = {
    {"TabSheet_Tempomat",     {"Cruise control", "Tempomat", "Tempomat"}},
    {"LabelTempMaxDeviation", {"Max allowed deviation [% speed]", "Max. erlaubte Abweichung [% der Geschw.]",
                               "Max. povolená odchylka [% rychlosti]"}},
    {"LabelTempMaxISpeed",    {"Max I speed [%tps/s]", "Max. I-Geschwindigkeit [% Gas / s]",
                               "Max. rychlost I [% plynu / s]"}},
    {"LabelTempP",            {"P [%tps/km/h]", "P [% Gas / (km/h)]", "P [% plynu / (km/h)]"}},
    {"GroupBoxTempSet",       {"Tempomat settings", "Tempomat-Einstellungen", "Nastavení tempomatu"}},
    {"LabelTempSetKmH",       {"Speed [km/h]", "Geschw. [km/h]", "Rychlost [km/h]"}},
    {"LabelTempSetV",         {"Input [V]", "Eingang [V]", "Vstup [V]"}},
    {"LabelTempIP",           {"Initial proportion", "Anfangsanteil", "Počáteční podíl"}},
    {"LabelTempRow5",         {"Max", "Max", "Max"}},
    {"LabelTempRow6",         {"Tempomat off", "Tempomat aus", "Tempomat vypnut"}},
};
// clang-format on

void CruisePageCaptions(TPageForm& w)
{
    ApplyCaptions(w, kCruiseCaptions);
}

void StoreCruisePage(TPageForm& w)
{
    if (w.settingGuard == 0) StoreBindings(w, PAGE_CRUISE);
}

void ShowCruisePage(TPageForm& w)
{
    ShowBindings(w, PAGE_CRUISE);
    TempomatTabRule(w);
}

}  // namespace

void TempomatTabRule(TPageForm& w)
{
    if (TTabSheet* sheet = w.tabSheets[PAGE_CRUISE])
        sheet->SetTabVisible(w.images.image[kThrottleServoByte] != 0 &&
                             AnyInputHas(w.images.image, kInputCruiseControl));
}

extern const PageModule kCruisePage{
    .sheetName = "TabSheet_Tempomat",
    .caption = "Cruise control",
    .layout = kCruiseLayout,
    .bindings = kCruiseBindings,
    .store = StoreCruisePage,
    .show = ShowCruisePage,
    .captions = CruisePageCaptions,
};
