#pragma once
// The idle page's routines that run from outside its module (the servos page, the caption pass).
#include "pages/pageform.h"

// Shows the controls and the actuator table's form that the idle mode and the idle advance switch ask for.
void IdlePageLayout(TPageForm& w);
// The idle modes in the current language, with their tags, and the captions that follow the language.
void IdlePageCaptions(TPageForm& w);
// A new idle mode: stored with the new mode's default actuator tables, in one commit.
void RadioGroupIdleModeClick(TPageForm& w);
