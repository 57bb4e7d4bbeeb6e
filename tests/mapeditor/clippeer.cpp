// The other running copy of the program for the clipboard test: copies the fixture's first sheet ("sheet" 16 x 12,
// "big" 50 x 30) with Copy table, says "ready" and keeps serving the clipboard until its input ends.
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>
#include <cstdio>
#include <cstring>

#include "tabfixture.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const bool big = argc > 1 && std::strcmp(argv[1], "big") == 0;
    QWidget parent;
    auto tab = MakeFixtureTab(&parent, 760, 380, nullptr, big ? 50 : 16, big ? 30 : 12);
    tab->CopyTable();
    std::printf("ready\n");
    std::fflush(stdout);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[64];
        if (read(STDIN_FILENO, buffer, sizeof buffer) <= 0) app.quit();
    });
    return app.exec();
}
