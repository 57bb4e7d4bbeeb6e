// A person's change on a settings page in the started main window: one change is one commit and one undo step,
// and a message box open in the middle of it keeps the main timer from committing behind its back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>

#include "../pages/testpage.h"
#include "startedform.h"

namespace {

class PageCommitTest : public StartedFormTest
{
protected:
    void SetUp() override
    {
        StartedFormTest::SetUp();
        // The test page's lists show only values they have items for.
        form->images.image[2516] = 11;
        form->images.image[2517] = 0;
        form->images.image[2518] = 0;
        form->images.image[2519] = 0;
        InstallTestPage(*form);
        ASSERT_TRUE(form->pageBuildProblems.empty()) << testing::PrintToString(form->pageBuildProblems);
        form->PageControl1->SetActivePageIndex(PAGE_GEAR);
        form->PageControl1Change(form->PageControl1);
        ASSERT_EQ(form->currentPage, PAGE_GEAR);
        form->ResetUndo();
    }
    void leave(TEdit* edit) { vcl::Fire(edit->OnExit, static_cast<TObject*>(edit)); }
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i) form->Timer1->Fire();
    }
};

}  // namespace

TEST_F(PageCommitTest, OneChangeIsOneCommitAndOneUndoStep)
{
    auto* edit = FindControl<TEdit>(*form, "EditByteOffset");
    const Image before = form->images.image;
    edit->SetText("12");
    leave(edit);
    Image expected = before;
    expected[2511] = 112;
    EXPECT_EQ(form->images.image, expected);
    EXPECT_EQ(form->images.changeMarks[2511], 1);
    ASSERT_TRUE(form->undoRing.CanUndo());
    // Leaving again changes nothing and adds no step.
    leave(edit);
    form->SpeedButtonZpetClick(nullptr);
    EXPECT_EQ(form->images.image, before);
    EXPECT_EQ(edit->Text(), std::to_string(int(before[2511]) - 100));
    EXPECT_FALSE(form->undoRing.CanUndo());
    form->SpeedButtonZnovuClick(nullptr);
    EXPECT_EQ(form->images.image, expected);
}

TEST_F(PageCommitTest, ABurstOfUpDownClicksIsOneUndoStep)
{
    auto* upDown = FindControl<TUpDown>(*form, "UpDownByteOffset");
    const Image before = form->images.image;
    for (int i = 0; i < 4; ++i) {
        upDown->Step(+1);
        ticks(2);
    }
    EXPECT_FALSE(form->undoRing.CanUndo());
    ticks(4);
    EXPECT_EQ(form->images.image[2511], std::uint8_t(before[2511] + 4));
    ASSERT_TRUE(form->undoRing.CanUndo());
    form->SpeedButtonZpetClick(nullptr);
    EXPECT_EQ(form->images.image, before);
    EXPECT_FALSE(form->undoRing.CanUndo());
}

TEST_F(PageCommitTest, AnOpenMessageBoxHoldsTheTimersCommitAndPageTick)
{
    auto* upDown = FindControl<TUpDown>(*form, "UpDownByteOffset");
    upDown->Step(+1);
    ASSERT_NE(form->pendingControl, nullptr);
    // While the box is open its nested event loop runs the main timer well past the due tick.
    vcl::DialogHook hook;
    bool pendingWhileOpen = false;
    hook.messageBox = [&](const vcl::MessageBoxCall&) {
        ticks(20);
        pendingWhileOpen = form->pendingControl != nullptr;
        return IDOK;
    };
    const vcl::DialogHook previous = vcl::SetDialogHook(hook);
    MessageBox("A question", "Question", MB_OK);
    vcl::SetDialogHook(previous);
    EXPECT_TRUE(pendingWhileOpen);
    EXPECT_FALSE(form->undoRing.CanUndo());
    ticks(1);
    EXPECT_EQ(form->pendingControl, nullptr);
    EXPECT_TRUE(form->undoRing.CanUndo());
}

// The started window as a person sees it: on every page and around the page control, no control overlaps
// another, leaves its parent or cuts off its caption.
TEST_F(StartedFormTest, WindowAndEveryPageLayOutCleanly)
{
    // The window at its design size: the offscreen screen is smaller, and start-up fits the window onto it.
    form->SetClientSize(kFormWidth, kFormHeight);
    form->Show();
    QApplication::processEvents();
    for (int page = 0; page < kPageCount; ++page) {
        SCOPED_TRACE(page);
        if (!form->tabSheets[std::size_t(page)]->TabVisible()) continue;  // not shown, so not laid out
        form->PageControl1->SetActivePageIndex(page);
        QApplication::processEvents();
        const std::vector<std::string> faults = LayoutFaults(*form->tabSheets[std::size_t(page)]);
        EXPECT_TRUE(faults.empty()) << testing::PrintToString(faults);
    }
    const std::vector<std::string> faults = LayoutFaults(*form);
    EXPECT_TRUE(faults.empty()) << testing::PrintToString(faults);
}
