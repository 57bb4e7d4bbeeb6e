#pragma once
// The launch and traction control page's steps that the servos page runs too.
#include "pages/pageform.h"

// Which sections the page offers and shows, by the launch and traction enables, and the units that follow the
// speed source and the servos' settings.
void TrackingPageLayout(TPageForm& w);
// Shows the image on the page (its layout first); the servos page runs it when its servo settings change.
void ShowTrackingLoad(TPageForm& w);
