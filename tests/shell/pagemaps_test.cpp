// The map editors of the bike, advance, injection and injection position pages in the started window: each sheet
// shows the image's table, and a cell typed by a person changes exactly the image bytes of that cell, as one undo
// step.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <set>

#include "mapeditor/tab.h"
#include "pages/mapgrids.h"
#include "startedform.h"

// A tuner's advance and injection maps over the model file's empty ones (mapviews_test.cpp).
void tunersMaps(Image& image);

namespace {

struct CellCase
{
    int page;
    int editorId;
    int sheet;
    GridBinding grid;  // the table the sheet shows
    int column, row;
    const char* typed;
    int stored;  // the image element the cell then holds
};

const CellCase kCases[] = {
    {PAGE_BIKE, kBikeEditorId, 0, {kBikeEditorId, 0, Cell::Byte, 2674, 2, 1}, 0, 1, "5000", 50},
    {PAGE_ADVANCE, kAdvanceEditorId, 0, kAdvanceGrids[0], 2, 3, "31", 31},
    {PAGE_ADVANCE, kAdvanceEditorId, 1, kAdvanceGrids[1], 4, 1, "12", 12},
    {PAGE_INJECTION, kInjectionEditorId, 0, kInjectionGrids[0], 1, 2, "2.5", 2500},
    {PAGE_INJECTION, kInjectionEditorId, 1, kInjectionGrids[1], 3, 1, "1.25", 1250},
    {PAGE_INJECTION, kInjectionEditorId, 2, kInjectionGrids[2], 2, 2, "3", 3000},
    {PAGE_INJECTION, kInjectionEditorId, 3, kInjectionGrids[3], 0, 0, "4", 4000},
    {PAGE_INJECTION, kInjectionEditorId, 4, kInjectionGrids[4], 1, 1, "110", 110},
    {PAGE_INJECTION, kInjectionEditorId, 5, kInjectionGrids[5], 2, 1, "40", 40},
    {PAGE_INJECTION, kInjectionEditorId, 6, kInjectionGrids[6], 1, 3, "6.5", 6500},
    {PAGE_INJECTION, kInjectionEditorId, 7, kInjectionGrids[7], 2, 2, "95", 95},
    {PAGE_POSITION, kPositionAEditorId, 0, kPositionGrids[0], 3, 0, "45", 9},
    {PAGE_POSITION, kPositionBEditorId, 0, kPositionGrids[1], 5, 0, "600", 120},
};

int element(const Image& image, const GridBinding& grid, int column, int row)
{
    const int e = grid.address + row * grid.columns + column;
    return grid.cell == Cell::Word ? imageWord(image, e) : image[std::size_t(e)];
}

class PageMaps : public StartedFormTest
{
protected:
    void SetUp() override
    {
        StartedFormTest::SetUp();
        Image& image = form->images.image;
        tunersMaps(image);
        image[2680] = 4;
        image[3087] = image[3088] = 1;  // both advance maps use their load axis
        image[3833] = 60;               // compensations 40-160 %
        image[3817] = 0;                // four maps of their own
        image[4892] = 0;
        image[3826] = image[3827] = 20;
        for (int i = 0; i < 200; ++i) image[std::size_t(3217 + i)] = std::uint8_t(i % 50);
        for (int i = 0; i < 200; ++i) image[std::size_t(3417 + i)] = image[std::size_t(3617 + i)] = 100;
        for (int j = 0; j < 10; ++j) setImageWord(image, 1021 + j, std::uint16_t(20 + 10 * j));
        for (int j = 0; j < 15; ++j) image[std::size_t(3860 + j)] = image[std::size_t(3890 + j)] = std::uint8_t(60 + j);
        image[2674] = 30;
        image[2675] = 40;
        ShowImageOnPages(*form, 1);
        form->Show();
        QApplication::setActiveWindow(form->Widget());
    }
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i) form->Timer1->Fire();
    }
};

}  // namespace

TEST_F(PageMaps, EachSheetShowsItsTableAndACellEditChangesExactlyItsBytes)
{
    for (const CellCase& c : kCases) {
        SCOPED_TRACE(testing::Message() << "editor " << c.editorId << " sheet " << c.sheet);
        form->PageControl1->SetActivePageIndex(c.page);
        form->PageControl1Change(form->PageControl1);
        TTab* editor = form->mapEditors[std::size_t(c.editorId)];
        ASSERT_NE(editor, nullptr);
        editor->SelectSheet(c.sheet);
        ticks(3);
        const CSheet& sheet = editor->sheets[std::size_t(c.sheet)];
        // The sheet shows the image's table (injection times in tenths of a microsecond).
        for (int r = 0; r < c.grid.rows; ++r)
            for (int col = 0; col < c.grid.columns; ++col)
                ASSERT_EQ(sheet.value(col, r), element(form->images.image, c.grid, col, r) * c.grid.scale)
                    << col << "," << r;

        form->ResetUndo();
        const Image before = form->images.image;
        const TabLayout& L = editor->layout;
        const QPoint p(static_cast<int>(L.cellsLeft + (c.column + 0.5) * L.cellWidth),
                       static_cast<int>(L.cellsTop + (c.row + 0.5) * L.cellHeight));
        QWidget* widget = editor->Widget();
        QTest::mouseMove(widget, p);
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, p);
        QTest::keyClicks(widget, c.typed);
        QTest::keyClick(widget, Qt::Key_Return);
        ticks(10);

        EXPECT_EQ(element(form->images.image, c.grid, c.column, c.row), c.stored);
        std::set<int> changed;
        for (int i = 0; i < RS_LEN_EXE; ++i)
            if (form->images.image[std::size_t(i)] != before[std::size_t(i)]) changed.insert(i);
        const int bytes = c.grid.cell == Cell::Word ? 2 : 1;
        const int first = (c.grid.address + c.row * c.grid.columns + c.column) * bytes;
        std::set<int> cell;
        for (int b = 0; b < bytes; ++b) cell.insert(first + b);
        EXPECT_TRUE(std::includes(cell.begin(), cell.end(), changed.begin(), changed.end()))
            << testing::PrintToString(changed);
        ASSERT_TRUE(form->undoRing.CanUndo());
        form->SpeedButtonZpetClick(nullptr);
        EXPECT_EQ(form->images.image, before);
    }
    EXPECT_TRUE(dialogs.Messages().empty());
}
