// The module of each settings page by page number. A page whose code is still to come has a row with its sheet
// and the tables it will bind; its code replaces the row with its own module (see pages/pagemodule.h).
#include "pages/modules.h"

namespace {

constexpr PageModule kKnockPage{.sheetName = "TabSheet_Knock", .caption = "Knock"};
constexpr PageModule kObdPage{.sheetName = "TabSheet_OBD", .caption = "OBD"};

}  // namespace

const std::array<const PageModule*, kPageCount + 1> kPageModules = {
    &kBikePage,            // 0
    &kSyncPage,            // 1
    &kAdvancePage,         // 2, made at run time
    &kInjectionPage,       // 3, made at run time
    &kPositionPage,        // 4, made at run time
    &kCorrectionsPage,     // 5
    &kInputsPage,          // 6
    &kSensorsPage,         // 7
    &kServosPage,          // 8, made at run time
    &kIdlePage,            // 9
    &kPowerOutPage,        // 10
    &kRacePage,            // 11
    &kGearPage,            // 12
    &kN2OPage,             // 13
    &kTuningPage,          // 14
    &kKnockPage,           // 15, hidden
    &kTrackingPage,        // 16
    &kCruisePage,          // 17
    &kMonitorPage,         // 18
    &kObdPage,             // 19, hidden
    &kOutputTestPage,      // 20
    &kOilPressurePage,     // 21
    &kIndependentModule,   // the controls beside the page control
};
