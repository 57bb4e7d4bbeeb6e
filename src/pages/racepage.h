#pragma once
// The race page's layout pass, which the idle and servos pages run too: which gear rows show, what the
// deceleration control offers for the idle actuator chosen, and the live gear marks.
#include "pages/pageform.h"

void ClutchPageLayout(TPageForm& w);
