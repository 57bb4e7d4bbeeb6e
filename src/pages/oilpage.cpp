// The oil pressure page ("Maintenance"): the oil pressure sensor's characteristic and the minimum oil pressure over
// engine speed, shown only while an input carries the oil pressure function, and the unit's hour meter.
#include "pages/oilpage.h"

#include "mapeditor/tab.h"
#include "pages/captions.h"
#include "pages/inputspage.h"
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
};

constexpr int kOilEditors[] = {kSensorEditorId, kMinimumEditorId};

void OilPageCaptions(TPageForm& w)
{
    ApplyCaptions(w, kOilCaptions);
}

// The maps are stored even while the controls are being set: the page has nothing a show could half-change.
void StoreOilPressurePage(TPageForm&) {}

void ShowOilPressurePage(TPageForm& w)
{
    if (w.settingGuard != 0) return;
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
    .store = StoreOilPressurePage,
    .show = ShowOilPressurePage,
    .captions = OilPageCaptions,
};
