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

// A 50 x 30 sheet drawn as a graph, with the autoscale and layout that a changed value or a turn of the surface
// brings: the 2-D curves (30 stacked curves of 50 points), and the 3-D surface in the colouring new editors start
// with (height colours refined twice).
// The fixture's values run up and down the whole range from cell to cell (the worst case for the 3-D colouring:
// every triangle is split to the finest grain); `smooth` gives a map's shape instead, rising with both axes.
void graphRedraw(benchmark::State& state, int view, bool smooth = false)
{
    QWidget window;
    auto tab = MakeFixtureTab(&window, 1600, 900, nullptr, 50, 30);
    for (CSheet& sheet : tab->sheets) {
        if (!sheet.isAllocated()) continue;
        sheet.value(3, 2) = sheet.value(3, 1);  // no lone peak
        if (smooth)
            for (int r = 0; r < 30; ++r)
                for (int c = 0; c < 50; ++c) sheet.value(c, r) = 4000 * c / 49 + 2000 * r * r / (29 * 29);
    }
    tab->SetView(view);
    tab->graph.colouring = 4;
    tab->sheets[0].sel.SelectOne(tab->fullHits, 1, 1);
    tab->sheets[0].sel.SelectTo(tab->fullHits, 48, 28);
    for (auto _ : state) {
        tab->dirty |= kDirtyRedraw | kDirtyRecompute;
        tab->Redraw();
    }
}

void BM_Redraw2D50x30(benchmark::State& state)
{
    graphRedraw(state, kView2D);
}
BENCHMARK(BM_Redraw2D50x30)->Unit(benchmark::kMillisecond);

void BM_Redraw3D50x30(benchmark::State& state)
{
    graphRedraw(state, kView3D);
}
BENCHMARK(BM_Redraw3D50x30)->Unit(benchmark::kMillisecond);

void BM_Redraw3D50x30Smooth(benchmark::State& state)
{
    graphRedraw(state, kView3D, true);
}
BENCHMARK(BM_Redraw3D50x30Smooth)->Unit(benchmark::kMillisecond);

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
