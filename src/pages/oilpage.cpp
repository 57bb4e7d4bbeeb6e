// The oil pressure page ("Maintenance"): the oil pressure sensor's characteristic and the minimum oil pressure over
// engine speed, shown only while an input carries the oil pressure function, and the unit's hour meter.
#include "pages/oilpage.h"

#include <array>

#include "mapeditor/tab.h"
#include "pages/captions.h"
#include "pages/commit.h"
#include "pages/inputspage.h"
#include "pages/mappoints.h"
#include "pages/mapsheets.h"
#include "pages/modules.h"
#include "pages/pages.h"

namespace {

constexpr int kSensorEditorId = 46;
constexpr int kMinimumEditorId = 47;

// clang-format off
constexpr ControlRow kOilLayout[] = {
    // name                  kind                parent            left top width height caption
    {"LabelHourMeter",       ControlKind::Label, "TabMaintenance",  10,  16, 300, 17, "Hour meter = ---"},
    {"LabelMonOilPressure",  ControlKind::Label, "TabMaintenance",  10,  96, 213, 17, "Oil pressure = --- kPa"},
};
// clang-format on

constexpr CaptionRow kOilCaptions[] = {
    {"TabMaintenance", {"Maintenance", "Wartung", "Údržba"}},
    // Until the first live frame writes them, in the live display's words.
    {"LabelHourMeter", {"Hour meter = ---", "Betriebsstundenzähler = ---", "Počítadlo motohodin = ---"}},
    {"LabelMonOilPressure", {"Oil Pressure = --- kPa", "Öldruck = --- kPa", "Tlak oleje = --- kPa"}},
};

constexpr int kOilEditors[] = {kSensorEditorId, kMinimumEditorId};

constexpr StepEntry kPressureSteps[] = {
    {10, 2, 1, 1, 2}, {100, 20, 20, 20, 20}, {500, 100, 100, 100, 100}, {1000, 200, 200, 200, 200}};
constexpr TColor kSensorColour = 0xA0E0C0;
constexpr AxisSetup kNoX{.min = 0, .max = 20000, .editable = 0, .options = 0, .count = 2, .collapseOption = 2,
                         .collapsed = 1, .resizable = 0, .collapsePos = kCollapseFirst, .colour = kSensorColour};

// clang-format off
constexpr SheetSpec kSensorSheet[] = {{
    "###Oil pressure sensor##Öldruck sensor##Snímač tlaku oleje", "", "###Pressure##Druck##Tlak",
    "###Voltage##Spannung##Napětí", 2, 2, 0xA3, kNoX,
    {.name = "P", .unit = "kPa", .min = 0, .max = 250, .scale = 10.0, .steps = kPressureSteps, .count = 2,
     .collapseOption = 0, .resizable = 0, .collapsePos = kCollapseLast, .colour = kSensorColour},
    {.name = "U", .unit = "V", .min = 0, .max = 1000, .scale = 0.005, .steps = kVoltageSteps, .options = 2,
     .colour = kSensorColour},
    0, 0, 0, {}, {}, {}, 9, 0, true, 9}};
constexpr SheetSpec kMinimumSheet[] = {{
    "###Min. oil pressure##Min. Öldruck##Min. tlak oleje", "---", "RPM", "###Min. Pressure##Min. Druck##Min. tlak",
    1, 5, 0xA3, kNoX,
    {.name = "RPM", .min = 3, .max = 250, .scale = 100.0, .steps = kRpmSteps, .count = 5, .collapseOption = 0,
     .resizable = 0, .collapsePos = kCollapseFirst},
    {.name = "P", .unit = "kPa", .min = 0, .max = 100, .scale = 10.0, .count = 1, .collapseOption = 0, .resizable = 0,
     .collapsePos = kCollapseLast},
    0, 0, 0, {}, {}, {}, 9, 0, true, 9}};

// Beside the hour meter and the live pressure, on the left of the page.
constexpr int kMapFlags = kTabTableView | kTabGraph2D | kTabTitleStrip;
constexpr MapEditorSpec kOilMapEditors[] = {
    {kSensorEditorId,  kMapFlags, 10, kDesignPageHeight / 5, kDesignPageWidth / 4 - 2, kDesignPageHeight * 3 / 10, 2, 2, kSensorSheet},
    {kMinimumEditorId, kMapFlags, 10, kDesignPageHeight / 2, kDesignPageWidth / 4 - 2, kDesignPageHeight * 198 / 450, 1, 5, kMinimumSheet},
};

// The sensor's two pressures (tens of kPa) with their voltages (millivolts, shown in fifths); the minimum pressure
// (tens of kPa) at five engine speeds (hundreds of RPM).
constexpr PointBinding kOilPoints[] = {
    {kSensorEditorId,  PointPart::YPoint, 0, 0, PointField::Byte, 4985},
    {kSensorEditorId,  PointPart::YPoint, 0, 1, PointField::Byte, 4986},
    {kSensorEditorId,  PointPart::Cell,   0, 0, PointField::Word, 1152, 5},
    {kSensorEditorId,  PointPart::Cell,   0, 1, PointField::Word, 1153, 5},
    {kMinimumEditorId, PointPart::YPoint, 0, 0, PointField::Byte, 4987},
    {kMinimumEditorId, PointPart::YPoint, 0, 1, PointField::Byte, 4988},
    {kMinimumEditorId, PointPart::YPoint, 0, 2, PointField::Byte, 4989},
    {kMinimumEditorId, PointPart::YPoint, 0, 3, PointField::Byte, 4990},
    {kMinimumEditorId, PointPart::YPoint, 0, 4, PointField::Byte, 4991},
    {kMinimumEditorId, PointPart::Cell,   0, 0, PointField::Byte, 4992},
    {kMinimumEditorId, PointPart::Cell,   0, 1, PointField::Byte, 4993},
    {kMinimumEditorId, PointPart::Cell,   0, 2, PointField::Byte, 4994},
    {kMinimumEditorId, PointPart::Cell,   0, 3, PointField::Byte, 4995},
    {kMinimumEditorId, PointPart::Cell,   0, 4, PointField::Byte, 4996},
};
// clang-format on

void BuildOilPressurePage(TPageForm& w)
{
    for (const MapEditorSpec& spec : kOilMapEditors) BuildMapEditor(w, spec, w.tabSheets[PAGE_MAINTENANCE]);
}

void OilMapChanged(TPageForm& w, int)
{
    CommitChangeNow(w);
}

void OilPageCaptions(TPageForm& w)
{
    ApplyCaptions(w, kOilCaptions);
}

// The maps are stored even while the controls are being set: the page has nothing a show could half-change.
void StoreOilPressurePage(TPageForm& w)
{
    StorePoints(w, kOilPoints);
}

void ShowOilPressurePage(TPageForm& w)
{
    if (w.settingGuard != 0) return;
    ShowPoints(w, kOilPoints);
    for (int id : kOilEditors) RequestMapRedraw(w, id);
    OilPressureVisibility(w);
}

}  // namespace

void OilPressureVisibility(TPageForm& w)
{
    const bool shown = AnyInputHas(w.images.image, kInputOilPressure);
    for (int id : kOilEditors)
        if (TTab* editor = w.mapEditors[std::size_t(id)]) editor->SetVisible(shown);
    if (auto* label = FindControl<TLabel>(w, "LabelMonOilPressure")) label->SetVisible(shown);
}

extern const PageModule kOilPressurePage{
    .sheetName = "TabMaintenance",
    .caption = "Maintenance",
    .layout = kOilLayout,
    .editorIds = kOilEditors,
    .build = BuildOilPressurePage,
    .store = StoreOilPressurePage,
    .show = ShowOilPressurePage,
    .captions = OilPageCaptions,
    .mapChanged = OilMapChanged,
};
