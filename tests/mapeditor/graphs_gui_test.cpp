// The graph views of the map editor in an offscreen window: where the 2-D graph puts its points and what the pointer
// hits there, a point dragged to a new value, the check grid's lines and its rubber band, the 3-D view turned by
// the pointer and the wheel, and hostile sheets and sizes drawn or skipped without a crash.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <array>
#include <climits>
#include <memory>

#include "mapeditor/graph3d.h"
#include "mapeditor/tab.h"
#include "os/lngtext.h"

namespace {

const StepEntry kFifties[] = {{100000, 50, 10, 0, 50}};

// A control in a shown window, driven by pointer events as a person drives it.
class GraphWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetLanguageIndex(LNG_ENGLISH);
        vcl::SetKeyStateSource([] { return 0u; });
        window = std::make_unique<QWidget>();
        window->resize(700, 420);
    }
    void TearDown() override { vcl::SetKeyStateSource(nullptr); }

    TTab& make(int width, int height, int flags)
    {
        tab = std::make_unique<TTab>(window.get(), width, height, flags);
        tab->SetBounds(0, 0, width, height);
        tab->hooks.mapEdited = [this](TTab&) { ++edits; };
        tab->hooks.errorBox = [](std::string_view) {};
        window->show();
        tab->SetVisible(true);
        return *tab;
    }
    void show()
    {
        tab->SelectSheet(0);
        tab->dirty |= kDirtyRedraw | kDirtyRecompute;
        tab->Redraw();
    }
    QWidget* w() { return tab->Widget(); }
    CSheet& sheet() { return tab->sheets[0]; }
    void move(QPoint p) { QTest::mouseMove(w(), p); }
    void press(QPoint p, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        move(p);
        QTest::mousePress(w(), Qt::LeftButton, m, p);
    }
    void release(QPoint p) { QTest::mouseRelease(w(), Qt::LeftButton, Qt::NoModifier, p); }
    void drag(QPoint from, QPoint to)
    {
        press(from);
        move(to);
        tab->Tick();
        release(to);
    }
    void wheel(QPoint p, int delta, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QWheelEvent e(p, w()->mapToGlobal(p), {}, {0, delta}, Qt::NoButton, m, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w(), &e);
    }

    std::unique_ptr<QWidget> window;
    std::unique_ptr<TTab> tab;
    int edits = 0;
};

// One curve of four points over X = 10, 40, 70, 100 with the values 0, 100, 200, 50, on a 500 x 300 editor that
// shows only the 2-D graph. Steps of 50 round the ranges to 0..150 (X) and 0..250 (values).
class TwoD : public GraphWindow
{
protected:
    void SetUp() override
    {
        GraphWindow::SetUp();
        make(500, 300, kTabGraph2D);
        tab->AddSheet("###Curve", "X", "Y", "Z", 4, 1, 0);
        tab->SetAxis(0, 1, {.name = "X", .unit = "u", .min = 0, .max = 1000, .steps = kFifties, .count = 4});
        tab->SetAxis(0, 2, {.name = "Y", .count = 1, .collapseOption = 2, .collapsed = 1});
        tab->SetAxis(0, 4, {.name = "Z", .unit = "v", .min = -1000, .max = 1000, .steps = kFifties});
        const int xs[] = {10, 40, 70, 100}, vs[] = {0, 100, 200, 50};
        for (int i = 0; i < 4; ++i) {
            sheet().x.points[i] = sheet().x.prevPoints[i] = xs[i];
            sheet().value(i, 0) = vs[i];
        }
        show();
    }
    QPoint at(int column) { return {tab->graph.screenX[column], tab->graph.screenY[column]}; }
};

}  // namespace

TEST_F(TwoD, PointsLieWhereTheScalesPutThem)
{
    const TTabGraph& g = tab->graph;
    ASSERT_EQ(tab->drawnViews, kView2D);
    EXPECT_EQ(sheet().x.displayLow, 0);
    EXPECT_EQ(sheet().x.displayHigh, 150);
    EXPECT_EQ(sheet().data.displayLow, 0);
    EXPECT_EQ(g.graphTop, 250);
    // Margins 10 / 27 / 10 / 27: the plot starts 45 px in, ends 15 px before the right margin, 18 above the bottom.
    EXPECT_EQ(g.plotLeft, 55);
    EXPECT_EQ(g.plotBottom, 255);
    EXPECT_EQ(g.plotWidth, 403);
    EXPECT_EQ(g.plotHeight, 237);
    struct Case
    {
        int column, x, y;
    };
    // x = trunc(55 + X * 403 / 150), y = trunc(255 - value * 237 / 250).
    const Case cases[] = {{0, 81, 255}, {1, 162, 160}, {2, 243, 65}, {3, 323, 207}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.column);
        EXPECT_EQ(g.screenX[c.column], c.x);
        EXPECT_EQ(g.screenY[c.column], c.y);
        const HitRect& r = g.hits.cell(c.column, 0);
        EXPECT_EQ(r.left, c.x - 2);
        EXPECT_EQ(r.bottom, c.y + 2);
    }
    // What the hit table and the hover make of pointer positions.
    struct Probe
    {
        QPoint p;
        int cell;    // TSel::HitCell: column, or -2 for none
        int target;  // hover target
    };
    const Probe probes[] = {
        {{162, 160}, 1, 1},         // on the point
        {{164, 162}, 1, 1},         // at the hit rectangle's corner, edges included
        {{165, 160}, -2, 1},        // outside the rectangle, still nearer than 5 px
        {{167, 160}, -2, kNoTarget},  // 5 px away: nothing
        {{81, 254}, 0, 0},
        {{300, 30}, -2, kNoTarget},
    };
    for (const Probe& pr : probes) {
        SCOPED_TRACE(pr.p.x());
        int column = -9, row = -9;
        TSel::HitCell(g.hits, pr.p.x(), pr.p.y(), column, row);
        EXPECT_EQ(column, pr.cell);
        move(pr.p);
        EXPECT_EQ(g.hoverTarget, pr.target);
    }
    move({162, 160});
    EXPECT_EQ(g.status, "X = 40 u; Z = 100 v");
    EXPECT_EQ(tab->Hint(), g.status);  // the status text is the editor's hint
}

TEST_F(TwoD, DraggingAPointChangesItsValueAndPushesItsNeighbour)
{
    // Up by 19 px: (255 - 141) / 0.948 = 120.25, to the nearest raw unit 120. Told to the page once, on release.
    drag(at(1), {162, 141});
    EXPECT_EQ(sheet().value(1, 0), 120);
    EXPECT_EQ(sheet().x.points[1], 40);
    EXPECT_EQ(edits, 1);
    EXPECT_EQ(tab->graph.mouseDown, 0);

    // Right past its neighbour: X becomes (250 - 55) / 2.6867 = 72.6 -> 73, the neighbour is pushed to 74; moved
    // back in the same drag, the neighbour returns to 70.
    tab->dirty |= kDirtyRedraw;
    tab->Redraw();
    press(at(1));
    move({250, tab->graph.screenY[1]});
    EXPECT_EQ(sheet().x.points[1], 73);
    EXPECT_EQ(sheet().x.points[2], 74);
    EXPECT_EQ(sheet().value(1, 0), 120);
    EXPECT_EQ(tab->graph.status.rfind("Dragging: X = 73 u", 0), 0u) << tab->graph.status;
    move({162, tab->graph.screenY[1]});
    release({162, tab->graph.screenY[1]});
    EXPECT_EQ(sheet().x.points[1], 40);
    EXPECT_EQ(sheet().x.points[2], 70);
    EXPECT_EQ(edits, 2);

    // Above the shown range: 250 / 0.948 = 263.7 -> 264; the values now reach 300, the graph is scaled down and the
    // pointer is put where the point went (255 - 264 * 237 / 300 = 46.4), so that it stays under the pointer.
    tab->Redraw();
    press(at(2));
    move({at(2).x(), 5});
    EXPECT_EQ(sheet().value(2, 0), 264);
    EXPECT_EQ(tab->graph.graphTop, 300);
    EXPECT_EQ(tab->py, 46);
    EXPECT_EQ(QCursor::pos(), w()->mapToGlobal(QPoint(at(2).x(), 46)));
    release({at(2).x(), 46});
}

TEST_F(TwoD, ASelectedGroupMovesTogetherAndANotEditableAxisStays)
{
    // A rubber band over points 1 and 2 selects them; dragging point 1 up moves both by the same amount.
    drag({150, 40}, {260, 200});
    EXPECT_EQ(sheet().sel.count, 2);
    tab->dirty |= kDirtyRedraw;
    tab->Redraw();
    drag(at(1), {162, 141});
    EXPECT_EQ(sheet().value(1, 0), 120);
    EXPECT_EQ(sheet().value(2, 0), 220);
    EXPECT_EQ(sheet().value(0, 0), 0);
    // The wheel on a selected point steps the selection; on another point that point alone.
    tab->Redraw();
    move(at(2));
    wheel(at(2), 120);
    EXPECT_EQ(sheet().value(1, 0), 121);
    EXPECT_EQ(sheet().value(2, 0), 221);
    tab->Redraw();
    move(at(3));
    wheel(at(3), -120);
    EXPECT_EQ(sheet().value(3, 0), 49);
    EXPECT_EQ(sheet().value(2, 0), 221);

    // With Shift every point of the grabbed curve moves by the same amount, selected or not.
    sheet().sel.Reset();
    tab->Redraw();
    const std::array<std::int32_t, 4> before = {sheet().value(0, 0), sheet().value(1, 0), sheet().value(2, 0),
                                                sheet().value(3, 0)};
    press(at(3), Qt::ShiftModifier);
    move({at(3).x(), at(3).y() - 19});
    release({at(3).x(), at(3).y() - 19});
    const std::int32_t dv = sheet().value(3, 0) - before[3];
    EXPECT_GT(dv, 15);
    for (int c = 0; c < 3; ++c) EXPECT_EQ(sheet().value(c, 0), before[std::size_t(c)] + dv) << c;
    for (int c = 0; c < 4; ++c) sheet().value(c, 0) = before[std::size_t(c)];
    tab->dirty |= kDirtyRecompute;
    tab->Redraw();

    // With the values not editable only the point's X moves; with neither, nothing is grabbed.
    sheet().data.editable = 0;
    tab->Redraw();
    drag(at(0), {at(0).x() + 30, 100});
    EXPECT_EQ(sheet().value(0, 0), 0);
    EXPECT_EQ(sheet().x.points[0], 21);  // (111 - 55) / 2.6867 = 20.8
    sheet().x.editable = 0;
    tab->dirty |= kDirtyRecompute;
    tab->Redraw();
    const int editsBefore = edits;
    drag(at(0), {at(0).x() + 30, 100});
    EXPECT_EQ(sheet().x.points[0], 21);
    EXPECT_EQ(edits, editsBefore);
}

TEST_F(TwoD, TheLimiterLineIsGrabbedWithinFourPixels)
{
    sheet().flags |= kSheetLimiter;
    sheet().x.label = "RPM";
    tab->guides.limiter = 60;  // x = trunc(55 + 60 * 2.6867) = 216
    tab->dirty |= kDirtyRecompute;
    tab->Redraw();
    move({220, 100});
    EXPECT_EQ(tab->graph.hoverTarget, -2);
    EXPECT_EQ(tab->graph.status, "Limiter = 60 u");
    move({221, 100});
    EXPECT_EQ(tab->graph.hoverTarget, kNoTarget);
    move({213, 100});
    drag({213, 100}, {240, 120});  // grabbed 3 px left of the line, dragged 27 px: 70 rpm
    EXPECT_EQ(tab->guides.limiter, 70);
    EXPECT_EQ(edits, 1);
}

// ---------------------------------------------------------------- check grid

namespace {

// A 3 x 2 on/off map (X lines at 20, 60, 100 of 0..150; Y lines at 30, 70 of 0..100) beside its table.
class CheckGrid : public GraphWindow
{
protected:
    void SetUp() override
    {
        GraphWindow::SetUp();
        make(600, 300, kTabCheckGrid | kTabTableView);
        tab->AddSheet("###Grid", "RPM", "TP", "ON", 3, 2, 0);
        tab->SetAxis(0, 1, {.name = "RPM", .unit = "rpm", .min = 0, .max = 150, .scale = 100, .count = 3});
        tab->SetAxis(0, 2, {.name = "TP", .unit = "%", .min = 0, .max = 100, .count = 2});
        tab->SetAxis(0, 4, {.name = "ON", .min = 0, .max = 2});
        const int xs[] = {20, 60, 100}, ys[] = {30, 70};
        for (int i = 0; i < 3; ++i) sheet().x.points[i] = sheet().x.prevPoints[i] = xs[i];
        for (int j = 0; j < 2; ++j) sheet().y.points[j] = sheet().y.prevPoints[j] = ys[j];
        sheet().value(2, 2) = 2;
        show();
    }
    // The centre of cell (c, r): between lines c - 1 and c, r - 1 and r.
    QPoint cell(int c, int r)
    {
        const TTabGraph& g = tab->graph;
        const int left = c == 0 ? g.plotLeft : g.screenX[c - 1];
        const int right = c == 3 ? g.plotLeft + g.plotWidth : g.screenX[c];
        const int top = r == 0 ? g.plotBottom - g.plotHeight : g.screenY[r - 1];
        const int bottom = r == 2 ? g.plotBottom : g.screenY[r];
        return {(left + right) / 2, (top + bottom) / 2};
    }
};

}  // namespace

TEST_F(CheckGrid, LinesInTheIndexAndTheProportionalLayout)
{
    const TTabGraph& g = tab->graph;
    ASSERT_TRUE(tab->drawnViews & kViewCheck);
    // The plot fills the cells' area beside the heads: 30 px left free on the right, 18 below.
    EXPECT_EQ(g.plotLeft, g.left);
    EXPECT_EQ(g.plotWidth, 600 - g.left - 30);
    EXPECT_EQ(g.plotHeight, 300 - g.top - 18);
    // Index layout: line i at slot i + 1 of 4 (X) and of 3 (Y).
    for (int i = 0; i < 3; ++i) EXPECT_EQ(g.screenX[i], static_cast<int>(g.plotLeft + (i + 1) * g.plotWidth / 4.0));
    for (int j = 0; j < 2; ++j) EXPECT_EQ(g.screenY[j], static_cast<int>(g.top + (j + 1) * g.plotHeight / 3.0));
    move({g.screenX[1], cell(1, 1).y()});
    EXPECT_EQ(g.hoverTarget, kNoTarget);  // lines are not hovered in the index layout

    // Proportional: by value over 0..X max and Y min..Y max; now a line near the pointer is the target.
    tab->graph.proportional = 1;
    tab->dirty |= kDirtyRecompute;
    tab->Redraw();
    EXPECT_EQ(g.screenX[1], static_cast<int>(g.plotLeft + 60 * g.plotWidth / 150.0));
    EXPECT_EQ(g.screenY[0], static_cast<int>(g.top + 30 * g.plotHeight / 100.0));
    move({g.screenX[1] + 4, cell(1, 1).y()});
    EXPECT_EQ(g.hoverTarget, 50 + 1);
    EXPECT_EQ(g.status, "RPM = 6 000 rpm");
    move({cell(0, 0).x(), g.screenY[0] - 2});
    EXPECT_EQ(g.hoverTarget, 100 + 0);
    // Dragging the X line right by 40 px moves its point by 40 * 150 / width; the wheel moves it by one.
    const int x1 = g.screenX[1];
    drag({x1, cell(1, 1).y()}, {x1 + 40, cell(1, 1).y()});
    EXPECT_EQ(sheet().x.points[1], 60 + static_cast<int>(std::floor(40 * 150.0 / g.plotWidth + 0.5)));
    EXPECT_EQ(edits, 1);
    const int moved = sheet().x.points[1];
    tab->Redraw();
    move({g.screenX[1], cell(1, 1).y()});
    wheel({g.screenX[1], cell(1, 1).y()}, 120);
    wheel({g.screenX[1], cell(1, 1).y()}, 120);
    EXPECT_EQ(sheet().x.points[1], moved + 2);
    for (int i = 0; i < 6; ++i) tab->Tick();
    EXPECT_EQ(edits, 2);  // two wheel steps on one line: one change
}

TEST_F(CheckGrid, TheRubberBandTogglesEveryCellItTouches)
{
    // 3 x 2 points: 4 x 3 cells. A band from cell (0, 0) to cell (1, 1) turns those four on.
    drag(cell(0, 0), cell(1, 1));
    for (int r = 0; r <= 2; ++r)
        for (int c = 0; c <= 3; ++c) {
            const bool inBand = c <= 1 && r <= 1;
            EXPECT_EQ(sheet().value(c, r), (c == 2 && r == 2) ? 2 : inBand ? 1 : 0) << c << "," << r;
        }
    EXPECT_EQ(edits, 1);
    // A band whose edge only touches the next cell toggles it too; on cells go off, value 2 goes to 0.
    const TTabGraph& g = tab->graph;
    drag({g.screenX[2] - 8, cell(2, 2).y()}, {g.screenX[2], cell(3, 2).y() - 3});
    EXPECT_EQ(sheet().value(2, 2), 0);
    EXPECT_EQ(sheet().value(3, 2), 1);
    // The last column of cells is value column 3 (one more than the X points).
    drag(cell(3, 0), cell(3, 0));
    EXPECT_EQ(sheet().value(3, 0), 1);
    EXPECT_EQ(edits, 3);
    // Values not editable: no band starts and nothing changes.
    sheet().data.editable = 0;
    drag(cell(0, 2), cell(0, 2));
    EXPECT_EQ(sheet().value(0, 2), 0);
    EXPECT_FALSE(tab->graph.selecting);
}

// ---------------------------------------------------------------- 3-D

TEST_F(GraphWindow, ThreeDTurnsByDragWheelAndKeys)
{
    make(600, 360, kTabSideBar | kTabTableView | kTabGraph3D);
    tab->AddSheet("###Surface", "RPM", "TP", "ADV", 5, 4, kSheetOperatingPoint);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 5; ++c) sheet().value(c, r) = c * r;
    tab->SelectSheet(0);
    tab->Command(kCmdView3D);
    ASSERT_EQ(tab->drawnViews, kView3D);
    ASSERT_TRUE(tab->graph.projection.valid);
    EXPECT_TRUE(tab->buttons[kCmdIso2].down);
    const std::array<int, 3> start = tab->graph.angles;
    // 720 px right is a whole turn about the vertical: the same angle again, through every other one.
    press({300, 200});
    move({660, 200});
    EXPECT_EQ(tab->graph.angles[1], WrapAngle(start[1] + 36));
    EXPECT_FALSE(tab->buttons[kCmdIso2].down);
    move({1020, 200});
    release({1020, 200});
    EXPECT_EQ(tab->graph.angles, start);
    // Dragging down by 50 px tips it by 5 steps.
    drag({300, 200}, {300, 250});
    EXPECT_EQ(tab->graph.angles[0], start[0] - 5);
    tab->Command(kCmdTop);
    EXPECT_EQ(tab->graph.angles, (std::array<int, 3>{-18, 0, 0}));
    EXPECT_TRUE(tab->buttons[kCmdTop].down);
    // The wheel turns about the view axis; with Ctrl it changes the colouring, with Shift the labels.
    wheel({300, 200}, 120);
    EXPECT_EQ(tab->graph.angles[2], 1);
    const int colouring = tab->graph.colouring;
    wheel({300, 200}, -120, Qt::ControlModifier);
    EXPECT_EQ(tab->graph.colouring, colouring - 1);
    wheel({300, 200}, 120, Qt::ShiftModifier);
    EXPECT_EQ(tab->graph.labelMode, 1);
    // Space cycles the labels.
    tab->SetFocus();
    QTest::keyClick(w(), Qt::Key_Space);
    EXPECT_EQ(tab->graph.labelMode, 2);
    // The hint beside the surface offers the rotation help only until the user has turned it: after '|' it is
    // not shown as a tool tip. Left of the colour scale the value hint is still offered.
    move({400, 200});
    EXPECT_EQ(tab->Hint().rfind("|Rotate: drag mouse", 0), 0u) << tab->Hint();
    move({60, 200});
    EXPECT_EQ(tab->Hint().rfind("Set actual value - mouse wheel", 0), 0u) << tab->Hint();
}

// ---------------------------------------------------------------- hostile sheets and sizes

TEST_F(GraphWindow, HostileSheetsAndSizesAreDrawnOrSkipped)
{
    struct Shape
    {
        const char* name;
        int columns, rows;
        std::int32_t low, high;  // axis and value limits
        int fill;                // 0 all values equal, 1 alternating between the limits
    };
    const Shape shapes[] = {
        {"all equal", 16, 12, -1000, 1000, 0},
        {"one point", 1, 1, 0, 100, 1},
        {"50 x 30 at the extremes", 50, 30, INT32_MIN + 1, INT32_MAX, 1},
        {"50 x 30 in a one-unit range", 50, 30, 7, 8, 1},
    };
    struct View
    {
        const char* name;
        int flags, command;
    };
    const View views[] = {
        {"2-D", kTabSideBar | kTabGraph2D | kTabGraph3D | kTabTableView, kCmdView2D},
        {"3-D", kTabSideBar | kTabGraph2D | kTabGraph3D | kTabTableView, kCmdView3D},
        {"table with graph", kTabTableView | kTabGraph2D, kCmdViewTable},
        {"check grid", kTabCheckGrid | kTabTableView, kCmdViewTable},
    };
    const QSize sizes[] = {{640, 360}, {90, 40}, {4, 4}, {1, 1}};
    for (const Shape& shape : shapes)
        for (const View& view : views) {
            SCOPED_TRACE(std::string(shape.name) + ", " + view.name);
            make(640, 360, view.flags);
            tab->AddSheet("###Hostile", "RPM", "TP", "ADV", shape.columns, shape.rows,
                          kSheetOperatingPoint | kSheetBaseAdvance | kSheetLimiter | kSheetStartLimiter);
            for (int mask : {1, 2})
                tab->SetAxis(0, mask, {.name = mask == 1 ? "RPM" : "TP", .min = shape.low, .max = shape.high,
                                       .minSpacing = 0, .count = mask == 1 ? shape.columns : shape.rows});
            tab->SetAxis(0, 4, {.name = "ADV", .min = shape.low, .max = shape.high, .options = 2});
            CSheet& s = sheet();
            for (int c = 0; c < kMaxColumns; ++c) s.x.points[c] = c % 2 ? shape.high : shape.low;
            for (int r = 0; r < kMaxRows; ++r) s.y.points[r] = r % 2 ? shape.high : shape.low;
            for (int r = 0; r < kMaxRows; ++r)
                for (int c = 0; c < kMaxColumns; ++c)
                    s.value(c, r) = shape.fill == 0 ? 5 : ((c + r) % 2 ? shape.high : shape.low);
            tab->UpdateLimits(s, 0x107);
            tab->guides = {INT32_MAX, INT32_MIN + 1, INT32_MAX};
            tab->live.flags = 0;
            tab->live.rpm = INT32_MAX;
            tab->live.tp = 50;
            tab->SelectSheet(0);
            tab->Command(view.command);
            for (const QSize& size : sizes) {
                SCOPED_TRACE(size.width());
                tab->SetBounds(0, 0, size.width(), size.height());
                tab->dirty |= kDirtyRedraw | kDirtyRecompute;
                tab->Redraw();
                for (int k = 0; k < 3; ++k) tab->Tick();
                // The pointer across the whole control, a drag through it, the wheel with and without keys.
                for (int y = 0; y < size.height(); y += std::max(1, size.height() / 7))
                    for (int x = 0; x < size.width(); x += std::max(1, size.width() / 9)) move({x, y});
                const QPoint mid(size.width() / 2, size.height() / 2);
                press(mid);
                move({size.width() - 1, 0});
                move({0, size.height() - 1});
                release({0, size.height() - 1});
                wheel(mid, 120);
                wheel(mid, -120, Qt::ControlModifier);
                tab->Tick();
                if (size.width() < 10) {
                    EXPECT_FALSE(tab->graph.projection.valid);
                    if (tab->drawnViews & kView2D) {
                        EXPECT_LE(tab->graph.plotWidth, 0);
                    }
                }
            }
        }
}
