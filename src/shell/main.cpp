#include <vector>

#include "monitors/monitorforms.h"
#include "os/clock.h"
#include "shell/about.h"
#include "shell/mainform.h"
#include "vcl/forms.h"

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    os::LinkClock linkClock;
    // The main window first, started up while it is created; the other windows find it ready.
    TMainForm* mainForm = app.CreateForm<TMainForm>(linkClock, app.Arguments());
    mainForm->aboutForm = app.CreateForm<TFormAbout>();
    mainForm->externalMonitor = app.CreateForm<TFormEM>();
    mainForm->externalMonitorVisible = [em = mainForm->externalMonitor] { return em->Visible() ? 1 : 0; };
    app.CreateForm<TFormCIDList>();
    app.CreateForm<TTFormIndiProp>();
    mainForm->Timer1->SetEnabled(true);
    return app.Run();
}
