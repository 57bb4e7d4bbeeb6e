// What a tuner waits on in the map editor: the redraw after a key or a tick, for the 16 x 12 maps of the pages and
// for the largest 50 x 30 sheet shown whole, and one '+' step with its redraw.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>
#include <cstdlib>

#include "tabfixture.h"

namespace {

void redraw(benchmark::State& state, int columns, int rows, int width, int height)
{
    QWidget window;
    auto tab = MakeFixtureTab(&window, width, height, nullptr, columns, rows);
    tab->layout.visibleColumns = std::min(columns, 50);
    tab->layout.visibleRows = std::min(rows, 30);
    tab->BuildSideBar();
    tab->sheets[0].sel.SelectOne(tab->fullHits, 1, 1);
    tab->sheets[0].sel.SelectTo(tab->fullHits, columns - 2, rows - 2);
    for (auto _ : state) {
        tab->dirty |= kDirtyRedraw;
        tab->Redraw();
    }
}

void BM_Redraw16x12(benchmark::State& state)
{
    redraw(state, 16, 12, 760, 380);
}
BENCHMARK(BM_Redraw16x12)->Unit(benchmark::kMillisecond);

void BM_Redraw50x30(benchmark::State& state)
{
    redraw(state, 50, 30, 1600, 900);
}
BENCHMARK(BM_Redraw50x30)->Unit(benchmark::kMillisecond);

// A '+' on a selection of the whole 50 x 30 sheet, then the redraw the tick makes.
void BM_StepKeyOnAFullSheet(benchmark::State& state)
{
    QWidget window;
    auto tab = MakeFixtureTab(&window, 1600, 900, nullptr, 50, 30);
    tab->sheets[0].sel.SelectOne(tab->fullHits, 0, 0);
    tab->sheets[0].sel.SelectTo(tab->fullHits, 49, 29);
    for (auto _ : state) {
        tab->KeyInput(0, '+');
        tab->Tick();
        tab->dirty |= kDirtyRedraw;
        tab->Redraw();
    }
}
BENCHMARK(BM_StepKeyOnAFullSheet)->Unit(benchmark::kMillisecond);

// One '+' on one selected cell of a 50 x 30 sheet shown whole, up to the repainted control: the key, the tick's
// redraw of the back buffer and the widget's paint.
void BM_KeyToRepaintOneCell(benchmark::State& state)
{
    QWidget window;
    auto tab = MakeFixtureTab(&window, 1600, 900, nullptr, 50, 30);
    tab->layout.visibleColumns = 50;
    tab->layout.visibleRows = 30;
    tab->BuildSideBar();
    window.resize(1600, 900);
    window.show();
    QApplication::processEvents();
    tab->sheets[0].sel.SelectOne(tab->fullHits, 20, 12);
    tab->Redraw();
    QApplication::processEvents();
    for (auto _ : state) {
        tab->KeyInput(0, '+');
        tab->Tick();
        QApplication::processEvents();  // the widget paints what the redraw marked
    }
}
BENCHMARK(BM_KeyToRepaintOneCell)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
