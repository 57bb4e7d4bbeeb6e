#include "monitors/monitorforms.h"

TFormEM::TFormEM()
{
    SetCaption("External monitor");
    SetClientSize(400, 300);
}

TFormCIDList::TFormCIDList()
{
    SetCaption("Watch");
    SetClientSize(300, 400);
}

TTFormIndiProp::TTFormIndiProp()
{
    SetCaption("Indicator");
    SetClientSize(300, 250);
}

void ShowExternalMonitor(TFormEM& form, int)
{
    form.Show();
}
