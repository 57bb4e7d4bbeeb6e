#pragma once
// The indicator properties dialog: the kind of indicator (horizontal bar, vertical bar or dial) and its marker
// colour, for an indicator of the external monitor.
#include "vcl/controls.h"
#include "vcl/forms.h"

class CMyIndicator;

class TTFormIndiProp final : public TForm
{
public:
    TTFormIndiProp();

    TRadioGroup* TypeOfIndi = nullptr;
    TButton* btOK = nullptr;
    TButton* btCancel = nullptr;
    TColorBox* ColorBox1 = nullptr;
    TLabel* LabelColor = nullptr;
    TLabel* LabelType = nullptr;
};

// Shows the dialog for the indicator; true when the user pressed OK (the indicator then has the chosen style and
// colour, and wants repainting).
bool EditIndicatorProperties(CMyIndicator& indicator);
