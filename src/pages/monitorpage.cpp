// The Monitor page: labels that the live display fills (advance per cylinder, power output states). It stores
// and shows no settings.
#include <string>

#include "pages/modules.h"

namespace {

// clang-format off
constexpr ControlRow kMonitorLayout[] = {
    // name           kind                parent              left top width height caption
    {"LabelAdvance1", ControlKind::Label, "TabSheet_Monitor",  16,  16, 200, 17, "Advance 1 = ---"},
    {"LabelAdvance2", ControlKind::Label, "TabSheet_Monitor",  16,  36, 200, 17, "Advance 2 = ---"},
    {"LabelAdvance3", ControlKind::Label, "TabSheet_Monitor",  16,  56, 200, 17, "Advance 3 = ---"},
    {"LabelAdvance4", ControlKind::Label, "TabSheet_Monitor",  16,  76, 200, 17, "Advance 4 = ---"},
    {"LabelMonPOut1",  ControlKind::Label, "TabSheet_Monitor", 240,  16, 200, 17, "01: --- "},
    {"LabelMonPOut2",  ControlKind::Label, "TabSheet_Monitor", 240,  36, 200, 17, "02: --- "},
    {"LabelMonPOut3",  ControlKind::Label, "TabSheet_Monitor", 240,  56, 200, 17, "03: --- "},
    {"LabelMonPOut4",  ControlKind::Label, "TabSheet_Monitor", 240,  76, 200, 17, "04: --- "},
    {"LabelMonPOut5",  ControlKind::Label, "TabSheet_Monitor", 240,  96, 200, 17, "05: --- "},
    {"LabelMonPOut6",  ControlKind::Label, "TabSheet_Monitor", 240, 116, 200, 17, "06: --- "},
    {"LabelMonPOut7",  ControlKind::Label, "TabSheet_Monitor", 240, 136, 200, 17, "07: --- "},
    {"LabelMonPOut8",  ControlKind::Label, "TabSheet_Monitor", 240, 156, 200, 17, "08: --- "},
    {"LabelMonPOut9",  ControlKind::Label, "TabSheet_Monitor", 240, 176, 200, 17, "09: --- "},
    {"LabelMonPOut10", ControlKind::Label, "TabSheet_Monitor", 240, 196, 200, 17, "10: --- "},
    {"LabelMonPOut11", ControlKind::Label, "TabSheet_Monitor", 240, 216, 200, 17, "11: --- "},
    {"LabelMonPOut12", ControlKind::Label, "TabSheet_Monitor", 240, 236, 200, 17, "12: --- "},
};
// clang-format on

constexpr int kShownPowerOutputs = 5;  // the live display shows the others when a unit has them

void BuildMonitorPage(TPageForm& w)
{
    for (std::size_t i = 0; i < w.monitorLabels.size(); ++i) {
        const std::string name =
            i < 4 ? "LabelAdvance" + std::to_string(i + 1) : "LabelMonPOut" + std::to_string(i - 3);
        w.monitorLabels[i] = FindControl<TLabel>(w, name);
        if (!w.monitorLabels[i])
            w.pageBuildProblems.push_back(name + ": missing on the Monitor page");
        else if (i >= 4 + kShownPowerOutputs)
            w.monitorLabels[i]->SetVisible(false);
    }
}

}  // namespace

extern const PageModule kMonitorPage{
    .sheetName = "TabSheet_Monitor",
    .caption = "Monitor",
    .layout = kMonitorLayout,
    .build = BuildMonitorPage,
};
