#pragma once
// The cruise control page's rule that the inputs and servos pages run too.
#include "pages/pageform.h"

// The cruise control page's tab shows only while the unit can run a cruise control: an input carries the
// cruise control function and the throttle is moved by a servo.
void TempomatTabRule(TPageForm& w);
