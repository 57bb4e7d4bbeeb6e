// The sensor characteristics as small map editors: temperature (coolant and inlet air), lambda, throttle,
// atmospheric and intake pressure, fuel level. Their points and voltages lie in scattered image fields, bound one
// by one (mappoints.h).
#include "pages/sensormaps.h"

#include <array>

#include "mapeditor/tab.h"
#include "pages/lambdascale.h"
#include "pages/mappoints.h"
#include "pages/mapsheets.h"
#include "pages/commit.h"
#include "pages/pages.h"
#include "pages/sensorspage.h"
#include "pages/syncpage.h"

namespace {

constexpr int kTpsOffByte = 4052, kApOffByte = 4053, kIapOffByte = 4054, kLambdaOffByte = 4057;
constexpr int kWaterOffByte = 4055, kAirOffByte = 4056;
constexpr int kTpsMiddleByte = 4058, kTps3PointByte = 4059, kLambdaTypeByte = 4060;
constexpr int kLambdaPointBytes = 4061;  // six AFR x 10
constexpr int kInjectionModeByte = 3817;
constexpr int kCoolantWords = 1044, kAirWords = 1053;  // nine millivolt words each
constexpr int kTemperatureRows = 9;
constexpr int kLambdaRows = 6;
constexpr int kLambdaCan = 2;
constexpr TColor kPressureColour = 0xA0E0C0;
constexpr TColor kFlatPressureColour = 0x0000FF;  // both voltages equal: the sensor cannot tell pressures apart

// Three columns as on the rest of the page: throttle and pressures; temperatures and fuel; lambda.
// The throttle map grows for the middle row of a 3-point characteristic; the calibration buttons stand beside it.
constexpr int kTpsTop = 10, kTpsWidth = 171;
constexpr int kTpsHeight = kDesignPageHeight * 3 / 10, kTps3PointHeight = kDesignPageHeight * 34 / 100;
constexpr int kApTop = 226, kApHeight = kDesignPageHeight * 3 / 10, kApCollapsedHeight = 20;
constexpr int kLambdaHeight = 180, kLambdaCollapsedHeight = 30;

constexpr int kTemperaturePoints[kTemperatureRows] = {-10, 5, 20, 35, 50, 65, 80, 95, 110};
constexpr int kTps2Points[] = {0, 100};
constexpr std::string_view kTemperatureColumns =
    "###Coolant##Kühlflüssigkeit##Voda,###Inlet Air##Ansaugluft##Vzduch";

constexpr StepEntry kResistanceSteps[] = {
    {100, 20, 10, 5, 20}, {500, 100, 50, 25, 100}, {1000, 200, 100, 50, 200}, {5000, 1000, 500, 250, 1000}};

// clang-format off
constexpr AxisSetup kFixedX{.min = 0, .max = 20000, .editable = 0, .options = 0, .count = 1, .collapseOption = 2,
                            .collapsed = 1, .resizable = 0, .collapsePos = kCollapseFirst};
constexpr AxisSetup kVoltage{.name = "U", .unit = "V", .min = 0, .max = 5000, .scale = 0.001, .steps = kVoltageSteps,
                             .options = 2};
constexpr AxisSetup kResistance{.name = "R", .min = 0, .max = 20'000'000, .scale = 1.0, .steps = kResistanceSteps,
                                .options = 2};

constexpr AxisSetup with(AxisSetup a, TColor colour) { a.colour = colour; return a; }
constexpr AxisSetup counted(AxisSetup a, int count) { a.count = count; return a; }

constexpr SheetSpec kTemperatureSheet[] = {{
    "###Characteristic of temperature sensors##Kennlinie der Temperatursensoren##Charakteristika teplotních čidel",
    "", "", "###Voltage##Spannung##Napětí", 2, kTemperatureRows, 0x4003,
    {.min = 0, .max = 20000, .editable = 0, .options = 0, .count = 2, .collapseOption = 0, .resizable = 0},
    {.name = "TW", .unit = "°C", .min = -10, .max = 110, .steps = kTemperatureSteps, .editable = 0,
     .count = kTemperatureRows, .collapseOption = 0, .resizable = 0, .collapsePos = kCollapseLast},
    {.name = "U", .unit = "V", .min = 0, .max = 5000, .scale = 0.001, .steps = kVoltageSteps, .options = 2,
     .minCount = 0, .count = 0, .collapseOption = 0, .resizable = 0, .collapsePos = 0},
    0, 0, 0, "BGWA", "BGRAINBOW9x22", "BGRAINBOW9x22", 9, 0, true}};
constexpr SheetSpec kLambdaSheet[] = {{
    "###Lambda sensor##Lambdasonde##Lambda sonda", "", "AFR", "###Voltage##Spannung##Napětí", 1, kLambdaRows, 0x0B,
    with(kFixedX, 0xFCF2E4),
    {.name = "AFR", .min = 0, .max = 250, .scale = 0.1, .steps = kVoltageTimeSteps, .count = kLambdaRows,
     .collapseOption = 0, .resizable = 0, .collapsePos = kCollapseLast, .colour = 0xECD2F4},
    with(kVoltage, 0xECD2F4), 0, 0, 0, {}, {}, {}, 9, 0, true, 9}};
constexpr SheetSpec kTpsSheet[] = {{
    "###TP sensor##TP Sensor##Snímač TP", "", "TP", "###Voltage##Spannung##Napětí", 1, 2, 0xAB,
    with(counted(kFixedX, 2), kPressureColour),
    {.name = "TP", .unit = "%", .min = 0, .max = 100, .steps = kPercentSteps, .editable = 0, .count = 2,
     .collapseOption = 0, .resizable = 0, .collapsePos = kCollapseLast, .colour = kPressureColour},
    {.name = "U", .unit = "V", .min = 0, .max = 500, .scale = 0.01, .steps = kVoltageSteps, .options = 2,
     .colour = kPressureColour},
    0, 0, 0, {}, {}, {}, 9, 0, true, 9}};
constexpr AxisSetup kPressureY{.name = "P", .unit = "kPa", .min = 0, .max = 1000, .steps = kVoltageTimeSteps,
                               .count = 2, .collapseOption = 0, .resizable = 0, .collapsePos = kCollapseLast,
                               .colour = kPressureColour};
constexpr SheetSpec kApSheet[] = {{
    "###AP (pressure) sensor##AP (druck) sensor##Snímač AP (tlaku)", "", "###Pressure##Druck##Tlak",
    "###Voltage##Spannung##Napětí", 1, 2, 0xAB, with(counted(kFixedX, 2), kPressureColour), kPressureY,
    with(kVoltage, kPressureColour), 0, 0, 0, {}, {}, {}, 9, 0, true, 9}};
constexpr SheetSpec kIapSheet[] = {{
    "###IAP (intake pressure) sensor##IAP (ansaugdruck) sensor##Snímač IAP (sacího tlaku)", "",
    "###Pressure##Druck##Tlak", "###Voltage##Spannung##Napětí", 2, 2, 0xAB,
    with(counted(kFixedX, 2), kPressureColour), kPressureY, with(kVoltage, kPressureColour),
    0, 0, 0, {}, {}, {}, 9, 0, true, 9}};
constexpr SheetSpec kFuelSheet[] = {{
    "###Fuel sensor calibration##Kalibrierung des Tanksensors##Kalibrace čidla paliva", "###Voltage##Spannung##Napětí",
    "", "###Fuel##Kraftstoff##Palivo", 5, 1, 0x701,
    {.name = "U", .unit = "V", .min = 0, .max = 250, .scale = 0.02, .steps = kVoltageSteps, .count = 5,
     .collapseOption = 0, .resizable = 0, .collapsePos = kCollapseLast, .colour = 0x70F0C8},
    {.min = 0, .max = 200, .steps = kVoltageTimeSteps, .editable = 0, .options = 0, .count = 1, .collapseOption = 2,
     .collapsed = 1, .resizable = 0, .collapsePos = kCollapseFirst, .colour = 0x70F0C8},
    {.name = "Fuel", .unit = "%", .min = 0, .max = 100, .steps = kPercentSteps, .options = 2, .colour = 0x70F0C8},
    0, 0, 0, {}, {}, {}, 9, 0, true, 9}};

constexpr int kSensorMapFlags = kTabTableView | kTabGraph2D | kTabTitleStrip;
constexpr MapEditorSpec kSensorMapEditors[] = {
    // id                   flags            left  top       width height          columns rows  sheets
    {kTpsEditorId,          kSensorMapFlags,  10, kTpsTop,   kTpsWidth, kTpsHeight, 1, 2, kTpsSheet},
    {kApEditorId,           kSensorMapFlags,  10, kApTop,    235, kApHeight,      1, 2, kApSheet},
    {kIapEditorId,          kSensorMapFlags,  10, 418,       235, 178,            2, 2, kIapSheet},
    {kTemperatureEditorId,  kSensorMapFlags, 249,  56,       240, 270,            2, kTemperatureRows, kTemperatureSheet},
    {kFuelEditorId,         kSensorMapFlags, 249, 460,       240, 136,            5, 2, kFuelSheet},
    {kLambdaSensorEditorId, kSensorMapFlags, 492,  10,       210, kLambdaHeight,  2, kLambdaRows, kLambdaSheet},
};

// Throttle: the closed and open voltages (millivolts, shown in hundredths of a volt), in a 3-point
// characteristic with the middle point's throttle and voltage between them.
constexpr PointBinding kTps2Point[] = {
    {kTpsEditorId, PointPart::Cell, 0, 0, PointField::Word, 1084, 10},
    {kTpsEditorId, PointPart::Cell, 0, 1, PointField::Word, 1086, 10},
};
constexpr PointBinding kTps3Point[] = {
    {kTpsEditorId, PointPart::Cell,   0, 0, PointField::Word, 1084, 10},
    {kTpsEditorId, PointPart::YPoint, 0, 1, PointField::Byte, kTpsMiddleByte},
    {kTpsEditorId, PointPart::Cell,   0, 1, PointField::Word, 1085, 10},
    {kTpsEditorId, PointPart::Cell,   0, 2, PointField::Word, 1086, 10},
};
// Pressure points (kPa) and their voltages (millivolts), interleaved.
constexpr PointBinding kPressurePoints[] = {
    {kApEditorId,  PointPart::YPoint, 0, 0, PointField::Word,       1068},
    {kApEditorId,  PointPart::Cell,   0, 0, PointField::SignedWord, 1069},
    {kApEditorId,  PointPart::YPoint, 0, 1, PointField::Word,       1070},
    {kApEditorId,  PointPart::Cell,   0, 1, PointField::SignedWord, 1071},
    {kIapEditorId, PointPart::YPoint, 0, 0, PointField::Word,       1072},
    {kIapEditorId, PointPart::Cell,   0, 0, PointField::SignedWord, 1073},
    {kIapEditorId, PointPart::YPoint, 0, 1, PointField::Word,       1074},
    {kIapEditorId, PointPart::Cell,   0, 1, PointField::SignedWord, 1075},
};
// clang-format on

// Every element of one table: `count` consecutive fields from `address` along a column, a row or an axis.
template <std::size_t N>
constexpr std::array<PointBinding, N> run(int editorId, PointPart part, PointField field, int address, bool alongRow,
                                          int fixed = 0)
{
    std::array<PointBinding, N> rows{};
    for (std::size_t i = 0; i < N; ++i) {
        const int k = static_cast<int>(i);
        rows[i] = {editorId, part, alongRow ? k : fixed, alongRow ? fixed : k, field, address + k};
    }
    return rows;
}
constexpr auto kLambdaVoltages = run<kLambdaRows>(kLambdaSensorEditorId, PointPart::Cell, PointField::SignedWord, 1062, false);
constexpr auto kFuelCells = run<5>(kFuelEditorId, PointPart::Cell, PointField::Byte, 4068, true);
constexpr auto kFuelVoltages = run<5>(kFuelEditorId, PointPart::XPoint, PointField::Byte, 4073, true);

TTab* editor(TPageForm& w, int id)
{
    TTab* tab = MapEditor(w, id);
    return tab && tab->sheetCount > 0 && tab->sheets[0].isAllocated() ? tab : nullptr;
}

CSheet* sheet(TPageForm& w, int id)
{
    TTab* tab = editor(w, id);
    return tab ? &tab->sheets[0] : nullptr;
}

bool threePoint(const TPageForm& w)
{
    return w.images.image[kTps3PointByte] != 0;
}

std::span<const PointBinding> tpsBindings(bool threePoints)
{
    return threePoints ? std::span<const PointBinding>(kTps3Point) : std::span<const PointBinding>(kTps2Point);
}

// The rows as the map shows them: a store that follows a change of the 3-point switch reads the rows shown.
bool shownWithThreePoints(TPageForm& w)
{
    const CSheet* s = sheet(w, kTpsEditorId);
    return s ? s->y.count == 3 : threePoint(w);
}

// The temperature column c shows the sensor its X point names: 0 coolant, 1 inlet air. With only the air sensor
// on, the one column shown is the air sensor's, and it shows and stores the air words.
PointBinding temperatureCell(const CSheet& s, int column, int row)
{
    const int words = s.x.points[std::size_t(column)] == 1 ? kAirWords : kCoolantWords;
    return {kTemperatureEditorId, PointPart::Cell, column, row, PointField::SignedWord, words + row};
}

bool resistanceView(const CSheet& s)
{
    return s.data.name != "U";
}

void showTemperature(TPageForm& w)
{
    CSheet* s = sheet(w, kTemperatureEditorId);
    if (!s) return;
    SetFixedPoints(*s, false, kTemperaturePoints);
    for (int c = 0; c < 2; ++c)
        for (int r = 0; r < kTemperatureRows; ++r) {
            const int millivolts = ShownPointValue(w.images.image, temperatureCell(*s, c, r));
            s->value(c, r) = resistanceView(*s) ? static_cast<std::int32_t>(VoltageToResistance(millivolts)) : millivolts;
        }
}

void storeTemperature(TPageForm& w)
{
    CSheet* s = sheet(w, kTemperatureEditorId);
    if (!s) return;
    Image& image = w.images.image;
    for (int c = 0; c < 2; ++c)
        for (int r = 0; r < kTemperatureRows; ++r) {
            const PointBinding cell = temperatureCell(*s, c, r);
            const int word = ShownPointValue(image, cell);
            const std::int32_t shown = s->value(c, r);
            if (!resistanceView(*s)) {
                if (shown != word) StorePointValue(image, cell, shown);
                continue;
            }
            if (VoltageToResistance(word) == shown) continue;
            const int voltage = ResistanceToVoltage(shown);
            // A raised resistance moves the voltage by at least one millivolt, or the edit would be lost.
            if (voltage != word)
                StorePointValue(image, cell, voltage);
            else if (VoltageToResistance(word) < shown)
                StorePointValue(image, cell, word + 1);
        }
}

// The points stand in the notation the axis shows; a store that follows a change of the notation switch reads
// them in the notation they were shown in.
bool shownAsLambda(const CSheet& s)
{
    return s.y.scale < 0.05;
}

void showLambdaPoints(TPageForm& w)
{
    CSheet* s = sheet(w, kLambdaSensorEditorId);
    if (!s) return;
    SetMixtureAxis(s->y, w.images.image[kLambdaNotationByte] != 0);
    const bool notation = shownAsLambda(*s);
    for (int r = 0; r < kLambdaRows; ++r)
        s->y.points[std::size_t(r)] = MixturePointShown(w.images.image[std::size_t(kLambdaPointBytes + r)], notation);
}

void storeLambdaPoints(TPageForm& w)
{
    CSheet* s = sheet(w, kLambdaSensorEditorId);
    if (!s) return;
    const bool notation = shownAsLambda(*s);
    for (int r = 0; r < kLambdaRows; ++r) {
        std::uint8_t& afr = w.images.image[std::size_t(kLambdaPointBytes + r)];
        const int shown = s->y.points[std::size_t(r)];
        if (shown != MixturePointShown(afr, notation)) afr = static_cast<std::uint8_t>(MixturePointStored(shown, notation));
    }
}

// The throttle map has two rows, or three with the middle point; its Y axis is fixed at 0 and 100 % but for the
// middle point, which the person sets.
void tpsRows(TPageForm& w)
{
    TTab* tab = editor(w, kTpsEditorId);
    if (!tab) return;
    CSheet& s = tab->sheets[0];
    const int rows = threePoint(w) ? 3 : 2;
    if (tab->layout.visibleRows == rows && s.y.count == rows) return;
    tab->layout.visibleRows = rows;
    s.y.count = rows;
    s.y.maxCount = std::max(s.y.maxCount, rows);
    s.y.editable = rows == 3 ? 1 : 0;
    tab->SetBounds(tab->Left(), tab->Top(), tab->Width(), rows == 3 ? kTps3PointHeight : kTpsHeight);
    tab->BuildSideBar();
    tab->dirty |= kDirtyRedraw | kDirtyRecompute;
}

void showTps(TPageForm& w)
{
    CSheet* s = sheet(w, kTpsEditorId);
    if (!s) return;
    s->y.points[0] = 0;
    s->y.points[std::size_t(threePoint(w) ? 2 : 1)] = 100;
    ShowPoints(w, tpsBindings(threePoint(w)));
}

void showSwitches(TPageForm& w)
{
    ShowSheetSwitch(w, kTpsEditorId, kTpsOffByte);
    ShowSheetSwitch(w, kApEditorId, kApOffByte);
    ShowSheetSwitch(w, kIapEditorId, kIapOffByte);
    ShowSheetSwitch(w, kLambdaSensorEditorId, kLambdaOffByte);
}

// Temperature columns by the sensors switched on: both (or none) two columns; only coolant, or only inlet air,
// one column of that sensor. True when the columns changed.
bool temperatureColumns(TPageForm& w)
{
    TTab* tab = editor(w, kTemperatureEditorId);
    if (!tab) return false;
    CSheet& s = tab->sheets[0];
    const int on = (w.images.image[kWaterOffByte] == 0 ? 2 : 0) + (w.images.image[kAirOffByte] == 0 ? 1 : 0);
    const int count = on == 1 || on == 2 ? 1 : 2;
    const std::array<int, 2> points = on == 1 ? std::array{1, 0} : std::array{0, 1};
    const bool changed = s.x.count != count || s.x.points[0] != points[0] || s.x.points[1] != points[1];
    s.x.count = count;
    SetFixedPoints(s, true, points);
    tab->layout.visibleColumns = count;
    if (changed) {
        tab->BuildSideBar();
        tab->dirty |= kDirtyRedraw | kDirtyRecompute;
    }
    return changed;
}

void setDataColour(TPageForm& w, int id)
{
    TTab* tab = editor(w, id);
    if (!tab) return;
    CSheet& s = tab->sheets[0];
    const TColor colour = s.value(0, 0) == s.value(0, 1) ? kFlatPressureColour : kPressureColour;
    if (s.data.colour == colour) return;
    s.data.colour = colour;
    tab->dirty |= kDirtyRedraw;
}

}  // namespace

void BuildSensorMaps(TPageForm& w)
{
    TControl* page = w.tabSheets[PAGE_SENSORS];
    for (const MapEditorSpec& spec : kSensorMapEditors)
        if (TTab* tab = BuildMapEditor(w, spec, page); tab && spec.id == kTemperatureEditorId) {
            CSheet& s = tab->sheets[0];
            s.x.labelTexts[0] = std::string(kTemperatureColumns);
            s.x.SplitStringView();
            SetFixedPoints(s, true, std::array{0, 1});
        }
}

void ShowSensorMaps(TPageForm& w)
{
    tpsRows(w);
    showTps(w);
    temperatureColumns(w);
    showTemperature(w);
    showLambdaPoints(w);
    ShowPoints(w, kLambdaVoltages);
    ShowPoints(w, kPressurePoints);
    ShowPoints(w, kFuelCells);
    ShowPoints(w, kFuelVoltages);
    showSwitches(w);
}

void StoreSensorMaps(TPageForm& w)
{
    StoreSheetSwitch(w, kTpsEditorId, kTpsOffByte);
    StoreSheetSwitch(w, kApEditorId, kApOffByte);
    StoreSheetSwitch(w, kIapEditorId, kIapOffByte);
    StoreSheetSwitch(w, kLambdaSensorEditorId, kLambdaOffByte);
    StorePoints(w, tpsBindings(shownWithThreePoints(w)));
    storeTemperature(w);
    storeLambdaPoints(w);
    StorePoints(w, kLambdaVoltages);
    StorePoints(w, kFuelCells);
    StorePoints(w, kFuelVoltages);
    StorePoints(w, kPressurePoints);
}

void SensorMapsLayout(TPageForm& w)
{
    const Image& image = w.images.image;
    // The atmospheric pressure sensor measures the intake for the synchronisation's hunting: its map is folded
    // away and the label says why.
    const int synchro2 = image[kSynchro2Byte];
    const bool apForSync = image[kHuntingSourceByte] == 1 && (synchro2 == 5 || synchro2 == 6);
    if (TTab* ap = MapEditor(w, kApEditorId)) {
        ap->SetEnabled(!apForSync);
        ap->SetBounds(ap->Left(), kApTop, ap->Width(), apForSync ? kApCollapsedHeight : kApHeight);
    }
    setDataColour(w, kApEditorId);
    setDataColour(w, kIapEditorId);

    if (temperatureColumns(w)) showTemperature(w);
    // Without a temperature sensor there is no characteristic to set, nor a view of it to choose.
    const bool temperature = image[kWaterOffByte] == 0 || image[kAirOffByte] == 0;
    if (TTab* tab = MapEditor(w, kTemperatureEditorId)) tab->SetVisible(temperature);
    if (auto* view = FindControl<TRadioGroup>(w, "RadioGroupTempView")) view->SetVisible(temperature);

    // One lambda channel over CAN while the injectors are coupled or the engine has one cylinder; one per cylinder
    // otherwise, which the map does not describe: it folds to its title.
    const bool singleChannel = image[kInjectionModeByte] != 0 || image[kCylindersByte] < 2;
    if (TTab* lambda = editor(w, kLambdaSensorEditorId)) {
        const bool can = image[kLambdaTypeByte] == kLambdaCan;
        lambda->sheets[0].contentShown = can ? 0 : 1;
        const int height = can && !singleChannel ? kLambdaCollapsedHeight : kLambdaHeight;
        if (lambda->Height() != height) {
            lambda->SetBounds(lambda->Left(), lambda->Top(), lambda->Width(), height);
            lambda->dirty |= kDirtyRedraw;
        }
        if (SetMixtureAxis(lambda->sheets[0].y, image[kLambdaNotationByte] != 0)) {
            showLambdaPoints(w);
            lambda->dirty |= kDirtyRedraw | kDirtyRecompute;
        }
    }
}

void SensorsViewAsClick(TPageForm& w)
{
    if (w.settingGuard != 0) return;
    TTab* tab = editor(w, kTemperatureEditorId);
    auto* group = FindControl<TRadioGroup>(w, "RadioGroupTempView");
    if (!tab || !group) return;
    AxisSetup data = group->ItemIndex() == 1 ? kResistance : kVoltage;
    data.picture = SharedPicture("BGRAINBOW9x22");
    tab->SetAxis(0, 4, data);
    ShowSensorsPage(w);
    tab->UpdateLimits(tab->sheets[0], 0x107);
    NotePendingChange(w, group, kChangeNow);
    if (w.currentPage == PAGE_SENSORS) tab->Redraw();
}
