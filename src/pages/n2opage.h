#pragma once
// The N2O page's rule that the power outputs page runs too.
#include "pages/pageform.h"

// The N2O settings are enabled only while an input has the N2O function and power output 2 drives the N2O
// valve; two labels say which of the two is missing.
void N2OPageLayout(TPageForm& w);
