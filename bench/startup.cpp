// Start-up time of the program: from the start of main to the main window shown on the screen, with the
// same steps as the program. Run it under /usr/bin/time -v for the whole process and its peak memory:
//   xvfb-run -a /usr/bin/time -v build/bench/bench_startup
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>

#include "monitors/monitorforms.h"
#include "shell/about.h"
#include "shell/mainform.h"

int main(int argc, char** argv)
{
    const auto start = std::chrono::steady_clock::now();
    TApplication app(argc, argv);
    os::LinkClock linkClock;
    TMainForm* mainForm = app.CreateForm<TMainForm>(linkClock, app.Arguments());
    app.CreateForm<TFormAbout>();
    app.CreateForm<TFormEM>();
    app.CreateForm<TFormCIDList>();
    app.CreateForm<TTFormIndiProp>();
    mainForm->FormCreate(mainForm);
    mainForm->Show();
    // Shown means painted: wait for the window to be exposed, then end.
    QTimer::singleShot(0, [&] {
        const auto shown = std::chrono::steady_clock::now();
        std::printf("main to main window shown: %.1f ms\n",
                    std::chrono::duration<double, std::milli>(shown - start).count());
        mainForm->Close();
    });
    return app.Run();
}
