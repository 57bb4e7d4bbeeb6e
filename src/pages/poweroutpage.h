#pragma once
// The power outputs page's functions that the caption pass, other pages and the tests call.
#include "pages/pageform.h"

inline constexpr int kPowerOutputs = 5;

// Output k's (0-4) group caption and function list in the current language, its function byte selected.
void PowerOutPageCaptions(TPageForm& w, int k);
// Shows what each output's function calls for (its fields, which of its maps, the PWM table's units), then the
// bike page's layout.
void PowerOutPageLayout(TPageForm& w);
// The image into the page's controls and maps; the injection page calls it when the injector settings changed.
void ShowPowerOutPage(TPageForm& w);
