// The commit of user changes: at once, or five ticks after the last up-down click; the decimal pair; Enter and
// leaving an edit; and a change still waiting when the page changes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "pagefixture.h"
#include "testpage.h"
#include "vcl/deciedit.h"

namespace {

class Commit : public PagesTest
{
protected:
    void SetUp() override
    {
        w.pageModules[PAGE_GEAR] = &kTestPage;
        Build();
        SetPage(PAGE_GEAR);
        ShowImageOnPages(w, 1);
    }
    void tick(int n = 1)
    {
        for (int i = 0; i < n; ++i) {
            ++w.tickCounter;
            CommitDueChange(w);
        }
    }
    TUpDown* upDown(std::string_view name) { return Control<TUpDown>(w, name); }
    Image& image() { return w.images.image; }
};

}  // namespace

TEST_F(Commit, ClicksOnOneUpDownCommitOnceFiveTicksAfterTheLast)
{
    TUpDown* a = upDown("UpDownByteOffset");
    for (int click = 0; click < 3; ++click) {
        a->Step(+1);
        tick(2);
    }
    EXPECT_EQ(commits, 0);
    tick(2);  // the third click was 4 ticks ago
    EXPECT_EQ(commits, 0);
    tick();
    EXPECT_EQ(commits, 1);
    EXPECT_EQ(image()[2511], std::uint8_t(-100 + 3 + 100));
    tick(10);
    EXPECT_EQ(commits, 1);
}

TEST_F(Commit, AClickOnAnotherControlCommitsBothAtOnce)
{
    upDown("UpDownByteOffset")->Step(+1);
    tick(2);
    upDown("UpDownByteSigned")->Step(-1);
    EXPECT_EQ(commits, 1);
    EXPECT_EQ(image()[2511], 1);
    EXPECT_EQ(image()[2512], 0xFF);
    EXPECT_EQ(w.pendingControl, nullptr);
    tick(10);
    EXPECT_EQ(commits, 1);

    upDown("UpDownByteOffset")->Step(+1);
    Control<TCheckBox>(w, "CheckBoxFlag")->SetChecked(true);  // as a click: OnClick fires
    EXPECT_EQ(commits, 2);
    EXPECT_EQ(image()[2511], 2);
    EXPECT_EQ(image()[2515], 1);
}

TEST_F(Commit, NothingCommitsWhileTheProgramSetsControls)
{
    w.settingGuard = 1;
    upDown("UpDownByteOffset")->Step(+1);
    Control<TCheckBox>(w, "CheckBoxFlag")->SetChecked(true);
    Control<TRadioGroup>(w, "RadioGroupIndexed")->SetItemIndex(1);
    FormEditLooseFocus(w, Control<TEdit>(w, "EditByteOffset"));
    w.settingGuard = 0;
    tick(10);
    EXPECT_EQ(commits, 0);
}

TEST_F(Commit, EnterMovesOnAndCommitsAndTheExitThatFollowsChangesNothingMore)
{
    ShowWindow();
    auto* edit = Control<TEdit>(w, "EditByteOffset");
    edit->SetFocus();
    QApplication::processEvents();
    ASSERT_TRUE(edit->Focused());
    edit->SetText("12");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QApplication::sendEvent(edit->Widget(), &enter);
    QApplication::processEvents();
    EXPECT_FALSE(edit->Focused());
    EXPECT_EQ(image()[2511], 112);
    // Moving on left the edit (a commit of its own, which finds nothing new) and Enter committed.
    EXPECT_EQ(commits, 2);
    const Image after = image();
    FormEditLooseFocus(w, edit);
    EXPECT_EQ(image(), after);
}

TEST_F(Commit, LeavingAHiddenEditCommitsNothing)
{
    auto* edit = Control<TEdit>(w, "EditByteOffset");
    edit->SetVisible(false);
    FormEditLooseFocus(w, edit);
    EXPECT_EQ(commits, 0);
    edit->SetVisible(true);
    FormEditLooseFocus(w, edit);
    EXPECT_EQ(commits, 1);
}

TEST_F(Commit, DecimalEditMovesItsUpDownAndTheUpDownShowsInTheEdit)
{
    auto* edit = Control<TDeciEdit>(w, "EditDeci");
    auto* deci = Control<TDeciUpDown>(w, "UpDownDeci");
    ASSERT_EQ(deci->Divisor, 10);
    struct Case
    {
        const char* typed;
        int position;
    };
    const Case cases[] = {{"12,5", 125}, {"-1.26", -13}, {"1e1", 100}, {"  7.04xyz", 70},
                          {"abc", 70},   {"", 70},       {"+3", 30},   {"0.05", 1}};
    deci->SetRange(-1000, 1000);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        edit->SetText(c.typed);
        EXPECT_EQ(deci->Position(), c.position);
    }
    EXPECT_EQ(commits, 0);  // neither side commits

    deci->SetRange(0, 100);
    SetControlQuiet(w, deci, 99);
    EXPECT_EQ(edit->Text(), "9.9");
    deci->Step(+1);
    deci->Step(+1);  // stays at the maximum
    EXPECT_EQ(deci->Position(), 100);
    EXPECT_EQ(edit->Text(), "10");
    // Showing a negative value does not come back through the edit rounded another way.
    deci->SetRange(-1000, 1000);
    SetControlQuiet(w, deci, -12);
    EXPECT_EQ(edit->Text(), "-1.2");
    EXPECT_EQ(deci->Position(), -12);
}

TEST_F(Commit, AClickWaitingWhenThePageChangesIsStoredWithItsPage)
{
    upDown("UpDownByteOffset")->Step(+1);
    EXPECT_EQ(commits, 0);
    w.PageControl1->SetActivePageIndex(PAGE_MONITOR);
    PageControl1Change(w);
    EXPECT_EQ(w.currentPage, PAGE_MONITOR);
    EXPECT_EQ(commits, 1);
    EXPECT_EQ(image()[2511], 1);
    tick(10);
    EXPECT_EQ(commits, 1);
}
