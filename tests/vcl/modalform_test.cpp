// Forms shown modally through the scripted hook, their Enter and Esc buttons, the short-cut hook that sees keys
// first, the resize hooks, and the controls the monitor windows added (vertical scroll bar with a page, colour box).
#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>

#include "vcl/dialogs.h"
#include "vcl/forms.h"

namespace {

struct Dialog
{
    TForm form;
    TEdit* edit = form.Make<TEdit>(nullptr, "Edit");
    TButton* ok = form.Make<TButton>(nullptr, "OK");
    TButton* cancel = form.Make<TButton>(nullptr, "Cancel");
    Dialog()
    {
        form.SetCaption("Question");
        ok->SetBounds(10, 40, 75, 25);
        cancel->SetBounds(100, 40, 75, 25);
        ok->SetModalResult(mrOk);
        ok->SetDefault(true);
        cancel->SetModalResult(mrCancel);
        cancel->SetCancel(true);
    }
};

}  // namespace

TEST(ModalForm, ScriptedAnswersButtonsAndKeys)
{
    vcl::ScopedDialogScript script;
    Dialog d;
    int clicks = 0;
    d.ok->OnClick = [&](TObject*) { ++clicks; };
    script.AnswerForm([&](TForm&) {
        EXPECT_TRUE(vcl::ModalOpen());
        d.ok->Click();
    });
    EXPECT_EQ(d.form.ShowModal(), mrOk);
    EXPECT_EQ(clicks, 1) << "the click's own handler runs too";
    EXPECT_EQ(d.form.ShowModal(), mrCancel) << "a form left without a result was closed";
    EXPECT_EQ(script.Forms(), (std::vector<std::string>{"Question", "Question"}));

    // Enter that the edit does not use presses the default button; Esc the cancel button.
    script.AnswerForm([&](TForm& f) {
        d.edit->SetFocus();
        QTest::keyClick(f.Widget()->focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(d.form.ShowModal(), mrOk);
    script.AnswerForm([&](TForm& f) { QTest::keyClick(f.Widget()->focusWidget(), Qt::Key_Escape); });
    EXPECT_EQ(d.form.ShowModal(), mrCancel);
}

TEST(ModalForm, ShortCutHandlerSeesKeysFirstAndOnce)
{
    Dialog d;
    d.form.Show();
    d.edit->SetFocus();
    std::vector<int> seen;
    d.form.OnShortCut = [&](int vk, bool& handled) {
        seen.push_back(vk);
        handled = vk == 'X';
    };
    QTest::keyClicks(d.edit->Widget(), "aX");
    EXPECT_EQ(seen, (std::vector<int>{'A', 'X'}));
    EXPECT_EQ(d.edit->Text(), "a") << "the handled key never reached the edit";
}

TEST(FormResize, HandlerCorrectsOrRefusesTheNewSize)
{
    TForm form;
    form.SetWidth(300);
    form.SetHeight(200);
    form.Show();
    int resized = 0;
    form.OnResize = [&](TObject*) { ++resized; };
    form.OnCanResize = [](TObject*, int& w, int& h, bool& allow) {
        if (w > 1000) allow = false;
        h = w / 2;  // keeps a shape of 2:1
    };
    form.SetWidth(400);
    EXPECT_EQ(form.Width(), 400);
    EXPECT_EQ(form.Height(), 200);
    form.SetWidth(1200);
    EXPECT_EQ(form.Width(), 400) << "refused: the old size comes back";
    EXPECT_GE(resized, 1);
}

TEST(Controls, ScrollBarPageAndColourBox)
{
    TForm form;
    auto* bar = form.Make<TScrollBar>(nullptr, "Bar");
    bar->SetVertical(true);
    bar->SetMax(99);
    bar->SetPageSize(10);
    bar->SetPosition(95);
    EXPECT_EQ(bar->Position(), 90) << "the page ends at the maximum";
    EXPECT_EQ(bar->Max(), 99);

    auto* box = form.Make<TColorBox>(nullptr, "Colours");
    box->AddItem("Red", clRed);
    box->AddItem("Blue", clBlue);
    EXPECT_FALSE(box->HasSelection());
    box->SetSelected(clBlue);
    EXPECT_EQ(box->ItemIndex(), 1);
    EXPECT_EQ(box->Selected(), clBlue);
    box->SetSelected(0x123456);
    EXPECT_FALSE(box->HasSelection());
    EXPECT_EQ(box->ItemText(0), "Red");
}
