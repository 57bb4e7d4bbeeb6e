// The gear page: how the unit finds the engaged gear (a gear position sensor's voltage, the ratio of RPM to speed,
// ratios it learns by itself, or not at all), the per-gear values each way needs, the per-gear corrections, the
// speedometers, the speed output and neutral detection. While live data arrives the current gear's rows are marked,
// and the buttons beside the voltages and ratios take the measured value for their gear.
#include "pages/gearpage.h"

#include <string>

#include "os/lngtext.h"
#include "pages/commit.h"
#include "pages/creators.h"
#include "pages/modules.h"
#include "pages/pages.h"

namespace {

constexpr int kImageMethod = 4527;  // the tag of RadioGroupGearSystem
constexpr int kImageGears = 4528;
constexpr int kImageNeutral = 4878;
constexpr int kMethodVoltage = 0, kMethodRatio = 1, kMethodAutomatic = 2, kMethodNone = 3;
constexpr int kGears = 6;
constexpr int kNoGear = 255;
constexpr TColor kLiveMark = 0x00FF00;

// clang-format off
constexpr ControlRow kGearLayout[] = {
    // name                          kind                     parent                   left top width height caption
    {"RadioGroupGearSystem",         ControlKind::RadioGroup, "TabSheet_Gear",            8,   8, 416, 100, "Determining of gear"},
    {"LabelPocetGear",               ControlKind::Label,      "TabSheet_Gear",           16, 121, 190,  17, "Number of gears"},
    {"EditPocetGear",                ControlKind::Edit,       "TabSheet_Gear",          214, 118,  40,  21},
    {"UpDownPocetGear",              ControlKind::UpDown,     "TabSheet_Gear",            0,   0,  16,  21, {}, "EditPocetGear"},
    {"LabelTagInput2",               ControlKind::Label,      "TabSheet_Gear",          280, 121, 140,  17, "Multifunctional input 9"},

    // By gear sensor voltage: a row per gear, the capture buttons beside the group.
    {"GroupBoxNapetiProGear",        ControlKind::GroupBox,   "TabSheet_Gear",            8, 148, 206, 250, "Voltage of gears"},
    {"LabelGear0",                   ControlKind::Label,      "GroupBoxNapetiProGear",    8,  25,  14,  17, "0"},
    {"EditGearNapeti0",              ControlKind::Edit,       "GroupBoxNapetiProGear",   24,  22,  40,  21},
    {"UpDownGearNapeti0",            ControlKind::UpDown,     "GroupBoxNapetiProGear",    0,   0,  16,  21, {}, "EditGearNapeti0"},
    {"LabelGear1",                   ControlKind::Label,      "GroupBoxNapetiProGear",    8,  53,  14,  17, "1"},
    {"EditGearNapeti1",              ControlKind::Edit,       "GroupBoxNapetiProGear",   24,  50,  40,  21},
    {"UpDownGearNapeti1",            ControlKind::UpDown,     "GroupBoxNapetiProGear",    0,   0,  16,  21, {}, "EditGearNapeti1"},
    {"LabelGear2",                   ControlKind::Label,      "GroupBoxNapetiProGear",    8,  81,  14,  17, "2"},
    {"EditGearNapeti2",              ControlKind::Edit,       "GroupBoxNapetiProGear",   24,  78,  40,  21},
    {"UpDownGearNapeti2",            ControlKind::UpDown,     "GroupBoxNapetiProGear",    0,   0,  16,  21, {}, "EditGearNapeti2"},
    {"LabelGear3",                   ControlKind::Label,      "GroupBoxNapetiProGear",    8, 109,  14,  17, "3"},
    {"EditGearNapeti3",              ControlKind::Edit,       "GroupBoxNapetiProGear",   24, 106,  40,  21},
    {"UpDownGearNapeti3",            ControlKind::UpDown,     "GroupBoxNapetiProGear",    0,   0,  16,  21, {}, "EditGearNapeti3"},
    {"LabelGear4",                   ControlKind::Label,      "GroupBoxNapetiProGear",    8, 137,  14,  17, "4"},
    {"EditGearNapeti4",              ControlKind::Edit,       "GroupBoxNapetiProGear",   24, 134,  40,  21},
    {"UpDownGearNapeti4",            ControlKind::UpDown,     "GroupBoxNapetiProGear",    0,   0,  16,  21, {}, "EditGearNapeti4"},
    {"LabelGear5",                   ControlKind::Label,      "GroupBoxNapetiProGear",    8, 165,  14,  17, "5"},
    {"EditGearNapeti5",              ControlKind::Edit,       "GroupBoxNapetiProGear",   24, 162,  40,  21},
    {"UpDownGearNapeti5",            ControlKind::UpDown,     "GroupBoxNapetiProGear",    0,   0,  16,  21, {}, "EditGearNapeti5"},
    {"LabelGear6",                   ControlKind::Label,      "GroupBoxNapetiProGear",    8, 193,  14,  17, "6"},
    {"EditGearNapeti6",              ControlKind::Edit,       "GroupBoxNapetiProGear",   24, 190,  40,  21},
    {"UpDownGearNapeti6",            ControlKind::UpDown,     "GroupBoxNapetiProGear",    0,   0,  16,  21, {}, "EditGearNapeti6"},
    {"LabelGearNapetiUnit",          ControlKind::Label,      "GroupBoxNapetiProGear",   90,  25, 100,  17, "[mV]"},
    {"LabelMonGearNapeti",           ControlKind::Label,      "GroupBoxNapetiProGear",    8, 222, 190,  17, "---"},

    // By the ratio of RPM to speed, in the same place.
    {"GroupBoxRpmSpeedProGear",      ControlKind::GroupBox,   "TabSheet_Gear",            8, 148, 206, 250, "Ration Rpm/Speed"},
    {"LabelRpmSpeedColumn",          ControlKind::Label,      "GroupBoxRpmSpeedProGear", 24,  25, 170,  17, "Rpm/Speed x 10"},
    {"LabelPomerRpmSpeed1",          ControlKind::Label,      "GroupBoxRpmSpeedProGear",  8,  53,  14,  17, "1"},
    {"EditRpmSpeed1",                ControlKind::Edit,       "GroupBoxRpmSpeedProGear", 24,  50,  40,  21},
    {"UpDownRpmSpeed1",              ControlKind::UpDown,     "GroupBoxRpmSpeedProGear",  0,   0,  16,  21, {}, "EditRpmSpeed1"},
    {"LabelPomerRpmSpeed2",          ControlKind::Label,      "GroupBoxRpmSpeedProGear",  8,  81,  14,  17, "2"},
    {"EditRpmSpeed2",                ControlKind::Edit,       "GroupBoxRpmSpeedProGear", 24,  78,  40,  21},
    {"UpDownRpmSpeed2",              ControlKind::UpDown,     "GroupBoxRpmSpeedProGear",  0,   0,  16,  21, {}, "EditRpmSpeed2"},
    {"LabelPomerRpmSpeed3",          ControlKind::Label,      "GroupBoxRpmSpeedProGear",  8, 109,  14,  17, "3"},
    {"EditRpmSpeed3",                ControlKind::Edit,       "GroupBoxRpmSpeedProGear", 24, 106,  40,  21},
    {"UpDownRpmSpeed3",              ControlKind::UpDown,     "GroupBoxRpmSpeedProGear",  0,   0,  16,  21, {}, "EditRpmSpeed3"},
    {"LabelPomerRpmSpeed4",          ControlKind::Label,      "GroupBoxRpmSpeedProGear",  8, 137,  14,  17, "4"},
    {"EditRpmSpeed4",                ControlKind::Edit,       "GroupBoxRpmSpeedProGear", 24, 134,  40,  21},
    {"UpDownRpmSpeed4",              ControlKind::UpDown,     "GroupBoxRpmSpeedProGear",  0,   0,  16,  21, {}, "EditRpmSpeed4"},
    {"LabelPomerRpmSpeed5",          ControlKind::Label,      "GroupBoxRpmSpeedProGear",  8, 165,  14,  17, "5"},
    {"EditRpmSpeed5",                ControlKind::Edit,       "GroupBoxRpmSpeedProGear", 24, 162,  40,  21},
    {"UpDownRpmSpeed5",              ControlKind::UpDown,     "GroupBoxRpmSpeedProGear",  0,   0,  16,  21, {}, "EditRpmSpeed5"},
    {"LabelPomerRpmSpeed6",          ControlKind::Label,      "GroupBoxRpmSpeedProGear",  8, 193,  14,  17, "6"},
    {"EditRpmSpeed6",                ControlKind::Edit,       "GroupBoxRpmSpeedProGear", 24, 190,  40,  21},
    {"UpDownRpmSpeed6",              ControlKind::UpDown,     "GroupBoxRpmSpeedProGear",  0,   0,  16,  21, {}, "EditRpmSpeed6"},
    {"LabelMonPomerRpmSpeed",        ControlKind::Label,      "GroupBoxRpmSpeedProGear",  8, 222, 190,  17, "---"},

    // The capture buttons, on the rows of both groups.
    {"ButtonGear0",                  ControlKind::Button,     "TabSheet_Gear",          220, 167, 100,  23, "<- Gear 0"},
    {"ButtonGear1",                  ControlKind::Button,     "TabSheet_Gear",          220, 195, 100,  23, "<- Gear 1"},
    {"ButtonGear2",                  ControlKind::Button,     "TabSheet_Gear",          220, 223, 100,  23, "<- Gear 2"},
    {"ButtonGear3",                  ControlKind::Button,     "TabSheet_Gear",          220, 251, 100,  23, "<- Gear 3"},
    {"ButtonGear4",                  ControlKind::Button,     "TabSheet_Gear",          220, 279, 100,  23, "<- Gear 4"},
    {"ButtonGear5",                  ControlKind::Button,     "TabSheet_Gear",          220, 307, 100,  23, "<- Gear 5"},
    {"ButtonGear6",                  ControlKind::Button,     "TabSheet_Gear",          220, 335, 100,  23, "<- Gear 6"},

    // Learned ratios, in the same place.
    {"GroupBoxMonAutoGear",          ControlKind::GroupBox,   "TabSheet_Gear",            8, 148, 416, 250, "Automatic from ratio rpm speed"},
    {"LabelGearAutoTime",            ControlKind::Label,      "GroupBoxMonAutoGear",      8,  25, 120,  17, "Min Time [s]"},
    {"EditGearAutoTime",             ControlKind::Edit,       "GroupBoxMonAutoGear",    130,  22,  50,  21},
    {"UpDownGearAutoTime",           ControlKind::UpDown,     "GroupBoxMonAutoGear",      0,   0,  16,  21, {}, "EditGearAutoTime"},
    {"LabelGearAutoRpm",             ControlKind::Label,      "GroupBoxMonAutoGear",      8,  51, 120,  17, "Min RPM"},
    {"EditGearAutoRpm",              ControlKind::Edit,       "GroupBoxMonAutoGear",    130,  48,  50,  21},
    {"UpDownGearAutoRpm",            ControlKind::UpDown,     "GroupBoxMonAutoGear",      0,   0,  16,  21, {}, "EditGearAutoRpm"},
    {"LabelGearAutoTps",             ControlKind::Label,      "GroupBoxMonAutoGear",      8,  77, 120,  17, "Min TPS [%]"},
    {"EditGearAutoTps",              ControlKind::Edit,       "GroupBoxMonAutoGear",    130,  74,  50,  21},
    {"UpDownGearAutoTps",            ControlKind::UpDown,     "GroupBoxMonAutoGear",      0,   0,  16,  21, {}, "EditGearAutoTps"},
    {"LabelGearAutoBand",            ControlKind::Label,      "GroupBoxMonAutoGear",      8, 107, 120,  17, "Zone [%]"},
    {"EditGearAutoBand",             ControlKind::DeciEdit,   "GroupBoxMonAutoGear",    130, 104,  40,  21},
    {"UpDownGearAutoBand",           ControlKind::DeciUpDown, "GroupBoxMonAutoGear",      0,   0,  16,  21, {}, "EditGearAutoBand"},
    {"LabelMonGearAuto1",            ControlKind::Label,      "GroupBoxMonAutoGear",    230,  25,  20,  17, "1"},
    {"LabelMonPomerRpmSpeedAuto1",   ControlKind::Label,      "GroupBoxMonAutoGear",    256,  25, 140,  17, "---"},
    {"LabelMonGearAuto2",            ControlKind::Label,      "GroupBoxMonAutoGear",    230,  51,  20,  17, "2"},
    {"LabelMonPomerRpmSpeedAuto2",   ControlKind::Label,      "GroupBoxMonAutoGear",    256,  51, 140,  17, "---"},
    {"LabelMonGearAuto3",            ControlKind::Label,      "GroupBoxMonAutoGear",    230,  77,  20,  17, "3"},
    {"LabelMonPomerRpmSpeedAuto3",   ControlKind::Label,      "GroupBoxMonAutoGear",    256,  77, 140,  17, "---"},
    {"LabelMonGearAuto4",            ControlKind::Label,      "GroupBoxMonAutoGear",    230, 103,  20,  17, "4"},
    {"LabelMonPomerRpmSpeedAuto4",   ControlKind::Label,      "GroupBoxMonAutoGear",    256, 103, 140,  17, "---"},
    {"LabelMonGearAuto5",            ControlKind::Label,      "GroupBoxMonAutoGear",    230, 129,  20,  17, "5"},
    {"LabelMonPomerRpmSpeedAuto5",   ControlKind::Label,      "GroupBoxMonAutoGear",    256, 129, 140,  17, "---"},
    {"LabelMonGearAuto6",            ControlKind::Label,      "GroupBoxMonAutoGear",    230, 155,  20,  17, "6"},
    {"LabelMonPomerRpmSpeedAuto6",   ControlKind::Label,      "GroupBoxMonAutoGear",    256, 155, 140,  17, "---"},

    // Neutral by the gear sensor's voltage.
    {"GroupBoxNeutral",              ControlKind::GroupBox,   "TabSheet_Gear",            8, 406, 416, 112, "Setting Neutral"},
    {"CheckBoxNeutral",              ControlKind::CheckBox,   "GroupBoxNeutral",          8,  20, 300,  21, "Neutral detection (in.2)"},
    {"EditNeutralOn",                ControlKind::Edit,       "GroupBoxNeutral",         24,  46,  40,  21},
    {"UpDownNeutralOn",              ControlKind::UpDown,     "GroupBoxNeutral",          0,   0,  16,  21, {}, "EditNeutralOn"},
    {"LabelN0",                      ControlKind::Label,      "GroupBoxNeutral",         90,  49, 100,  17, "N [mV]"},
    {"EditNeutralOff",               ControlKind::Edit,       "GroupBoxNeutral",         24,  72,  40,  21},
    {"UpDownNeutralOff",             ControlKind::UpDown,     "GroupBoxNeutral",          0,   0,  16,  21, {}, "EditNeutralOff"},
    {"LabelN1",                      ControlKind::Label,      "GroupBoxNeutral",         90,  75, 100,  17, "no N [mV]"},
    {"LabelMonGearNapeti1",          ControlKind::Label,      "GroupBoxNeutral",        210,  49, 196,  17, "---"},

    // Corrections per gear: four columns at 15, 35, 55 and 75 % of the group's width.
    {"GroupBoxGearKor",              ControlKind::GroupBox,   "TabSheet_Gear",          436,   8, 416, 214, "Correction per gear"},
    {"LabelGearKorAdvance",          ControlKind::Label,      "GroupBoxGearKor",         62,  22,  80,  17, "Advance [°]"},
    {"LabelGearKorInjection",        ControlKind::Label,      "GroupBoxGearKor",        145,  22,  80,  17, "Injection [%]"},
    {"LabelGearKorAccTres",          ControlKind::Label,      "GroupBoxGearKor",        228,  22,  82,  17, "Acc. tres. [%]"},
    {"LabelGearKorRetard",           ControlKind::Label,      "GroupBoxGearKor",        312,  22,  80,  17, "Track [%]"},
#define GEAR_KOR_ROW(r, top, caption)                                                                                  \
    {"LabelGearKor" #r,              ControlKind::Label,      "GroupBoxGearKor",          8, top + 3, 50, 17, caption},     \
    {"EditGearKorAdv" #r,            ControlKind::Edit,       "GroupBoxGearKor",         62, top,  30,  21},            \
    {"UpDownGearKorAdv" #r,          ControlKind::UpDown,     "GroupBoxGearKor",          0,   0,  16,  21, {}, "EditGearKorAdv" #r}, \
    {"EditGearKorInj" #r,            ControlKind::Edit,       "GroupBoxGearKor",        145, top,  30,  21},            \
    {"UpDownGearKorInj" #r,          ControlKind::UpDown,     "GroupBoxGearKor",          0,   0,  16,  21, {}, "EditGearKorInj" #r}, \
    {"EditGearKorAcc" #r,            ControlKind::Edit,       "GroupBoxGearKor",        228, top,  30,  21},            \
    {"UpDownGearKorAcc" #r,          ControlKind::UpDown,     "GroupBoxGearKor",          0,   0,  16,  21, {}, "EditGearKorAcc" #r}, \
    {"EditGearKorTrack" #r,          ControlKind::Edit,       "GroupBoxGearKor",        312, top,  30,  21},            \
    {"UpDownGearKorTrack" #r,        ControlKind::UpDown,     "GroupBoxGearKor",          0,   0,  16,  21, {}, "EditGearKorTrack" #r}
    GEAR_KOR_ROW(1, 44, "0-1 "),
    GEAR_KOR_ROW(2, 71, "2"),
    GEAR_KOR_ROW(3, 98, "3"),
    GEAR_KOR_ROW(4, 125, "4"),
    GEAR_KOR_ROW(5, 152, "5"),
    GEAR_KOR_ROW(6, 179, "6"),
#undef GEAR_KOR_ROW

    // Speedometers, speed output and ODO.
    {"LabelSpeedRear",               ControlKind::Label,      "TabSheet_Gear",          440, 234, 300,  17, "Rear speedometer:"},
    {"RadioGroupRearMode",           ControlKind::RadioGroup, "TabSheet_Gear",          436, 252, 300,  62, ""},
    {"EditPulsuProRear",             ControlKind::Edit,       "TabSheet_Gear",          748, 272,  70,  21},
    {"UpDownPulsuProRear",           ControlKind::UpDown,     "TabSheet_Gear",            0,   0,  16,  21, {}, "EditPulsuProRear"},
    {"LabelSpeedFront",              ControlKind::Label,      "TabSheet_Gear",          440, 324, 300,  17, "Front speedometer:"},
    {"RadioGroupFrontMode",          ControlKind::RadioGroup, "TabSheet_Gear",          436, 342, 300,  62, ""},
    {"EditPulsuProFront",            ControlKind::Edit,       "TabSheet_Gear",          748, 362,  70,  21},
    {"UpDownPulsuProFront",          ControlKind::UpDown,     "TabSheet_Gear",            0,   0,  16,  21, {}, "EditPulsuProFront"},
    {"LabelSpeedOutCorrection",      ControlKind::Label,      "TabSheet_Gear",          440, 419, 300,  17, "Speed output correction:"},
    {"EditSpeedOutCorrection",       ControlKind::Edit,       "TabSheet_Gear",          748, 416,  70,  21},
    {"UpDownSpeedOutCorrection",     ControlKind::UpDown,     "TabSheet_Gear",            0,   0,  16,  21, {}, "EditSpeedOutCorrection"},
    {"LabelODO",                     ControlKind::Label,      "TabSheet_Gear",          440, 445, 300,  17, "ODO const:"},
    {"EditODO",                      ControlKind::Edit,       "TabSheet_Gear",          748, 442,  70,  21},
    {"UpDownODO",                    ControlKind::UpDown,     "TabSheet_Gear",            0,   0,  16,  21, {}, "EditODO"},
    {"CheckBoxUseGPSforQS",          ControlKind::CheckBox,   "TabSheet_Gear",          436, 474, 300,  21, "Use for Quickshift"},
};

#define GEAR_KOR_BINDINGS(r)                                                                                           \
    {"UpDownGearKorAdv" #r,   Bind::Byte, 4534 + r, 0, 1, -100, -20,  20, 1},                                         \
    {"UpDownGearKorInj" #r,   Bind::Byte, 4540 + r, 0, 1,    0,   0, 250, 1},                                         \
    {"UpDownGearKorAcc" #r,   Bind::Byte, 4546 + r, 0, 1,    0,   0, 250, 1},                                         \
    {"UpDownGearKorTrack" #r, Bind::Byte, 4552 + r, 0, 1,    0,   0, 250, 1}
constexpr FieldBinding kGearBindings[] = {
    // control                    kind            address index scale offset  min    max   incr divisor
    {"RadioGroupGearSystem",      Bind::RadioTag, kImageMethod},
    {"UpDownPocetGear",           Bind::Byte,     kImageGears, 0, 1,    0,     1,     6,   1},
    {"RadioGroupRearMode",        Bind::Radio,    4529},
    {"UpDownPulsuProRear",        Bind::Word,     1102,   0,     1,    0,     1, 32000,   1},
    {"RadioGroupFrontMode",       Bind::Radio,    4530},
    {"UpDownPulsuProFront",       Bind::Word,     1103,   0,     1,    0,     0, 32000,   1},
    {"UpDownSpeedOutCorrection",  Bind::Word,     1104,   0,     1,    0,     1, 65000,   1},
    {"UpDownODO",                 Bind::Word,     1138,   0,     1,    0,     1, 65000,   1},
    {"UpDownGearAutoTime",        Bind::Byte,     4531,   0,     1,    0,     1,   100,   1},
    {"UpDownGearAutoRpm",         Bind::Byte,     4532,   0,   100,    0,   300, 25000, 100},
    {"UpDownGearAutoTps",         Bind::Byte,     4533,   0,     1,    0,     0,   100,   1},
    {"UpDownGearAutoBand",        Bind::Byte,     4534,   0,     1,    0,     0,   100,   1,  10},
    {"CheckBoxNeutral",           Bind::Check,    kImageNeutral},
    {"UpDownNeutralOn",           Bind::Byte,     4879,   0,    20,    0,     0,  5000,  20},
    {"UpDownNeutralOff",          Bind::Byte,     4880,   0,    20,    0,     0,  5000,  20},
    {"CheckBoxUseGPSforQS",       Bind::Check,    5016},
    {"UpDownGearNapeti0",         Bind::Word,     1095,   0,     1,    0,     0,  5000,   1},
    {"UpDownGearNapeti1",         Bind::Word,     1096,   0,     1,    0,     0,  5000,   1},
    {"UpDownGearNapeti2",         Bind::Word,     1097,   0,     1,    0,     0,  5000,   1},
    {"UpDownGearNapeti3",         Bind::Word,     1098,   0,     1,    0,     0,  5000,   1},
    {"UpDownGearNapeti4",         Bind::Word,     1099,   0,     1,    0,     0,  5000,   1},
    {"UpDownGearNapeti5",         Bind::Word,     1100,   0,     1,    0,     0,  5000,   1},
    {"UpDownGearNapeti6",         Bind::Word,     1101,   0,     1,    0,     0,  5000,   1},
    {"UpDownRpmSpeed1",           Bind::Word,     1089,   0,     1,    0,     1, 32000,   1},
    {"UpDownRpmSpeed2",           Bind::Word,     1090,   0,     1,    0,     1, 32000,   1},
    {"UpDownRpmSpeed3",           Bind::Word,     1091,   0,     1,    0,     1, 32000,   1},
    {"UpDownRpmSpeed4",           Bind::Word,     1092,   0,     1,    0,     1, 32000,   1},
    {"UpDownRpmSpeed5",           Bind::Word,     1093,   0,     1,    0,     1, 32000,   1},
    {"UpDownRpmSpeed6",           Bind::Word,     1094,   0,     1,    0,     1, 32000,   1},
    GEAR_KOR_BINDINGS(1), GEAR_KOR_BINDINGS(2), GEAR_KOR_BINDINGS(3),
    GEAR_KOR_BINDINGS(4), GEAR_KOR_BINDINGS(5), GEAR_KOR_BINDINGS(6),
};
#undef GEAR_KOR_BINDINGS
// clang-format on

struct Caption
{
    std::string_view control;
    std::string_view text;  // "###English##German##Czech"
};
constexpr Caption kCaptions[] = {
    {"TabSheet_Gear", "###Gear##Gang##Převod"},
    {"LabelTagInput2", "###Multifunctional input 9##Multifunktionseingang 9##Multifunkční vstup 9"},
    {"CheckBoxUseGPSforQS", "###Use for Quickshift##Für Quickshift verwenden##Použít pro quickshift"},
    {"GroupBoxNapetiProGear", "###Voltage of gears##Spannung der Gänge##Napětí převodů"},
    {"LabelPocetGear", "###Number of gears##Anzahl der Gänge##Počet převodů"},
    {"GroupBoxRpmSpeedProGear", "###Ration Rpm/Speed##Proportion Rpm/Geschwindigkeit##Poměr Rpm/rychlost"},
    {"GroupBoxNeutral", "###Setting Neutral##Einstellung Leerlauf##Nastavení neutrálu"},
    {"CheckBoxNeutral", "###Neutral detection (in.2)##Leerlauferkennung (in.2)##Detekce neutrálu (vst.2)"},
    {"GroupBoxMonAutoGear", "###Automatic from ratio rpm speed##Automatisch aus Rpm/Geschwindigkeit##Automaticky z poměru rpm/rychlost"},
    {"LabelGearAutoTime", "###Min Time [s]##Min Zeit [s]##Min čas [s]"},
    {"LabelGearAutoRpm", "###Min RPM##Min RPM##Min RPM"},
    {"LabelGearAutoTps", "###Min TPS [%]##Min TPS [%]##Min TPS [%]"},
    {"LabelGearAutoBand", "###Zone [%]##Zone [%]##Pásmo [%]"},
    {"GroupBoxGearKor", "###Correction per gear##Korrektur je Gang##Korekce pro převod"},
    {"LabelGearKorAdvance", "###Advance [°]##Zündung [°]##Předstih [°]"},
    {"LabelGearKorInjection", "###Injection [%]##Einspr. [%]##Vstřik [%]"},
    {"LabelGearKorAccTres", "###Acc. tres. [%]##Beschl. [%]##Práh akc. [%]"},
    {"LabelGearKorRetard", "###Track [%]##Track [%]##Track [%]"},
    {"LabelSpeedFront", "###Front speedometer:##Vorderer Tachometer:##Přední tachometr:"},
    {"LabelSpeedRear", "###Rear speedometer:##Hinterer Tachometer:##Zadní tachometr:"},
    {"LabelSpeedOutCorrection", "###Speed output correction:##Korrektur Geschwindigkeitsausgang:##Korekce výstupu rychlosti:"},
    {"LabelODO", "###ODO const:##ODO Konst.:##ODO konst.:"},
    {"LabelRpmSpeedColumn", "###Rpm/Speed x 10##Rpm/Geschwindigkeit x 10##Rpm/rychlost x 10"},
};
constexpr std::string_view kSpeedModeItems[] = {
    "###Pulse over 1s for 100 km/h##Impulse in 1 s bei 100 km/h##Pulzů za 1 s při 100 km/h",
    "###Distance for pulse [mm]##Weg je Impuls [mm]##Vzdálenost na pulz [mm]",
};
struct TaggedText
{
    std::string_view text;
    int tag;
};
constexpr TaggedText kMethods[] = {
    {"###No##Keine##Není", kMethodNone},
    {"###Gear position sensor (in.2)##Gangstellungssensor (in.2)##Sensor převodového stupně (vst.2)", kMethodVoltage},
    {"###Ration Rpm/Speed##Proportion Rpm/Geschwindigkeit##Poměr Rpm/rychlost", kMethodRatio},
    {"###Automatic ratio Rpm/Speed##Automatisch aus Rpm/Geschwindigkeit##Automaticky poměr RPM/rychlost", kMethodAutomatic},
};
constexpr std::string_view kGearWord = "###Gear##Gang##Převod";

template <class T>
T* control(const TPageForm& w, std::string_view name)
{
    return FindControl<T>(w, name);
}

std::string numbered(std::string_view stem, int n)
{
    return std::string(stem) + std::to_string(n);
}

void show(TPageForm& w, std::string_view name, bool shown)
{
    if (auto* c = control<TControl>(w, name)) c->SetVisible(shown);
}

void showPair(TPageForm& w, std::string_view stem, int n, bool shown)
{
    show(w, numbered("Edit" + std::string(stem), n), shown);
    show(w, numbered("UpDown" + std::string(stem), n), shown);
}

void mark(TPageForm& w, std::string_view name, bool marked, TColor plain)
{
    if (auto* c = control<TControl>(w, name)) c->SetColor(marked ? kLiveMark : plain);
}

void BuildGearPage(TPageForm& w)
{
    for (int g = 0; g <= kGears; ++g)
        if (auto* button = control<TButton>(w, numbered("ButtonGear", g)))
            button->OnClick = [&w, g](TObject*) { CaptureGearValue(w, g); };
    GearPageCaptions(w);
}

void StoreGearPage(TPageForm& w)
{
    if (w.settingGuard != 0) return;
    StoreBindings(w, PAGE_GEAR);
    GearPageLayout(w);
}

void ShowGearPage(TPageForm& w)
{
    ShowBindings(w, PAGE_GEAR);
    GearPageLayout(w);
}

void CaptionsOfGearPage(TPageForm& w)
{
    GearPageCaptions(w);
}

}  // namespace

void GearPageCaptions(TPageForm& w)
{
    for (const Caption& row : kCaptions)
        if (auto* c = control<TControl>(w, row.control)) c->SetCaption(GetLngText(row.text));
    for (std::string_view name : {"RadioGroupRearMode", "RadioGroupFrontMode"})
        if (auto* group = control<TRadioGroup>(w, name)) {
            std::vector<std::string> items;
            for (std::string_view item : kSpeedModeItems) items.emplace_back(GetLngText(item));
            group->SetItems(items);
        }
    for (int g = 0; g <= kGears; ++g)
        if (auto* button = control<TButton>(w, numbered("ButtonGear", g)))
            button->SetCaption("<- " + std::string(GetLngText(kGearWord)) + " " + std::to_string(g));
    auto* method = control<TRadioGroup>(w, "RadioGroupGearSystem");
    if (!method) return;
    const SettingGuard guard(w);
    ClearRadioItems(method);
    method->SetCaption(GetLngText("###Determining of gear##Gangbestimmung##Určení převodového stupně"));
    for (const TaggedText& item : kMethods) AddRadioItem(method, GetLngText(item.text), item.tag);
    ShowRadioTag(w, method, kImageMethod, 0);
}

void GearPageLayout(TPageForm& w)
{
    const Image& image = w.images.image;
    const int m = image[kImageMethod];
    const int n = image[kImageGears];
    show(w, "GroupBoxNapetiProGear", m == kMethodVoltage);
    show(w, "GroupBoxRpmSpeedProGear", m == kMethodRatio);
    show(w, "GroupBoxMonAutoGear", m == kMethodAutomatic);
    show(w, "GroupBoxNeutral", m == kMethodRatio || m == kMethodAutomatic);
    show(w, "LabelMonPomerRpmSpeed", m == kMethodRatio || m == kMethodAutomatic);
    show(w, "LabelPocetGear", m != kMethodNone);
    show(w, "EditPocetGear", m != kMethodNone);
    show(w, "UpDownPocetGear", m != kMethodNone);
    show(w, "LabelTagInput2", false);
    show(w, "CheckBoxUseGPSforQS", false);
    const bool neutral = image[kImageNeutral] != 0;
    for (std::string_view name : {"EditNeutralOn", "UpDownNeutralOn", "LabelN0", "EditNeutralOff", "UpDownNeutralOff", "LabelN1"})
        if (auto* c = control<TControl>(w, name)) c->SetEnabled(neutral);
    for (int g = 0; g <= kGears; ++g) {
        const bool row = g <= 1 || (n >= g && m != kMethodNone);
        showPair(w, "GearNapeti", g, row);
        show(w, numbered("LabelGear", g), g <= 1 || n >= g);
        show(w, numbered("ButtonGear", g), (m == kMethodVoltage || m == kMethodRatio) && (g <= 1 || n >= g));
        if (g == 0) continue;
        showPair(w, "RpmSpeed", g, row);
        show(w, numbered("LabelPomerRpmSpeed", g), g == 1 || n >= g);
        show(w, numbered("LabelMonGearAuto", g), g == 1 || n >= g);
        show(w, numbered("LabelMonPomerRpmSpeedAuto", g), g == 1 || n >= g);
        // Correction row 1 serves gears 0 and 1; its pairs always show.
        const bool korRow = g == 1 || (n >= g && m != kMethodNone);
        show(w, numbered("LabelGearKor", g), g == 1 ? m != kMethodNone : korRow);
        for (std::string_view stem : {"GearKorAdv", "GearKorInj", "GearKorAcc", "GearKorTrack"}) showPair(w, stem, g, korRow);
    }
}

void CaptureGearValue(TPageForm& w, int gear)
{
    const int m = w.images.image[kImageMethod];
    TUpDown* pair = nullptr;
    if (m == kMethodVoltage)
        pair = control<TUpDown>(w, numbered("UpDownGearNapeti", gear));
    else if (m == kMethodRatio && gear >= 1)
        pair = control<TUpDown>(w, numbered("UpDownRpmSpeed", gear));
    else if (m == kMethodRatio)
        return;  // no ratio for neutral: nothing to take, nothing to commit
    if (pair) SetControlQuiet(w, pair, m == kMethodVoltage ? w.liveValues.gearVoltage : w.liveValues.gearRatio);
    CommitChangeNow(w);
}

void GearPageTick(TPageForm& w)
{
    const bool live = w.pageHooks.hasLiveData && w.pageHooks.hasLiveData();
    const int m = w.images.image[kImageMethod];
    const int gear = w.liveValues.gear;
    for (int g = 0; g <= kGears; ++g) {
        const bool voltage = live && m == kMethodVoltage && g == gear;
        mark(w, numbered("EditGearNapeti", g), voltage, clWindow);
        mark(w, numbered("LabelGear", g), voltage, clBtnFace);
        if (auto* button = control<TButton>(w, numbered("ButtonGear", g)))
            button->SetFontBold(live && g == gear && (g == 0 ? m == kMethodVoltage : m == kMethodVoltage || m == kMethodRatio));
        if (g == 0) continue;
        const bool ratio = live && m == kMethodRatio && g == gear;
        mark(w, numbered("EditRpmSpeed", g), ratio, clWindow);
        mark(w, numbered("LabelPomerRpmSpeed", g), ratio, clBtnFace);
        const bool automatic = live && m == kMethodAutomatic && g == gear;
        mark(w, numbered("LabelMonPomerRpmSpeedAuto", g), automatic, clBtnFace);
        mark(w, numbered("LabelMonGearAuto", g), automatic, clBtnFace);
    }
    // Correction row 1 serves gears 0 and 1 (and an unknown gear).
    const int row = !live ? 0 : (gear == 0 || gear == kNoGear) ? 1 : gear;
    for (int r = 1; r <= kGears; ++r) {
        for (std::string_view stem : {"EditGearKorAdv", "EditGearKorInj", "EditGearKorAcc", "EditGearKorTrack"})
            mark(w, numbered(stem, r), r == row, clWindow);
        mark(w, numbered("LabelGearKor", r), r == row, clBtnFace);
    }
}

extern const PageModule kGearPage{.sheetName = "TabSheet_Gear",
                                  .caption = "Gear",
                                  .layout = kGearLayout,
                                  .bindings = kGearBindings,
                                  .build = BuildGearPage,
                                  .store = StoreGearPage,
                                  .show = ShowGearPage,
                                  .captions = CaptionsOfGearPage,
                                  .tick = GearPageTick};
