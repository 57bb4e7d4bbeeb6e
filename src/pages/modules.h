#pragma once
// The page modules, each defined beside its page's code.
#include "pages/pagemodule.h"

extern const PageModule kAdvancePage;
extern const PageModule kBikePage;
extern const PageModule kCorrectionsPage;
extern const PageModule kCruisePage;
extern const PageModule kGearPage;
extern const PageModule kIdlePage;
extern const PageModule kInjectionPage;
extern const PageModule kInputsPage;
extern const PageModule kMonitorPage;
extern const PageModule kN2OPage;
extern const PageModule kOilPressurePage;
extern const PageModule kOutputTestPage;
extern const PageModule kPositionPage;
extern const PageModule kPowerOutPage;
extern const PageModule kRacePage;
extern const PageModule kSensorsPage;
extern const PageModule kServosPage;
extern const PageModule kSyncPage;
extern const PageModule kTrackingPage;
extern const PageModule kIndependentModule;
extern const PageModule kTuningPage;
