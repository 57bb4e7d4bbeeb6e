// Start-up time of the program: from the start of main to the main window shown on the screen, with the
// same steps as the program. Run it under /usr/bin/time -v for the whole process and its peak memory:
//   xvfb-run -a /usr/bin/time -v build/bench/bench_startup
// With --rows N every page gets N rows of stand-in controls (label, edit with up-down, check box) through the
// page framework's form descriptions, for the cost of pages whose code is still to come:
//   xvfb-run -a /usr/bin/time -v build/bench/bench_startup --rows 12
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "monitors/cidlist.h"
#include "monitors/extmon.h"
#include "monitors/indiprop.h"
#include "shell/about.h"
#include "shell/mainform.h"

namespace {

// Stand-in rows for every page: a label, an edit with its up-down and a check box per row, laid out in columns.
void AddStandInControls(TMainForm& w, int rowsPerPage, std::vector<std::string>& names)
{
    names.reserve(std::size_t(kPageCount * rowsPerPage * 4));
    for (int page = 0; page < kPageCount; ++page) {
        std::vector<ControlRow> rows;
        const std::string sheet(w.pageModules[std::size_t(page)]->sheetName);
        for (int r = 0; r < rowsPerPage; ++r) {
            const int left = 8 + (r / 20) * 280, top = 8 + (r % 20) * 28;
            const std::string tag = std::to_string(page) + "_" + std::to_string(r);
            for (const char* prefix : {"LabelStandIn", "EditStandIn", "UpDownStandIn", "CheckBoxStandIn"})
                names.push_back(prefix + tag);
            const std::size_t n = names.size();
            rows.push_back({names[n - 4], ControlKind::Label, sheet, left, top + 2, 100, 17, "Stand-in value"});
            rows.push_back({names[n - 3], ControlKind::Edit, sheet, left + 104, top, 60, 21});
            rows.push_back({names[n - 2], ControlKind::UpDown, sheet, 0, 0, 16, 21, {}, names[n - 3]});
            rows.push_back({names[n - 1], ControlKind::CheckBox, sheet, left + 186, top + 1, 80, 19, "Enable"});
        }
        if (!w.tabSheets[std::size_t(page)]) continue;  // a sheet made at run time, which has its own controls
        BuildFormLayout(w, w.tabSheets[std::size_t(page)], rows);
        WireSharedHandlers(w, rows);
    }
}

}  // namespace

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
    std::vector<std::string> standInNames;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--rows") == 0) AddStandInControls(*mainForm, std::atoi(argv[i + 1]), standInNames);
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
