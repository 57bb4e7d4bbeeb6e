#pragma once
// The corrections page's routines that run from outside its module.
#include "pages/pageform.h"

// Shows the group of tables that the selector's current tab names, with the controls that belong to it.
void CorrectionsPageLayout(TPageForm& w);
// After an edit in one of the correction tables: the start table keeps 0 s as its first time point and 100 % as
// its last value (the image has no room for them), then the page is committed.
void TempCorrMapChanged(TPageForm& w);
