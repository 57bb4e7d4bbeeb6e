#pragma once
// The potentiometer group on the sensors page: what a knob on the motorcycle shifts at run time, and the ranges
// it spans. Its store, show and layout run inside the sensors page's.
#include "pages/pageform.h"

inline constexpr int kPotiModeByte = 4067;  // 0 none, 1 injection, 2 advance, 3 start limiter, 4 launch control

// Sets the range up-downs' steps and limits for the image's mode.
void PotiRanges(TPageForm& w);
void StorePotentiometer(TPageForm& w);
void ShowPotentiometer(TPageForm& w);
void PotentiometerLayout(TPageForm& w);
// Takes the knob's launch-control offsets (as the last live frame reports them) over into the launch-control
// tables and switches the knob off; does nothing unless the mode is launch control and the unit reports a
// threshold or an effect.
void ButtonPotiSave(TPageForm& w);
