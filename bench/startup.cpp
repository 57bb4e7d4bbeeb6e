// Start-up time of the program: from the start of main to the main window shown on the screen, with the
// same steps as the program. Run it under /usr/bin/time -v for the whole process and its peak memory:
//   xvfb-run -a /usr/bin/time -v build/bench/bench_startup
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "monitors/monitorforms.h"
#include "shell/about.h"
#include "shell/mainform.h"

int main(int argc, char** argv)
{
    const auto start = std::chrono::steady_clock::now();
    // This program carries no archive of its own: like the program without one, it imports the model settings
    // from ../IMPET, laid out here beside a temporary current folder.
    char pattern[] = "/tmp/kelvora_startup_XXXXXX";
    const std::filesystem::path root = mkdtemp(pattern);
    std::filesystem::create_directories(root / "IMPET");
    std::filesystem::create_directories(root / "run");
    for (const char* folder : {"NEW_309", "MAP_309"})
        std::filesystem::create_directory_symlink(std::filesystem::path(SOURCE_DIR) / "resources/impet" / folder,
                                                  root / "IMPET" / folder);
    std::filesystem::current_path(root / "run");
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
    const int result = app.Run();
    std::filesystem::remove_all(root);
    return result;
}
