#pragma once
// The oil pressure page's rule that the inputs page runs too.
#include "pages/pageform.h"

// The oil pressure maps and the live pressure show only while a multifunction input has the oil pressure function.
void OilPressureVisibility(TPageForm& w);
