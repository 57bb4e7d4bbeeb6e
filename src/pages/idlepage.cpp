// The idle page: the kind of idle actuator and its regulation, the actuator's start table over coolant temperature
// (two sheets: running and start; its unit and scale follow the actuator), and the idle advance regulation with its
// table of desired RPM.
#include "pages/idlepage.h"

#include <algorithm>

#include "languages/messages.h"
#include "os/lngtext.h"
#include "pages/binding.h"
#include "pages/captions.h"
#include "pages/commit.h"
#include "pages/creators.h"
#include "pages/mapsheets.h"
#include "pages/mapside.h"
#include "pages/modules.h"
#include "pages/pages.h"
#include "pages/racepage.h"

namespace {

constexpr int W = kDesignPageWidth;
constexpr int H = kDesignPageHeight;

constexpr int kModeByte = 4559;
constexpr int kStepPeriodByte = 4562;
constexpr int kAdvanceOnByte = 4565;
constexpr int kServoPercentByte = 4415;  // set on the servos page: the intake servo works in percent
constexpr int kActuatorWords = 1105;     // sheet 0; sheet 1 (start) follows at + kPoints
constexpr int kPoints = 9;

constexpr int kActuatorEditorId = 2;
constexpr int kAdvanceRpmEditorId = 19;

constexpr int kColumnB = 292;  // the regulation fields
constexpr int kEditLeft = 194;
constexpr int kRow = 27;

// clang-format off
constexpr ControlRow kIdleLayout[] = {
    // name                      kind                    parent           left        top          width height caption
    {"RadioGroupIdleMode",       ControlKind::RadioGroup, "TabSheet_Idle",   8,          8,           272, 132, "Idle control"},
    {"LabelFIDwarning",          ControlKind::Label,     "TabSheet_Idle",    8,        146,           272,  17, "set FID power out"},
    {"CheckBoxIdleSmerReg",      ControlKind::CheckBox,  "TabSheet_Idle",    8,        168,           272,  19, "Min-Max (Minimum check)"},
    {"LabelIdleModeErr",         ControlKind::Label,     "TabSheet_Idle",    8,        192,           272,  17},
    {"LabelMonServoPositionCopy", ControlKind::Label,    "TabSheet_Idle",    8,        192,           272,  17},

    {"LabelIdleTpsMez",          ControlKind::Label,     "TabSheet_Idle", kColumnB,     13,           190,  17, "TPS regulation range [%]"},
    {"EditIdleTpsMez",           ControlKind::Edit,      "TabSheet_Idle", kColumnB + kEditLeft, 10,   56,  21},
    {"UpDownIdleTpsMez",         ControlKind::UpDown,    "TabSheet_Idle",    0,          0,            16,  21, {}, "EditIdleTpsMez"},
    {"LabelIdleRpmMez",          ControlKind::Label,     "TabSheet_Idle", kColumnB,     13,           190,  17, "Control Range [rpm]"},
    {"EditIdleRpmMez",           ControlKind::Edit,      "TabSheet_Idle", kColumnB + kEditLeft, 10,   56,  21},
    {"UpDownIdleRpmMez",         ControlKind::UpDown,    "TabSheet_Idle",    0,          0,            16,  21, {}, "EditIdleRpmMez"},
    {"LabelIdleControlBand",     ControlKind::Label,     "TabSheet_Idle", kColumnB,     13 + kRow,    190,  17, "Control band [rpm]"},
    {"EditIdleControlBand",      ControlKind::Edit,      "TabSheet_Idle", kColumnB + kEditLeft, 10 + kRow, 56, 21},
    {"UpDownIdleControlBand",    ControlKind::UpDown,    "TabSheet_Idle",    0,          0,            16,  21, {}, "EditIdleControlBand"},
    {"LabelIdleHyster",          ControlKind::Label,     "TabSheet_Idle", kColumnB,     13 + 2 * kRow, 190, 17, "Hysteresis [rpm]"},
    {"EditIdleHyster",           ControlKind::Edit,      "TabSheet_Idle", kColumnB + kEditLeft, 10 + 2 * kRow, 56, 21},
    {"UpDownIdleHyster",         ControlKind::UpDown,    "TabSheet_Idle",    0,          0,            16,  21, {}, "EditIdleHyster"},
    {"LabelIdleStepPerioda",     ControlKind::Label,     "TabSheet_Idle", kColumnB,     13 + 3 * kRow, 190, 17, "Step motor period [ms]"},
    {"EditIdleStepPerioda",      ControlKind::Edit,      "TabSheet_Idle", kColumnB + kEditLeft, 10 + 3 * kRow, 56, 21},
    {"UpDownIdleStepPerioda",    ControlKind::UpDown,    "TabSheet_Idle",    0,          0,            16,  21, {}, "EditIdleStepPerioda"},
    // Never shown: the unit takes no excitation time for the step motor.
    {"LabelIdleStepPuls",        ControlKind::Label,     "TabSheet_Idle", kColumnB,     13 + 3 * kRow, 190, 17, "Step motor excitation[us]"},
    {"EditIdleStepPuls",         ControlKind::Edit,      "TabSheet_Idle", kColumnB + kEditLeft, 10 + 3 * kRow, 56, 21},
    {"UpDownIdleStepPuls",       ControlKind::UpDown,    "TabSheet_Idle",    0,          0,            16,  21, {}, "EditIdleStepPuls"},
    // The start row; the FID valve's lobe takes the same row (the two are never shown together).
    {"LabelIdleStart",           ControlKind::Label,     "TabSheet_Idle", kColumnB,     13 + 4 * kRow, 190, 17, "Start [ms]"},
    {"EditIdleStart",            ControlKind::Edit,      "TabSheet_Idle", kColumnB + kEditLeft, 10 + 4 * kRow, 56, 21},
    {"UpDownIdleStart",          ControlKind::UpDown,    "TabSheet_Idle",    0,          0,            16,  21, {}, "EditIdleStart"},
    {"LabelIdleLobe",            ControlKind::Label,     "TabSheet_Idle", kColumnB,     13 + 4 * kRow, 190, 17, "Idle lobe"},
    {"EditIdleLobe",             ControlKind::Edit,      "TabSheet_Idle", kColumnB + kEditLeft, 10 + 4 * kRow, 56, 21},
    {"UpDownIdleLobe",           ControlKind::UpDown,    "TabSheet_Idle",    0,          0,            16,  21, {}, "EditIdleLobe"},
    {"LabelIdleRegulation",      ControlKind::Label,     "TabSheet_Idle", kColumnB,     13 + 5 * kRow, 190, 17, "Idle regulation [0.1%/2rpm]"},
    {"EditIdleRegulation",       ControlKind::Edit,      "TabSheet_Idle", kColumnB + kEditLeft, 10 + 5 * kRow, 56, 21},
    {"UpDownIdleRegulation",     ControlKind::UpDown,    "TabSheet_Idle",    0,          0,            16,  21, {}, "EditIdleRegulation"},

    {"GroupBoxIdleAdv",          ControlKind::GroupBox,  "TabSheet_Idle",  580,          4,           272, 132, "Advance control of Idle"},
    {"CheckBoxIdleAdvOn",        ControlKind::CheckBox,  "GroupBoxIdleAdv",  10,        20,            60,  19, "On"},
    {"LabelIdleAdvNaRpm",        ControlKind::Label,     "GroupBoxIdleAdv",  10,        46, 178, 17, "Advance control[°/1000 rpm]"},
    {"EditIdleAdvNaRpm",         ControlKind::Edit,      "GroupBoxIdleAdv", 192,        43, 56, 21},
    {"UpDownIdleAdvNaRpm",       ControlKind::UpDown,    "GroupBoxIdleAdv",   0,         0,            16,  21, {}, "EditIdleAdvNaRpm"},
    {"LabelIdleAdvNaCas",        ControlKind::Label,     "GroupBoxIdleAdv",  10,        73, 178, 17, "Regulace advance [°/10s]"},
    {"EditIdleAdvNaCas",         ControlKind::Edit,      "GroupBoxIdleAdv", 192,        70, 56, 21},
    {"UpDownIdleAdvNaCas",       ControlKind::UpDown,    "GroupBoxIdleAdv",   0,         0,            16,  21, {}, "EditIdleAdvNaCas"},
    {"LabelIdleMaxAdv",          ControlKind::Label,     "GroupBoxIdleAdv",  10,        100, 178, 17, "Maximal advance [°]"},
    {"EditIdleMaxAdv",           ControlKind::Edit,      "GroupBoxIdleAdv", 192,        97, 56, 21},
    {"UpDownIdleMaxAdv",         ControlKind::UpDown,    "GroupBoxIdleAdv",   0,         0,            16,  21, {}, "EditIdleMaxAdv"},
};

constexpr FieldBinding kIdleBindings[] = {
    // control                kind            address index scale offset min  max    incr
    {"RadioGroupIdleMode",    Bind::RadioTag, 4559},
    {"UpDownIdleTpsMez",      Bind::Byte,     4560,   0,    1,    0,      1,   100,  1},
    {"CheckBoxIdleSmerReg",   Bind::Check,    4561},
    {"UpDownIdleStepPerioda", Bind::Byte,     4562,   0,    1,    0,      2,   250,  2},
    {"UpDownIdleHyster",      Bind::Byte,     4563,   0,   10,    0,      0,  2500, 10},
    {"UpDownIdleControlBand", Bind::Byte,     4564,   0,   10,    0,     10,  2500, 10},
    {"CheckBoxIdleAdvOn",     Bind::Check,    4565},
    {"UpDownIdleAdvNaRpm",    Bind::Byte,     4566,   0,    1,    0,      1,   100,  1},
    {"UpDownIdleAdvNaCas",    Bind::Byte,     4567,   0,    1,    0,      0,   250,  1},
    {"UpDownIdleMaxAdv",      Bind::Byte,     4568,   0,    1,    0,      1,   100,  1},
    {"UpDownIdleRegulation",  Bind::Byte,     4569,   0,    1,    0,      2,   250,  2},
    {"UpDownIdleLobe",        Bind::Byte,     4570,   0,    1,    0,      1,    58,  1},
    {"UpDownIdleStart",       Bind::Word,     1123,   0,    1,    0,      0, 30000, 10},
};

// The desired idle RPM of the advance regulation: one byte per coolant point, in 50 rpm.
constexpr GridBinding kIdleGrids[] = {
    {kAdvanceRpmEditorId, 0, Cell::Byte, 4571, kPoints, 1},
};

constexpr CaptionRow kIdleCaptions[] = {
    {"RadioGroupIdleMode",    {"Idle control", "Freilaufregulation", "Regulace volnoběhu"}},
    {"LabelFIDwarning",       {"set FID power out"}},
    {"LabelIdleStepPuls",     {"Step motor excitation[us]"}},
    {"LabelIdleStepPerioda",  {"Step motor period [ms]"}},
    {"LabelIdleRegulation",   {"Idle regulation [0.1%/2rpm]"}},
    {"LabelIdleLobe",         {"Idle lobe"}},
    {"GroupBoxIdleAdv",       {"Advance control of Idle"}},
    {"LabelIdleAdvNaRpm",     {"Advance control[°/1000 rpm]"}},
    {"LabelIdleAdvNaCas",     {"Regulace advance [°/10s]"}},
    {"LabelIdleMaxAdv",       {"Maximal advance [°]"}},
    {"LabelIdleRpmMez",       {"Control Range [rpm]"}},
    {"LabelIdleControlBand",  {"Control band [rpm]"}},
};
// clang-format on

struct ModeItem
{
    int tag;
    std::string_view text;  // trilingual
};
constexpr ModeItem kModeItems[] = {
    {0, "###No##Keine##Není"},
    {1, "###Intake servo##Ansaugservo##Sací servo"},
    {2, "###Step motor without potentiometer##Schrittmotor ohne Potentiometer##Krokový motor bez potenciometru"},
    {3, "###Step motor set TP min##Schrittmotor adjust TP min##Krokový motor nastavuje TP min"},
    {4, "###FID valve##FID Ventil##FID ventil"},
};

// ---- the actuator table's form by idle mode

constexpr int kCoolantAxis[kPoints] = {-10, 5, 20, 35, 50, 65, 80, 95, 110};

struct ActuatorForm
{
    int sheets;  // 1 or 2
    std::string_view title0, title1;
    std::string_view longName, name, unit;
    int min, max;
    double scale;
    std::span<const StepEntry> steps;
    std::array<int, kPoints> defaults;  // image words
    bool defaultsForStart;              // the start sheet takes them too
};

constexpr ActuatorForm kPercentServo{2,
                                     "Start position of intake servo",
                                     "Start position of intake servo - START",
                                     "Percentage",
                                     "[%]",
                                     "%",
                                     0,
                                     100,
                                     1.0,
                                     kPercentSteps,
                                     {36, 36, 36, 31, 28, 24, 24, 24, 24},
                                     true};
constexpr ActuatorForm kVoltageServo{2,
                                     "Start position of intake servo",
                                     "Start position of intake servo - START",
                                     "Voltage",
                                     "U",
                                     "V",
                                     0,
                                     1000,
                                     0.005,
                                     kVoltageSteps,
                                     {3600, 3600, 3600, 3100, 2800, 2400, 2400, 2400, 2400},
                                     true};
constexpr ActuatorForm kDesiredRpm{1,
                                   "Desired RPM",
                                   "Desired RPM - START",
                                   "RPM",
                                   "RPM",
                                   "",
                                   0,
                                   1200,
                                   10.0,
                                   kIdleRpmSteps,
                                   {1000, 900, 800, 700, 600, 500, 400, 300, 200},
                                   false};
constexpr ActuatorForm kTpMinSteps{2,
                                   "TP min [in steps of servo]",
                                   "TP min - START [in steps of servo]",
                                   "Steps",
                                   "",
                                   "",
                                   0,
                                   30000,
                                   1.0,
                                   kIdleRpmSteps,
                                   {10, 9, 8, 7, 6, 5, 4, 3, 2},
                                   true};
constexpr ActuatorForm kFidPosition{2,
                                    "Min. position",
                                    "Min. position - START",
                                    "Percentage",
                                    "[%]",
                                    "%",
                                    0,
                                    100,
                                    1.0,
                                    kPercentSteps,
                                    {100, 90, 80, 70, 60, 50, 40, 30, 20},
                                    true};

const ActuatorForm* actuatorForm(const Image& image, int mode)
{
    switch (mode) {
        case 1:
            return image[kServoPercentByte] != 0 ? &kPercentServo : &kVoltageServo;
        case 2:
            return &kDesiredRpm;
        case 3:
            return &kTpMinSteps;
        case 4:
            return &kFidPosition;
        default:
            return nullptr;
    }
}

// Image word = sheet value x factor: 1 for percent, 5 for volts (the word holds millivolts, a value 5 mV), else
// the scale.
int factorOf(const CSheet& sheet)
{
    if (sheet.data.unit == "%") return 1;
    if (sheet.data.unit == "V") return 5;
    return std::max(1, static_cast<int>(sheet.data.scale));
}

// ---- the two map editors

constexpr std::string_view kRainbow9 = "BGRAINBOW9x22";
constexpr AxisSetup kColumnAxis{.min = 0,
                                .max = 20000,
                                .editable = 0,
                                .options = 0,
                                .count = 1,
                                .collapseOption = 2,
                                .collapsed = 1,
                                .resizable = 0,
                                .collapsePos = kCollapseFirst};
constexpr AxisSetup kCoolantAxisSetup{.name = "TW",
                                      .unit = "°C",
                                      .min = -10,
                                      .max = 110,
                                      .steps = kTemperatureSteps,
                                      .editable = 0,
                                      .options = 1,
                                      .count = kPoints,
                                      .collapseOption = 0,
                                      .resizable = 0,
                                      .collapsePos = kCollapseLast};
constexpr SheetSpec idleSheet(std::string_view title, std::string_view dataLabel, AxisSetup data)
{
    return {.title = title,
            .xName = "",
            .yName = "T",
            .dataName = dataLabel,
            .columns = 1,
            .rows = kPoints,
            .flags = 3,
            .x = kColumnAxis,
            .y = kCoolantAxisSetup,
            .data = data,
            .xPicture = "BGWA",
            .yPicture = kRainbow9,
            .dataPicture = kRainbow9,
            .titleFontSize = 9,
            .unitInCells = true};
}
constexpr AxisSetup kVoltageData{
    .name = "U", .unit = "V", .min = 0, .max = 5000, .scale = 0.001, .steps = kVoltageSteps, .options = 2};
constexpr SheetSpec kActuatorSheets[] = {idleSheet("", "Voltage", kVoltageData),
                                         idleSheet("", "Voltage", kVoltageData)};
constexpr SheetSpec kAdvanceRpmSheets[] = {
    idleSheet("Idle advance RPM desired", "RPM",
              {.name = "RPM", .min = 0, .max = 240, .scale = 50.0, .steps = kIdleRpmSteps, .options = 2})};

constexpr int kEditorTop = H * 37 / 100;  // trunc(H x 0.37)
// The actuator table takes 40 px more than half the page, so that the tabs of its two sheets ("... - START") show
// their titles whole; the single sheet of the advance table needs no tab row of that width.
constexpr int kActuatorWidth = W / 2 + 30;
constexpr MapEditorSpec kIdleEditors[] = {
    {kActuatorEditorId, 0x130, 10, kEditorTop, kActuatorWidth, 288, 5, 9, kActuatorSheets},
    {kAdvanceRpmEditorId, 0x130, 10 + kActuatorWidth, kEditorTop, W - 10 - kActuatorWidth, 288, 5, 9,
     kAdvanceRpmSheets},
};
constexpr int kIdleEditorIds[] = {kActuatorEditorId, kAdvanceRpmEditorId};

// ---- helpers

void setVisible(TPageForm& w, std::string_view name, bool visible)
{
    if (TControl* c = FindControl<TControl>(w, name)) c->SetVisible(visible);
}

std::string_view messageText(int index)
{
    const int language = std::clamp(GetLanguageIndex(), 0, kLanguageCount - 1);
    for (const MessageRow& row : messageRows())
        if (row.index == index) return row.text[std::size_t(language)];
    return {};
}

bool anyOutputIsFidValve(const Image& image)
{
    constexpr int kOutputFunctions = 4444;
    constexpr int kFidFunction = 14;
    for (int i = 0; i < 4; ++i)
        if (image[std::size_t(kOutputFunctions + i)] == kFidFunction) return true;
    return false;
}

void fixCoolantAxes(TPageForm& w)
{
    for (int id : kIdleEditorIds)
        if (TTab* editor = MapEditor(w, id))
            for (int s = 0; s < editor->sheetCount; ++s)
                SetFixedPoints(editor->sheets[std::size_t(s)], false, kCoolantAxis);
}

void showActuatorTable(TPageForm& w)
{
    TTab* editor = MapEditor(w, kActuatorEditorId);
    if (!editor) return;
    for (int s = 0; s < std::min(2, editor->sheetCount); ++s) {
        CSheet& sheet = editor->sheets[std::size_t(s)];
        const int factor = factorOf(sheet);
        for (int i = 0; i < kPoints; ++i)
            sheet.value(0, i) = imageWord(w.images.image, kActuatorWords + s * kPoints + i) / factor;
    }
}

void storeActuatorTable(TPageForm& w)
{
    TTab* editor = MapEditor(w, kActuatorEditorId);
    if (!editor) return;
    for (int s = 0; s < std::min(2, editor->sheetCount); ++s) {
        const CSheet& sheet = editor->sheets[std::size_t(s)];
        const int factor = factorOf(sheet);
        for (int i = 0; i < kPoints; ++i) {
            // A word that still shows as the sheet's value is kept: the unit's finer steps (a millivolt where the
            // table steps by 5) and the start sheet of the RPM mode, which the table does not offer, survive
            // every commit that did not change them.
            const int word = kActuatorWords + s * kPoints + i;
            if (imageWord(w.images.image, word) / factor != sheet.value(0, i))
                setImageWord(w.images.image, word, static_cast<std::uint16_t>(sheet.value(0, i) * factor));
        }
    }
}

void BuildIdlePage(TPageForm& w)
{
    TControl* sheet = w.tabSheets[PAGE_IDLE];
    for (const MapEditorSpec& spec : kIdleEditors) BuildMapEditor(w, spec, sheet);
    fixCoolantAxes(w);
    if (auto* mode = FindControl<TRadioGroup>(w, "RadioGroupIdleMode"))
        mode->OnClick = [&w](TObject*) { RadioGroupIdleModeClick(w); };
    IdlePageCaptions(w);
}

void StoreIdlePage(TPageForm& w)
{
    if (w.settingGuard != 0) return;
    StoreBindings(w, PAGE_IDLE);
    StoreGrids(w, kIdleGrids);
    storeActuatorTable(w);
}

void ShowIdlePage(TPageForm& w)
{
    // The unit steps its motor by whole pairs of milliseconds: an odd period shows rounded up.
    RaiseOddByteToEven(w.images.image, kStepPeriodByte);
    ShowBindings(w, PAGE_IDLE);
    fixCoolantAxes(w);
    ShowGrids(w, kIdleGrids);
    IdlePageLayout(w);
    showActuatorTable(w);
    for (int id : kIdleEditorIds) RequestMapRedraw(w, id);
    IdlePageLayout(w);
    // The race page's deceleration control offers what the idle actuator can do.
    if (w.initialised) ClutchPageLayout(w);
}

void TickIdlePage(TPageForm& w)
{
    const auto mark = [&w](std::string_view stem, bool on) {
        if (auto* edit = FindControl<TEdit>(w, "Edit" + std::string(stem))) edit->SetColor(on ? clLime : clWindow);
        if (auto* label = FindControl<TLabel>(w, "Label" + std::string(stem))) label->SetColor(on ? clLime : clBtnFace);
    };
    mark("IdleTpsMez", w.liveValues.idleTpsRange);
    mark("IdleControlBand", w.liveValues.idleControlBand);
}

}  // namespace

void IdlePageCaptions(TPageForm& w)
{
    ApplyCaptions(w, kIdleCaptions);
    if (TControl* tab = FindControl<TTabSheet>(w, "TabSheet_Idle")) tab->SetCaption(messageText(77));
    auto* mode = FindControl<TRadioGroup>(w, "RadioGroupIdleMode");
    if (!mode) return;
    SettingGuard guard(w);
    ClearRadioItems(mode);
    for (const ModeItem& item : kModeItems) AddRadioItem(mode, GetLngText(item.text), item.tag);
    ShowRadioTag(w, mode, kModeByte, 0);
    IdlePageLayout(w);
}

void IdlePageLayout(TPageForm& w)
{
    const Image& image = w.images.image;
    const int mode = image[kModeByte];
    const bool advance = image[kAdvanceOnByte] != 0;
    setVisible(w, "LabelFIDwarning", mode == 4 && !anyOutputIsFidValve(image));
    setVisible(w, "RadioGroupIdleMode", true);
    setVisible(w, "CheckBoxIdleSmerReg", mode >= 1 && mode <= 3);
    if (auto* box = FindControl<TCheckBox>(w, "CheckBoxIdleSmerReg"))
        box->SetCaption(GetLngText(mode == 1 ? "###Min-Max (Minimum check)##Min-Max (Minimum abhacken)##Min-Max "
                                               "(Minimum zaškrtnout)"
                                             : "###Inverze direction of regulation##Umgekehrt Richtung##Opačný směr "
                                               "regulace"));
    SetPairVisible(w, "IdleStepPuls", false);
    SetPairVisible(w, "IdleRpmMez", false);
    SetPairVisible(w, "IdleStepPerioda", mode == 2 || mode == 3);
    SetPairVisible(w, "IdleStart", mode == 2);
    SetPairVisible(w, "IdleRegulation", mode == 4);
    SetPairVisible(w, "IdleLobe", mode == 4);
    for (std::string_view stem : {"IdleAdvNaRpm", "IdleAdvNaCas", "IdleMaxAdv"}) SetPairVisible(w, stem, advance);
    if (TTab* rpm = MapEditor(w, kAdvanceRpmEditorId)) rpm->SetVisible(advance);
    setVisible(w, "LabelCorAdvIdle", advance);
    SetPairVisible(w, "IdleTpsMez", advance || mode == 2 || mode == 4);
    SetPairVisible(w, "IdleControlBand", advance || mode == 2 || mode == 4);
    SetPairVisible(w, "IdleHyster", mode == 2 || mode == 4);
    if (auto* label = FindControl<TLabel>(w, "LabelIdleHyster")) label->SetCaption(messageText(mode == 4 ? 78 : 79));
    setVisible(w, "LabelIdleModeErr", false);

    TTab* actuator = MapEditor(w, kActuatorEditorId);
    if (!actuator) return;
    const ActuatorForm* form = actuatorForm(image, mode);
    actuator->SetVisible(form != nullptr);
    if (!form) return;
    for (int s = 0; s < std::min(2, actuator->sheetCount); ++s) {
        CSheet& sheet = actuator->sheets[std::size_t(s)];
        sheet.hidden = s >= form->sheets ? 1 : 0;
        actuator->SetSheetTitle(s, s == 0 ? form->title0 : form->title1);
        sheet.data.label = std::string(form->longName);
        sheet.data.name = std::string(form->name);
        sheet.data.unit = std::string(form->unit);
        sheet.data.min = form->min;
        sheet.data.max = form->max;
        sheet.data.scale = form->scale;
        sheet.data.SetSteps(form->steps);
        actuator->UpdateLimits(sheet, 0x107);
    }
    if (form->sheets == 1 && actuator->current != 0) actuator->SelectSheet(0);
    RequestMapRedraw(w, kActuatorEditorId);
}

void RadioGroupIdleModeClick(TPageForm& w)
{
    if (w.settingGuard != 0) return;
    // The new mode, the controls and the tables as they stand, then the new mode's default tables: one commit
    // takes them all, so that they form one undo step and go to the unit together.
    StoreIdlePage(w);
    Image& image = w.images.image;
    if (const ActuatorForm* form = actuatorForm(image, image[kModeByte]))
        for (int s = 0; s < (form->defaultsForStart ? 2 : 1); ++s)
            for (int i = 0; i < kPoints; ++i)
                setImageWord(image, kActuatorWords + s * kPoints + i, std::uint16_t(form->defaults[std::size_t(i)]));
    ShowIdlePage(w);
    CommitChangeNow(w);
}

extern const PageModule kIdlePage{
    .sheetName = "TabSheet_Idle",
    .caption = "Idle",
    .layout = kIdleLayout,
    .bindings = kIdleBindings,
    .grids = kIdleGrids,
    .editorIds = kIdleEditorIds,
    .build = BuildIdlePage,
    .store = StoreIdlePage,
    .show = ShowIdlePage,
    .captions = IdlePageCaptions,
    .tick = TickIdlePage,
};
