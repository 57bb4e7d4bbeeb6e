// A map editor that a page makes through the main window's factory, edited by a person in the started window: the
// window knows the editor by its id, the edit reaches the page's map-changed routine once, lands in the image as
// one commit and one undo step, and undo puts the old value back into the image and into the editor.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "mapeditor/tab.h"
#include "pages/mapside.h"
#include "pages/pages.h"
#include "startedform.h"

namespace {

// A page in the gear page's slot with one 4 x 2 map of bytes in the notes area, which the image repair leaves
// alone, in an editor whose id no page uses.
constexpr int kTestEditorId = 30;
constexpr int kTestEditors[] = {kTestEditorId};
constexpr int kMapFirstByte = 2530;
constexpr GridBinding kTestGrids[] = {{kTestEditorId, 0, Cell::Byte, kMapFirstByte, 2, 4, 1, true}};
int g_mapChanged = 0;
TTab* g_editor = nullptr;

void buildMapPage(TPageForm& w)
{
    g_editor = CreateMapEditor(w, kTestEditorId, 500, 220, kTabSideBar | kTabTableView, w.tabSheets[PAGE_GEAR]);
    for (int s = 0; s < 2; ++s) {
        g_editor->AddSheet(s == 0 ? "###Test map" : "###Second map", "RPM", "TP", "VAL", 4, 2, 0);
        g_editor->SetAxis(s, 1, {.name = "RPM", .min = 3, .max = 250, .scale = 100, .editable = 0, .count = 4});
        g_editor->SetAxis(s, 2, {.name = "TP", .unit = "%", .max = 100, .editable = 0, .count = 2});
        g_editor->SetAxis(s, 4, {.name = "VAL", .max = 255});
        CSheet& sheet = g_editor->sheets[std::size_t(s)];
        for (int c = 0; c < 4; ++c) sheet.x.points[std::size_t(c)] = 20 + 20 * c;
        sheet.y.points[1] = 100;
    }
    g_editor->SelectSheet(0);
}
void storeMapPage(TPageForm& w)
{
    if (w.settingGuard == 0) StoreGrid(w, kTestGrids[0]);
}
void showMapPage(TPageForm& w)
{
    if (ShowGrid(w, kTestGrids[0])) RequestMapRedraw(w, kTestEditorId);
}
void mapPageChanged(TPageForm&, int editorId)
{
    if (editorId == kTestEditorId) ++g_mapChanged;
}

constexpr PageModule kMapPage{.sheetName = "TabSheet_Gear",
                              .caption = "Gear",
                              .grids = kTestGrids,
                              .editorIds = kTestEditors,
                              .build = buildMapPage,
                              .store = storeMapPage,
                              .show = showMapPage,
                              .mapChanged = mapPageChanged};

class PageMapTest : public StartedFormTest
{
protected:
    void SetUp() override
    {
        StartedFormTest::SetUp();
        g_mapChanged = 0;
        for (int i = 0; i < 8; ++i) form->images.image[std::size_t(kMapFirstByte + i)] = std::uint8_t(10 + i);
        form->pageModules[PAGE_GEAR] = &kMapPage;
        buildMapPage(*form);
        ShowImageOnPages(*form, 1);
        form->Show();
        QApplication::setActiveWindow(form->Widget());
        form->PageControl1->SetActivePageIndex(PAGE_GEAR);
        form->PageControl1Change(form->PageControl1);
        ASSERT_EQ(form->currentPage, PAGE_GEAR);
        form->ResetUndo();
        ticks(2);
    }
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i) form->Timer1->Fire();
    }
    QPoint cellPoint(int column, int row)
    {
        const TabLayout& L = g_editor->layout;
        return QPoint(static_cast<int>(L.cellsLeft + (column + 0.5) * L.cellWidth),
                      static_cast<int>(L.cellsTop + (row + 0.5) * L.cellHeight));
    }
};

}  // namespace

TEST_F(PageMapTest, AnEditReachesItsPageOnceAndIsOneUndoStep)
{
    // The window keeps the page's editor by its id and in its list, and the page's show filled it.
    ASSERT_EQ(form->mapEditors[kTestEditorId], g_editor);
    ASSERT_FALSE(form->tabList.editors.empty());
    EXPECT_EQ(form->tabList.editors.back().get(), g_editor);
    EXPECT_EQ(PageOfMapEditor(*form, kTestEditorId), PAGE_GEAR);
    EXPECT_EQ(g_editor->sheets[0].value(1, 1), 15);

    // A person clicks the cell of column 1, row 1 and types a new value.
    const Image before = form->images.image;
    QWidget* widget = g_editor->Widget();
    const QPoint p = cellPoint(1, 1);
    QTest::mouseMove(widget, p);
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, p);
    QTest::keyClicks(widget, "77");
    QTest::keyClick(widget, Qt::Key_Return);
    ticks(20);

    Image expected = before;
    expected[kMapFirstByte + 5] = 77;
    EXPECT_EQ(form->images.image, expected);
    EXPECT_EQ(g_mapChanged, 1);
    ASSERT_TRUE(form->undoRing.CanUndo());

    form->SpeedButtonZpetClick(nullptr);
    EXPECT_EQ(form->images.image, before);
    EXPECT_EQ(g_editor->sheets[0].value(1, 1), 15);
    EXPECT_FALSE(form->undoRing.CanUndo());
    form->SpeedButtonZnovuClick(nullptr);
    EXPECT_EQ(form->images.image, expected);
    EXPECT_EQ(g_editor->sheets[0].value(1, 1), 77);
    EXPECT_EQ(g_mapChanged, 1);  // undo and redo are no edits of the map
}

// Tab, Return, Space and the arrow keys go to the focused map editor before the window moves the focus with them.
TEST_F(PageMapTest, NavigationKeysReachTheFocusedEditor)
{
    QWidget* widget = g_editor->Widget();
    const QPoint p = cellPoint(0, 0);
    QTest::mouseMove(widget, p);
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, p);
    ASSERT_TRUE(g_editor->Focused());
    QTest::keyClick(widget, Qt::Key_Right);
    QTest::keyClick(widget, Qt::Key_Down);
    ticks(2);
    EXPECT_EQ(g_editor->sheets[0].sel.count, 1);
    EXPECT_NE(g_editor->sheets[0].sel.cellMark(1, 1), 0);
    QTest::keyClick(widget, Qt::Key_Tab);  // the next sheet, not the next control
    ticks(2);
    EXPECT_EQ(g_editor->current, 1);
    EXPECT_TRUE(g_editor->Focused());
    EXPECT_EQ(g_mapChanged, 0);  // moving about is no edit
}
