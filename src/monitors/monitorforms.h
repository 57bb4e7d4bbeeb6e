#pragma once
// The windows of the monitors, created once at start: the external monitor, the watch picker and the indicator
// properties dialog.
#include "vcl/forms.h"

class TFormEM final : public TForm {
public:
    TFormEM();
};

class TFormCIDList final : public TForm {
public:
    TFormCIDList();
};

class TTFormIndiProp final : public TForm {
public:
    TTFormIndiProp();
};

// Shows the external monitor window. set 0: with the last monitor set, 1: a set chosen from a file, -1..-3: a
// built-in set, -1000: the empty set. The monitor sets themselves are still to come: the window shows empty.
void ShowExternalMonitor(TFormEM& form, int set);
