#pragma once
// The page modules, each defined beside its page's code.
#include "pages/pagemodule.h"

extern const PageModule kBikePage;
extern const PageModule kMonitorPage;
extern const PageModule kOutputTestPage;
extern const PageModule kIndependentModule;
