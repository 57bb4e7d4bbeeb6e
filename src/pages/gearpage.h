#pragma once
// The gear page: how the unit finds the engaged gear, the values per gear each way needs, the corrections per
// gear, the speedometers and neutral detection.
#include "pages/pageform.h"

// Fills the gear method's list (items with their tags) in the current language and the fixed captions.
void GearPageCaptions(TPageForm& w);
// Shows what the gear method (byte 4527), the number of gears (4528) and neutral detection (4878) call for.
void GearPageLayout(TPageForm& w);
// A capture button: the measured gear-sensor voltage or RPM/speed ratio goes into gear g's field, then commits.
void CaptureGearValue(TPageForm& w, int gear);
// Main-timer step while the page is shown: the current gear's rows marked while live data arrives.
void GearPageTick(TPageForm& w);
