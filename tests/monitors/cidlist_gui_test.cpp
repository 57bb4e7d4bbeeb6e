// The watch picker: its tree built from the monitor-variable table, the marks' rules, the keys, the pointer and
// the wheel, the window's layout and size limits, and Enter and Esc.
#include <gtest/gtest.h>

#include <QPixmap>
#include <QTest>
#include <QWidget>
#include <filesystem>

#include "monitors/cidlist.h"
#include "monitors/monvars.h"
#include "os/lngtext.h"
#include "vcl/dialogs.h"

namespace {

class Picker : public testing::Test
{
protected:
    void SetUp() override
    {
        ResetMonitorVariables();
        SetLanguageIndex(LNG_ENGLISH);
        form = std::make_unique<TFormCIDList>();
        form->SetWidth(600 - 8);
        form->SetHeight(400 - 26);
        form->OnResizeForm(form.get());
        tree().root.Number(false);
    }
    [[nodiscard]] TCIDList& tree() const { return *form->tree; }
    [[nodiscard]] CID& node(int id) const { return *tree().root.FindById(id); }
    // Sends a message to the tree as the window system would.
    void send(TMsg msg, int x, int y, unsigned shift = 0, int wheel = 0, int key = 0)
    {
        TMessage m;
        m.msg = msg;
        m.x = x;
        m.y = y;
        m.shift = shift;
        m.wheelDelta = wheel;
        m.key = key;
        tree().Perform(m);
    }
    // The middle of a visible row's box in a column (1 Label, 2 Value, 3 Indicator), or of its expand box (0).
    [[nodiscard]] std::pair<int, int> box(int id, int column) const
    {
        int depth = 0;
        for (int p = GetDef(id)->parent; p != 0; p = GetDef(p)->parent) ++depth;
        tree().root.Number(false);
        const int m = tree().firstRowOffset + (node(id).row - tree().topRow) * tree().rowHeight + tree().rowHeight / 2;
        if (column == 0) return {10 * depth + 10 + 5, m};
        int left = 0;
        for (int c = 0; c < column; ++c) left += tree().widths[static_cast<std::size_t>(c)];
        return {10 * depth + left + 10, m};
    }
    void clickBox(int id, int column)
    {
        const auto [x, y] = box(id, column);
        send(TMsg::LButtonDown, x, y);
        send(TMsg::LButtonUp, x, y);
    }
    std::unique_ptr<TFormCIDList> form;
};

}  // namespace

TEST_F(Picker, TreeFollowsTheTable)
{
    CID& root = tree().root;
    EXPECT_EQ(root.CountRows(true), kMonVarCount - 1);
    EXPECT_EQ(root.children.front()->id, 1000);
    // Two groups share the identifier 7000: the first takes every row that names it.
    CID* launch = nullptr;
    CID* track = nullptr;
    for (const auto& child : root.children)
        if (child->id == 7000) (launch ? track : launch) = child.get();
    ASSERT_TRUE(launch && track);
    EXPECT_EQ(launch->children.size(), 6u);
    EXPECT_TRUE(track->children.empty());
    EXPECT_EQ(node(9011).name, GetDef(9011)->name);
}

TEST_F(Picker, MarksByPointer)
{
    clickBox(1110, kColValue);
    EXPECT_EQ(node(1110).marks, (std::array<int, 4>{0, 1, 1, 1})) << "the first click sets all three";
    EXPECT_EQ(node(1100).marks[kColValue], kMarkPartly) << "one variable of the group has a value, others not";
    clickBox(1110, kColValue);
    EXPECT_EQ(node(1110).marks, (std::array<int, 4>{0, 1, 0, 1})) << "the second clears only its own";
    EXPECT_EQ(node(1100).marks[kColValue], kMarkClear);
    EXPECT_EQ(node(1100).marks[kColIndicator], kMarkPartly);
    // A group's Label box sets the labels below it, and for variables not yet touched the other two as well.
    clickBox(1100, kColLabel);
    EXPECT_EQ(node(1100).marks[kColLabel], kMarkSet);
    EXPECT_EQ(node(1120).marks, (std::array<int, 4>{0, 1, 1, 1}));
    EXPECT_EQ(node(1110).marks, (std::array<int, 4>{0, 1, 0, 1}));
    EXPECT_EQ(tree().current, &node(1100));
}

TEST_F(Picker, KeysMoveAndMark)
{
    const int visible = tree().VisibleRows();
    ASSERT_GT(visible, 10);
    tree().rowsHeight = 10 * tree().rowHeight;  // ten rows in view
    tree().Key(VK_HOME);
    EXPECT_EQ(tree().current->row, 0);
    tree().Key(VK_NEXT);
    EXPECT_EQ(tree().current->row, 10);
    EXPECT_EQ(tree().topRow, 1);
    tree().Key(VK_END);
    const CID* last = tree().current;
    tree().Key(VK_DOWN);
    EXPECT_EQ(tree().current, last) << "Down on the last row stays";
    tree().Key(VK_PRIOR);
    EXPECT_EQ(tree().current->row, last->row - 10);
    // Insert on a collapsed group marks its whole subtree; Delete clears it.
    tree().current = &node(9000);
    tree().Key(VK_SPACE);
    EXPECT_EQ(node(9000).expanded, 0);
    tree().Key(VK_INSERT);
    EXPECT_EQ(node(9024).marks, (std::array<int, 4>{1, 1, 1, 1}));
    EXPECT_EQ(node(9020).marks[kColValue], kMarkSet);
    tree().Key(VK_DELETE);
    EXPECT_EQ(node(9024).marks, (std::array<int, 4>{}));
}

TEST_F(Picker, WheelCollapseAndScrollRange)
{
    TScrollBar& bar = *form->scrollBar;
    const int rows = tree().root.CountRows(false);
    EXPECT_EQ(bar.Max(), rows - 1);
    send(TMsg::MouseWheel, 50, 50, 0, -120);
    EXPECT_EQ(bar.Position(), 1);
    send(TMsg::MouseWheel, 50, 50, ssLeft, -120);
    EXPECT_EQ(bar.Position(), 1) << "not while a button is held";
    form->OnTimer(form.get());
    EXPECT_EQ(tree().topRow, 1) << "the timer takes the bar's position";
    send(TMsg::MouseWheel, 50, 50, 0, 120);
    form->OnTimer(form.get());
    EXPECT_EQ(tree().topRow, 0);
    clickBox(9000, 0);
    EXPECT_EQ(node(9000).expanded, 0);
    EXPECT_EQ(bar.Max(), rows - 1 - node(9000).CountRows(false));
}

TEST_F(Picker, LayoutSizeLimitsAndScreenshot)
{
    const int cw = form->Width(), ch = form->Height();
    EXPECT_EQ(tree().Width(), cw - 40);
    EXPECT_EQ(tree().Height(), ch - 58);
    EXPECT_EQ(form->scrollBar->Left(), tree().Left() + tree().Width());
    EXPECT_EQ(form->ButtonCancel->Top(), ch - 30);
    EXPECT_EQ(form->ButtonOK->Left(), 100);
    form->Show();
    clickBox(1110, kColValue);
    tree().Redraw();
    const std::filesystem::path folder(SCREENSHOT_DIR);
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(form->Widget()->grab().save(QString::fromStdString((folder / "monitor_watch_picker.png").string())));
    form->SetWidth(900);
    EXPECT_EQ(form->Width(), 640);
    form->SetHeight(60);
    EXPECT_EQ(form->Height(), 160);
}

TEST_F(Picker, EnterChoosesEscCancelsArrowsStayWithTheTree)
{
    vcl::ScopedDialogScript script;
    form->Show();
    script.AnswerForm([this](TForm& f) {
        f.Widget()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(f.Widget()));
        form->ButtonOK->SetFocus();
        tree().current = &node(1000);
        QTest::keyClick(f.Widget()->focusWidget(), Qt::Key_Right);
        EXPECT_EQ(tree().current, &node(1000)) << "an arrow on a button does nothing";
        EXPECT_TRUE(form->ButtonOK->Focused());
        tree().SetFocus();
        QTest::keyClick(f.Widget()->focusWidget(), Qt::Key_Down);
        EXPECT_EQ(tree().current, &node(1010));
        QTest::keyClick(f.Widget()->focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(form->ShowModal(), mrYes);
    script.AnswerForm([](TForm& f) { QTest::keyClick(f.Widget()->focusWidget(), Qt::Key_Escape); });
    EXPECT_EQ(form->ShowModal(), mrCancel);
}
