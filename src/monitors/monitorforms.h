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
