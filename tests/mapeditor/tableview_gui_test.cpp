// The table view driven as a person drives it (pointer, buttons, keys, clipboard), what it draws (probed away from
// any text), and a whole editing session whose edits reach the owner's image and its undo.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <cstring>
#include <numeric>
#include <vector>

#include "mapeditor/numtext.h"
#include "settings/undo.h"
#include "tabwindow.h"

namespace {

class TableViewTest : public TabWindowTest
{
protected:
    int left(int k) { return static_cast<int>(tab->layout.cellsLeft + k * tab->layout.cellWidth); }
    int top(int j) { return static_cast<int>(tab->layout.cellsTop + j * tab->layout.cellHeight); }
    TColor pixel(int x, int y)
    {
        tab->dirty |= kDirtyRedraw;
        tab->Redraw();
        return tab->BackBuffer().Pixel(x, y);
    }
    void select(int c0, int r0, int c1, int r1)
    {
        sheet().sel.SelectOne(tab->fullHits, c0, r0);
        sheet().sel.SelectTo(tab->fullHits, c1, r1);
    }
    void dragPointer(QPoint from, QPoint to)
    {
        QTest::mouseMove(w(), from);
        QTest::mousePress(w(), Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(w(), to);
        QTest::mouseRelease(w(), Qt::LeftButton, Qt::NoModifier, to);
    }
};

}  // namespace

// ---------------------------------------------------------------- pointer and keys

TEST_F(TableViewTest, SelectAllBoxAndAxisLabels)
{
    const TabLayout& L = tab->layout;
    const QPoint all(L.cellsLeft - 6, L.cellsTop - 6);
    click(all);
    EXPECT_EQ(sheet().sel.count, 16 * 12);
    click(all);  // everything selected: cleared
    EXPECT_EQ(sheet().sel.count, 0);
    QTest::mousePress(w(), Qt::RightButton, Qt::NoModifier, all);  // a right click selects all again
    EXPECT_EQ(sheet().sel.count, 16 * 12);
    tab->popup.Close();

    // The corner cell: above its diagonal the X label (all X heads), on it and below the Y label.
    const int hl = L.tableLeft, ht = L.tableTop, hw = L.yHeadWidth, hh = L.headHeight;
    click(QPoint(hl + hw - 4, ht + 2));
    EXPECT_EQ(sheet().sel.selKind, kSelXHeads);
    EXPECT_EQ(sheet().sel.count, 16);
    const int g = std::gcd(hw, hh);
    const int x = hl + hw / g, y = ht + hh / g;  // (y - top) * width == (x - left) * height
    ASSERT_EQ((y - ht) * hw, (x - hl) * hh);
    click(QPoint(x, y));
    EXPECT_EQ(sheet().sel.selKind, kSelYHeads);
    EXPECT_EQ(sheet().sel.count, 12);
}

TEST_F(TableViewTest, DragHandleStretchesAndFrameMovesTheBlock)
{
    // A 2 x 2 block chosen with the pointer.
    dragPointer(cellPoint(3, 3), cellPoint(4, 4));
    ASSERT_EQ(sheet().sel.count, 4);
    // The handle sits on the block's bottom right corner; dragged above and left of the block it gives the
    // rectangle from the pointer's cell to the block's first cell.
    const QPoint handle(left(5), top(5));
    QTest::mouseMove(w(), handle);
    EXPECT_TRUE(tab->tableDrag.onHandle);
    EXPECT_EQ(tab->Cursor(), crCross);
    const std::int32_t a = value(3, 3), b = value(4, 3);
    QTest::mousePress(w(), Qt::LeftButton, Qt::NoModifier, handle);
    QTest::mouseMove(w(), cellPoint(1, 1) - QPoint(0, 0));
    EXPECT_EQ(tab->tableDrag.mode, 1);
    EXPECT_EQ(tab->tableDrag.firstColumn, 1);
    EXPECT_EQ(tab->tableDrag.firstRow, 1);
    EXPECT_EQ(tab->tableDrag.lastColumn, 3);
    EXPECT_EQ(tab->tableDrag.lastRow, 3);
    QTest::mouseRelease(w(), Qt::LeftButton, Qt::NoModifier, cellPoint(1, 1));
    EXPECT_EQ(tab->tableDrag.mode, 0);
    EXPECT_EQ(sheet().sel.count, 9);  // the filled rectangle is the selection
    EXPECT_EQ(value(3, 3), a);
    EXPECT_EQ(value(1, 3), a - 2 * (b - a));  // the row continued leftward by its slope
    EXPECT_EQ(edits, 1);

    // The frame's top edge moves the block; pushed against the sheet's edge it stops there, keeping its size.
    click(cellPoint(6, 6));
    dragPointer(cellPoint(6, 6), cellPoint(7, 7));
    const std::int32_t corner = value(6, 6), far = value(7, 7);
    const QPoint edge((left(6) + left(7)) / 2, top(6));
    QTest::mouseMove(w(), edge);
    EXPECT_EQ(tab->tableDrag.frameEdge, 1);
    EXPECT_EQ(tab->Cursor(), crSizeAll);
    QTest::mousePress(w(), Qt::LeftButton, Qt::NoModifier, edge);
    QTest::mouseMove(w(), edge - QPoint(left(10), top(10)));
    EXPECT_EQ(tab->tableDrag.mode, 2);
    EXPECT_EQ(tab->tableDrag.firstColumn, 0);
    EXPECT_EQ(tab->tableDrag.lastColumn, 1);
    EXPECT_EQ(tab->tableDrag.firstRow, 0);
    EXPECT_EQ(tab->tableDrag.lastRow, 1);
    QTest::mouseRelease(w(), Qt::LeftButton, Qt::NoModifier, edge - QPoint(left(10), top(10)));
    EXPECT_EQ(value(0, 0), corner);
    EXPECT_EQ(value(1, 1), far);
    EXPECT_EQ(value(6, 6), corner);  // the source keeps its values
}

TEST_F(TableViewTest, StepButtonsStepOnReleaseOverThemOnly)
{
    const std::int32_t start = value(2, 2);
    QTest::mouseMove(w(), cellPoint(2, 2));
    ASSERT_TRUE(tab->step.shown);
    const QPoint up = centreOf(tab->step.up), down = centreOf(tab->step.down);
    QTest::mouseMove(w(), up);
    QTest::mousePress(w(), Qt::LeftButton, Qt::NoModifier, up);
    QTest::mouseMove(w(), QPoint(tab->BackBuffer().Width() - 3, tab->BackBuffer().Height() - 3));
    QTest::mouseRelease(w(), Qt::LeftButton, Qt::NoModifier, QPoint(tab->BackBuffer().Width() - 3, 3));
    EXPECT_EQ(value(2, 2), start);  // released elsewhere: no step

    QTest::mouseMove(w(), cellPoint(2, 2));
    QTest::mouseMove(w(), up);
    QTest::mousePress(w(), Qt::LeftButton, Qt::NoModifier, up);
    QTest::mouseMove(w(), down);
    QTest::mouseRelease(w(), Qt::LeftButton, Qt::NoModifier, down);
    EXPECT_EQ(value(2, 2), start - 1);  // released over the other button: its step
}

TEST_F(TableViewTest, InPlaceEditKeys)
{
    click(cellPoint(1, 1));
    const std::int32_t start = value(1, 1);
    // A digit starts an empty edit: the value is replaced, not appended to; Escape drops it.
    type("7");
    EXPECT_EQ(tab->edit.text, "7");
    key(Qt::Key_Escape);
    EXPECT_FALSE(tab->edit.active);
    EXPECT_EQ(value(1, 1), start);
    // Insert keeps the value for correction; Home, then Shift+End marks the whole text.
    key(Qt::Key_Insert);
    EXPECT_EQ(tab->edit.text, NumberText(start, 0.1));
    EXPECT_EQ(tab->edit.markStart, tab->edit.markEnd);
    key(Qt::Key_Home);
    key(Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(tab->edit.markStart, 0);
    EXPECT_EQ(tab->edit.markEnd, static_cast<int>(tab->edit.text.size()));
    // '+' does nothing in the edit; '-' is typed over the marked text.
    type("+");
    EXPECT_EQ(value(1, 1), start);
    type("-2");
    EXPECT_EQ(tab->edit.text, "-2");
    type("1234567890123456789");  // at most 16 characters
    EXPECT_EQ(tab->edit.text, "-212345678901234");
    for (int i = 0; i < 11; ++i) key(Qt::Key_Backspace);
    key(Qt::Key_Up);  // commits; the focus stays
    EXPECT_EQ(value(1, 1), -21230);
    int c = -2, r = -2;
    ASSERT_TRUE(tab->GetFocusCell(c, r));
    EXPECT_EQ(r, 1);

    // A double click starts the edit with the whole text marked.
    QTest::mouseDClick(w(), Qt::LeftButton, Qt::NoModifier, cellPoint(4, 2));
    ASSERT_TRUE(tab->edit.active);
    EXPECT_EQ(tab->edit.column, 4);
    EXPECT_EQ(tab->edit.markStart, 0);
    EXPECT_EQ(tab->edit.markEnd, static_cast<int>(tab->edit.text.size()));
    click(cellPoint(6, 6));  // a click elsewhere commits
    EXPECT_FALSE(tab->edit.active);
}

TEST_F(TableViewTest, CornerOfTheRectangleShowsThePreviewAndInterpolates)
{
    dragPointer(cellPoint(1, 1), cellPoint(3, 3));
    ASSERT_EQ(sheet().sel.rectangle, 1);
    QTest::mouseMove(w(), QPoint(left(1) + 2, top(1) + 2));
    EXPECT_TRUE(tab->interpHandle);
    EXPECT_EQ(tab->hintText, "Interpolation");
    tab->Redraw();
    // The preview holds what the interpolation will give; the corners keep their values.
    const std::int32_t centre = tab->previewBuffer[gridIndex(2, 2)];
    EXPECT_EQ(tab->previewBuffer[gridIndex(1, 1)], value(1, 1));
    click(QPoint(left(1) + 2, top(1) + 2));
    EXPECT_EQ(value(2, 2), centre);
    EXPECT_EQ(value(2, 2), roundHalfAway((value(1, 1) + value(3, 1) + value(1, 3) + value(3, 3)) / 4.0));
    EXPECT_EQ(edits, 1);
}

// ---------------------------------------------------------------- drawing

TEST_F(TableViewTest, SelectionTintFrameAndOutline)
{
    const TColor ground = sheet().data.colour;
    const TColor tint = tab->colours[4];
    // One cell: the frame, no tint.
    select(2, 2, 2, 2);
    const int x0 = left(2), y0 = top(2);
    EXPECT_EQ(pixel(x0 + 3, y0 + 3), ground);
    EXPECT_EQ(pixel((x0 + left(3)) / 2, y0), clBlack);
    // Two cells: the checkerboard (every second pixel, one later on the next row) and the outline inside.
    select(2, 2, 3, 2);
    EXPECT_EQ(pixel(x0 + 3, y0 + 3), tint);
    EXPECT_EQ(pixel(x0 + 4, y0 + 3), ground);
    EXPECT_EQ(pixel(x0 + 4, y0 + 4), tint);
    EXPECT_EQ(pixel(x0 + 1, y0 + 5), clBlack);       // outline on the left, the neighbour being unselected
    EXPECT_NE(pixel(left(3) - 1, y0 + 5), clBlack);  // none between the two selected cells
    // The drag handle at the bottom right corner.
    EXPECT_EQ(pixel(left(4), top(3)), clBlack);
    EXPECT_EQ(pixel(left(4) - 3, top(3) + 1), tab->colours[1]);
}

TEST_F(TableViewTest, FrameIsClampedToTheShownColumns)
{
    select(10, 2, 15, 4);  // column 15 is scrolled out of view
    const int y = (top(2) + top(3)) / 2;
    EXPECT_EQ(pixel(left(10), y), clBlack);                        // the left edge
    EXPECT_EQ(pixel((left(12) + left(13)) / 2, top(2)), clBlack);  // the top edge runs on
    EXPECT_NE(pixel(left(15) - 1, y), clBlack);                    // no right edge at the clamp
    select(15, 2, 15, 4);                                          // wholly outside: nothing
    EXPECT_NE(pixel(left(14) + 5, top(2)), clBlack);
    EXPECT_NE(pixel(left(15) - 1, top(2)), clBlack);
}

TEST_F(TableViewTest, CornerMarksOnlyOnEditableSheets)
{
    select(1, 1, 3, 3);
    const TColor mark = tab->colours[8];
    EXPECT_EQ(pixel(left(1) + 2, top(1) + 2), mark);
    EXPECT_EQ(pixel(left(4) - 3, top(4) - 3), mark);
    sheet().data.editable = 0;
    EXPECT_NE(pixel(left(1) + 2, top(1) + 2), mark);
}

TEST_F(TableViewTest, LiveRingLambdaCirclesAndPrinting)
{
    sheet().opState = 1;
    sheet().opColumn = 5;
    sheet().opRow = 4;
    const int cx = (left(5) + left(6)) / 2;
    EXPECT_EQ(pixel(cx, top(4) + 2), tab->colours[10]);  // the ring's top on the live cell
    sheet().opState = 2;
    EXPECT_EQ(pixel(cx, top(4) + 2), tab->colours[11]);

    // A fully selected column's button is grey, drawn in the control's colour while printing.
    select(2, 0, 2, 11);
    const QPoint button((left(2) + left(3)) / 2, tab->layout.cellsTop - 6);
    EXPECT_EQ(pixel(button.x(), button.y()), tab->colours[7]);
    tab->BeginPrint();
    EXPECT_EQ(tab->BackBuffer().Pixel(button.x(), button.y()), ColorToRgb(tab->Color()));
    tab->EndPrint();
}

TEST(TableViewLambda, CirclesInTheColoursOfTheirValues)
{
    QWidget window;
    auto tab = MakeFixtureTab(&window, 760, 380);
    CSheet& s = tab->sheets[0];
    s.flags |= kSheetLambdaBlock;
    s.lambdaBlock.assign(kGridCells, 0);
    s.lambdaBlock[gridIndex(2, 3)] = 140;
    tab->hooks.lambdaColour = [](int v) { return v == 140 ? TColor{0x3366CC} : TColor{0}; };
    tab->dirty |= kDirtyRedraw;
    tab->Redraw();
    const TabLayout& L = tab->layout;
    const int x = static_cast<int>(L.cellsLeft + 2 * L.cellWidth + 4),
              y = static_cast<int>(L.cellsTop + 3.5 * L.cellHeight);
    EXPECT_EQ(tab->BackBuffer().Pixel(x, y), 0x3366CCu);  // inside the circle, left of the text
    EXPECT_NE(tab->BackBuffer().Pixel(static_cast<int>(L.cellsLeft + 3 * L.cellWidth + 4), y), 0x3366CCu);
}

TEST(TableViewCheckGrid, NoCellGroundsNoCellButtons)
{
    QWidget window;
    TTab tab(&window, 400, 200, kTabCheckGrid | kTabTableView);
    const int index = tab.AddSheet("Grid", "RPM", "TP", "ON", 3, 2, 0);
    tab.SetAxis(index, 1, {.name = "RPM", .max = 1000, .count = 3, .colour = 0x112233});
    tab.SetAxis(index, 2, {.name = "TP", .max = 1000, .count = 2, .colour = 0x112233});
    tab.SetAxis(index, 4, {.name = "ON", .max = 1, .colour = 0x445566});
    tab.SelectSheet(0);
    tab.dirty |= kDirtyRedraw;
    tab.Redraw();
    const TabLayout& L = tab.layout;
    EXPECT_NE(tab.BackBuffer().Pixel(L.cellsLeft + 3, L.cellsTop + 3), 0x445566u);
    EXPECT_EQ(tab.BackBuffer().Pixel(static_cast<int>(L.cellsLeft + L.cellWidth / 2), L.tableTop + 2), 0x112233u);
}

// With one axis collapsed the other axis's name stands in a box of its own over the narrow head column; a name
// wider than the box is drawn smaller rather than run out of the editor's left edge and into its neighbour.
TEST(TableViewLabels, ANameWiderThanItsBoxIsShrunkIntoIt)
{
    struct Case
    {
        const char* name;
        int columns, rows;
        bool collapseX;
    } cases[] = {{"X name over a single row", 10, 1, false}, {"Y name over a single column", 1, 2, true}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        QWidget window;
        TTab tab(&window, 270, 220, kTabTableView);
        tab.layout.yHeadWidth = 40;
        const int index = tab.AddSheet("T", "v[km/h]", "Pressure", "PWM[%]", k.columns, k.rows, 0);
        tab.SetAxis(index, 1,
                    {.name = "v[km/h]", .max = 315, .count = k.columns, .collapseOption = k.collapseX ? 2 : 0,
                     .collapsed = k.collapseX ? 1 : 0});
        tab.SetAxis(index, 2,
                    {.name = "Pressure", .max = 100, .count = k.rows, .collapseOption = k.collapseX ? 0 : 2,
                     .collapsed = k.collapseX ? 0 : 1, .collapsePos = kCollapseLast});
        tab.SetAxis(index, 4, {.name = "PWM[%]", .max = 20});
        tab.SelectSheet(0);
        tab.dirty |= kDirtyRedraw;
        tab.Redraw();
        const TabLayout& L = tab.layout;
        ASSERT_GT(L.tableLeft, 2);
        int ink = 0;
        for (int y = 0; y < L.cellsTop; ++y)
            for (int x = 0; x < L.tableLeft; ++x) {
                const TColor c = tab.BackBuffer().Pixel(x, y);
                ink += (c & 0xFF) < 128 && ((c >> 8) & 0xFF) < 128 && ((c >> 16) & 0xFF) < 128;
            }
        EXPECT_EQ(ink, 0) << "the name runs out of the editor's left edge";
    }
}

// A sheet's title in the strip above the table: one longer than the editor is wide is written smaller, whole (at
// several widths, so that the editor's edge never falls by chance between two words).
TEST(TableViewLabels, ATitleLongerThanTheEditorIsWrittenSmallerToFit)
{
    for (int width = 380; width <= 460; width += 20) {
        SCOPED_TRACE(width);
        QWidget window;
        TTab tab(&window, width, 200, kTabTableView | kTabTitleStrip);
        const int index = tab.AddSheet("Korrektur der Synchron Injektionen von Kühlflüssigkeitstemperatur", "T", "",
                                       "K", 1, 4, 0);
        tab.SetAxis(index, 1, {.name = "T", .max = 100, .count = 1, .collapseOption = 2, .collapsed = 1});
        tab.SetAxis(index, 2, {.name = "K", .max = 100, .count = 4, .collapseOption = 0});
        tab.SetAxis(index, 4, {.name = "K", .max = 100});
        tab.SelectSheet(0);
        tab.dirty |= kDirtyRedraw;
        tab.Redraw();
        int ink = 0;
        for (int y = 0; y < 18; ++y)
            for (int x = width - 2; x < width; ++x) {
                const TColor c = tab.BackBuffer().Pixel(x, y);
                ink += (c & 0xFF) < 128 && ((c >> 8) & 0xFF) < 128 && ((c >> 16) & 0xFF) < 128;
            }
        EXPECT_EQ(ink, 0) << "the title runs out of the editor's right edge";
    }
}

TEST_F(TableViewTest, ACellStepRedrawsItsBoxAsAWholeRedrawWould)
{
    struct Case
    {
        const char* name;
        int c0, r0, c1, r1;  // selection
        int presses;
    };
    const Case cases[] = {
        {"one cell", 4, 4, 4, 4, 1},
        {"a block with tint, corners and outline", 2, 1, 5, 3, 3},
        {"a block running out of view", 12, 8, 15, 11, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sheet().opState = 1;
        sheet().opColumn = c.c0;
        sheet().opRow = c.r0;
        select(c.c0, c.r0, c.c1, c.r1);
        QTest::mouseMove(w(), cellPoint(c.c1, c.r1));  // the step buttons beside the last cell
        tab->dirty |= kDirtyRedraw;
        tab->Redraw();
        for (int i = 0; i < c.presses; ++i) {
            type("+");
            EXPECT_EQ(tab->dirty, kDirtyCells);
            tab->Redraw();
        }
        const TBitmap partial = tab->BackBuffer();
        tab->dirty |= kDirtyRedraw;
        tab->Redraw();
        const TBitmap& whole = tab->BackBuffer();
        int differing = 0;
        for (int y = 0; y < whole.Height(); ++y)
            for (int x = 0; x < whole.Width(); ++x) differing += partial.Pixel(x, y) != whole.Pixel(x, y) ? 1 : 0;
        EXPECT_EQ(differing, 0);
    }
    // With the interpolation preview showing, every preview value may change: all is drawn again.
    select(1, 1, 3, 3);
    tab->interpHandle = true;
    type("+");
    EXPECT_NE(tab->dirty & kDirtyRecompute, 0);
}

// ---------------------------------------------------------------- a whole session

namespace {

// The owner's side as the main window will do it: every edit the editor tells is copied into the settings image
// and noted in the undo ring; an undo restores the image and shows it on the editor again.
class ImageOwner
{
public:
    explicit ImageOwner(TTab& tab) : m_tab(tab)
    {
        store();
        ring.Reset(images.image, 0);
        tab.hooks.mapEdited = [this](TTab&) {
            ++told;
            store();
            if (ring.MarkChanges(images.image, images.changeMarks)) {
                ring.Advance();
                ring.Store(images.image, 0);
                ++noted;
            }
        };
    }
    bool Undo()
    {
        if (!ring.StepBack()) return false;
        ring.Restore(images.image, images.changeMarks);
        CSheet& s = m_tab.sheets[0];
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kColumns; ++c) std::memcpy(&s.value(c, r), &images.image[at(c, r)], 4);
        m_tab.dirty |= kDirtyRedraw;
        m_tab.Redraw();
        return true;
    }
    std::int32_t imageValue(int c, int r) const
    {
        std::int32_t v = 0;
        std::memcpy(&v, &images.image[at(c, r)], 4);
        return v;
    }
    static constexpr int kColumns = 16, kRows = 12;
    ImageSet images;
    UndoRing ring;
    int told = 0, noted = 0;

private:
    static std::size_t at(int c, int r) { return static_cast<std::size_t>(4 * (r * kColumns + c)); }
    void store()
    {
        const CSheet& s = m_tab.sheets[0];
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kColumns; ++c) {
                const std::int32_t v = s.value(c, r);
                std::memcpy(&images.image[at(c, r)], &v, 4);
            }
    }
    TTab& m_tab;
};

}  // namespace

TEST_F(TableViewTest, SessionOfSelectTypeStepUndoCopyPaste)
{
    // The system clipboard, as the program uses it.
    tab->clipboard = &SystemTabClipboard();
    tab->clipboardFormat = tab->clipboard->RegisterFormat(kSheetFormatName);
    ImageOwner owner(*tab);
    std::vector<std::int32_t> before;
    for (int r = 2; r <= 4; ++r)
        for (int c = 2; c <= 5; ++c) before.push_back(value(c, r));

    // A 4 x 3 block chosen with the pointer; a typed value goes into its first cell.
    dragPointer(cellPoint(2, 2), cellPoint(5, 4));
    ASSERT_EQ(sheet().sel.count, 12);
    type("12,5");
    key(Qt::Key_Return);
    EXPECT_EQ(value(2, 2), 125);
    EXPECT_EQ(owner.told, 1);
    std::vector<std::int32_t> typed = before;
    typed[0] = 125;

    // Ten presses of '+', a person's pace apart: the whole block ten up, told once after the run.
    for (int i = 0; i < 10; ++i) {
        type("+");
        ticks(2);
    }
    EXPECT_EQ(owner.told, 1);
    ticks(6);
    EXPECT_EQ(owner.told, 2);
    for (int r = 2, i = 0; r <= 4; ++r)
        for (int c = 2; c <= 5; ++c, ++i) EXPECT_EQ(value(c, r), typed[static_cast<std::size_t>(i)] + 10);
    EXPECT_EQ(owner.imageValue(5, 4), value(5, 4));

    // Undo through the owner: the block as typed.
    ASSERT_TRUE(owner.Undo());
    for (int r = 2, i = 0; r <= 4; ++r)
        for (int c = 2; c <= 5; ++c, ++i) EXPECT_EQ(value(c, r), typed[static_cast<std::size_t>(i)]);

    // Copy, another place, paste: the same values there, told once.
    key(Qt::Key_C, Qt::ControlModifier);
    click(cellPoint(8, 6));
    key(Qt::Key_V, Qt::ControlModifier);
    for (int r = 0, i = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c, ++i) {
            EXPECT_EQ(value(8 + c, 6 + r), typed[static_cast<std::size_t>(i)]) << c << "," << r;
            EXPECT_EQ(owner.imageValue(8 + c, 6 + r), typed[static_cast<std::size_t>(i)]);
        }
    ticks(6);
    EXPECT_EQ(owner.told, 3);
    EXPECT_EQ(owner.noted, 3);
    EXPECT_EQ(edits, 0);  // the owner's hook replaced the fixture's counter
}
