// The servos page: the intake and the exhaust servo, each with a map of its target position over RPM and throttle
// (one map editor, a sheet per servo), its enable switch, volts or percent, its regulation, polarity and whether it
// is the throttle; the intake servo may be a step motor. The row of controls under the map always shows the servo
// whose sheet is current, and four boxes over the map give each cylinder to one of the two throttle servos.
#include "pages/servospage.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "mapeditor/tab.h"
#include "pages/binding.h"
#include "pages/captions.h"
#include "pages/commit.h"
#include "pages/creators.h"
#include "pages/cruisepage.h"
#include "pages/idlepage.h"
#include "pages/mapgrids.h"
#include "pages/mapsheets.h"
#include "pages/mapside.h"
#include "pages/modules.h"
#include "pages/pages.h"
#include "pages/racepage.h"

namespace {

constexpr int W = kDesignPageWidth;
constexpr int H = kDesignPageHeight;

constexpr int kIntake = 0, kExhaust = 1;  // the sheets
constexpr int kColumns = 15, kRows = 10;

// Per servo (intake, exhaust).
constexpr int kRpmPoints[] = {4093, 4078};
constexpr int kCounts[] = {4408, 4409};
constexpr int kEnable[] = {4411, 4410};
constexpr int kPercent[] = {4415, 4414};
constexpr int kAxisUse[] = {4417, 4416};  // 0 both axes, 1 RPM only, 2 TP only
constexpr int kIsTps[] = {4431, 5014};
constexpr int kStepMotor = 4418;  // intake only
constexpr int kStepPeriod = 4428;
constexpr int kCylinders = 5015;  // bit 4 - n: cylinder n on the intake servo
constexpr int kModel = 2500;
constexpr int kModelWithoutStepMotor = 47;
constexpr int kChannels = 2680;
constexpr int kIdleMode = 4559;  // 1: the idle actuator is the intake servo
constexpr int kIdleServoWords = 1105;
constexpr int kIdleServoWordCount = 18;

// Two rows under the map, and the polarity group right of both: one row would not fit the page's width in every
// language. The regulation pairs take the place of the step motor's period (the two are never shown together).
constexpr int kMapHeight = H - 56;
constexpr int kRowA = H - 50;
constexpr int kRowB = H - 24;
constexpr int kPolarityWidth = 210;

// clang-format off
constexpr ControlRow kServosLayout[] = {
    // name                      kind                     parent            left top          width height caption
    {"CheckBoxServoEnable",      ControlKind::CheckBox,   "TabSheet_Servo",  10, kRowA + 1,   130, 19, "Servo enable"},
    {"CheckBoxServoPercent",     ControlKind::CheckBox,   "TabSheet_Servo",   0, kRowA + 1,    90, 19, "Percent"},
    {"EditServoP",               ControlKind::Edit,       "TabSheet_Servo",   0, kRowA - 1,    35, 21},
    {"UpDownServoP",             ControlKind::UpDown,     "TabSheet_Servo",   0, 0,            16, 21, {}, "EditServoP"},
    {"LabelServoP",              ControlKind::Label,      "TabSheet_Servo",   0, kRowA + 3,    30, 17, "1/P"},
    {"CheckBoxServoTps",         ControlKind::CheckBox,   "TabSheet_Servo",   0, kRowA + 1,    70, 19, "is TPS"},
    {"CheckBoxServoCyl1",        ControlKind::CheckBox,   "TabSheet_Servo",   0, kRowA + 1,    36, 19, "1"},
    {"CheckBoxServoCyl2",        ControlKind::CheckBox,   "TabSheet_Servo",   0, kRowA + 1,    36, 19, "2"},
    {"CheckBoxServoCyl3",        ControlKind::CheckBox,   "TabSheet_Servo",   0, kRowA + 1,    36, 19, "3"},
    {"CheckBoxServoCyl4",        ControlKind::CheckBox,   "TabSheet_Servo",   0, kRowA + 1,    36, 19, "4"},
    {"CheckBoxServoStep",        ControlKind::CheckBox,   "TabSheet_Servo",  10, kRowB + 1,   130, 19, "Step motor"},
    {"EditServoPeriod",          ControlKind::Edit,       "TabSheet_Servo",   0, kRowB - 1,    25, 21},
    {"UpDownServoPeriod",        ControlKind::UpDown,     "TabSheet_Servo",   0, 0,            16, 21, {}, "EditServoPeriod"},
    {"LabelServoPeriod",         ControlKind::Label,      "TabSheet_Servo",   0, kRowB + 3,    80, 17, "Period [ms]"},
    // Never shown: the unit takes no excitation time for the step motor.
    {"EditServoExcitation",      ControlKind::Edit,       "TabSheet_Servo",   0, kRowB - 1,    45, 21},
    {"UpDownServoExcitation",    ControlKind::UpDown,     "TabSheet_Servo",   0, 0,            16, 21, {}, "EditServoExcitation"},
    {"LabelServoExcitation",     ControlKind::Label,      "TabSheet_Servo",   0, kRowB + 3,    80, 17, "Excitation [us]"},
    {"EditServoI",               ControlKind::Edit,       "TabSheet_Servo",   0, kRowB - 1,    25, 21},
    {"UpDownServoI",             ControlKind::UpDown,     "TabSheet_Servo",   0, 0,            16, 21, {}, "EditServoI"},
    {"LabelServoI",              ControlKind::Label,      "TabSheet_Servo",   0, kRowB + 3,    10, 17, "I"},
    {"EditServoD",               ControlKind::Edit,       "TabSheet_Servo",   0, kRowB - 1,    25, 21},
    {"UpDownServoD",             ControlKind::UpDown,     "TabSheet_Servo",   0, 0,            16, 21, {}, "EditServoD"},
    {"LabelServoD",              ControlKind::Label,      "TabSheet_Servo",   0, kRowB + 3,    10, 17, "D"},
    {"EditServoIOff",            ControlKind::Edit,       "TabSheet_Servo",   0, kRowB - 1,    25, 21},
    {"UpDownServoIOff",          ControlKind::UpDown,     "TabSheet_Servo",   0, 0,            16, 21, {}, "EditServoIOff"},
    {"LabelServoIOff",           ControlKind::Label,      "TabSheet_Servo",   0, kRowB + 3,    30, 17, "I off"},
    {"EditServoDOff",            ControlKind::Edit,       "TabSheet_Servo",   0, kRowB - 1,    25, 21},
    {"UpDownServoDOff",          ControlKind::UpDown,     "TabSheet_Servo",   0, 0,            16, 21, {}, "EditServoDOff"},
    {"LabelServoDOff",           ControlKind::Label,      "TabSheet_Servo",   0, kRowB + 3,    30, 17, "D off"},
    {"EditServoO",               ControlKind::Edit,       "TabSheet_Servo",   0, kRowB - 1,    25, 21},
    {"UpDownServoO",             ControlKind::UpDown,     "TabSheet_Servo",   0, 0,            16, 21, {}, "EditServoO"},
    {"LabelServoO",              ControlKind::Label,      "TabSheet_Servo",   0, kRowB + 3,    10, 17, "O"},
    {"RadioGroupServoPolarity",  ControlKind::RadioGroup, "TabSheet_Servo", W - kPolarityWidth - 10, H - 54, kPolarityWidth, 46, "Polarity"},
};

// The row as the intake servo binds it (the module's table), and as the exhaust servo does: the same controls,
// without the step motor and its period.
constexpr FieldBinding kIntakeBindings[] = {
    // control                  kind         address index scale offset min  max   incr
    {"CheckBoxServoEnable",     Bind::Check, 4411},
    {"CheckBoxServoPercent",    Bind::Check, 4415},
    {"UpDownServoP",            Bind::Byte,  4413,   0,    5,    0,     0, 1000,  5},
    {"CheckBoxServoStep",       Bind::Check, 4418},
    {"UpDownServoPeriod",       Bind::Byte,  4428,   0,    1,    0,     2,  100,  2},
    {"UpDownServoI",            Bind::Byte,  4420,   0,    1,    0,     0,  250,  1},
    {"UpDownServoD",            Bind::Byte,  4422,   0,    1,    0,     0,  250,  1},
    {"UpDownServoIOff",         Bind::Byte,  4424,   0,    1,    0,     0,  250,  1},
    {"UpDownServoDOff",         Bind::Byte,  4426,   0,    1,    0,     0,  250,  1},
    {"UpDownServoO",            Bind::Byte,  4427,   0,    1,    0,     0,  250,  1},
    {"RadioGroupServoPolarity", Bind::Radio, 4430},
    {"CheckBoxServoTps",        Bind::Check, 4431},
};
constexpr FieldBinding kExhaustBindings[] = {
    {"CheckBoxServoEnable",     Bind::Check, 4410},
    {"CheckBoxServoPercent",    Bind::Check, 4414},
    {"UpDownServoP",            Bind::Byte,  4412,   0,    5,    0,     0, 1000,  5},
    {"UpDownServoI",            Bind::Byte,  4419,   0,    1,    0,     0,  250,  1},
    {"UpDownServoD",            Bind::Byte,  4421,   0,    1,    0,     0,  250,  1},
    {"UpDownServoIOff",         Bind::Byte,  4423,   0,    1,    0,     0,  250,  1},
    {"UpDownServoDOff",         Bind::Byte,  4425,   0,    1,    0,     0,  250,  1},
    {"UpDownServoO",            Bind::Byte,  5013,   0,    1,    0,     0,  250,  1},
    {"RadioGroupServoPolarity", Bind::Radio, 4429},
    {"CheckBoxServoTps",        Bind::Check, 5014},
};

constexpr GridBinding kServoPointGrids[] = {
    {kServoEditorId, kIntake, Cell::Byte, kRpmPoints[kIntake], 1, kColumns, 1, true, GridPart::XPoints},
    {kServoEditorId, kExhaust, Cell::Byte, kRpmPoints[kExhaust], 1, kColumns, 1, true, GridPart::XPoints},
};
// Every table of the page, which a re-read of the unit's bytes refreshes.
constexpr GridBinding kServoTables[] = {kServoGrids[0], kServoGrids[1], kServoPointGrids[0], kServoPointGrids[1]};

constexpr CaptionRow kServosCaptions[] = {
    {"CheckBoxServoEnable",  {"Servo enable", "Servo zulassen", "Servo povoleno"}},
    {"CheckBoxServoPercent", {"Percent", "Perzent", "Procent"}},
    {"CheckBoxServoStep",    {"Step motor", "Schrittmotor", "Krokový motor"}},
    {"LabelServoPeriod",     {"Period [ms]", "Periode [ms]", "Perioda [ms]"}},
    {"LabelServoExcitation", {"Excitation [us]", "Anfachung [us]", "Buzení [us]"}},
    {"LabelServoIOff",       {"I off", "I aus", "I vyp."}},
    {"LabelServoDOff",       {"D off", "D aus", "D vyp."}},
};

constexpr AxisSetup kRpmAxis{.name = "RPM", .min = 3, .max = 250, .scale = 100.0, .steps = kRpmSteps,
                             .count = kColumns, .collapseOption = 1, .collapsePos = kCollapseFirst,
                             .colour = 0xCEDBFF};
constexpr AxisSetup kTpAxisSetup{.name = "TP", .unit = "%", .min = 0, .max = 100, .editable = 0, .count = kRows,
                                 .collapseOption = 1, .resizable = 0, .collapsePos = kCollapseLast,
                                 .colour = 0xCEDBFF};
constexpr AxisSetup kVoltageData{.name = "U", .unit = "V", .min = 0, .max = 250, .scale = 0.02,
                                 .steps = kVoltageSteps, .options = 2, .colour = 0xCEDBFF};
constexpr int kServoSheetFlags = 0x609;  // operating point, enable switch, the two limiter marks
constexpr SheetSpec kServoSheets[] = {
    {"Intake servo", "RPM", "TP", "Voltage", kColumns, kRows, kServoSheetFlags, kRpmAxis, kTpAxisSetup, kVoltageData},
    {"Exhaust servo", "RPM", "TP", "Voltage", kColumns, kRows, kServoSheetFlags, kRpmAxis, kTpAxisSetup, kVoltageData},
};
constexpr MapEditorSpec kServoEditor{kServoEditorId, kTabSideBar | kTabTableView | kTabGraph2D | kTabGraph3D,
                                     0, 0, W, kMapHeight, 15, 10, kServoSheets};
// clang-format on

constexpr int kServoEditors[] = {kServoEditorId};

TTab* editor(TPageForm& w)
{
    return MapEditor(w, kServoEditorId);
}

int currentServo(TPageForm& w)
{
    const TTab* tab = editor(w);
    return tab && tab->current == kExhaust ? kExhaust : kIntake;
}

int pointCount(int stored)
{
    return stored == 0 || stored > kColumns ? kColumns : stored;
}

TCheckBox* cylinderBox(TPageForm& w, int n)
{
    return FindControl<TCheckBox>(w, "CheckBoxServoCyl" + std::to_string(n));
}

void setVisible(TPageForm& w, std::string_view name, bool visible)
{
    if (TControl* c = FindControl<TControl>(w, name)) c->SetVisible(visible);
}

std::span<const FieldBinding> bindingsOf(int servo)
{
    return servo == kExhaust ? std::span<const FieldBinding>(kExhaustBindings)
                             : std::span<const FieldBinding>(kIntakeBindings);
}

// The data of a sheet in volts (0.02 V a step) or in percent.
void setDataForm(CSheet& sheet, bool percent)
{
    CAxe& data = sheet.data;
    data.label = percent ? "Percentage" : "Voltage";
    data.name = percent ? "[%]" : "U";
    data.unit = percent ? "%" : "V";
    // 5.00 V is 100 %; in percent the unit takes 1 to 99, as the image repair keeps it.
    data.min = percent ? 1 : 0;
    data.max = percent ? 99 : 250;
    data.scale = percent ? 1.0 : 0.02;
    data.SetSteps(percent ? std::span<const StepEntry>(kPercentSteps) : std::span<const StepEntry>(kVoltageSteps));
}

// By "is TPS", then by percent (0x00BBGGRR).
constexpr TColor kSheetColours[2][2] = {{0xCEDBFF, 0xCEF0FF}, {0xF0DBFF, 0xF0F0FF}};

void ServoSheetColours(TPageForm& w)
{
    TTab* tab = editor(w);
    if (!tab) return;
    const Image& image = w.images.image;
    for (int s = 0; s < std::min(2, tab->sheetCount); ++s) {
        const bool percent = image[std::size_t(kPercent[s])] != 0;
        const bool tps = image[std::size_t(kIsTps[s])] != 0;
        const TColor colour = kSheetColours[tps ? 1 : 0][percent ? 1 : 0];
        CSheet& sheet = tab->sheets[std::size_t(s)];
        sheet.x.colour = sheet.y.colour = sheet.data.colour = colour;
    }
}

void placeRow(TPageForm& w);

void ServosPageLayout(TPageForm& w)
{
    const Image& image = w.images.image;
    const int servo = currentServo(w);
    const bool enabled = image[std::size_t(kEnable[servo])] != 0;
    const bool intake = servo == kIntake;
    const bool step = intake && enabled && image[kStepMotor] != 0;
    const bool regulation = enabled && !step;
    setVisible(w, "CheckBoxServoEnable", true);
    setVisible(w, "CheckBoxServoPercent", enabled);
    SetPairVisible(w, "ServoP", enabled);
    setVisible(w, "RadioGroupServoPolarity", enabled);
    setVisible(w, "CheckBoxServoTps", enabled);
    setVisible(w, "CheckBoxServoStep", enabled && intake);
    SetPairVisible(w, "ServoPeriod", step);
    SetPairVisible(w, "ServoExcitation", false);
    for (std::string_view stem : {"ServoI", "ServoD", "ServoIOff", "ServoDOff", "ServoO"})
        SetPairVisible(w, stem, regulation);
    // The exhaust servo can be the throttle only together with the intake servo.
    if (auto* tps = FindControl<TCheckBox>(w, "CheckBoxServoTps")) tps->SetEnabled(intake || image[kIsTps[0]] != 0);
    placeRow(w);
    const bool twoThrottles = image[kIsTps[0]] != 0 && image[kIsTps[1]] != 0;
    for (int n = 1; n <= 4; ++n)
        if (TCheckBox* box = cylinderBox(w, n)) box->SetVisible(twoThrottles && image[kChannels] >= n);
}

// The row from left to right; each control starts after the caption before it, so that no language's caption is
// covered. Row B's regulation pairs start where the step motor's period starts.
void placeRow(TPageForm& w)
{
    int x = 10;
    auto box = [&](std::string_view name, int gap) {
        if (auto* c = FindControl<TControl>(w, name)) {
            c->SetLeft(x);
            x += c->Width() + gap;
        }
    };
    auto pair = [&](std::string_view stem, int top, int editWidth, int labelOffset, int gap) {
        auto* upDown = FindControl<TUpDown>(w, "UpDown" + std::string(stem));
        auto* label = FindControl<TLabel>(w, "Label" + std::string(stem));
        if (!upDown || !label) return;
        PlaceEditPair(upDown, x, top - 1, upDown->Min(), upDown->Max(), upDown->Increment(), editWidth);
        label->SetLeft(x + labelOffset);
        x = label->Left() + label->Width() + gap;
    };
    box("CheckBoxServoEnable", 15);
    box("CheckBoxServoPercent", 15);
    pair("ServoP", kRowA, 35, 55, 15);
    box("CheckBoxServoTps", 10);
    // The cylinders of the two throttle servos: a box checked on a servo's sheet gives the cylinder to that servo.
    for (const char* name : {"CheckBoxServoCyl1", "CheckBoxServoCyl2", "CheckBoxServoCyl3", "CheckBoxServoCyl4"})
        box(name, 0);
    x = 10;
    // Without the step motor's box (the exhaust servo) the regulation pairs move to the row's start.
    if (const auto* step = FindControl<TControl>(w, "CheckBoxServoStep"); step && step->Visible())
        box("CheckBoxServoStep", 5);
    const int periodLeft = x;
    pair("ServoPeriod", kRowB, 25, 45, 10);
    pair("ServoExcitation", kRowB, 45, 65, 10);
    x = periodLeft;
    for (std::string_view stem : {"ServoI", "ServoD", "ServoIOff", "ServoDOff", "ServoO"}) pair(stem, kRowB, 25, 45, 6);
}

void ServosPageCaptions(TPageForm& w)
{
    ApplyCaptions(w, kServosCaptions);
    placeRow(w);
}

// The sheet's Enable switch, axes, points and cells from the servo's own bytes.
void showSheet(TPageForm& w, int servo)
{
    TTab* tab = editor(w);
    if (!tab || servo >= tab->sheetCount) return;
    const Image& image = w.images.image;
    CSheet& sheet = tab->sheets[std::size_t(servo)];
    sheet.enabled = image[std::size_t(kEnable[servo])] != 0 ? 1 : 0;
    const int use = image[std::size_t(kAxisUse[servo])];
    sheet.x.collapsed = use == 2 ? 1 : 0;
    sheet.y.collapsed = use == 1 ? 1 : 0;
    sheet.x.count = kColumns;
    sheet.y.count = kRows;
    ShowGrid(w, kServoPointGrids[servo]);
    SetFixedPoints(sheet, false, kTpAxis);
    ShowGrid(w, kServoGrids[servo]);
    setDataForm(sheet, image[std::size_t(kPercent[servo])] != 0);
    sheet.x.count = pointCount(image[std::size_t(kCounts[servo])]);
}

// The servo's row and sheet into its bytes. Columns beyond the RPM points in use repeat the last used one.
void storeServo(TPageForm& w, int servo)
{
    Image& image = w.images.image;
    const std::span<const FieldBinding> rows = bindingsOf(servo);
    for (const FieldBinding& row : rows) StoreBinding(w, row, FindControl<TControl>(w, row.control));
    if (servo == kIntake && image[kModel] == kModelWithoutStepMotor) image[kStepMotor] = 0;
    TTab* tab = editor(w);
    if (!tab || servo >= tab->sheetCount) return;
    const CSheet& sheet = tab->sheets[std::size_t(servo)];
    int use = 0;
    if (sheet.y.collapsed) use = 1;
    if (sheet.x.collapsed) use = 2;
    image[std::size_t(kAxisUse[servo])] = std::uint8_t(use);
    const int n = pointCount(sheet.x.count);
    StoreGrid(w, kServoPointGrids[servo]);
    StoreGrid(w, kServoGrids[servo]);
    PadGridColumns(w, kServoGrids[servo], n);
    image[std::size_t(kCounts[servo])] = std::uint8_t(n);
}

void StoreServosPage(TPageForm& w)
{
    if (w.settingGuard != 0) return;
    const int servo = currentServo(w);
    int cylinders = 0;
    for (int n = 1; n <= 4; ++n) {
        const TCheckBox* box = cylinderBox(w, n);
        const bool onIntake = (box && box->Checked()) != (servo == kExhaust);
        if (onIntake) cylinders |= 1 << (4 - n);
    }
    w.images.image[kCylinders] = std::uint8_t(cylinders);
    storeServo(w, servo);
}

void ShowServosPage(TPageForm& w)
{
    Image& image = w.images.image;
    const int servo = currentServo(w);
    for (int n = 1; n <= 4; ++n)
        SetCheckQuiet(w, cylinderBox(w, n), ((image[kCylinders] >> (4 - n)) & 1) != (servo == kExhaust ? 1 : 0));
    if (servo == kIntake) RaiseOddByteToEven(image, kStepPeriod);
    for (const FieldBinding& row : bindingsOf(servo)) ShowBinding(w, row, FindControl<TControl>(w, row.control));
    TTab* tab = editor(w);
    if (tab) {
        for (int s = 0; s < std::min(2, tab->sheetCount); ++s) showSheet(w, s);
        tab->Tag = tab->current;  // the sheet the row shows now
    }
    ServoSheetColours(w);
    if (tab) tab->BuildSideBar();
    RequestMapRedraw(w, kServoEditorId);
    ServosPageLayout(w);
    if (w.initialised) {
        // The race page's layout and the cruise control's tab follow whether a servo is the throttle.
        ClutchPageLayout(w);
        TempomatTabRule(w);
    }
}

void focusMap(TPageForm& w)
{
    if (TTab* tab = editor(w); tab && w.currentPage == PAGE_SERVOS) tab->SetFocus();
}

void applyLanguage(TPageForm& w)
{
    if (w.pageHooks.applyLanguage) w.pageHooks.applyLanguage();
}

// Volts to percent and back, the unit's rounding: 5.00 V (raw 250) is 100 %.
int voltsToPercent(int raw)
{
    return static_cast<int>(std::floor(raw * 2.0 * 0.2 + 0.5));
}
int percentToVolts(int raw)
{
    return static_cast<int>(std::floor(raw * 5.0 * 0.5 + 0.5));
}

// While the idle actuator is the intake servo, its start table holds the servo's positions in the servo's unit
// (millivolts or percent): it changes unit with the servo, or the idle page would read millivolts as percent.
void convertIdleServoTable(TPageForm& w, bool toPercent)
{
    Image& image = w.images.image;
    if (image[kIdleMode] != 1) return;
    for (int i = 0; i < kIdleServoWordCount; ++i) {
        const int word = imageWord(image, kIdleServoWords + i);
        const double converted = toPercent ? std::floor(word * 0.02 + 0.5) : std::floor(word * 50.0 + 0.5);
        setImageWord(image, kIdleServoWords + i, static_cast<std::uint16_t>(std::min(converted, 65535.0)));
    }
}

void percentClick(TPageForm& w, TCheckBox& box)
{
    TTab* tab = editor(w);
    const int servo = currentServo(w);
    Image& image = w.images.image;
    const bool wasPercent = image[std::size_t(kPercent[servo])] != 0;
    if (tab && wasPercent != box.Checked()) {
        CSheet& sheet = tab->sheets[std::size_t(servo)];
        for (std::int32_t& cell : sheet.data.points)
            cell = box.Checked() ? voltsToPercent(cell) : percentToVolts(cell);
        setDataForm(sheet, box.Checked());
        if (servo == kIntake) convertIdleServoTable(w, box.Checked());
    }
    image[std::size_t(kPercent[servo])] = box.Checked() ? 1 : 0;
    applyLanguage(w);
    IdlePageLayout(w);
    ShowPage(w, PAGE_TRACKING);  // the launch page's servo thresholds take the servo's unit
    ServoSheetColours(w);
    RequestMapRedraw(w, kServoEditorId);
    NotePendingChange(w, &box, kChangeNow);
    focusMap(w);
}

void ServoCheckBoxClick(TPageForm& w, TObject* sender)
{
    if (w.settingGuard != 0) return;
    auto* box = dynamic_cast<TCheckBox*>(sender);
    TTab* tab = editor(w);
    if (!box || !tab) return;
    const std::string& name = box->Name();
    if (name == "CheckBoxServoEnable") {
        // The sheet's Enable switch is the servo's enable byte: the editor reports the toggle, and the map-changed
        // routine stores it.
        const CSheet* sheet = tab->Current();
        if (sheet && (sheet->enabled != 0) != box->Checked()) tab->Command(kCmdEnable);
        focusMap(w);
        applyLanguage(w);
    } else if (name == "CheckBoxServoPercent") {
        percentClick(w, *box);
    } else if (name == "CheckBoxServoStep") {
        w.images.image[kStepMotor] = box->Checked() ? 1 : 0;
        ServosPageLayout(w);
        NotePendingChange(w, box, kChangeNow);
        focusMap(w);
    }
}

void ServosMapChanged(TPageForm& w, int)
{
    TTab* tab = editor(w);
    if (!tab) return;
    Image& image = w.images.image;
    const int servo = currentServo(w);
    if (const CSheet* sheet = tab->Current(); sheet && (sheet->enabled != 0) != (image[kEnable[servo]] != 0)) {
        image[std::size_t(kEnable[servo])] = sheet->enabled != 0 ? 1 : 0;
        ShowCheck(w, FindControl<TCheckBox>(w, "CheckBoxServoEnable"), kEnable[servo], 0);
        CommitChangeNow(w);
    }
    if (tab->current != tab->Tag) {
        // Another sheet's tab was clicked: the row still holds the servo shown before, with any change not yet
        // committed (an up-down click waits a few ticks). It goes into that servo's bytes before the row shows
        // the other servo.
        if (w.settingGuard == 0 && (tab->Tag == kIntake || tab->Tag == kExhaust)) storeServo(w, tab->Tag);
        ShowServosPage(w);
    }
    CommitChangeNow(w);
}

void BuildServosPage(TPageForm& w)
{
    TTabSheet* page = w.tabSheets[PAGE_SERVOS];
    if (auto* group = FindControl<TRadioGroup>(w, "RadioGroupServoPolarity")) {
        group->SetItems(SplitItemList("Auto,Plus,Minus"));
        group->SetColumns(3);
    }
    for (const char* name : {"LabelServoP", "LabelServoPeriod", "LabelServoExcitation", "LabelServoI",
                             "LabelServoD", "LabelServoIOff", "LabelServoDOff", "LabelServoO"})
        if (auto* l = FindControl<TLabel>(w, name)) l->SetAutoSize(true);
    for (const char* name : {"CheckBoxServoEnable", "CheckBoxServoPercent", "CheckBoxServoStep"})
        if (auto* box = FindControl<TCheckBox>(w, name)) box->OnClick = [&w](TObject* s) { ServoCheckBoxClick(w, s); };
    TTab* tab = BuildMapEditor(w, kServoEditor, page);
    ServoSheetColours(w);
    if (tab) tab->Tag = tab->current;
    ServosPageCaptions(w);
    ShowServosPage(w);
}

}  // namespace

std::span<const FieldBinding> ServoRowBindings(int servo)
{
    return bindingsOf(servo);
}

extern const PageModule kServosPage{
    .sheetName = "TabSheet_Servo",
    .caption = "Servo",
    .runTimeSheet = true,
    .layout = kServosLayout,
    .bindings = kIntakeBindings,
    .grids = kServoTables,
    .editorIds = kServoEditors,
    .build = BuildServosPage,
    .store = StoreServosPage,
    .show = ShowServosPage,
    .captions = ServosPageCaptions,
    .mapChanged = ServosMapChanged,
};
