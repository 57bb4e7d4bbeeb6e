#pragma once
// The potentiometer group on the sensors page: what a knob on the motorcycle shifts at run time, and the ranges
// it spans. Its store, show and layout run inside the sensors page's.
#include <array>

#include "pages/pageform.h"

inline constexpr int kPotiModeByte = 4067;  // 0 none, 1 injection, 2 advance, 3 start limiter, 4 launch control

// What the unit reports of the knob in launch-control mode (live bytes 212..218).
struct PotiLive
{
    int threshold = 0;       // A
    int effect = 0;          // B
    int speedReturn = 0;     // C
    std::array<int, 4> offsets{};  // O1..O4, signed
};

// Sets the range up-downs' steps and limits for the image's mode.
void PotiRanges(TPageForm& w);
void StorePotentiometer(TPageForm& w);
void ShowPotentiometer(TPageForm& w);
void PotentiometerLayout(TPageForm& w);
// Takes the knob's launch-control offsets over into the launch-control tables and switches the knob off; does
// nothing unless the mode is launch control and the unit reports a threshold or an effect.
void ButtonPotiSave(TPageForm& w, const PotiLive& live);
