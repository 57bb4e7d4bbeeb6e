// The power outputs page: five switched outputs of the unit, each with a function from a list and what that
// function needs (an on/off map over RPM and throttle or over RPM and intake pressure with its RPM hysteresis, a
// cooling temperature, an output-speed factor, an invert switch), and the two PWM tables over temperature and over
// speed that every output with a PWM function shares.
#include "pages/poweroutpage.h"

#include <algorithm>
#include <string>

#include "mapeditor/tab.h"
#include "os/lngtext.h"
#include "pages/bikepage.h"
#include "pages/creators.h"
#include "pages/injectionpage.h"
#include "pages/mapsheets.h"
#include "pages/modules.h"
#include "pages/n2opage.h"
#include "pages/pages.h"
#include "settings/repair.h"

namespace {

constexpr int kIdleRegulationByte = 4559;
constexpr int kIdleRegulationFid = 4;
constexpr int kPwmTemperatureBytes = 4998;
constexpr int kPwmSpeedBytes = 5017;
constexpr int kPwmPoints = 10;
constexpr int kOutputSpeedWord = 1139;

// Functions (the image holds these tags).
constexpr int kFnGearLight = 2, kFnTpsMap = 3, kFnIapMap = 8, kFnPwmTemperature = 9, kFnCooling = 10,
              kFnOutputSpeed = 13, kFnFid = 14, kFnUnused16 = 16, kFnPwmSpeed = 19;

// Where output k (0-4) keeps its fields; output 5 keeps its function, TPS map and hysteresis in a block of its own.
struct OutputBytes
{
    int function, hysteresis, tpsRpm, tpsTp, tpsGrid;
};
constexpr OutputBytes kOutputBytes[kPowerOutputs] = {
    {4444, 4460, 4448, 4464, 4472}, {4445, 4461, 4451, 4466, 4475}, {4446, 4462, 4454, 4468, 4478},
    {4447, 4463, 4457, 4470, 4481}, {4881, 4885, 4882, 4886, 4888},
};
constexpr int iapRpmByte(int k) { return 4935 + 3 * k; }
constexpr int iapWord(int k) { return 1140 + 2 * k; }
constexpr int iapGridByte(int k) { return 4953 + 3 * k; }

// The fixed X points of the PWM tables.
constexpr int kTemperatureTable[kPwmPoints] = {90, 105, 120, 135, 150, 165, 180, 195, 200, 210};
constexpr int kSpeedPoints[kPwmPoints] = {0, 35, 70, 105, 140, 175, 210, 245, 280, 315};
constexpr int temperaturePoint(int i) { return kTemperatureTable[i] - 100; }

// The group boxes: three columns, two rows on the design page.
constexpr int kGroupWidth = kDesignPageWidth / 3 - 3;
constexpr int kGroupHeight = static_cast<int>(kDesignPageHeight / 2.05 - 3);
constexpr int groupLeft(int k) { return (k % 3) * kGroupWidth + 3; }
constexpr int groupTop(int k) { return static_cast<int>((k / 3) * kGroupHeight * 1.05); }
// Inside a group.
// The function list, then one field with its unit on the same row; the maps below them; the live state and the
// invert switch on the last line.
constexpr int kComboLeft = 8, kComboTop = 20, kComboWidth = 140, kComboHeight = 21;
constexpr int kPairLeft = kComboLeft + kComboWidth + 4;
constexpr int kUnitLeft = kPairLeft + 48;
constexpr int kNoteWidth = kGroupWidth - 11 - kPairLeft;  // the PWM note: the rest of the row, inside the frame
constexpr int kStateTop = kComboTop + kComboHeight + 5 + (kGroupHeight - 71) + 5;
constexpr int kInvertLeft = kGroupWidth - 5 - 60;
constexpr int kMapTop = kComboTop + kComboHeight + 5;
constexpr int kMapLeft = 4, kOnOffMapWidth = kGroupWidth - 14, kOnOffMapHeight = kGroupHeight - 71;
constexpr TColor kPwmInfoColour = 0xC0C0C0;

// clang-format off
#define POWER_OUT_GROUP(n, k)                                                                                          \
    {"GroupBoxPowerOut" #n,     ControlKind::GroupBox,   "TabSheet_PowerOut",  groupLeft(k), groupTop(k), kGroupWidth - 5, kGroupHeight, "Power out " #n}, \
    {"ComboBoxPowerOut" #n,     ControlKind::ComboBox,   "GroupBoxPowerOut" #n, kComboLeft, kComboTop, kComboWidth, kComboHeight, "-----"},         \
    {"LabelPowerOutPwm" #n,     ControlKind::Label,      "GroupBoxPowerOut" #n, kPairLeft, kComboTop + 3, kNoteWidth, 15, "PWM:Fr=100Hz/T=10ms"},         \
    {"EditPowerOutHyst" #n,     ControlKind::Edit,       "GroupBoxPowerOut" #n, kPairLeft, kComboTop, 30, 21},                                     \
    {"UpDownPowerOutHyst" #n,   ControlKind::UpDown,     "GroupBoxPowerOut" #n, 0, 0, 16, 21, {}, "EditPowerOutHyst" #n},                         \
    {"LabelPowerOutHyst" #n,    ControlKind::Label,      "GroupBoxPowerOut" #n, kUnitLeft, kComboTop + 3, 72, 17, "Hysteresis"},              \
    {"CheckBoxPowerOutInv" #n,  ControlKind::CheckBox,   "GroupBoxPowerOut" #n, kInvertLeft, kStateTop, 16, 17},                                \
    {"LabelPowerOutInv" #n,     ControlKind::Label,      "GroupBoxPowerOut" #n, kInvertLeft + 17, kStateTop, 22, 17, "Inv"},                     \
    {"EditPowerOutTemp" #n,     ControlKind::Edit,       "GroupBoxPowerOut" #n, kPairLeft, kComboTop, 30, 21},                                     \
    {"UpDownPowerOutTemp" #n,   ControlKind::UpDown,     "GroupBoxPowerOut" #n, 0, 0, 16, 21, {}, "EditPowerOutTemp" #n},                         \
    {"LabelPowerOutTemp" #n,    ControlKind::Label,      "GroupBoxPowerOut" #n, kUnitLeft, kComboTop + 3, 30, 17, "[°C]"},                    \
    {"LabelPowerOutState" #n,   ControlKind::Label,      "GroupBoxPowerOut" #n, 10, kStateTop, kInvertLeft - 14, 17, "---"}
constexpr ControlRow kPowerOutLayout[] = {
    POWER_OUT_GROUP(1, 0), POWER_OUT_GROUP(2, 1), POWER_OUT_GROUP(3, 2), POWER_OUT_GROUP(4, 3), POWER_OUT_GROUP(5, 4),
    // The output speed factor belongs to output 2, the only one that offers the function.
    {"EditPowerOutSpeed2",      ControlKind::DeciEdit,   "GroupBoxPowerOut2", kPairLeft, kComboTop, 40, 21},
    {"UpDownPowerOutSpeed2",    ControlKind::DeciUpDown, "GroupBoxPowerOut2", 0, 0, 16, 21, {}, "EditPowerOutSpeed2"},
    {"LabelPowerOutSpeed2",     ControlKind::Label,      "GroupBoxPowerOut2", kPairLeft, kMapTop, 70, 17, "[Hz/km/h]"},
};
#undef POWER_OUT_GROUP

#define POWER_OUT_BINDINGS(n, k, function, hysteresis)                                                                 \
    {"ComboBoxPowerOut" #n,    Bind::ComboTag, function},                                                             \
    {"UpDownPowerOutHyst" #n,  Bind::Byte,     hysteresis, 0, 10,   0,   0, 2550, 10},                                 \
    {"CheckBoxPowerOutInv" #n, Bind::Check,    4923 + k},                                                             \
    {"UpDownPowerOutTemp" #n,  Bind::Byte,     4929 + k,   0,  1, -40, -40,  210,  1}
constexpr FieldBinding kPowerOutBindings[] = {
    POWER_OUT_BINDINGS(1, 0, 4444, 4460), POWER_OUT_BINDINGS(2, 1, 4445, 4461), POWER_OUT_BINDINGS(3, 2, 4446, 4462),
    POWER_OUT_BINDINGS(4, 3, 4447, 4463), POWER_OUT_BINDINGS(5, 4, 4881, 4885),
    // The output speed is output 2's function only.
    {"UpDownPowerOutSpeed2",   Bind::Word,     kOutputSpeedWord, 0, 1, 0, 1, 20000, 1, 10},
};
#undef POWER_OUT_BINDINGS
// clang-format on

constexpr int kPowerOutEditors[] = {25, 26, 27, 28, 29, 48, 49, 50, 51, 52, 60, 61, 62, 63, 64};
constexpr int tpsMapId(int k) { return 25 + k; }
constexpr int iapMapId(int k) { return 48 + k; }
constexpr int pwmMapId(int k) { return 60 + k; }

// The function list: every output offers the common items; N2O and the output speed only output 2, the servo
// only output 5.
struct FunctionItem
{
    std::string_view text;
    int tag;
    int onlyOutput = 0;  // 1-5; 0: all
};
constexpr FunctionItem kFunctions[] = {
    {"###Off##Aus##Vypnuto", 0},
    {"###Lambda heat##Lambdawärmung##Ohřev lambda", 1},
    {"###Gear shift light##Schaltblitz##Kontrolka řazení", kFnGearLight},
    {"N2O", 4, 2},
    {"Track control", 5},
    {"###Decompresor##nDekompressor##nDekompresor", 6},
    {"###Sol. quickshift down##Sol. wechsel unten##Sol. rychlořazení", 7},
    {"###PWM temperature##PWM-Temperatur##PWM teplota", kFnPwmTemperature},
    {"###PWM speed##PWM-Geschwindigkeit##PWM rychlost", kFnPwmSpeed},
    {"###Cooling##Kühlung)##Chlazení", kFnCooling},
    {"###Consumption##Verbrauch##Spotřeba", 11},
    {"###Neutral output##Neutraler Ausgang##Neutral output", 12},
    {"###Output speed##Abtriebsdrehzahl##Rychlost výstup", kFnOutputSpeed, 2},
    {"###FID ventil##FID ventil##FID ventil", kFnFid},
    {"###Start out##Start out##Startér výstup", 20},
    {"Servo Husquarna nuda", 21, 5},
    {"###Fuel pump##Fuel pump##Palivová pumpa", 22},
    {"###Hold power##Hold power##Drž napájení", 23},
    {"###Special setting TPS/RPM##Sonderstellung TPS/RPM##Speciální nastavení TPS/RPM", kFnTpsMap},
    {"###Special setting IAP/RPM##Sonderstellung IAP/RPM##Speciální nastavení IAP/RPM", kFnIapMap},
};
constexpr std::string_view kGroupCaptions[kPowerOutputs] = {
    "###Power out 1 (pin 18)####Power out 1 (pin 18)", "###Power out 2 (pin 17)####Power out 2 (pin 17)",
    "###Power out 3 (pin 53)####Power out 3 (pin 53)", "###Power out 4 (pin 54)####Power out 4 (pin 54)",
    "###Power out 5 (pin 55)####Power out 5 (pin 55)",
};
constexpr std::string_view kHysteresisCaption = "###Hysteresis##Hysterese##Hystereze";

// The maps' axes.
constexpr StepEntry kOnOffRpmSteps[] = {{25000, 2000, 1000, 1000, 2000}};
constexpr StepEntry kOnOffLoadSteps[] = {{100, 25, 25, 10, 25}};
constexpr StepEntry kOnOffDataSteps[] = {{10, 5, 1, 1, 2}, {30, 5, 5, 5, 5}};
constexpr StepEntry kPwmTemperatureXSteps[] = {{100, 10, 10, 10, 20}};
constexpr StepEntry kPwmTimeSteps[] = {{10, 1, 1, 1, 1}};
constexpr StepEntry kPwmDutySteps[] = {{100, 25, 25, 10, 25}};
constexpr TColor kMapColour = 0xFCE2F4;

constexpr AxisSetup kOnOffRpm{.name = "RPM", .min = 3, .max = 250, .scale = 100.0, .steps = kOnOffRpmSteps,
                              .minCount = 1, .count = 3, .collapseOption = 0, .resizable = 0,
                              .collapsePos = kCollapseFirst, .colour = kMapColour};
constexpr AxisSetup kOnOffData{.name = "PO", .min = 0, .max = 2, .steps = kOnOffDataSteps, .options = 2,
                               .colour = kMapColour};
constexpr SheetSpec kTpsSheet[] = {{.title = "1", .xName = "RPM", .yName = "TP", .dataName = "Pout1", .columns = 3,
                                    .rows = 2, .flags = kSheetOperatingPoint, .x = kOnOffRpm,
                                    .y = {.name = "TP", .unit = "%", .min = 0, .max = 100, .steps = kOnOffLoadSteps,
                                          .minCount = 1, .count = 2, .resizable = 0, .collapsePos = kCollapseLast,
                                          .colour = kMapColour},
                                    .data = kOnOffData}};
constexpr SheetSpec kIapSheet[] = {{.title = "1", .xName = "RPM", .yName = "IAP", .dataName = "Pout1", .columns = 3,
                                    .rows = 2, .flags = kSheetOperatingPoint, .x = kOnOffRpm,
                                    .y = {.name = "IAP", .unit = "kPa", .min = 0, .max = 500, .steps = kOnOffLoadSteps,
                                          .minCount = 1, .count = 2, .resizable = 0, .collapsePos = kCollapseLast,
                                          .colour = kMapColour},
                                    .data = kOnOffData}};
constexpr SheetSpec kPwmSheet[] = {
    {.title = "PWM_M", .xName = "T[°C]", .yName = "no", .dataName = "PWM[ms]", .columns = kPwmPoints, .rows = 1,
     .flags = 0x4601,
     .x = {.name = "T", .min = -10, .max = 110, .steps = kPwmTemperatureXSteps, .editable = 0, .minCount = 1,
           .count = 15, .collapseOption = 0, .resizable = 0, .collapsePos = kCollapseFirst, .colour = kMapColour},
     .y = {.name = "no", .editable = 0, .options = 0, .minCount = 1, .count = 1, .collapseOption = 2, .collapsed = 1,
           .resizable = 0, .collapsePos = kCollapseLast, .colour = kMapColour},
     .data = {.name = "PWM_T", .min = 0, .max = 99, .scale = 0.1, .steps = kPwmTimeSteps, .options = 2,
              .colour = kMapColour}}};

template <class T>
T* control(const TPageForm& w, std::string_view name)
{
    return FindControl<T>(w, name);
}

std::string numbered(std::string_view stem, int output)
{
    return std::string(stem) + std::to_string(output + 1);
}

void show(TPageForm& w, std::string_view stem, int k, bool shown)
{
    if (auto* c = control<TControl>(w, numbered(stem, k))) c->SetVisible(shown);
}

int functionOf(const TPageForm& w, int k)
{
    return w.images.image[std::size_t(kOutputBytes[k].function)];
}

bool isPwm(int function)
{
    return function == kFnPwmTemperature || function == kFnPwmSpeed;
}

// The on/off map of output k from its bytes: three RPM points, two load points, a bit per cell.
void loadOnOffMap(TPageForm& w, TTab* tab, int rpmByte, int gridByte, const auto& loadPoint)
{
    if (!tab || tab->sheetCount == 0) return;
    const Image& image = w.images.image;
    CSheet& sheet = tab->sheets[0];
    for (int i = 0; i < 3; ++i) sheet.x.points[std::size_t(i)] = image[std::size_t(rpmByte + i)];
    for (int j = 0; j < 2; ++j) sheet.y.points[std::size_t(j)] = loadPoint(j);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) sheet.value(c, r) = (image[std::size_t(gridByte + r)] >> c) & 1;
    tab->BuildSideBar();
    tab->dirty |= kDirtyRedraw | kDirtyRecompute;
}

void storeOnOffMap(TPageForm& w, const TTab* tab, int rpmByte, int gridByte, const auto& storeLoadPoint)
{
    if (!tab || tab->sheetCount == 0) return;
    Image& image = w.images.image;
    const CSheet& sheet = tab->sheets[0];
    for (int i = 0; i < 3; ++i) image[std::size_t(rpmByte + i)] = std::uint8_t(sheet.x.points[std::size_t(i)]);
    for (int j = 0; j < 2; ++j) storeLoadPoint(j, sheet.y.points[std::size_t(j)]);
    for (int r = 0; r < 3; ++r) {
        int bits = 0;
        for (int c = 0; c < 4; ++c) bits += (sheet.value(c, r) & 1) << c;
        image[std::size_t(gridByte + r)] = std::uint8_t(bits);
    }
}

void LoadPowerOutMaps(TPageForm& w, int k)
{
    const Image& image = w.images.image;
    const OutputBytes& b = kOutputBytes[k];
    loadOnOffMap(w, MapEditor(w, tpsMapId(k)), b.tpsRpm, b.tpsGrid, [&](int j) { return int(image[std::size_t(b.tpsTp + j)]); });
    loadOnOffMap(w, MapEditor(w, iapMapId(k)), iapRpmByte(k), iapGridByte(k),
                 [&](int j) { return int(imageWord(image, iapWord(k) + j)); });
    TTab* pwm = MapEditor(w, pwmMapId(k));
    const int f = functionOf(w, k);
    if (!pwm || pwm->sheetCount == 0 || !isPwm(f)) return;
    CSheet& sheet = pwm->sheets[0];
    const bool temperature = f == kFnPwmTemperature;
    sheet.x.min = temperature ? -10 : 0;
    sheet.x.max = temperature ? 110 : 315;
    sheet.x.editable = 0;
    for (int i = 0; i < kPwmPoints; ++i) {
        sheet.x.points[std::size_t(i)] = temperature ? temperaturePoint(i) : kSpeedPoints[i];
        sheet.value(i, 0) = temperature ? image[std::size_t(kPwmTemperatureBytes + i)]
                                        : (image[std::size_t(kPwmSpeedBytes + i)] + 2) / 5;
    }
}

void StorePowerOutMaps(TPageForm& w, int k)
{
    Image& image = w.images.image;
    const OutputBytes& b = kOutputBytes[k];
    storeOnOffMap(w, MapEditor(w, tpsMapId(k)), b.tpsRpm, b.tpsGrid,
                  [&](int j, int point) { image[std::size_t(b.tpsTp + j)] = std::uint8_t(point); });
    storeOnOffMap(w, MapEditor(w, iapMapId(k)), iapRpmByte(k), iapGridByte(k),
                  [&](int j, int point) { setImageWord(image, iapWord(k) + j, std::uint16_t(point)); });
}

// Map C shows the table its output's function uses: pulse time over temperature or duty over speed.
void adaptPwmMap(TPageForm& w, int k)
{
    TTab* tab = MapEditor(w, pwmMapId(k));
    const int f = functionOf(w, k);
    if (!tab || tab->sheetCount == 0 || !isPwm(f)) return;
    CSheet& sheet = tab->sheets[0];
    const bool temperature = f == kFnPwmTemperature;
    sheet.x.label = temperature ? "T[°C]" : "v[km/h]";
    sheet.data.label = temperature ? "PWM[ms]" : "PWM[%]";
    sheet.data.scale = temperature ? 0.1 : 5.0;
    sheet.data.max = temperature ? 100 : 20;
    sheet.data.SetSteps(temperature ? std::span<const StepEntry>(kPwmTimeSteps) : std::span<const StepEntry>(kPwmDutySteps));
}

void BuildPowerOutPage(TPageForm& w)
{
    for (int k = 0; k < kPowerOutputs; ++k) {
        auto* group = control<TGroupBox>(w, numbered("GroupBoxPowerOut", k));
        if (!group) continue;
        PowerOutPageCaptions(w, k);
        if (auto* combo = control<TComboBox>(w, numbered("ComboBoxPowerOut", k))) {
            const SettingGuard guard(w);
            combo->SetItemIndex(0);
        }
        if (auto* info = control<TLabel>(w, numbered("LabelPowerOutPwm", k))) {
            info->SetFontSize(6);
            info->SetFontColor(kPwmInfoColour);
        }
        const MapEditorSpec maps[] = {
            {tpsMapId(k), kTabCheckGrid | kTabTableView | kTabGraph2D, kMapLeft, kMapTop, kOnOffMapWidth, kOnOffMapHeight, 4, 3,
             kTpsSheet},
            {iapMapId(k), kTabCheckGrid | kTabTableView | kTabGraph2D, kMapLeft, kMapTop, kOnOffMapWidth, kOnOffMapHeight, 4, 3,
             kIapSheet},
            {pwmMapId(k), kTabTableView | kTabGraph2D, kMapLeft, kMapTop, kOnOffMapWidth, kOnOffMapHeight, 10, 5, kPwmSheet},
        };
        for (const MapEditorSpec& spec : maps) {
            TTab* tab = BuildMapEditor(w, spec, group);
            if (!tab) continue;
            CSheet& sheet = tab->sheets[0];
            if (spec.id == pwmMapId(k)) {
                // The table's own margins (the layout's outer ones follow from them at every rebuild): the cells
                // reach the editor's right edge and the graph its bottom.
                tab->layout.extraRight = 0;
                tab->layout.extraBottom = -5;
                tab->layout.yHeadWidth = 40;
                tab->layout.graphBesideTable = 80;
                sheet.x.labelFontSize = sheet.y.labelFontSize = 8;
                for (int i = 0; i < kPwmPoints; ++i) sheet.x.points[std::size_t(i)] = temperaturePoint(i);
                tab->requestedView = kViewTable;
            } else {
                sheet.x.labelFontSize = 10;
                sheet.y.labelFontSize = sheet.data.labelFontSize = 8;
            }
        }
    }
}

void StorePowerOutPage(TPageForm& w)
{
    if (w.settingGuard != 0) return;
    StoreBindings(w, PAGE_POWER_OUT);
    Image& image = w.images.image;
    for (int k = 0; k < kPowerOutputs; ++k) {
        // Choosing the FID valve on an output makes it the idle regulation, unless an output was one already.
        if (!w.repairState.fidFlag && functionOf(w, k) == kFnFid) image[kIdleRegulationByte] = kIdleRegulationFid;
        const int hysteresis = image[std::size_t(kOutputBytes[k].hysteresis)] * 10;
        for (TTab* tab : {MapEditor(w, tpsMapId(k)), MapEditor(w, iapMapId(k))})
            if (tab) {
                tab->hysteresis = hysteresis;
                tab->dirty |= kDirtyRedraw;
            }
        StorePowerOutMaps(w, k);
    }
    w.repairState = NormalizeSettingsImage(image);
    ShowBikePage(w);
    ShowInjectionPage(w);
    N2OPageLayout(w);
}

void CaptionsOfPowerOutPage(TPageForm& w)
{
    for (int k = 0; k < kPowerOutputs; ++k) PowerOutPageCaptions(w, k);
}

// An edit in a PWM table goes to the shared bytes; the refresh that follows shows it in every output's table.
void PowerOutMapChanged(TPageForm& w, int editorId)
{
    if (editorId < pwmMapId(0) || editorId >= pwmMapId(kPowerOutputs)) return;
    TTab* tab = MapEditor(w, editorId);
    if (!tab || tab->sheetCount == 0) return;
    const CSheet& sheet = tab->sheets[0];
    Image& image = w.images.image;
    const char first = sheet.x.label.empty() ? '\0' : sheet.x.label[0];
    for (int i = 0; i < kPwmPoints; ++i) {
        if (first == 'T')
            image[std::size_t(kPwmTemperatureBytes + i)] = std::uint8_t(sheet.value(i, 0));
        else if (first == 'v')
            image[std::size_t(kPwmSpeedBytes + i)] = std::uint8_t(std::clamp(sheet.value(i, 0) * 5, 0, 255));
    }
}

}  // namespace

void PowerOutPageCaptions(TPageForm& w, int k)
{
    if (k < 0 || k >= kPowerOutputs) return;
    if (auto* group = control<TGroupBox>(w, numbered("GroupBoxPowerOut", k))) group->SetCaption(GetLngText(kGroupCaptions[k]));
    if (auto* label = control<TLabel>(w, numbered("LabelPowerOutHyst", k))) label->SetCaption(GetLngText(kHysteresisCaption));
    auto* combo = control<TComboBox>(w, numbered("ComboBoxPowerOut", k));
    if (!combo) return;
    const SettingGuard guard(w);
    ClearComboItems(combo);
    for (const FunctionItem& item : kFunctions)
        if (item.onlyOutput == 0 || item.onlyOutput == k + 1) AddComboItem(combo, GetLngText(item.text), item.tag);
    ShowComboTag(w, combo, kOutputBytes[k].function, 0);
}

void ShowPowerOutPage(TPageForm& w)
{
    ShowBindings(w, PAGE_POWER_OUT);
    for (int k = 0; k < kPowerOutputs; ++k) {
        const int hysteresis = w.images.image[std::size_t(kOutputBytes[k].hysteresis)] * 10;
        for (TTab* tab : {MapEditor(w, tpsMapId(k)), MapEditor(w, iapMapId(k))})
            if (tab) tab->hysteresis = hysteresis;
        adaptPwmMap(w, k);
        LoadPowerOutMaps(w, k);
        if (TTab* pwm = MapEditor(w, pwmMapId(k))) {
            pwm->BuildSideBar();
            pwm->dirty |= kDirtyRedraw | kDirtyRecompute;
        }
    }
    PowerOutPageLayout(w);
    N2OPageLayout(w);
}

void PowerOutPageLayout(TPageForm& w)
{
    for (int k = 0; k < kPowerOutputs; ++k) {
        const int f = functionOf(w, k);
        show(w, "LabelPowerOutPwm", k, isPwm(f));
        const bool hysteresis = f == kFnGearLight || f == kFnTpsMap || f == kFnIapMap;
        for (std::string_view stem : {"EditPowerOutHyst", "UpDownPowerOutHyst", "LabelPowerOutHyst"}) show(w, stem, k, hysteresis);
        for (std::string_view stem : {"CheckBoxPowerOutInv", "LabelPowerOutInv"}) show(w, stem, k, f != kFnUnused16);
        for (std::string_view stem : {"EditPowerOutTemp", "UpDownPowerOutTemp", "LabelPowerOutTemp"}) show(w, stem, k, f == kFnCooling);
        for (std::string_view stem : {"EditPowerOutSpeed", "UpDownPowerOutSpeed", "LabelPowerOutSpeed"})
            show(w, stem, k, f == kFnOutputSpeed);
        if (TTab* tab = MapEditor(w, tpsMapId(k))) tab->SetVisible(f == kFnTpsMap);
        if (TTab* tab = MapEditor(w, iapMapId(k))) tab->SetVisible(f == kFnIapMap);
        if (TTab* tab = MapEditor(w, pwmMapId(k))) tab->SetVisible(isPwm(f));
        adaptPwmMap(w, k);
    }
    BikePageLayout(w);
}

extern const PageModule kPowerOutPage{
    .sheetName = "TabSheet_PowerOut",
    .caption = "Power out",
    .layout = kPowerOutLayout,
    .bindings = kPowerOutBindings,
    .editorIds = kPowerOutEditors,
    .build = BuildPowerOutPage,
    .store = StorePowerOutPage,
    .show = ShowPowerOutPage,
    .captions = CaptionsOfPowerOutPage,
    .mapChanged = PowerOutMapChanged,
};
