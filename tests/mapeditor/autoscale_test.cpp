// The graph views' autoscale: ranges over joined sheets, minimum spans, guide values, rounding to the steps.
#include <gtest/gtest.h>

#include <array>

#include "mapeditor/tabgraph.h"
#include "testsheet.h"

namespace {

struct Graph
{
    std::array<CSheet, 2> sheets{MakeSheet(), MakeSheet()};
    TTabGraph graph;
    explicit Graph(int mode = kGraphCurveX)
    {
        graph.mode = mode;
        aim(0);
        sheets[1].hidden = 1;
    }
    void aim(int current)
    {
        graph.first = &sheets[current].x;
        graph.second = &sheets[current].y;
        graph.data = &sheets[current].data;
    }
    void run(const TabGuides& guides = {}, bool twoD = true) { graph.Autoscale(sheets, 0, guides, twoD); }
};

const StepEntry kFiveSteps[] = {{10, 5, 1, 1, 2}, {30, 5, 5, 5, 5}};

}  // namespace

TEST(Autoscale, EqualValuesGetTheMinimumSpanAndAMarginOfAFifthStep)
{
    Graph g;
    CSheet& s = g.sheets[0];
    s.y.collapsed = 1;
    std::fill(s.data.points.begin(), s.data.points.end(), 50);
    s.data.SetSteps(kFiveSteps);
    g.run();
    EXPECT_EQ(s.data.displayLow, 45);
    EXPECT_EQ(s.data.displayHigh, 60);
}

TEST(Autoscale, ANonNegativeRangeKeepsZero)
{
    Graph g;
    CSheet& s = g.sheets[0];
    s.x.count = 4;
    for (int c = 0; c < 4; ++c) s.x.points[c] = c;
    s.x.SetSteps(kFiveSteps);
    g.run();
    EXPECT_EQ(s.x.displayLow, 0);
    EXPECT_GT(s.x.displayHigh, 3);
}

TEST(Autoscale, LimiterWidensTheRpmAxis)
{
    Graph g;
    CSheet& s = g.sheets[0];
    s.flags |= kSheetLimiter;
    s.x.label = "RPM";
    s.x.scale = 100;
    for (int c = 0; c < s.x.count; ++c) s.x.points[c] = 20 + 20 * c;  // up to 8000 RPM
    const StepEntry rpm[] = {{25000, 2000, 1000, 1000, 2000}};
    s.x.SetSteps(rpm);
    g.run({.limiter = 9000});
    EXPECT_GE(s.x.displayHigh * s.x.scale, 9000);
}

TEST(Autoscale, HiddenSheetsDoNotJoin)
{
    Graph g;
    g.sheets[0].data.scaleGroup = g.sheets[1].data.scaleGroup = 1;
    std::fill(g.sheets[0].data.points.begin(), g.sheets[0].data.points.end(), 10);
    std::fill(g.sheets[1].data.points.begin(), g.sheets[1].data.points.end(), 900);
    g.sheets[0].data.SetSteps(kFiveSteps);
    g.run();
    EXPECT_LT(g.sheets[0].data.displayHigh, 900);
    g.sheets[1].hidden = 0;
    g.run();
    EXPECT_GE(g.sheets[0].data.displayHigh, 900);
}

TEST(Autoscale, StackedRowsUseARoundedRowOffset)
{
    Graph g(kGraphStacked);
    CSheet& s = g.sheets[0];
    s.y.count = 10;
    for (int r = 0; r < 10; ++r)
        for (int c = 0; c < s.x.count; ++c) s.value(c, r) = r * 7;  // row steps of 7
    s.data.SetSteps(kFiveSteps);
    g.run();
    EXPECT_EQ(g.graph.rowOffset, 10);
    EXPECT_EQ(g.graph.curveCount, 10);
    EXPECT_EQ(g.graph.horizontal, &s.x);
}

TEST(Autoscale, DegenerateAxesNeverDivideByZero)
{
    Graph g;
    CSheet& s = g.sheets[0];
    s.x.scale = 0;
    s.data.scale = 0;
    s.x.count = 1;
    s.y.count = 1;
    g.run();
    EXPECT_LE(s.x.displayLow, s.x.displayHigh);
    EXPECT_LE(s.data.displayLow, s.data.displayHigh);
    CSheet empty;  // no storage at all
    g.graph.first = &empty.x;
    g.graph.second = &empty.y;
    g.graph.data = &empty.data;
    std::array<CSheet, 1> one{};
    g.graph.Autoscale(one, 0, {}, true);
    EXPECT_EQ(empty.data.displayLow, 0);
}
