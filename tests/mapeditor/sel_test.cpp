#include "mapeditor/sel.h"

#include <gtest/gtest.h>

namespace {

// A 5 x 4 table view: X heads on top, Y heads on the left, cells 20 x 10 px from (40, 20), column strips below
// the cells, row strips right of them.
HitTable tableFixture()
{
    HitTable t;
    ResetHitTable(t);
    t.width = 200;
    t.height = 100;
    t.columns = 5;
    t.rows = 4;
    t.xHeadsOn = t.yHeadsOn = t.columnStripsOn = t.rowStripsOn = t.cellsOn = 1;
    for (int c = 0; c < 5; ++c) {
        const int l = 40 + 20 * c;
        t.xHead(c) = {l, 0, l + 19, 19};
        t.columnStrip(c) = {l, 70, l + 19, 75};
        for (int r = 0; r < 4; ++r) t.cell(c, r) = {l, 20 + 10 * r, l + 19, 29 + 10 * r};
    }
    for (int r = 0; r < 4; ++r) {
        t.yHead(r) = {0, 20 + 10 * r, 39, 29 + 10 * r};
        t.rowStrip(r) = {150, 20 + 10 * r, 155, 29 + 10 * r};
    }
    return t;
}

int cx(int c)
{
    return 50 + 20 * c;
}
int cy(int r)
{
    return 25 + 10 * r;
}

// A mouse drag in the table view from cell (c0, r0) to cell (c1, r1), committed on release.
void drag(TSel& sel, HitTable& t, int c0, int r0, int c1, int r1, bool shift = false, bool ctrl = false)
{
    sel.StartTableDrag(t, cx(c0), cy(r0), shift, ctrl);
    sel.DragTo(t, cx(c1), cy(r1), false);
    sel.Commit(t);
}

}  // namespace

TEST(HitTable, ResetEmptiesEveryRectangle)
{
    HitTable t = tableFixture();
    ResetHitTable(t);
    EXPECT_EQ(t.cellsOn, 0);
    EXPECT_EQ(t.rects[kHitRects - 1].left, 65535);
    t.cellsOn = t.xHeadsOn = t.yHeadsOn = 1;
    t.columns = t.rows = 500;  // counts beyond the marks are held to 50 x 30
    EXPECT_EQ(TSel::HitTest(t, 0, 0), 0);
    EXPECT_EQ(TSel::HitTest(t, 199, 99), 0);
}

TEST(TSelHit, GroupsAndIndexes)
{
    HitTable t = tableFixture();
    struct Case
    {
        const char* name;
        int x, y, bits, column, row, hitCell;
    };
    const Case cases[] = {
        {"cell", cx(3), cy(2), kHitCell, 3, 2, kHitCell},
        {"cell edge inclusive", 40 + 20 * 3 + 19, 29 + 10 * 2, kHitCell, 3, 2, kHitCell},
        {"X head", cx(1), 5, kHitXHead, 1, -1, kHitXHead},
        {"Y head", 10, cy(3), kHitYHead, -1, 3, kHitYHead},
        {"column strip", cx(4), 72, kHitColumnStrip, 4, -2, 0},
        {"row strip", 152, cy(0), kHitRowStrip, -2, 0, 0},
        {"corner outside", 10, 5, 0, -2, -2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        t.hitColumn = t.hitRow = -2;
        EXPECT_EQ(TSel::HitTest(t, c.x, c.y), c.bits);
        if (c.column >= 0) {
            EXPECT_EQ(t.hitColumn, c.column);
        }
        if (c.row >= 0) {
            EXPECT_EQ(t.hitRow, c.row);
        }
        int column = 0, row = 0;
        EXPECT_EQ(TSel::HitCell(t, c.x, c.y, column, row), c.hitCell);
        if (c.hitCell) {
            EXPECT_EQ(column, c.column);
            EXPECT_EQ(row, c.row);
        } else {
            EXPECT_EQ(column, -2);
        }
    }
}

TEST(TSelCommit, RectangleRules)
{
    struct Case
    {
        const char* name;
        int c0, r0, c1, r1;
        int count;
        int rectangle;
    };
    const Case cases[] = {
        {"one cell", 1, 1, 1, 1, 1, 0},       {"two in a row", 0, 0, 1, 0, 2, 0},
        {"three in a row", 0, 0, 2, 0, 3, 1}, {"three in a column", 4, 1, 4, 3, 3, 1},
        {"two by two", 1, 1, 2, 2, 4, 0},     {"three by two, dragged backwards", 3, 2, 1, 1, 6, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HitTable t = tableFixture();
        TSel sel;
        drag(sel, t, c.c0, c.r0, c.c1, c.r1);
        EXPECT_EQ(sel.count, c.count);
        EXPECT_EQ(sel.selKind, kSelCells);
        EXPECT_EQ(sel.dragKind, 0);
        EXPECT_EQ(sel.rectangle, c.rectangle);
        const int l = std::min(c.c0, c.c1), r = std::max(c.c0, c.c1);
        const int top = std::min(c.r0, c.r1), b = std::max(c.r0, c.r1);
        EXPECT_EQ(sel.minColumn, l);
        EXPECT_EQ(sel.maxRow, b);
        if (c.rectangle) {
            EXPECT_EQ(sel.cellMark(l, top), kMarkCommitted | kMarkCorner);
            EXPECT_EQ(sel.cellMark(r, b), kMarkCommitted | kMarkCorner);
            EXPECT_EQ(sel.CornerFlags(l, top, false, false) & 1, 1);
            EXPECT_EQ(sel.CornerFlags(r, b, false, false) & 8, 8);
        } else {
            EXPECT_EQ(sel.cellMark(l, top), kMarkCommitted);
        }
    }
}

TEST(TSelDrag, CtrlAddsBandShiftExtendsFromOldAnchor)
{
    HitTable t = tableFixture();
    TSel sel;
    drag(sel, t, 0, 0, 2, 0);
    drag(sel, t, 0, 1, 0, 2, false, true);  // Ctrl: an L shape
    EXPECT_EQ(sel.count, 5);
    EXPECT_EQ(sel.rectangle, 0);
    EXPECT_EQ(sel.cellMark(2, 0), kMarkCommitted);  // handles of the earlier rectangle are gone
    EXPECT_EQ(sel.minColumn, 0);                    // bounds of the new band only
    EXPECT_EQ(sel.minRow, 1);

    drag(sel, t, 4, 3, 4, 3, false, true);
    EXPECT_EQ(sel.count, 6);
    EXPECT_EQ(sel.minColumn, 4);  // the focus follows the last band
    EXPECT_EQ(sel.minRow, 3);

    // Shift after release: from the anchor of the last click.
    TSel s2;
    drag(s2, t, 1, 1, 1, 1);
    drag(s2, t, 3, 2, 3, 2, true, false);
    EXPECT_EQ(s2.count, 6);
    EXPECT_EQ(s2.rectangle, 1);
    EXPECT_EQ(s2.MarkAt(1, 1), kMarkCommitted | kMarkCorner);

    // Shift and Ctrl together count as neither: a fresh selection.
    drag(s2, t, 0, 0, 0, 0, true, true);
    EXPECT_EQ(s2.count, 1);
}

TEST(TSelDrag, StartOutsideOrOnAnotherGroup)
{
    HitTable t = tableFixture();
    TSel sel;
    drag(sel, t, 0, 0, 2, 2);
    ASSERT_EQ(sel.count, 9);

    sel.StartTableDrag(t, 10, 5, false, true);  // Ctrl outside: nothing changes
    EXPECT_EQ(sel.count, 9);
    EXPECT_EQ(sel.dragKind, 0);

    sel.StartTableDrag(t, cx(3), 5, false, true);  // an X head while cells are selected: cells dropped
    sel.DragTo(t, cx(4), 5, false);
    sel.Commit(t);
    EXPECT_EQ(sel.selKind, kSelXHeads);
    EXPECT_EQ(sel.count, 2);
    EXPECT_EQ(sel.MarkAt(0, 0), 0);
    EXPECT_EQ(sel.MarkAt(3, -1), kMarkCommitted);
    EXPECT_EQ(sel.minRow, -1);

    sel.StartTableDrag(t, 10, 5, false, false);  // plain click outside: cleared, no drag
    EXPECT_EQ(sel.count, 0);
    EXPECT_EQ(sel.selKind, 0);
    EXPECT_EQ(sel.dragKind, 0);

    // A whole-column strip selects cells of the table's rows.
    sel.StartTableDrag(t, cx(1), 72, false, false);
    sel.DragTo(t, cx(2), 72, false);
    sel.Commit(t);
    EXPECT_EQ(sel.selKind, kSelCells);
    EXPECT_EQ(sel.count, 8);
    EXPECT_EQ(sel.rectangle, 1);  // two columns by four rows
    EXPECT_EQ(sel.CornerFlags(1, 0, false, true), 1 + 5);
}

TEST(TSelDrag, GraphDragAlwaysCellsAndClampsToTheArea)
{
    HitTable t = tableFixture();
    TSel sel;
    sel.SelectOne(t, 2, -1);  // an X head
    sel.StartGraphDrag(t, cx(0), cy(0), false, true);
    EXPECT_EQ(sel.dragKind, kHitCell);
    EXPECT_EQ(sel.MarkAt(2, -1), 0);
    EXPECT_FALSE(sel.DragTo(t, cx(0), cy(0), false));  // same point: nothing
    EXPECT_TRUE(sel.DragTo(t, 5000, 5000, false));
    EXPECT_EQ(sel.currentX, 199);
    EXPECT_EQ(sel.currentY, 99);
    sel.Commit(t);
    EXPECT_EQ(sel.count, 20);
}

TEST(TSelKeys, SelectOneAndSelectTo)
{
    HitTable t = tableFixture();
    TSel sel;
    sel.SelectOne(t, 2, 1);
    EXPECT_EQ(sel.count, 1);
    EXPECT_EQ(sel.startColumn, 2);
    EXPECT_EQ(sel.startRow, 1);

    struct Case
    {
        const char* name;
        int startC, startR, toC, toR;
        int kind, count, minC, maxC, minR, maxR;
    };
    const Case cases[] = {
        {"cells to the head column stop at column 0", 2, 1, -1, 3, kSelCells, 9, 0, 2, 1, 3},
        {"X heads stay in the head row", 2, -1, 4, 3, kSelXHeads, 3, 2, 4, -1, -1},
        {"Y heads stay in the head column", -1, 3, 4, 0, kSelYHeads, 4, -1, -1, 0, 3},
        {"past the grid: nothing", 2, 1, 60, 1, 0, 0, -2, -2, -2, -2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sel.SelectOne(t, c.startC, c.startR);
        sel.SelectTo(t, c.toC, c.toR);
        EXPECT_EQ(sel.selKind, c.kind);
        EXPECT_EQ(sel.count, c.count);
        EXPECT_EQ(sel.minColumn, c.minC);
        EXPECT_EQ(sel.maxColumn, c.maxC);
        EXPECT_EQ(sel.minRow, c.minR);
        EXPECT_EQ(sel.maxRow, c.maxR);
    }
}

TEST(TSel, MarkAtOutsideTheSheetIsZero)
{
    TSel sel;
    sel.marks.fill(kMarkCommitted);
    struct Case
    {
        int column, row;
        std::uint16_t mark;
    };
    for (const Case c : {Case{50, 0, 0}, Case{-1, -1, 0}, Case{0, 30, 0}, Case{-2, 0, 0}, Case{0, -2, 0},
                         Case{49, 29, 1}, Case{-1, 29, 1}, Case{49, -1, 1}}) {
        SCOPED_TRACE(testing::Message() << c.column << "," << c.row);
        EXPECT_EQ(sel.MarkAt(c.column, c.row), c.mark);
    }
}

TEST(TSel, CornerFlagsOfHeadsAndCells)
{
    HitTable t = tableFixture();
    TSel sel;
    EXPECT_EQ(sel.CornerFlags(0, 0, true, true), 0);  // no rectangle
    sel.SelectOne(t, 0, 0);
    sel.SelectTo(t, 0, 2);  // one column, three rows
    struct Case
    {
        int column, row;
        bool wholeRow, wholeColumn;
        int flags;
    };
    for (const Case c : {Case{0, 0, false, false, 1 | 2}, Case{0, 2, false, false, 4 | 8}, Case{0, 1, false, false, 0},
                         Case{0, 0, true, false, 3 + 3}, Case{0, 2, false, true, 12 + 5 + 10}}) {
        SCOPED_TRACE(testing::Message() << c.column << "," << c.row);
        EXPECT_EQ(sel.CornerFlags(c.column, c.row, c.wholeRow, c.wholeColumn), c.flags);
    }
    sel.SelectOne(t, 1, -1);
    sel.SelectTo(t, 3, -1);
    EXPECT_EQ(sel.CornerFlags(1, -1, false, false), 5);
    EXPECT_EQ(sel.CornerFlags(3, -1, false, false), 10);
    EXPECT_EQ(sel.CornerFlags(3, 0, false, false), 0);
}
