// The synchronisation page: how the unit finds the crankshaft position. The trigger pattern of synchronisation 1,
// what gives synchronisation 2, the ignitions per revolution, the lobes of each ignition channel, the hunting
// detector and the free special synchronisation of up to five conditions. Its settings can be changed only while
// the bike page's special setting is on.
#include "pages/syncpage.h"

#include <string>

#include "os/lngtext.h"
#include "pages/captions.h"
#include "pages/creators.h"
#include "pages/modules.h"
#include "pages/pages.h"
#include "pages/sensorspage.h"
#include "settings/newbike.h"

namespace {

constexpr int kSpecialSettingByte = 2501;  // the bike page's special setting
constexpr int kLobeCountByte = 2683;
constexpr int kMaxStartModeByte = 2695;  // the maximum/start-advance version
constexpr int kConditionCountByte = 2733;
constexpr int kApSensorOffByte = 4053;
constexpr int kSynchro1OneLobe = 5;
constexpr int kSynchro2Cam = 1;
constexpr int kLobeMax = 58;

// Three columns of rows: label, then edit and up-down; labels 3 px lower than their edits.
// clang-format off
constexpr ControlRow kSyncLayout[] = {
    // name                      kind                    parent                   left  top width height caption
    {"GroupBoxSynchro",          ControlKind::GroupBox,   "TabSheet_Synchro",         8,   8, 424, 352, "Setting of synchronization"},
    {"LabelSyncInfo1",           ControlKind::Label,      "GroupBoxSynchro",         12,  20, 400, 17, "Synchro 1: ---"},
    {"ComboBoxSynchro1",         ControlKind::ComboBox,   "GroupBoxSynchro",         12,  37, 400, 23},
    {"LabelSyncInfo2",           ControlKind::Label,      "GroupBoxSynchro",         12,  63, 400, 17, "Synchro 2: ---"},
    {"ComboBoxSynchro2",         ControlKind::ComboBox,   "GroupBoxSynchro",         12,  80, 400, 23},
    {"ComboBoxNasobekPalcu",     ControlKind::ComboBox,   "GroupBoxSynchro",         12, 108, 400, 23},
    {"LabelPocPalcu",            ControlKind::Label,      "GroupBoxSynchro",         12, 139, 290, 17, "Number of lobes"},
    {"EditPocPalcu",             ControlKind::Edit,       "GroupBoxSynchro",        310, 136,  80, 21},
    {"UpDownPocPalcu",           ControlKind::UpDown,     "GroupBoxSynchro",          0,   0,  16, 21, {}, "EditPocPalcu"},
    {"LabelVynechPalcu",         ControlKind::Label,      "GroupBoxSynchro",         12, 163, 290, 17, "Number of missing lobes"},
    {"EditVynechPalcu",          ControlKind::Edit,       "GroupBoxSynchro",        310, 160,  80, 21},
    {"UpDownVynechPalcu",        ControlKind::UpDown,     "GroupBoxSynchro",          0,   0,  16, 21, {}, "EditVynechPalcu"},
    {"LabelPosunPalcu",          ControlKind::Label,      "GroupBoxSynchro",         12, 187, 290, 17, "Number of shifted lobes"},
    {"EditPosunPalcu",           ControlKind::Edit,       "GroupBoxSynchro",        310, 184,  80, 21},
    {"UpDownPosunPalcu",         ControlKind::UpDown,     "GroupBoxSynchro",          0,   0,  16, 21, {}, "EditPosunPalcu"},
    {"LabelPredaniHodnot",       ControlKind::Label,      "GroupBoxSynchro",         12, 211, 290, 17, "Lobe of value aquisition"},
    {"EditPredaniHodnot",        ControlKind::Edit,       "GroupBoxSynchro",        310, 208,  80, 21},
    {"UpDownPredaniHodnot",      ControlKind::UpDown,     "GroupBoxSynchro",          0,   0,  16, 21, {}, "EditPredaniHodnot"},
    {"LabelSynchroMaxRpm",       ControlKind::Label,      "GroupBoxSynchro",         12, 235, 290, 17, "Synchro max rpm [rpm]"},
    {"EditSynchroMaxRpm",        ControlKind::Edit,       "GroupBoxSynchro",        310, 232,  80, 21},
    {"UpDownSynchroMaxRpm",      ControlKind::UpDown,     "GroupBoxSynchro",          0,   0,  16, 21, {}, "EditSynchroMaxRpm"},
    {"CheckBoxInvInputKlika",    ControlKind::CheckBox,   "GroupBoxSynchro",         12, 258, 200, 21, "Inverse crankshaft polarity"},
    {"CheckBoxInvInputVacka",    ControlKind::CheckBox,   "GroupBoxSynchro",        214, 258, 198, 21, "Inverse camshaft polarity"},
    {"CheckBoxKazdy2Vstrik",     ControlKind::CheckBox,   "GroupBoxSynchro",         12, 280, 200, 21, "Omission every 2nd injection"},
    {"CheckBoxIgnPoSynchro1",    ControlKind::CheckBox,   "GroupBoxSynchro",        214, 280, 198, 21, "Spark after synchro 1"},
    {"CheckBoxIgnEveryTurn",     ControlKind::CheckBox,   "GroupBoxSynchro",         12, 302, 200, 21, "Ignition every turn"},
    {"CheckBoxZamenaPickup",     ControlKind::CheckBox,   "GroupBoxSynchro",         12, 324, 400, 21, "Pickups interchange (pin 1 a 19)"},
    {"GroupBoxKyvani",           ControlKind::GroupBox,   "TabSheet_Synchro",         8, 366, 424, 228, "Hunting"},
    {"RadioGroupKyvaniPodminka", ControlKind::RadioGroup, "GroupBoxKyvani",          12,  20, 196, 58, "Central section"},
    {"RadioGroupKyvOtVyst",      ControlKind::RadioGroup, "GroupBoxKyvani",         216,  20, 196, 58, "Revolutin by compliance"},
    {"LabelKyvaniFaze1",         ControlKind::Label,      "GroupBoxKyvani",          12,  89, 150, 17, "Traced sections"},
    {"EditKyvaniFaze1",          ControlKind::Edit,       "GroupBoxKyvani",         170,  86,  44, 21},
    {"UpDownKyvaniFaze1",        ControlKind::UpDown,     "GroupBoxKyvani",           0,   0,  16, 21, {}, "EditKyvaniFaze1"},
    {"EditKyvaniFaze2",          ControlKind::Edit,       "GroupBoxKyvani",         238,  86,  44, 21},
    {"UpDownKyvaniFaze2",        ControlKind::UpDown,     "GroupBoxKyvani",           0,   0,  16, 21, {}, "EditKyvaniFaze2"},
    {"EditKyvaniFaze3",          ControlKind::Edit,       "GroupBoxKyvani",         306,  86,  44, 21},
    {"UpDownKyvaniFaze3",        ControlKind::UpDown,     "GroupBoxKyvani",           0,   0,  16, 21, {}, "EditKyvaniFaze3"},
    {"LabelPredchoziOtacka",     ControlKind::Label,      "GroupBoxKyvani",          12, 114, 150, 17, "Previous revolution"},
    {"CheckBoxKyvaniOtackaF1",   ControlKind::CheckBox,   "GroupBoxKyvani",         184, 113,  20, 19},
    {"CheckBoxKyvaniOtackaF2",   ControlKind::CheckBox,   "GroupBoxKyvani",         252, 113,  20, 19},
    {"CheckBoxKyvaniOtackaF3",   ControlKind::CheckBox,   "GroupBoxKyvani",         320, 113,  20, 19},
    {"LabelKyvaniMinRpm",        ControlKind::Label,      "GroupBoxKyvani",          12, 141, 290, 17, "Min Rpm"},
    {"EditKyvaniMinRpm",         ControlKind::Edit,       "GroupBoxKyvani",         310, 138,  80, 21},
    {"UpDownKyvaniMinRpm",       ControlKind::UpDown,     "GroupBoxKyvani",           0,   0,  16, 21, {}, "EditKyvaniMinRpm"},
    {"LabelKyvaniPocOtacek",     ControlKind::Label,      "GroupBoxKyvani",          12, 167, 290, 17, "Number of revolution min"},
    {"EditKyvaniPocOtacek",      ControlKind::Edit,       "GroupBoxKyvani",         310, 164,  80, 21},
    {"UpDownKyvaniPocOtacek",    ControlKind::UpDown,     "GroupBoxKyvani",           0,   0,  16, 21, {}, "EditKyvaniPocOtacek"},
    {"RadioGroupKyvSrc",         ControlKind::RadioGroup, "GroupBoxKyvani",          12, 190, 400, 34, "Source"},
    {"GroupBoxSKanaly",          ControlKind::GroupBox,   "TabSheet_Synchro",       440,   8, 412, 278, "Channels"},
    {"LabelPocKanOut",           ControlKind::Label,      "GroupBoxSKanaly",         12,  27, 180, 17, "Number of cylinders"},
    {"EditPocKanOut",            ControlKind::Edit,       "GroupBoxSKanaly",        196,  24,  40, 21},
    {"UpDownPocKanOut",          ControlKind::UpDown,     "GroupBoxSKanaly",          0,   0,  16, 21, {}, "EditPocKanOut"},
    {"CheckBoxPalceMode",        ControlKind::CheckBox,   "GroupBoxSKanaly",         12,  50, 392, 21, "Version max-start advance"},
    {"LabelLobe",                ControlKind::Label,      "GroupBoxSKanaly",        196,  78,  60, 17, "lobe"},
    {"LabelHrana2",              ControlKind::Label,      "GroupBoxSKanaly",        262,  78,  66, 17, "2nd Edge"},
    {"LabelSnimac2",             ControlKind::Label,      "GroupBoxSKanaly",        332,  78,  72, 17, "2nd Pick-up"},
    {"LabelTop1",                ControlKind::Label,      "GroupBoxSKanaly",         12,  99, 180, 17, "Start advance 1"},
    {"EditTop1",                 ControlKind::Edit,       "GroupBoxSKanaly",        196,  96,  40, 21},
    {"UpDownTop1",               ControlKind::UpDown,     "GroupBoxSKanaly",          0,   0,  16, 21, {}, "EditTop1"},
    {"CheckBoxPalec1EndH2",      ControlKind::CheckBox,   "GroupBoxSKanaly",        287,  97,  20, 19},
    {"CheckBoxPalec1EndP2",      ControlKind::CheckBox,   "GroupBoxSKanaly",        360,  97,  20, 19},
    {"LabelTop2",                ControlKind::Label,      "GroupBoxSKanaly",         12, 121, 180, 17, "Start advance 2"},
    {"EditTop2",                 ControlKind::Edit,       "GroupBoxSKanaly",        196, 118,  40, 21},
    {"UpDownTop2",               ControlKind::UpDown,     "GroupBoxSKanaly",          0,   0,  16, 21, {}, "EditTop2"},
    {"CheckBoxPalec2EndH2",      ControlKind::CheckBox,   "GroupBoxSKanaly",        287, 119,  20, 19},
    {"CheckBoxPalec2EndP2",      ControlKind::CheckBox,   "GroupBoxSKanaly",        360, 119,  20, 19},
    {"LabelTop3",                ControlKind::Label,      "GroupBoxSKanaly",         12, 143, 180, 17, "Start advance 3"},
    {"EditTop3",                 ControlKind::Edit,       "GroupBoxSKanaly",        196, 140,  40, 21},
    {"UpDownTop3",               ControlKind::UpDown,     "GroupBoxSKanaly",          0,   0,  16, 21, {}, "EditTop3"},
    {"CheckBoxPalec3EndH2",      ControlKind::CheckBox,   "GroupBoxSKanaly",        287, 141,  20, 19},
    {"CheckBoxPalec3EndP2",      ControlKind::CheckBox,   "GroupBoxSKanaly",        360, 141,  20, 19},
    {"LabelTop4",                ControlKind::Label,      "GroupBoxSKanaly",         12, 165, 180, 17, "Start advance 4"},
    {"EditTop4",                 ControlKind::Edit,       "GroupBoxSKanaly",        196, 162,  40, 21},
    {"UpDownTop4",               ControlKind::UpDown,     "GroupBoxSKanaly",          0,   0,  16, 21, {}, "EditTop4"},
    {"CheckBoxPalec4EndH2",      ControlKind::CheckBox,   "GroupBoxSKanaly",        287, 163,  20, 19},
    {"CheckBoxPalec4EndP2",      ControlKind::CheckBox,   "GroupBoxSKanaly",        360, 163,  20, 19},
    {"LabelPalec1Zac",           ControlKind::Label,      "GroupBoxSKanaly",         12, 187, 180, 17, "Maximum advance 1"},
    {"EditPalec1Zac",            ControlKind::Edit,       "GroupBoxSKanaly",        196, 184,  40, 21},
    {"UpDownPalec1Zac",          ControlKind::UpDown,     "GroupBoxSKanaly",          0,   0,  16, 21, {}, "EditPalec1Zac"},
    {"CheckBoxPalec1ZacH2",      ControlKind::CheckBox,   "GroupBoxSKanaly",        287, 185,  20, 19},
    {"CheckBoxPalec1ZacP2",      ControlKind::CheckBox,   "GroupBoxSKanaly",        360, 185,  20, 19},
    {"LabelPalec2Zac",           ControlKind::Label,      "GroupBoxSKanaly",         12, 209, 180, 17, "Maximum advance 2"},
    {"EditPalec2Zac",            ControlKind::Edit,       "GroupBoxSKanaly",        196, 206,  40, 21},
    {"UpDownPalec2Zac",          ControlKind::UpDown,     "GroupBoxSKanaly",          0,   0,  16, 21, {}, "EditPalec2Zac"},
    {"CheckBoxPalec2ZacH2",      ControlKind::CheckBox,   "GroupBoxSKanaly",        287, 207,  20, 19},
    {"CheckBoxPalec2ZacP2",      ControlKind::CheckBox,   "GroupBoxSKanaly",        360, 207,  20, 19},
    {"LabelPalec3Zac",           ControlKind::Label,      "GroupBoxSKanaly",         12, 231, 180, 17, "Maximum advance 3"},
    {"EditPalec3Zac",            ControlKind::Edit,       "GroupBoxSKanaly",        196, 228,  40, 21},
    {"UpDownPalec3Zac",          ControlKind::UpDown,     "GroupBoxSKanaly",          0,   0,  16, 21, {}, "EditPalec3Zac"},
    {"CheckBoxPalec3ZacH2",      ControlKind::CheckBox,   "GroupBoxSKanaly",        287, 229,  20, 19},
    {"CheckBoxPalec3ZacP2",      ControlKind::CheckBox,   "GroupBoxSKanaly",        360, 229,  20, 19},
    {"LabelPalec4Zac",           ControlKind::Label,      "GroupBoxSKanaly",         12, 253, 180, 17, "Maximum advance 4"},
    {"EditPalec4Zac",            ControlKind::Edit,       "GroupBoxSKanaly",        196, 250,  40, 21},
    {"UpDownPalec4Zac",          ControlKind::UpDown,     "GroupBoxSKanaly",          0,   0,  16, 21, {}, "EditPalec4Zac"},
    {"CheckBoxPalec4ZacH2",      ControlKind::CheckBox,   "GroupBoxSKanaly",        287, 251,  20, 19},
    {"CheckBoxPalec4ZacP2",      ControlKind::CheckBox,   "GroupBoxSKanaly",        360, 251,  20, 19},
    {"GroupBoxSynchroSpecial",   ControlKind::GroupBox,   "TabSheet_Synchro",       440, 292, 412, 302, "Synchro 1 special"},
    {"RadioGroupSyn1SpHrana",    ControlKind::RadioGroup, "GroupBoxSynchroSpecial",  12,  20, 190, 58, "Evaluation edge"},
    {"RadioGroupSyn1SpPocetH",   ControlKind::RadioGroup, "GroupBoxSynchroSpecial", 210,  20, 190, 58, "Traced sections number"},
    {"LabelSyn1SpPocPodm",       ControlKind::Label,      "GroupBoxSynchroSpecial",  12,  89, 270, 17, "Number of condition"},
    {"EditSyn1SpPocPodm",        ControlKind::Edit,       "GroupBoxSynchroSpecial", 290,  86,  44, 21},
    {"UpDownSyn1SpPocPodm",      ControlKind::UpDown,     "GroupBoxSynchroSpecial",   0,   0,  16, 21, {}, "EditSyn1SpPocPodm"},
    {"LabelSyn1SpFazeOut",       ControlKind::Label,      "GroupBoxSynchroSpecial",  12, 115, 270, 17, "Lobe by compliance"},
    {"EditSyn1SpFazeOut",        ControlKind::Edit,       "GroupBoxSynchroSpecial", 290, 112,  44, 21},
    {"UpDownSyn1SpFazeOut",      ControlKind::UpDown,     "GroupBoxSynchroSpecial",   0,   0,  16, 21, {}, "EditSyn1SpFazeOut"},
    {"LabelKoef1",               ControlKind::Label,      "GroupBoxSynchroSpecial",  12, 142,  76, 17, "Coeff"},
    {"LabelFaze1",               ControlKind::Label,      "GroupBoxSynchroSpecial", 100, 142,  76, 17, "Phase"},
    {"LabelKoef2",               ControlKind::Label,      "GroupBoxSynchroSpecial", 212, 142,  76, 17, "Coeff"},
    {"LabelFaze2",               ControlKind::Label,      "GroupBoxSynchroSpecial", 300, 142,  76, 17, "Phase"},
    {"EditSyn1SpKoef11",         ControlKind::Edit,       "GroupBoxSynchroSpecial",  12, 160,  40, 21},
    {"UpDownSyn1SpKoef11",       ControlKind::UpDown,     "GroupBoxSynchroSpecial",   0,   0,  16, 21, {}, "EditSyn1SpKoef11"},
    {"LabelSyn1SpK11",           ControlKind::Label,      "GroupBoxSynchroSpecial",  74, 163,  14, 17, "*"},
    {"EditSyn1SpFaze11",         ControlKind::Edit,       "GroupBoxSynchroSpecial", 100, 160,  40, 21},
    {"UpDownSyn1SpFaze11",       ControlKind::UpDown,     "GroupBoxSynchroSpecial",   0,   0,  16, 21, {}, "EditSyn1SpFaze11"},
    {"LabelSyn1SpN1",            ControlKind::Label,      "GroupBoxSynchroSpecial", 176, 163,  14, 17, "<"},
    {"EditSyn1SpKoef12",         ControlKind::Edit,       "GroupBoxSynchroSpecial", 212, 160,  40, 21},
    {"UpDownSyn1SpKoef12",       ControlKind::UpDown,     "GroupBoxSynchroSpecial",   0,   0,  16, 21, {}, "EditSyn1SpKoef12"},
    {"LabelSyn1SpK12",           ControlKind::Label,      "GroupBoxSynchroSpecial", 274, 163,  14, 17, "*"},
    {"EditSyn1SpFaze12",         ControlKind::Edit,       "GroupBoxSynchroSpecial", 300, 160,  40, 21},
    {"UpDownSyn1SpFaze12",       ControlKind::UpDown,     "GroupBoxSynchroSpecial",   0,   0,  16, 21, {}, "EditSyn1SpFaze12"},
    {"EditSyn1SpKoef21",         ControlKind::Edit,       "GroupBoxSynchroSpecial",  12, 186,  40, 21},
    {"UpDownSyn1SpKoef21",       ControlKind::UpDown,     "GroupBoxSynchroSpecial",   0,   0,  16, 21, {}, "EditSyn1SpKoef21"},
    {"LabelSyn1SpK21",           ControlKind::Label,      "GroupBoxSynchroSpecial",  74, 189,  14, 17, "*"},
    {"EditSyn1SpFaze21",         ControlKind::Edit,       "GroupBoxSynchroSpecial", 100, 186,  40, 21},
    {"UpDownSyn1SpFaze21",       ControlKind::UpDown,     "GroupBoxSynchroSpecial",   0,   0,  16, 21, {}, "EditSyn1SpFaze21"},
    {"LabelSyn1SpN2",            ControlKind::Label,      "GroupBoxSynchroSpecial", 176, 189,  14, 17, "<"},
    {"EditSyn1SpKoef22",         ControlKind::Edit,       "GroupBoxSynchroSpecial", 212, 186,  40, 21},
    {"UpDownSyn1SpKoef22",       ControlKind::UpDown,     "GroupBoxSynchroSpecial",   0,   0,  16, 21, {}, "EditSyn1SpKoef22"},
    {"LabelSyn1SpK22",           ControlKind::Label,      "GroupBoxSynchroSpecial", 274, 189,  14, 17, "*"},
    {"EditSyn1SpFaze22",         ControlKind::Edit,       "GroupBoxSynchroSpecial", 300, 186,  40, 21},
    {"UpDownSyn1SpFaze22",       ControlKind::UpDown,     "GroupBoxSynchroSpecial",   0,   0,  16, 21, {}, "EditSyn1SpFaze22"},
    {"EditSyn1SpKoef31",         ControlKind::Edit,       "GroupBoxSynchroSpecial",  12, 212,  40, 21},
    {"UpDownSyn1SpKoef31",       ControlKind::UpDown,     "GroupBoxSynchroSpecial",   0,   0,  16, 21, {}, "EditSyn1SpKoef31"},
    {"LabelSyn1SpK31",           ControlKind::Label,      "GroupBoxSynchroSpecial",  74, 215,  14, 17, "*"},
    {"EditSyn1SpFaze31",         ControlKind::Edit,       "GroupBoxSynchroSpecial", 100, 212,  40, 21},
    {"UpDownSyn1SpFaze31",       ControlKind::UpDown,     "GroupBoxSynchroSpecial",   0,   0,  16, 21, {}, "EditSyn1SpFaze31"},
    {"LabelSyn1SpN3",            ControlKind::Label,      "GroupBoxSynchroSpecial", 176, 215,  14, 17, "<"},
    {"EditSyn1SpKoef32",         ControlKind::Edit,       "GroupBoxSynchroSpecial", 212, 212,  40, 21},
    {"UpDownSyn1SpKoef32",       ControlKind::UpDown,     "GroupBoxSynchroSpecial",   0,   0,  16, 21, {}, "EditSyn1SpKoef32"},
    {"LabelSyn1SpK32",           ControlKind::Label,      "GroupBoxSynchroSpecial", 274, 215,  14, 17, "*"},
    {"EditSyn1SpFaze32",         ControlKind::Edit,       "GroupBoxSynchroSpecial", 300, 212,  40, 21},
    {"UpDownSyn1SpFaze32",       ControlKind::UpDown,     "GroupBoxSynchroSpecial",   0,   0,  16, 21, {}, "EditSyn1SpFaze32"},
    {"EditSyn1SpKoef41",         ControlKind::Edit,       "GroupBoxSynchroSpecial",  12, 238,  40, 21},
    {"UpDownSyn1SpKoef41",       ControlKind::UpDown,     "GroupBoxSynchroSpecial",   0,   0,  16, 21, {}, "EditSyn1SpKoef41"},
    {"LabelSyn1SpK41",           ControlKind::Label,      "GroupBoxSynchroSpecial",  74, 241,  14, 17, "*"},
    {"EditSyn1SpFaze41",         ControlKind::Edit,       "GroupBoxSynchroSpecial", 100, 238,  40, 21},
    {"UpDownSyn1SpFaze41",       ControlKind::UpDown,     "GroupBoxSynchroSpecial",   0,   0,  16, 21, {}, "EditSyn1SpFaze41"},
    {"LabelSyn1SpN4",            ControlKind::Label,      "GroupBoxSynchroSpecial", 176, 241,  14, 17, "<"},
    {"EditSyn1SpKoef42",         ControlKind::Edit,       "GroupBoxSynchroSpecial", 212, 238,  40, 21},
    {"UpDownSyn1SpKoef42",       ControlKind::UpDown,     "GroupBoxSynchroSpecial",   0,   0,  16, 21, {}, "EditSyn1SpKoef42"},
    {"LabelSyn1SpK42",           ControlKind::Label,      "GroupBoxSynchroSpecial", 274, 241,  14, 17, "*"},
    {"EditSyn1SpFaze42",         ControlKind::Edit,       "GroupBoxSynchroSpecial", 300, 238,  40, 21},
    {"UpDownSyn1SpFaze42",       ControlKind::UpDown,     "GroupBoxSynchroSpecial",   0,   0,  16, 21, {}, "EditSyn1SpFaze42"},
    {"EditSyn1SpKoef51",         ControlKind::Edit,       "GroupBoxSynchroSpecial",  12, 264,  40, 21},
    {"UpDownSyn1SpKoef51",       ControlKind::UpDown,     "GroupBoxSynchroSpecial",   0,   0,  16, 21, {}, "EditSyn1SpKoef51"},
    {"LabelSyn1SpK51",           ControlKind::Label,      "GroupBoxSynchroSpecial",  74, 267,  14, 17, "*"},
    {"EditSyn1SpFaze51",         ControlKind::Edit,       "GroupBoxSynchroSpecial", 100, 264,  40, 21},
    {"UpDownSyn1SpFaze51",       ControlKind::UpDown,     "GroupBoxSynchroSpecial",   0,   0,  16, 21, {}, "EditSyn1SpFaze51"},
    {"LabelSyn1SpN5",            ControlKind::Label,      "GroupBoxSynchroSpecial", 176, 267,  14, 17, "<"},
    {"EditSyn1SpKoef52",         ControlKind::Edit,       "GroupBoxSynchroSpecial", 212, 264,  40, 21},
    {"UpDownSyn1SpKoef52",       ControlKind::UpDown,     "GroupBoxSynchroSpecial",   0,   0,  16, 21, {}, "EditSyn1SpKoef52"},
    {"LabelSyn1SpK52",           ControlKind::Label,      "GroupBoxSynchroSpecial", 274, 267,  14, 17, "*"},
    {"EditSyn1SpFaze52",         ControlKind::Edit,       "GroupBoxSynchroSpecial", 300, 264,  40, 21},
    {"UpDownSyn1SpFaze52",       ControlKind::UpDown,     "GroupBoxSynchroSpecial",   0,   0,  16, 21, {}, "EditSyn1SpFaze52"},
};

// In the order the page stores them.
constexpr FieldBinding kSyncBindings[] = {
    // control                   kind            address index scale offset min   max  incr
    {"ComboBoxSynchro1",         Bind::ComboTag, 2681},
    {"ComboBoxSynchro2",         Bind::ComboTag, 2682},
    {"ComboBoxNasobekPalcu",     Bind::ComboTag, 2686},
    {"UpDownPredaniHodnot",      Bind::Byte,     2690, 0,    1, 1,    1,    58,   1},
    {"UpDownSynchroMaxRpm",      Bind::Byte,     2691, 0,  100, 0,  900, 25000, 100},
    {"UpDownPocPalcu",           Bind::Byte,     2683, 0,    1, 0,    1,    58,   1},
    {"CheckBoxInvInputKlika",    Bind::Check,    2687},
    {"CheckBoxInvInputVacka",    Bind::Check,    2688},
    {"CheckBoxZamenaPickup",     Bind::Check,    2689},
    {"CheckBoxKazdy2Vstrik",     Bind::Check,    2692},
    {"CheckBoxIgnPoSynchro1",    Bind::Check,    2693},
    {"CheckBoxIgnEveryTurn",     Bind::Check,    2694},
    {"CheckBoxPalceMode",        Bind::Check,    2695},
    {"UpDownPocKanOut",          Bind::Byte,     2680, 0,    1, 0,    1,     4,   1},
    {"UpDownPalec1Zac",          Bind::Byte,     2696, 0,    1, 0,    1,    58,   1},
    {"UpDownTop1",               Bind::Byte,     2700, 0,    1, 0,    1,    58,   1},
    {"CheckBoxPalec1ZacH2",      Bind::Check,    2704},
    {"CheckBoxPalec1EndH2",      Bind::Check,    2708},
    {"CheckBoxPalec1ZacP2",      Bind::Check,    2712},
    {"CheckBoxPalec1EndP2",      Bind::Check,    2716},
    {"UpDownPalec2Zac",          Bind::Byte,     2697, 0,    1, 0,    1,    58,   1},
    {"UpDownTop2",               Bind::Byte,     2701, 0,    1, 0,    1,    58,   1},
    {"CheckBoxPalec2ZacH2",      Bind::Check,    2705},
    {"CheckBoxPalec2EndH2",      Bind::Check,    2709},
    {"CheckBoxPalec2ZacP2",      Bind::Check,    2713},
    {"CheckBoxPalec2EndP2",      Bind::Check,    2717},
    {"UpDownPalec3Zac",          Bind::Byte,     2698, 0,    1, 0,    1,    58,   1},
    {"UpDownTop3",               Bind::Byte,     2702, 0,    1, 0,    1,    58,   1},
    {"CheckBoxPalec3ZacH2",      Bind::Check,    2706},
    {"CheckBoxPalec3EndH2",      Bind::Check,    2710},
    {"CheckBoxPalec3ZacP2",      Bind::Check,    2714},
    {"CheckBoxPalec3EndP2",      Bind::Check,    2718},
    {"UpDownPalec4Zac",          Bind::Byte,     2699, 0,    1, 0,    1,    58,   1},
    {"UpDownTop4",               Bind::Byte,     2703, 0,    1, 0,    1,    58,   1},
    {"CheckBoxPalec4ZacH2",      Bind::Check,    2707},
    {"CheckBoxPalec4EndH2",      Bind::Check,    2711},
    {"CheckBoxPalec4ZacP2",      Bind::Check,    2715},
    {"CheckBoxPalec4EndP2",      Bind::Check,    2719},
    {"UpDownVynechPalcu",        Bind::Byte,     2684, 0,    1, 0,    0,    58,   1},
    {"UpDownPosunPalcu",         Bind::Byte,     2685, 0,    1, 0,    0,     4,   1},
    {"RadioGroupKyvaniPodminka", Bind::Radio,    2720},
    {"UpDownKyvaniFaze1",        Bind::Byte,     2721, 0,    1, 1,    1,    58,   1},
    {"CheckBoxKyvaniOtackaF1",   Bind::Check,    2724},
    {"UpDownKyvaniFaze2",        Bind::Byte,     2722, 0,    1, 1,    1,    58,   1},
    {"CheckBoxKyvaniOtackaF2",   Bind::Check,    2725},
    {"UpDownKyvaniFaze3",        Bind::Byte,     2723, 0,    1, 1,    1,    58,   1},
    {"CheckBoxKyvaniOtackaF3",   Bind::Check,    2726},
    {"RadioGroupKyvOtVyst",      Bind::Radio,    2727},
    {"UpDownKyvaniMinRpm",       Bind::Byte,     2728, 0,  100, 0,    0, 25000, 100},
    {"UpDownKyvaniPocOtacek",    Bind::Byte,     2729, 0,    1, 0,    0,   250,   1},
    {"RadioGroupKyvSrc",         Bind::Radio,    2730},
    {"RadioGroupSyn1SpHrana",    Bind::Radio,    2731},
    {"RadioGroupSyn1SpPocetH",   Bind::Radio,    2732},
    {"UpDownSyn1SpPocPodm",      Bind::Byte,     2733, 0,    1, 0,    0,     5,   1},
    {"UpDownSyn1SpFazeOut",      Bind::Byte,     2734, 0,    1, 1,    1,    58,   1},
    {"UpDownSyn1SpKoef11",       Bind::Byte,     2735, 0,    1, 0,    1,     6,   1},
    {"UpDownSyn1SpFaze11",       Bind::Byte,     2745, 0,   -1, 0,   -9,     0,   1},
    {"UpDownSyn1SpKoef12",       Bind::Byte,     2736, 0,    1, 0,    1,     6,   1},
    {"UpDownSyn1SpFaze12",       Bind::Byte,     2746, 0,   -1, 0,   -9,     0,   1},
    {"UpDownSyn1SpKoef21",       Bind::Byte,     2737, 0,    1, 0,    1,     6,   1},
    {"UpDownSyn1SpFaze21",       Bind::Byte,     2747, 0,   -1, 0,   -9,     0,   1},
    {"UpDownSyn1SpKoef22",       Bind::Byte,     2738, 0,    1, 0,    1,     6,   1},
    {"UpDownSyn1SpFaze22",       Bind::Byte,     2748, 0,   -1, 0,   -9,     0,   1},
    {"UpDownSyn1SpKoef31",       Bind::Byte,     2739, 0,    1, 0,    1,     6,   1},
    {"UpDownSyn1SpFaze31",       Bind::Byte,     2749, 0,   -1, 0,   -9,     0,   1},
    {"UpDownSyn1SpKoef32",       Bind::Byte,     2740, 0,    1, 0,    1,     6,   1},
    {"UpDownSyn1SpFaze32",       Bind::Byte,     2750, 0,   -1, 0,   -9,     0,   1},
    {"UpDownSyn1SpKoef41",       Bind::Byte,     2741, 0,    1, 0,    1,     6,   1},
    {"UpDownSyn1SpFaze41",       Bind::Byte,     2751, 0,   -1, 0,   -9,     0,   1},
    {"UpDownSyn1SpKoef42",       Bind::Byte,     2742, 0,    1, 0,    1,     6,   1},
    {"UpDownSyn1SpFaze42",       Bind::Byte,     2752, 0,   -1, 0,   -9,     0,   1},
    {"UpDownSyn1SpKoef51",       Bind::Byte,     2743, 0,    1, 0,    1,     6,   1},
    {"UpDownSyn1SpFaze51",       Bind::Byte,     2753, 0,   -1, 0,   -9,     0,   1},
    {"UpDownSyn1SpKoef52",       Bind::Byte,     2744, 0,    1, 0,    1,     6,   1},
    {"UpDownSyn1SpFaze52",       Bind::Byte,     2754, 0,   -1, 0,   -9,     0,   1},
};

struct TaggedItem
{
    int tag;
    std::string_view text;  // trilingual
};
constexpr TaggedItem kSynchro1Types[] = {
    {0, "###missing lobe- min. 2##Ausgelassene Leitstücke min. 2##Vynechané výstupky min 2"},
    {1, "###1 missing lobe##1 ausgelassene Leitstück##1 vynechaný výstupek"},
    {2, "###1 missing lobe ver. 2##1 ausgelassene Leitstück ver. 2##1 vynechaný výstupek ver. 2"},
    {3, "###Cam##Nocken##Vačka"},
    {4, "###Cam Honda##Nocken Honda##Vačka Honda"},
    {5, "###1 lobe##1 Leitstück##1 palec"},
    {7, "###Shift of lobe##Verschiebte Leitstück##Posunutý palec"},
    {8, "###Inserted lobe##Eingeschiebe Leitstück##Vsunutý výstupek"},
    {10, "###Special setting of synchronization##Sonderstellung der Synchronisierung##Speciální nastavení synchronizace"},
};
constexpr TaggedItem kSynchro2Types[] = {
    {4, "###none##keine##Není"},
    {0, "###Done with synchro 1##Gemacht durch synchro 1##Vyřešeno synchro 1"},
    {1, "###Cam##Nocken##Vačka"},
    {2, "###Hunting##Schwingung##Kývání"},
    {3, "###Hunting 1 cylinder##Schwingung 1 zylinder##Kývání 1 válec"},
    {5, "IAP"},
    {6, "###IAP 1 cylinder##IAP 1 zylinder##IAP 1 válec"},
};
constexpr TaggedItem kIgnitionsPerTurn[] = {
    {0, "###1 ignition per 2 revolutions (camshaft)##1 Zündung pro 2 Umdrehungen (Nockenwelle)##1 zápal za 2 otáčky "
        "(vačkový hřídel)"},
    {1, "###1 ignition per revolution##1 Zündung pro Umdrehung##1 zápal za otáčku"},
    {2, "###2 ignitions per revolution##2 Zündungen pro Umdrehung##2 zápaly za otáčku"},
    {3, "###3 ignitions per revolution##3 Zündungen pro Umdrehung##3 zápaly za otáčku"},
};

constexpr CaptionRow kSyncCaptions[] = {
    {"TabSheet_Synchro",       {"Synchro", "Synchro", "Synchro"}},
    {"GroupBoxSynchro",        {"Setting of synchronization", "Stellung der Synchronisierung", "Nastavení synchronizace"}},
    {"LabelPredaniHodnot",     {"Lobe of value aquisition", "Leitstück der Wertübernahme", "Palec předání hodnot"}},
    {"LabelSynchroMaxRpm",     {"Synchro max rpm [rpm]", "Synchro max. Drehzahl [U/min]", "Synchro max. otáčky [ot/min]"}},
    {"LabelPocPalcu",          {"Number of lobes", "Anzahl der Leitstücke", "Počet palců"}},
    {"CheckBoxInvInputKlika",  {"Inverse crankshaft polarity", "Kurbelwelle invertiert", "Obrácená polarita kliky"}},
    {"CheckBoxInvInputVacka",  {"Inverse camshaft polarity", "Nockenwelle invertiert", "Obrácená polarita vačky"}},
    {"CheckBoxKazdy2Vstrik",   {"Omission every 2nd injection", "Jede 2. Einspritzung aus", "Vynechat každý 2. vstřik"}},
    {"CheckBoxIgnPoSynchro1",  {"Spark after synchro 1", "Zündung nach Synchro 1", "Zápal po synchro 1"}},
    {"CheckBoxIgnEveryTurn",   {"Ignition every turn", "Zündung jede Umdrehung", "Zápal každou otáčku"}},
    {"GroupBoxSKanaly",        {"Channels", "Kanäle", "Kanály"}},
    {"CheckBoxPalceMode",      {"Version max-start advance", "Version Maximal- und Start-Vorzündung",
                                "Verze maximální a startovací předstih"}},
    {"LabelPocKanOut",         {"Number of cylinders", "Anzahl der Zylinder", "Počet válců"}},
    {"LabelLobe",              {"lobe", "Leitstück", "palec"}},
    {"LabelHrana2",            {"2nd Edge", "2. Flanke", "2. hrana"}},
    {"LabelSnimac2",           {"2nd Pick-up", "2. Geber", "2. snímač"}},
    {"LabelPalec1Zac",         {"Maximum advance 1", "Maximal Vorzündung 1", "Maximální předstih 1"}},
    {"LabelPalec2Zac",         {"Maximum advance 2", "Maximal Vorzündung 2", "Maximální předstih 2"}},
    {"LabelPalec3Zac",         {"Maximum advance 3", "Maximal Vorzündung 3", "Maximální předstih 3"}},
    {"LabelPalec4Zac",         {"Maximum advance 4", "Maximal Vorzündung 4", "Maximální předstih 4"}},
    {"LabelTop1",              {"Start advance 1", "Start Vorzündung 1", "Startovací předstih 1"}},
    {"LabelTop2",              {"Start advance 2", "Start Vorzündung 2", "Startovací předstih 2"}},
    {"LabelTop3",              {"Start advance 3", "Start Vorzündung 3", "Startovací předstih 3"}},
    {"LabelTop4",              {"Start advance 4", "Start Vorzündung 4", "Startovací předstih 4"}},
    {"LabelVynechPalcu",       {"Number of missing lobes", "Anzahl fehlender Leitstücke", "Počet vynechaných palců"}},
    {"LabelPosunPalcu",        {"Number of shifted lobes", "Anzahl verschobener Leitstücke", "Počet posunutých palců"}},
    {"RadioGroupKyvSrc",       {"Source", "Quelle", "Zdroj"}},
    {"LabelPredchoziOtacka",   {"Previous revolution", "Vorige Umdrehung", "Předchozí otáčka"}},
    {"RadioGroupKyvOtVyst",    {"Revolutin by compliance", "Umdrehung bei Erfüllung", "Otáčka při splnění"}},
    {"RadioGroupKyvOtVyst",    {"1st\n2nd", "1.\n2.", "1.\n2."}, kCaptionItems},
    {"LabelKyvaniMinRpm",      {"Min Rpm", "Min. Drehzahl", "Min. otáčky"}},
    {"LabelKyvaniPocOtacek",   {"Number of revolution min", "Min. Anzahl der Umdrehungen", "Min. počet otáček"}},
    {"GroupBoxSynchroSpecial", {"Synchro 1 special", "Synchro 1 speziell", "Synchro 1 speciální"}},
    {"RadioGroupSyn1SpHrana",  {"Evaluation edge", "Auswertungsflanke", "Vyhodnocovaná hrana"}},
    {"RadioGroupSyn1SpHrana",  {"1st\n2nd", "1.\n2.", "1.\n2."}, kCaptionItems},
    {"RadioGroupSyn1SpPocetH", {"Traced sections number", "Beobachtete Flanken", "Počet sledovaných hran"}},
    {"LabelSyn1SpPocPodm",     {"Number of condition", "Anzahl der Bedingungen", "Počet podmínek"}},
    {"LabelSyn1SpFazeOut",     {"Lobe by compliance", "Leitstück bei Erfüllung", "Palec při splnění"}},
    {"LabelKoef1",             {"Coeff", "Koeff.", "Koef."}},
    {"LabelKoef2",             {"Coeff", "Koeff.", "Koef."}},
    {"LabelFaze1",             {"Phase", "Phase", "Fáze"}},
    {"LabelFaze2",             {"Phase", "Phase", "Fáze"}},
    {"CheckBoxZamenaPickup",   {"Pickups interchange (pin 1 a 19)", "Pickups vertauschen (Pin 1 und 19)",
                                "Záměna snímačů (pin 1 a 19)"}},
};
// clang-format on

// The six controls that stay on the page, out of the hidden hunting group, while synchronisation 2 is the cam.
constexpr std::string_view kMinimumControls[] = {
    "EditKyvaniMinRpm",    "UpDownKyvaniMinRpm",    "LabelKyvaniMinRpm",
    "EditKyvaniPocOtacek", "UpDownKyvaniPocOtacek", "LabelKyvaniPocOtacek",
};

std::string numbered(std::string_view stem, int n, std::string_view tail = {})
{
    return std::string(stem) + std::to_string(n) + std::string(tail);
}

template <class T = TControl>
T* find(TPageForm& w, std::string_view name)
{
    return FindControl<T>(w, name);
}

void setVisible(TPageForm& w, std::string_view name, bool visible)
{
    if (auto* control = find(w, name)) control->SetVisible(visible);
}

// An edit, its up-down and its label.
void setTrioVisible(TPageForm& w, std::string_view stem, bool visible)
{
    for (std::string_view prefix : {"Edit", "UpDown", "Label"}) setVisible(w, std::string(prefix) + std::string(stem), visible);
}

const ControlRow* layoutRow(std::string_view name)
{
    for (const ControlRow& row : kSyncLayout)
        if (row.name == name) return &row;
    return nullptr;
}

// A control's place in its group as the form description puts it; an up-down stands at its edit's right edge.
std::pair<int, int> designPlace(std::string_view name)
{
    const ControlRow* row = layoutRow(name);
    if (!row) return {0, 0};
    if (!row->buddy.empty())
        if (const ControlRow* edit = layoutRow(row->buddy)) return {edit->left + edit->width, edit->top};
    return {row->left, row->top};
}

void fillList(TPageForm& w, std::string_view name, std::span<const TaggedItem> items, int byte)
{
    auto* list = find<TComboBox>(w, name);
    if (!list) return;
    ClearComboItems(list);
    for (const TaggedItem& item : items) AddComboItem(list, GetLngText(item.text), item.tag);
    ShowComboTag(w, list, byte, 0);
}

// The hunting group speaks of sections of a revolution, or, while synchronisation 2 hunts by the intake pressure,
// of lobes and values.
void huntingCaptions(TPageForm& w)
{
    const int synchro2 = w.images.image[kSynchro2Byte];
    const bool byPressure = synchro2 == 5 || synchro2 == 6;
    auto* group = find<TGroupBox>(w, "GroupBoxKyvani");
    auto* middle = find<TRadioGroup>(w, "RadioGroupKyvaniPodminka");
    auto* traced = find<TLabel>(w, "LabelKyvaniFaze1");
    if (!group || !middle || !traced) return;
    if (byPressure) {
        group->SetCaption("IAP");
        middle->SetCaption(GetLngText("###Central value##Mittleren Werte##Střední hodnota"));
        middle->SetItem(0, GetLngText("###Minimal##Minimal##Nejmenší"));
        middle->SetItem(1, GetLngText("###Maximal##Maximal##Největší"));
        traced->SetCaption(GetLngText("###Traced lobes##Überwachten Leitstück##Sledované palce"));
    } else {
        group->SetCaption(GetLngText("###Hunting##Schwingung##Kývání"));
        middle->SetCaption(GetLngText("###Central section##Mittelabschnitt##Stredni úsek"));
        middle->SetItem(0, GetLngText("###Shortest##Kürzeste##Nejkratší"));
        middle->SetItem(1, GetLngText("###Longest##Längste##Nejdelší"));
        traced->SetCaption(GetLngText("###Traced sections##Beobach. Abschnitte##Sledované úseky"));
    }
}

// Enabled or disabled with the special setting: every control of the page but the live synchronisation labels.
void enableSettings(TPageForm& w, bool enabled)
{
    for (const ControlRow& row : kSyncLayout) {
        if (row.kind == ControlKind::GroupBox || row.name == "LabelSyncInfo1" || row.name == "LabelSyncInfo2") continue;
        if (auto* control = find(w, row.name)) control->SetEnabled(enabled);
    }
}

// The synchronisation 2 and ignitions lists commit at once and hand the focus back to the programming switch.
void ListChange(TPageForm& w, TObject* list)
{
    if (w.settingGuard != 0) return;
    NotePendingChange(w, list, kChangeNow);
    if (w.CheckBoxProgHned) w.CheckBoxProgHned->SetFocus();
}

void BuildSyncPage(TPageForm& w)
{
    if (auto* list = find<TComboBox>(w, "ComboBoxSynchro1")) list->OnChange = [&w](TObject*) { ComboBoxSync1Change(w); };
    for (std::string_view name : {"ComboBoxSynchro2", "ComboBoxNasobekPalcu"})
        if (auto* list = find<TComboBox>(w, name)) list->OnChange = [&w](TObject* s) { ListChange(w, s); };
    if (auto* group = find<TRadioGroup>(w, "RadioGroupKyvaniPodminka")) group->SetItems({"", ""});
    for (std::string_view name : {"RadioGroupKyvOtVyst", "RadioGroupSyn1SpHrana"})
        if (auto* group = find<TRadioGroup>(w, name)) group->SetItems({"1st", "2nd"});
    if (auto* group = find<TRadioGroup>(w, "RadioGroupSyn1SpPocetH")) group->SetItems({"1", "2"});
    if (auto* group = find<TRadioGroup>(w, "RadioGroupKyvSrc")) {
        group->SetItems({"IAP", "AP"});
        group->SetColumns(2);
    }
    SyncPageCaptions(w);
}

}  // namespace

void SyncPageCaptions(TPageForm& w)
{
    ApplyCaptions(w, kSyncCaptions);
    fillList(w, "ComboBoxSynchro1", kSynchro1Types, kSynchro1Byte);
    fillList(w, "ComboBoxSynchro2", kSynchro2Types, kSynchro2Byte);
    fillList(w, "ComboBoxNasobekPalcu", kIgnitionsPerTurn, 2686);
    huntingCaptions(w);
}

void StoreSyncPage(TPageForm& w)
{
    if (w.settingGuard != 0) return;
    Image& image = w.images.image;
    const int oldSource = image[kHuntingSourceByte];
    StoreBindings(w, PAGE_SYNCHRO);
    image[kCylindersByte] = static_cast<std::uint8_t>(std::clamp<int>(image[kCylindersByte], 1, 4));
    // The atmospheric pressure sensor's input serves the hunting detector now: its characteristic is switched off.
    if (image[kHuntingSourceByte] != oldSource && image[kHuntingSourceByte] == 1) {
        image[kApSensorOffByte] = 1;
        ShowSensorsPage(w);
    }
}

void ShowSyncPage(TPageForm& w)
{
    Image& image = w.images.image;
    image[kCylindersByte] = static_cast<std::uint8_t>(std::clamp<int>(image[kCylindersByte], 1, 4));
    // The lobe up-downs reach as far as the image being shown allows, before they take its values.
    const int lobes = std::clamp<int>(image[kLobeCountByte], 1, kLobeMax);
    const int lobeMax = image[kSynchro2Byte] == kSynchro2None ? lobes : 2 * lobes;
    if (auto* acquisition = find<TUpDown>(w, "UpDownPredaniHodnot")) acquisition->SetMax(lobes);
    for (int k = 1; k <= 4; ++k)
        for (const std::string& name : {numbered("UpDownPalec", k, "Zac"), numbered("UpDownTop", k)})
            if (auto* upDown = find<TUpDown>(w, name)) upDown->SetMax(lobeMax);
    ShowBindings(w, PAGE_SYNCHRO);
    SyncPageLayout(w);
}

void SyncPageLayout(TPageForm& w)
{
    const Image& image = w.images.image;
    const int channels = image[kCylindersByte];
    const bool maxStart = image[kMaxStartModeByte] != 0;
    const bool oneLobe = image[kSynchro1Byte] == kSynchro1OneLobe;
    const int synchro2 = image[kSynchro2Byte];
    const bool special = image[kSpecialSettingByte] != 0;
    const bool freeSpecial = special && image[kSynchro1Byte] == kSynchro1Special;

    for (int k = 1; k <= 4; ++k) {
        const bool channel = k == 1 || channels >= k;
        setTrioVisible(w, numbered("Top", k), channel);
        setVisible(w, numbered("CheckBoxPalec", k, "EndH2"), channel);
        setTrioVisible(w, numbered("Palec", k, "Zac"), maxStart && channels >= k);
        setVisible(w, numbered("CheckBoxPalec", k, "ZacH2"), maxStart && channels >= k);
        const bool secondPickup = maxStart && oneLobe && channels >= k;
        setVisible(w, numbered("CheckBoxPalec", k, "ZacP2"), secondPickup);
        setVisible(w, numbered("CheckBoxPalec", k, "EndP2"), secondPickup);
    }
    setVisible(w, "LabelSnimac2", maxStart && oneLobe);
    setTrioVisible(w, "VynechPalcu", !maxStart);
    setTrioVisible(w, "PosunPalcu", !maxStart);
    setTrioVisible(w, "PocPalcu", !oneLobe);

    auto* hunting = find<TGroupBox>(w, "GroupBoxKyvani");
    if (hunting) hunting->SetVisible(synchro2 == 2 || synchro2 == 3 || synchro2 == 5 || synchro2 == 6);
    const bool threeSections = synchro2 == 2 || synchro2 == 5;
    setVisible(w, "LabelPredchoziOtacka", threeSections);
    for (int k = 1; k <= 3; ++k) setVisible(w, numbered("CheckBoxKyvaniOtackaF", k), threeSections);
    for (int k = 2; k <= 3; ++k) {
        setVisible(w, numbered("EditKyvaniFaze", k), threeSections);
        setVisible(w, numbered("UpDownKyvaniFaze", k), threeSections);
    }
    setVisible(w, "RadioGroupKyvSrc", synchro2 == 5 || synchro2 == 6);
    huntingCaptions(w);

    enableSettings(w, special);
    if (auto* group = find(w, "GroupBoxSynchroSpecial")) group->SetEnabled(freeSpecial);

    const int conditions = image[kConditionCountByte];
    for (int i = 0; i < 10; ++i) {
        const std::string pair = std::to_string(i / 2 + 1) + std::to_string(i % 2 + 1);
        for (std::string_view stem : {"Syn1SpKoef", "Syn1SpFaze"}) {
            setVisible(w, "Edit" + std::string(stem) + pair, i < 2 * conditions);
            setVisible(w, "UpDown" + std::string(stem) + pair, i < 2 * conditions);
        }
    }
    for (int k = 1; k <= 5; ++k)
        for (const std::string& name : {numbered("LabelSyn1SpK", k, "1"), numbered("LabelSyn1SpK", k, "2"),
                                        numbered("LabelSyn1SpN", k)})
            setVisible(w, name, conditions >= k);

    // With the cam as synchronisation 2 the hunting group is hidden, but its minimum rpm and revolution count
    // still apply: they stand on the page where they stood in the group.
    TTabSheet* sheet = w.tabSheets[PAGE_SYNCHRO];
    if (hunting && sheet) {
        const bool onSheet = synchro2 == kSynchro2Cam;
        TControl& target = onSheet ? static_cast<TControl&>(*sheet) : *hunting;
        for (std::string_view name : kMinimumControls) {
            TControl* control = find(w, name);
            if (!control || control->HasParent(target)) continue;
            const auto [left, top] = designPlace(name);
            control->SetParent(target);
            control->SetLeft(onSheet ? hunting->Left() + left : left);
            control->SetTop(onSheet ? hunting->Top() + top : top);
        }
    }
    SensorsPageLayout(w);
}

void ComboBoxSync1Change(TPageForm& w)
{
    if (w.settingGuard != 0) return;
    // The whole page is stored first: the new type, and any change still waiting for its commit, which the show
    // of the defaults would otherwise overwrite.
    StoreSyncPage(w);
    if (w.images.image[kSynchro1Byte] != kSynchro1Special) SetSyncDefaults(w.images.image);
    ShowSyncPage(w);
    NotePendingChange(w, find(w, "ComboBoxSynchro1"), kChangeNow);
    if (w.CheckBoxProgHned) w.CheckBoxProgHned->SetFocus();
}

extern const PageModule kSyncPage{
    .sheetName = "TabSheet_Synchro",
    .caption = "Synchro",
    .layout = kSyncLayout,
    .bindings = kSyncBindings,
    .build = BuildSyncPage,
    .store = StoreSyncPage,
    .show = ShowSyncPage,
    .captions = SyncPageCaptions,
};
