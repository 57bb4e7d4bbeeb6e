// The map editor control in an offscreen window, driven as a person drives it: keys, clicks and the wheel move the
// focus and the selection and change cells; edits reach the page once per group; printing leaves it as it was.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <cmath>
#include <memory>
#include <vector>

#include "mapeditor/numtext.h"
#include "tabwindow.h"
#include "vcl/dialogs.h"

TEST_F(TabWindowTest, LayoutOfTwoLinkedSheets)
{
    EXPECT_EQ(tab->sheetCount, 2);
    EXPECT_EQ(tab->current, 0);
    EXPECT_EQ(tab->activeButtons, kSideButtons);
    EXPECT_EQ(tab->layout.shownColumns, 15);  // 16 columns, 15 visible: the horizontal bar appears
    EXPECT_EQ(tab->layout.shownRows, 10);
    EXPECT_TRUE(tab->hBar.visible);
    EXPECT_TRUE(tab->vBar.visible);
    EXPECT_EQ(tab->hBar.total, 16);
    // The visible hit table holds shown cells only; the full one every cell.
    EXPECT_EQ(tab->visibleHits.cell(15, 0).left, 65535);
    EXPECT_LT(tab->fullHits.cell(15, 0).left, 65535);
    EXPECT_EQ(tab->visibleHits.cell(0, 0).left, tab->layout.cellsLeft);
    EXPECT_EQ(tab->buttons[kCmdViewTable].down, true);
    EXPECT_EQ(tab->buttons[kCmdAddColumn].state, kButtonTableOnly);
}

TEST_F(TabWindowTest, ScriptedInputMovesFocusSelectsAndEdits)
{
    // A click selects one cell; arrows move the focus; Shift+arrow stretches the selection.
    click(cellPoint(2, 3));
    ticks(1);
    int c = -2, r = -2;
    ASSERT_TRUE(tab->GetFocusCell(c, r));
    EXPECT_EQ(c, 2);
    EXPECT_EQ(r, 3);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    key(Qt::Key_Down, Qt::ShiftModifier);
    ASSERT_TRUE(tab->GetFocusCell(c, r));
    EXPECT_EQ(c, 4);
    EXPECT_EQ(r, 3);
    EXPECT_EQ(sheet().sel.count, 2);
    EXPECT_EQ(sheet().sel.maxRow, 4);
    EXPECT_EQ(edits, 0);

    // Typing a value with a decimal comma replaces the focus cell's value; Enter stores it and tells the page once.
    key(Qt::Key_Left);
    ASSERT_TRUE(tab->GetFocusCell(c, r));
    EXPECT_EQ(c, 3);
    key(Qt::Key_Backspace);  // '-' alone would step the cell: Backspace starts an empty edit first
    type("-1,5");
    EXPECT_TRUE(tab->edit.active);
    EXPECT_EQ(tab->edit.text, "-1,5");
    key(Qt::Key_Return);
    EXPECT_FALSE(tab->edit.active);
    EXPECT_EQ(value(3, 3), -15);
    EXPECT_EQ(edits, 1);

    // Enter without an edit moves the focus down; '+' steps the focus cell.
    key(Qt::Key_Return);
    ASSERT_TRUE(tab->GetFocusCell(c, r));
    EXPECT_EQ(r, 4);
    const std::int32_t before = value(3, 4);
    type("++");
    EXPECT_EQ(value(3, 4), before + 2);
    EXPECT_EQ(edits, 1);  // a run of steps is told once, five ticks after the last

    // The wheel over a cell steps the cell beside the step buttons; off them it scrolls the rows.
    const QPoint over = cellPoint(5, 1);
    QTest::mouseMove(w(), over);
    ASSERT_TRUE(tab->step.shown);
    EXPECT_EQ(tab->step.column, 5);
    EXPECT_EQ(tab->step.row, 1);
    const std::int32_t wheeled = value(5, 1);
    wheel(over, 120);
    EXPECT_EQ(edits, 2);  // another group began: the '+' steps were told at once
    wheel(over, 120);
    EXPECT_EQ(value(5, 1), wheeled + 2);
    EXPECT_EQ(edits, 2);
    ticks(6);
    EXPECT_EQ(edits, 3);
    // Beside the table (right of its vertical bar) the wheel scrolls the rows.
    const QPoint beside(tab->BackBuffer().Width() - 4, tab->layout.cellsTop + 50);
    QTest::mouseMove(w(), beside);
    wheel(beside, -120);
    EXPECT_EQ(sheet().y.firstVisible, 1);
    EXPECT_EQ(value(5, 1), wheeled + 2);

    // The side bar's + steps the selection.
    click(cellPoint(6, 5));
    ticks(4);  // the button states follow the selection on the tick
    const std::int32_t sided = value(6, 5);
    click(centreOf(tab->buttons[kCmdPlus].rect));
    EXPECT_EQ(value(6, 5), sided + 1);

    // Tab goes to the next sheet, Ctrl+Tab back to the previous one.
    key(Qt::Key_Tab);
    EXPECT_EQ(tab->current, 1);
    key(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(tab->current, 0);
}

TEST_F(TabWindowTest, HeldStepButtonRepeatsFastOnlyWithItsFlag)
{
    const QPoint over = cellPoint(1, 1);
    QTest::mouseMove(w(), over);
    ASSERT_TRUE(tab->step.shown);
    const QPoint up = centreOf(tab->step.up);
    QTest::mouseMove(w(), up);
    const std::int32_t start = value(1, 1);
    QTest::mousePress(w(), Qt::LeftButton, Qt::NoModifier, up);
    ticks(15);
    EXPECT_EQ(value(1, 1), start);  // nothing before the 16th tick
    ticks(1);
    EXPECT_EQ(value(1, 1), start + 1);
    ticks(19);  // t = 17..35: steps of one
    EXPECT_EQ(value(1, 1), start + 20);
    ticks(4);  // t = 36..39: tens on even ticks (cells have their fast flag here)
    EXPECT_EQ(value(1, 1), start + 40);
    QTest::mouseRelease(w(), Qt::LeftButton, Qt::NoModifier, up);
    EXPECT_EQ(value(1, 1), start + 40);  // a release after repeating adds no step
    ticks(6);
    EXPECT_EQ(edits, 1);
}

TEST_F(TabWindowTest, ClicksOnTabsButtonsAndScrollBars)
{
    // A click on the second sheet's tab selects it and tells the page.
    QTest::mouseMove(w(), QPoint(2 + tab->sheets[0].tabWidth + 10, 8));
    QTest::mousePress(w(), Qt::LeftButton, Qt::NoModifier, QPoint(2 + tab->sheets[0].tabWidth + 10, 8));
    EXPECT_EQ(tab->current, 1);
    EXPECT_EQ(edits, 1);
    QTest::mouseRelease(w(), Qt::LeftButton, Qt::NoModifier, QPoint(2 + tab->sheets[0].tabWidth + 10, 8));
    key(Qt::Key_Tab);
    ASSERT_EQ(tab->current, 0);

    // Add column repeats on the linked sheet.
    click(centreOf(tab->buttons[kCmdAddColumn].rect));
    EXPECT_EQ(tab->sheets[0].x.count, 17);
    EXPECT_EQ(tab->sheets[1].x.count, 17);
    EXPECT_GT(tab->sheets[0].x.points[16], tab->sheets[0].x.points[15]);  // a new last point above keeps its value
    EXPECT_EQ(edits, 2);
    click(centreOf(tab->buttons[kCmdRemoveColumn].rect));
    EXPECT_EQ(tab->sheets[0].x.count, 16);
    EXPECT_EQ(tab->sheets[1].x.count, 16);
    ticks(6);
    EXPECT_EQ(edits, 3);

    // The scroll bar's track after the thumb moves the columns by a page less one, held no further than the end.
    const TRect bar = tab->hBar.rect;
    click(QPoint(bar.right - tab->hBar.Thickness() - 2, (bar.top + bar.bottom) / 2));
    EXPECT_EQ(sheet().x.firstVisible, 1);
    EXPECT_EQ(tab->hBar.position, 1);
}

TEST_F(TabWindowTest, CopyAndPasteThroughTheClipboard)
{
    click(cellPoint(1, 1));
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clip.plain, NumberText(value(1, 1), 0.1) + "\t" + NumberText(value(2, 1), 0.1));
    key(Qt::Key_Down);
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(value(1, 2), value(1, 1));
    EXPECT_EQ(value(2, 2), value(2, 1));
    EXPECT_EQ(edits, 1);

    // Copy table and paste it on the other sheet: the whole sheet in its own format.
    tab->Command(kCmdCopyTable);
    EXPECT_TRUE(clip.hasSheet);
    key(Qt::Key_Tab);
    tab->Command(kCmdPaste);
    for (int r = 0; r < 12; ++r)
        for (int col = 0; col < 16; ++col)
            ASSERT_EQ(tab->sheets[1].value(col, r), tab->sheets[0].value(col, r)) << col << "," << r;
}

TEST_F(TabWindowTest, NotifyChangeGroupsEdits)
{
    struct Case
    {
        const char* name;
        std::vector<std::pair<int, int>> calls;  // (flags, code), one tick apart
        std::vector<int> toldAfterEach;          // edits after each call
        int toldAfterPause;                      // after 6 more ticks
    };
    const Case cases[] = {
        {"begin_then_key_0_tells_at_once", {{0, kChangeBegin}, {4, 0}}, {0, 1}, 1},
        {"one_group_key_tells_once_after_five_ticks", {{4, 0x600001}, {4, 0x600001}, {4, 0x600001}}, {0, 0, 0}, 1},
        {"another_key_flushes_at_once", {{4, 0x600001}, {4, 0x600002}}, {0, 1}, 1},
        {"end_without_begin_is_ignored", {{4, kChangeEnd}}, {0}, 0},
        {"begin_then_end_tells_once", {{0, kChangeBegin}, {1, kChangeEnd}}, {0, 1}, 1},
        {"nothing_changed_tells_nothing", {{0, kChangeBegin}, {0, kChangeEnd}}, {0, 0}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ticks(10);
        edits = 0;
        for (std::size_t i = 0; i < c.calls.size(); ++i) {
            tab->NotifyChange(c.calls[i].first, c.calls[i].second);
            EXPECT_EQ(edits, c.toldAfterEach[i]) << "after call " << i;
            ticks(1);
        }
        ticks(6);
        EXPECT_EQ(edits, c.toldAfterPause);
    }
}

TEST_F(TabWindowTest, PrintingHidesTheSideBarAndEndPrintRestores)
{
    click(cellPoint(2, 2));
    ticks(1);
    const TBitmap before = tab->BackBuffer();
    const TRect copy = tab->buttons[kCmdCopy].rect;
    tab->BeginPrint();
    EXPECT_TRUE(tab->printing);
    EXPECT_EQ(tab->BackBuffer().Pixel(copy.left + 1, copy.top + 1), ColorToRgb(clBtnFace));
    tab->EndPrint();
    EXPECT_FALSE(tab->printing);
    EXPECT_EQ(tab->dirty, 0);
    const TBitmap& after = tab->BackBuffer();
    int differing = 0;
    for (int y = 0; y < after.Height(); ++y)
        for (int x = 0; x < after.Width(); ++x) differing += before.Pixel(x, y) != after.Pixel(x, y) ? 1 : 0;
    EXPECT_EQ(differing, 0);
    int c = -2, r = -2;
    ASSERT_TRUE(tab->GetFocusCell(c, r));
    EXPECT_EQ(c, 2);
}

TEST_F(TabWindowTest, NestedMessagesAreDropped)
{
    // A message that arrives while an editor handles one is dropped: here a key sent to a second editor from
    // inside the first editor's handling of Enter.
    auto second = MakeFixtureTab(window.get(), 300, 200, &clip);
    second->SetBounds(20, 400, 300, 200);
    int nested = 0;
    tab->hooks.mapEdited = [&](TTab&) {
        TMessage m;
        m.msg = TMsg::KeyDown;
        m.key = VK_TAB;
        second->Perform(m);
        nested += m.result;
    };
    click(cellPoint(1, 1));
    type("5");
    key(Qt::Key_Return);  // the edit is told from inside the key's handling
    EXPECT_EQ(value(1, 1), 50);
    EXPECT_EQ(second->current, 0);  // its Tab never arrived
    EXPECT_EQ(nested, 0);
    TMessage direct;
    direct.msg = TMsg::KeyDown;
    direct.key = VK_TAB;
    second->Perform(direct);
    EXPECT_EQ(second->current, 1);
}

TEST_F(TabWindowTest, WheelWithAButtonHeldDoesNothing)
{
    const QPoint gap(tab->layout.tableLeft + 2, tab->layout.tableTop + 2);
    QTest::mouseMove(w(), gap);
    QWheelEvent e(gap, w()->mapToGlobal(gap), {}, {0, -120}, Qt::LeftButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w(), &e);
    EXPECT_EQ(sheet().y.firstVisible, 0);
}

TEST_F(TabWindowTest, CaretBlinksEightTicksOnEightOff)
{
    click(cellPoint(1, 1));
    key(Qt::Key_Insert);
    ASSERT_TRUE(tab->edit.active);
    std::vector<int> shown;
    for (int i = 0; i < 16; ++i) {
        shown.push_back(tab->edit.blink < 8 ? 1 : 0);
        ticks(1);
    }
    EXPECT_EQ(std::count(shown.begin(), shown.end(), 1), 8);
    EXPECT_EQ(shown.front(), 1);
    EXPECT_EQ(shown.back(), 0);
}

TEST_F(TabWindowTest, PushButtonReleasedOffItRunsNothing)
{
    click(cellPoint(3, 3));
    ticks(4);
    const std::int32_t start = value(3, 3);
    const QPoint plus = centreOf(tab->buttons[kCmdPlus].rect);
    QTest::mouseMove(w(), plus);
    QTest::mousePress(w(), Qt::LeftButton, Qt::NoModifier, plus);
    EXPECT_TRUE(tab->buttons[kCmdPlus].down);
    QTest::mouseMove(w(), cellPoint(8, 8));
    EXPECT_FALSE(tab->buttons[kCmdPlus].down);  // the hover pass let it up
    QTest::mouseRelease(w(), Qt::LeftButton, Qt::NoModifier, cellPoint(8, 8));
    EXPECT_EQ(value(3, 3), start);
}

TEST_F(TabWindowTest, HintsOfSideButtonsInTheCurrentLanguage)
{
    const QPoint copy = centreOf(tab->buttons[kCmdCopyTable].rect);  // always enabled
    QTest::mouseMove(w(), copy);
    EXPECT_TRUE(tab->hintOn);
    EXPECT_EQ(tab->hintText, "Copy table");
    EXPECT_EQ(tab->Hint(), "Copy table");
    SetLanguageIndex(LNG_GERMAN);
    QTest::mouseMove(w(), copy + QPoint(1, 0));
    EXPECT_EQ(tab->hintText, "Tabelle kopieren");
    ticks(1);  // the side bar follows the language
    EXPECT_EQ(tab->languageSeen, LNG_GERMAN);
    SetLanguageIndex(LNG_ENGLISH);
    QTest::mouseMove(w(), cellPoint(2, 2));
    EXPECT_FALSE(tab->hintOn);
    EXPECT_EQ(tab->hintText, "");
}

// An editor on a page that is not shown leaves its buttons as they were while the ticks run on; when the page
// comes up, the first picture shows them as they are now.
TEST_F(TabWindowTest, ButtonsOfAHiddenEditorAreRightWhenItIsShownAgain)
{
    click(cellPoint(1, 1));
    ticks(16);
    ASSERT_EQ(tab->buttons[kCmdPaste].state, 0);
    w()->hide();
    ASSERT_TRUE(clip.PutClipboardText("12.5"));  // another program copies a number meanwhile
    ticks(16);
    EXPECT_EQ(tab->buttons[kCmdPaste].state, 0);
    w()->show();
    w()->repaint();
    EXPECT_EQ(tab->buttons[kCmdPaste].state, kButtonEnabled);
    const QImage shown = w()->grab().toImage();
    tab->Redraw();
    EXPECT_EQ(w()->grab().toImage(), shown);  // the picture already had it
}
