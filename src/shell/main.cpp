#include <vector>

#include "monitors/cidlist.h"
#include "monitors/extmon.h"
#include "monitors/indiprop.h"
#include "os/clock.h"
#include "shell/about.h"
#include "shell/appsettings.h"
#include "shell/mainform.h"
#include "vcl/forms.h"

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    os::LinkClock linkClock;
    // The main window first, started up while it is created; the other windows find it ready.
    TMainForm* mainForm = app.CreateForm<TMainForm>(linkClock, app.Arguments());
    mainForm->aboutForm = app.CreateForm<TFormAbout>();
    TFormEM* monitor = app.CreateForm<TFormEM>();
    TFormCIDList* picker = app.CreateForm<TFormCIDList>();
    app.CreateForm<TTFormIndiProp>();
    AttachMonitorWindows(*mainForm, monitor, picker);
    mainForm->Timer1->SetEnabled(true);
    return app.Run();
}
