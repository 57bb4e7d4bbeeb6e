#include "mapeditor/sheet.h"

#include <gtest/gtest.h>

#include <vector>

#include "testsheet.h"

namespace {

std::vector<int> pointsOf(const CAxe& a)
{
    return std::vector<int>(a.points.begin(), a.points.begin() + a.count);
}

void setPoints(CAxe& a, const std::vector<int>& pts)
{
    a.count = static_cast<int>(pts.size());
    for (std::size_t i = 0; i < pts.size(); ++i) a.points[i] = pts[i];
}

// An X axis arranged once from the given points, as after loading.
CSheet arrangedSheet(const std::vector<int>& pts, int min, int max, int spacing)
{
    CSheet s = MakeSheet();
    s.x.min = min;
    s.x.max = max;
    s.x.minSpacing = spacing;
    setPoints(s.x, pts);
    s.updateAxes(1 | 0x100);
    return s;
}

}  // namespace

TEST(CAxeArrange, LoadAndTypedChanges)
{
    struct Case
    {
        const char* name;
        std::vector<int> loaded;
        int min, max, spacing;
        std::vector<std::pair<int, int>> typed;  // (index, value) set together before one Arrange
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"single point clamped up", {-5}, 0, 100, 1, {}, {0}},
        {"single point clamped down", {500}, 0, 100, 1, {}, {100}},
        {"single point moved stays alone", {50}, 0, 100, 1, {{0, 70}}, {70}},
        {"load sorts into spacing", {30, 10, 20}, 0, 100, 5, {}, {30, 35, 40}},
        {"load keeps room at the top", {90, 95, 100}, 0, 100, 10, {}, {80, 90, 100}},
        {"all typed equal spaced upward",
         {10, 20, 30, 40},
         0,
         100,
         1,
         {{0, 50}, {1, 50}, {2, 50}, {3, 50}},
         {50, 51, 52, 53}},
        {"one point past the max pushes the rest down", {10, 20, 30, 40}, 0, 40, 2, {{1, 60}}, {10, 36, 38, 40}},
        {"one point below the min pushes up", {10, 20, 30, 40}, 0, 100, 3, {{2, -50}}, {0, 3, 6, 40}},
        {"impossible range: spacing wins over min", {1, 2, 3}, 0, 1, 1, {}, {-1, 0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSheet s = arrangedSheet(c.loaded, c.min, c.max, c.spacing);
        if (!c.typed.empty()) {
            for (auto [i, v] : c.typed) s.x.points[i] = v;
            s.x.Arrange();
        }
        EXPECT_EQ(pointsOf(s.x), c.expected);
        EXPECT_EQ(std::vector<int>(s.x.prevPoints.begin(), s.x.prevPoints.begin() + s.x.count), c.expected);
    }
}

TEST(CAxeArrange, DraggedPointPushesNeighbourWhichSpringsBack)
{
    CSheet s = arrangedSheet({10, 20, 30, 40}, 0, 100, 1);
    s.x.points[2] = 45;
    s.x.Arrange();
    EXPECT_EQ(pointsOf(s.x), (std::vector<int>{10, 20, 45, 46}));
    s.x.points[2] = 25;
    s.x.Arrange();
    EXPECT_EQ(pointsOf(s.x), (std::vector<int>{10, 20, 25, 40}));

    // Dragged down past two neighbours and back: both return.
    s.x.points[3] = 5;
    s.x.Arrange();
    EXPECT_EQ(pointsOf(s.x), (std::vector<int>{2, 3, 4, 5}));
    s.x.points[3] = 40;
    s.x.Arrange();
    EXPECT_EQ(pointsOf(s.x), (std::vector<int>{10, 20, 25, 40}));
}

TEST(CAxeArrange, ReloadCountsAsNoMove)
{
    // Loading copies the points into the previous ones: the next arrange sees nothing moved.
    CSheet s = arrangedSheet({10, 20, 30}, 0, 100, 1);
    s.x.points[0] = s.x.prevPoints[0] = 25;  // loaded out of order on purpose
    s.x.Arrange();
    EXPECT_EQ(pointsOf(s.x), (std::vector<int>{25, 26, 30}));
}

TEST(CAxe, ClampValuesOnlyInsideCounts)
{
    CSheet s = MakeSheet({.columns = 2, .rows = 2, .dataMin = 0, .dataMax = 100});
    s.value(0, 0) = -7;
    s.value(1, 1) = 700;
    s.value(2, 0) = 700;  // outside the counts: untouched
    s.updateAxes(4);
    EXPECT_EQ(s.value(0, 0), 0);
    EXPECT_EQ(s.value(1, 1), 100);
    EXPECT_EQ(s.value(2, 0), 700);
}

TEST(CAxeSteps, TableEndsAtZeroGridStepAndHoldsFive)
{
    CAxe a;
    const StepEntry six[] = {{1, 1, 1, 1, 1}, {2, 2, 2, 2, 2}, {3, 3, 3, 3, 3}, {4, 4, 4, 4, 4},
                             {5, 5, 5, 5, 5}, {6, 6, 6, 6, 6}, {0, 0, 0, 0, 0}};
    a.SetSteps(six);
    EXPECT_EQ(a.stepCount, 5);
    EXPECT_EQ(a.steps[3][0], 4);
    EXPECT_EQ(a.steps[4][0], 6);  // the sixth overwrote the fifth

    const StepEntry rpm[] = {
        {4000, 2000, 1000, 200, 1000}, {10000, 2000, 1000, 500, 1000}, {0, 0, 0, 0, 0}, {99, 99, 99, 99, 99}};
    a.SetSteps(rpm);
    EXPECT_EQ(a.stepCount, 2);
    struct Case
    {
        double span;
        double limit;
    };
    for (const Case c : {Case{100, 4000}, Case{4000, 4000}, Case{4001, 10000}, Case{50000, 10000}}) {
        SCOPED_TRACE(c.span);
        a.PickSteps(c.span);
        EXPECT_EQ(a.currentStep[0], c.limit);
    }
    CAxe none;
    none.currentStep = {7, 7, 7, 7, 7};
    none.PickSteps(10);
    EXPECT_EQ(none.currentStep, (StepEntry{7, 1, 1, 1, 1}));
    a.numeric = 0;
    a.PickSteps(100);
    EXPECT_EQ(a.currentStep[2], 1.0);
}

TEST(CAxeStringView, PartsAndFaults)
{
    CSheet s = MakeSheet({.columns = 3});
    s.x.labelTexts[0] = "a,b\r\nc,d,e,f,g,h,i,j,k";
    s.x.SplitStringView();
    ASSERT_EQ(s.x.labelParts[0].size(), 9u);
    EXPECT_EQ(s.x.labelParts[0][2], "c");
    EXPECT_EQ(s.x.labelParts[0][8], "i,j,k");  // the rest, commas included

    s.x.labelTexts[0] = "###Coolant##Kühlflüssigkeit##Voda,###Inlet Air##Ansaugluft##Vzduch,";
    s.x.labelTexts[1] = "C,A";
    s.x.SplitStringView();
    struct Case
    {
        const char* name;
        int value;
        int index;
        int which;
        const char* text;
        StringViewFault fault;
    };
    const Case cases[] = {
        {"value 1001 picks part 1", 1001, 0, 0, "###Inlet Air##Ansaugluft##Vzduch", StringViewFault::None},
        {"first part", 0, 0, 0, "###Coolant##Kühlflüssigkeit##Voda", StringViewFault::None},
        {"second text", 1, 0, 1, "A", StringViewFault::None},
        {"empty part", 2, 0, 0, nullptr, StringViewFault::EmptyPart},
        {"missing part", 5, 0, 0, nullptr, StringViewFault::EmptyPart},
        {"part above 8", 9, 0, 0, nullptr, StringViewFault::PartOutsideRange},
        {"negative value", -1, 0, 0, nullptr, StringViewFault::PartOutsideRange},
        {"index past count", 0, 3, 0, nullptr, StringViewFault::IndexOutsideCount},
        {"negative index", 0, -1, 0, nullptr, StringViewFault::IndexOutsideCount},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.index >= 0 && c.index < 3) s.x.points[c.index] = c.value;
        StringViewFault fault{};
        const auto text = s.x.StringViewText(c.index, c.which, &fault);
        EXPECT_EQ(fault, c.fault);
        if (c.text) {
            EXPECT_EQ(text.value_or("<none>"), c.text);
        } else {
            EXPECT_FALSE(text.has_value());
        }
    }
    s.x.points[0] = 1005;
    s.x.labelTexts[0] = "0,1,2,3,4,five";
    s.x.SplitStringView();
    EXPECT_EQ(s.x.StringViewText(0, 0).value_or(""), "five");
}

TEST(CAxe, CollapsedIndexFromPosition)
{
    struct Case
    {
        int count, position, index;
    };
    for (const Case c : {Case{7, kCollapseMiddle, 3}, Case{7, kCollapseFirst, 0}, Case{7, kCollapseLast, 6},
                         Case{7, 4, 4}, Case{7, 12, 6}, Case{1, kCollapseMiddle, 0}}) {
        SCOPED_TRACE(testing::Message() << c.count << " " << c.position);
        CSheet s = MakeSheet({.rows = c.count});
        s.y.collapsePos = c.position;
        EXPECT_EQ(s.y.resolveCollapsedIndex(), c.index);
    }
}

TEST(CSheet, AllocateAndFree)
{
    CSheet s;
    EXPECT_EQ(s.x.count, 50);
    EXPECT_EQ(s.y.count, 30);
    EXPECT_EQ(s.data.showUnit, 0);
    EXPECT_FALSE(s.isAllocated());
    s.flags = kSheetLambdaBlock;
    s.Allocate();
    EXPECT_TRUE(s.isAllocated());
    EXPECT_EQ(s.lambdaBlock.size(), 1500u);
    EXPECT_EQ(s.x.points.size(), 50u);
    EXPECT_EQ(s.y.pushedMarks.size(), 30u);
    s.Free();
    EXPECT_FALSE(s.isAllocated());
    EXPECT_TRUE(s.lambdaBlock.empty());
    // Operations on freed storage do nothing rather than touch it.
    s.updateAxes(7);
    EXPECT_EQ(insertLineData(s, kLineColumns, 0, false), LineEdit::AtMaximum);
}

// ---- Insert and delete --------------------------------------------------------------------------------------

TEST(InsertLine, NewPointAndCellsAreMeansOfNeighbours)
{
    struct Case
    {
        const char* name;
        int b;
        int staleLast;  // value left in the slot past the last point
        std::vector<int> points;
        std::vector<int> row0;
    };
    // X 10 20 30, row 0 values 100 200 301.
    const Case cases[] = {
        {"front", 0, 0, {10, 10, 20, 30}, {100, 100, 200, 301}},
        {"middle", 1, 0, {10, 15, 20, 30}, {100, 150, 200, 301}},
        {"end, stale slot below neighbour", 3, 7, {10, 20, 30, 30}, {100, 200, 301, 301}},
        {"end, stale slot above neighbour kept", 3, 44, {10, 20, 30, 44}, {100, 200, 301, 301}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSheet s = MakeSheet({.columns = 3, .rows = 2});
        s.x.maxCount = 5;
        s.x.points[3] = c.staleLast;
        for (int col = 0; col < 3; ++col) s.value(col, 0) = std::vector<int>{100, 200, 301}[col];
        ASSERT_EQ(insertLineData(s, kLineColumns, c.b, false), LineEdit::Done);
        EXPECT_EQ(pointsOf(s.x), c.points);
        std::vector<int> row0;
        for (int col = 0; col < 4; ++col) row0.push_back(s.value(col, 0));
        EXPECT_EQ(row0, c.row0);
        EXPECT_EQ(s.sel.MarkAt(c.b, 0), kMarkPicked);
        EXPECT_EQ(s.sel.MarkAt(c.b, 1), kMarkPicked);
        EXPECT_EQ(s.sel.MarkAt(c.b, 2), 0);  // past the row count
    }
}

TEST(InsertLine, RefusedAtMaximumOrNotResizable)
{
    CSheet s = MakeSheet({.columns = 3, .rows = 2});
    s.x.maxCount = 3;
    EXPECT_EQ(insertLineData(s, kLineColumns, 1, false), LineEdit::AtMaximum);
    s.y.maxCount = 5;
    s.y.resizable = 0;
    EXPECT_EQ(insertLineData(s, kLineRows, 1, false), LineEdit::NotResizable);
    s.y.resizable = 1;
    EXPECT_EQ(insertLineData(s, kLineRows, 3, false), LineEdit::BadIndex);
    EXPECT_EQ(insertLineData(s, kLineRows, 2, false), LineEdit::Done);
    EXPECT_EQ(s.y.count, 3);
}

TEST(InsertLine, CheckGridMovesItsExtraValueAndKeepsRoomForIt)
{
    // Two X lines make three check cells per row: 1 | 0 | 2.
    CSheet s = MakeSheet({.columns = 2, .rows = 1});
    s.x.maxCount = kMaxColumns;
    s.value(0, 0) = 1;
    s.value(2, 0) = 2;
    ASSERT_EQ(insertLineData(s, kLineColumns, 1, false, true), LineEdit::Done);
    EXPECT_EQ(pointsOf(s.x), (std::vector<int>{10, 15, 20}));
    EXPECT_EQ(s.value(3, 0), 2);  // the cell right of the last line moved along
    ASSERT_EQ(deleteLineData(s, kLineColumns, 1, false, true), LineEdit::Done);
    EXPECT_EQ(s.value(2, 0), 2);
    EXPECT_EQ(s.sel.MarkAt(3, 0), 0);

    // At 49 lines a check grid already uses all 50 value columns.
    s.x.count = 49;
    EXPECT_FALSE(hasRoomForLine(s, kLineColumns, true));
    EXPECT_TRUE(hasRoomForLine(s, kLineColumns, false));
    EXPECT_EQ(insertLineData(s, kLineColumns, 49, false, true), LineEdit::AtMaximum);
}

TEST(DeleteLine, ShiftsPointsValuesAndMarks)
{
    CSheet s = MakeSheet({.columns = 2, .rows = 4});
    for (int r = 0; r < 4; ++r) s.value(1, r) = r;
    s.sel.cellMark(1, 3) = kMarkCommitted;
    ASSERT_EQ(deleteLineData(s, kLineRows, 1, false), LineEdit::Done);
    EXPECT_EQ(pointsOf(s.y), (std::vector<int>{5, 15, 20}));
    EXPECT_EQ(s.value(1, 1), 2);
    EXPECT_EQ(s.value(1, 2), 3);
    EXPECT_EQ(s.sel.cellMark(1, 2), kMarkCommitted);
    EXPECT_EQ(s.sel.cellMark(1, 3), 0);

    struct Case
    {
        const char* name;
        int minCount, resizable, collapsed;
        bool follower;
        LineEdit result;
    };
    const Case cases[] = {
        {"at minimum", 3, 1, 0, false, LineEdit::AtMinimum},
        {"not resizable", 1, 0, 0, false, LineEdit::NotResizable},
        {"not resizable but a follower", 1, 0, 0, true, LineEdit::Done},
        {"collapsed", 1, 1, 1, false, LineEdit::Collapsed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSheet t = MakeSheet({.columns = 2, .rows = 3});
        t.y.minCount = c.minCount;
        t.y.resizable = c.resizable;
        t.y.collapsed = c.collapsed;
        EXPECT_EQ(deleteLineData(t, kLineRows, 0, c.follower), c.result);
    }
}

TEST(LinkedSheets, FollowersTakeTheSameInsertionOrNoneDoes)
{
    auto group = [] {
        std::vector<CSheet> sheets;
        for (int i = 0; i < 3; ++i) sheets.push_back(MakeSheet({.columns = 4, .rows = 3}));
        for (CSheet& s : sheets) s.x.maxCount = 6;
        sheets[0].leaderId = 7;
        sheets[1].followerId = 7;
        sheets[2].followerId = 7;
        return sheets;
    };
    {
        auto sheets = group();
        ASSERT_EQ(insertLinkedLine(sheets, 0, kLineColumns, 2), LineEdit::Done);
        for (const CSheet& s : sheets) EXPECT_EQ(pointsOf(s.x), (std::vector<int>{10, 20, 25, 30, 40}));
        ASSERT_EQ(deleteLinkedLine(sheets, 0, kLineColumns, 0), LineEdit::Done);
        for (const CSheet& s : sheets) EXPECT_EQ(pointsOf(s.x), (std::vector<int>{20, 25, 30, 40}));
    }
    // A follower with no room (its own maximum, or the whole 50 columns) stops the whole group, so the linked
    // tables keep one shape and nothing is written past a follower's arrays.
    for (int followerMax : {4, 50}) {
        SCOPED_TRACE(followerMax);
        auto sheets = group();
        sheets[2].x.maxCount = followerMax;
        sheets[2].x.count = followerMax;
        sheets[2].value(followerMax - 1, 0) = 99;
        EXPECT_EQ(insertLinkedLine(sheets, 0, kLineColumns, 1), LineEdit::FollowerAtMaximum);
        EXPECT_EQ(sheets[0].x.count, 4);
        EXPECT_EQ(sheets[1].x.count, 4);
        EXPECT_EQ(sheets[2].x.count, followerMax);
        EXPECT_EQ(sheets[2].value(followerMax - 1, 0), 99);
    }
}

TEST(CAxeArrange, AnyChangeEndsOrderedSpacedAndInRange)
{
    // Whatever the user types or drags, when the range can hold the points they end ordered, spaced and inside
    // min..max, and an unchanged axis stays as it is.
    std::uint32_t seed = 12345;
    auto next = [&](int lo, int hi) {
        seed = seed * 1664525u + 1013904223u;
        return lo + static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(hi - lo + 1));
    };
    for (int round = 0; round < 2000; ++round) {
        const int n = next(1, 50), spacing = next(0, 20);
        const int min = next(-1000, 1000), max = min + (n - 1) * spacing + next(0, 5000);
        CSheet s = MakeSheet();
        s.x.min = min;
        s.x.max = max;
        s.x.minSpacing = spacing;
        std::vector<int> pts(n);
        for (int& p : pts) p = next(min - 2000, max + 2000);
        setPoints(s.x, pts);
        s.updateAxes(1 | 0x100);
        for (int step = 0; step < 5; ++step) {
            const int changes = next(1, 3);
            for (int k = 0; k < changes; ++k) s.x.points[next(0, n - 1)] = next(min - 2000, max + 2000);
            s.x.Arrange();
            for (int k = 0; k < n; ++k) {
                ASSERT_GE(s.x.points[k], min) << "round " << round;
                ASSERT_LE(s.x.points[k], max) << "round " << round;
                if (k > 0) {
                    ASSERT_GE(s.x.points[k] - s.x.points[k - 1], spacing) << "round " << round;
                }
            }
            const std::vector<int> settled = pointsOf(s.x);
            s.x.Arrange();
            ASSERT_EQ(pointsOf(s.x), settled) << "round " << round;
        }
    }
}
