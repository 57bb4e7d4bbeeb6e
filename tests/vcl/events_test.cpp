// The old framework's event rules, which the page code depends on to tell a user's edit from its own updates.
#include <QAction>

#include <gtest/gtest.h>

#include "vcl/controls.h"
#include "vcl/dialogs.h"
#include "vcl/forms.h"
#include "vcl/menus.h"
#include "vcl/timer.h"

namespace {

struct Counter {
    int clicks = 0;
    int changes = 0;
};

class VclEvents : public testing::Test {
protected:
    TForm form;
    Counter count;
    TNotifyEvent click = [this](TObject*) { ++count.clicks; };
    TNotifyEvent change = [this](TObject*) { ++count.changes; };
};

}  // namespace

TEST_F(VclEvents, CheckBoxCheckedFromCodeFiresOnClickOnlyOnChange)
{
    auto* box = form.Make<TCheckBox>(nullptr, "CheckBoxProgHned");
    box->OnClick = click;
    box->SetChecked(true);
    box->SetChecked(true);
    box->SetChecked(false);
    EXPECT_EQ(count.clicks, 2);
    EXPECT_FALSE(box->Checked());
}

TEST_F(VclEvents, RadioGroupItemIndexFromCodeFiresOnClick)
{
    auto* group = form.Make<TRadioGroup>(nullptr, "RadioGroupMode");
    group->SetItems({"A", "B", "C"});
    group->OnClick = click;
    group->SetItemIndex(1);
    group->SetItemIndex(1);
    group->SetItemIndex(7);  // out of range: nothing selected
    EXPECT_EQ(count.clicks, 2);
    EXPECT_EQ(group->ItemIndex(), -1);
}

TEST_F(VclEvents, EditTextFromCodeFiresOnChange)
{
    auto* edit = form.Make<TEdit>(nullptr, "Edit1");
    edit->OnChange = change;
    edit->SetText("12");
    edit->SetText("12");
    edit->SetText("13");
    EXPECT_EQ(count.changes, 2);
}

TEST_F(VclEvents, ComboItemIndexFromCodeFiresNothing)
{
    auto* combo = form.Make<TComboBox>(nullptr, "ComboBoxBike");
    combo->OnChange = change;
    combo->OnClick = click;
    combo->AddItem("Model A", 11);
    combo->AddItem("Model B", 0xFFFF);
    combo->SetItemIndex(1);
    EXPECT_EQ(count.changes + count.clicks, 0);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->ItemTag(1), 0xFFFF);
    EXPECT_EQ(combo->ItemTag(5), 0);
    combo->SetItemIndex(9);
    EXPECT_EQ(combo->ItemIndex(), -1);
}

TEST_F(VclEvents, UpDownPositionFromCodeFiresNothingButRewritesBuddy)
{
    auto* edit = form.Make<TEdit>(nullptr, "EditKyvaniMinRpm");
    auto* updown = form.Make<TUpDown>(nullptr, "UpDownKyvaniMinRpm");
    updown->SetRange(-2, 20000);
    updown->SetAssociate(edit);
    updown->OnClick = click;
    bool changingCalled = false;
    updown->OnChanging = [&](TObject*, bool&) { changingCalled = true; };
    edit->OnChange = change;

    updown->SetPosition(1500);
    EXPECT_EQ(edit->Text(), "1 500");  // thousands separator from 1000 on
    EXPECT_EQ(count.clicks, 0);
    EXPECT_FALSE(changingCalled);
    EXPECT_EQ(count.changes, 1);  // the buddy's own OnChange

    updown->SetPosition(99999);
    EXPECT_EQ(updown->Position(), 20000);
    EXPECT_EQ(edit->Text(), "20 000");
    updown->SetPosition(-5);
    EXPECT_EQ(edit->Text(), "-2");
}

TEST_F(VclEvents, UpDownReadsItsPositionFromTheBuddyText)
{
    auto* edit = form.Make<TEdit>(nullptr, "Edit");
    auto* updown = form.Make<TUpDown>(nullptr, "UpDown");
    updown->SetRange(0, 5000);
    updown->SetAssociate(edit);
    struct Case { const char* text; int position; };
    const Case cases[] = {{"1 234", 1234}, {"42", 42}, {"9999", 5000}, {"-7", 0}, {"abc", 0}, {"", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        updown->SetPosition(0);
        edit->SetText(c.text);
        EXPECT_EQ(updown->Position(), c.position);
    }
}

TEST_F(VclEvents, UpDownArrowStepsFireChangingThenClickAndStopAtTheRange)
{
    auto* edit = form.Make<TEdit>(nullptr, "Edit");
    auto* updown = form.Make<TUpDown>(nullptr, "UpDown");
    updown->SetRange(0, 999);
    updown->SetIncrement(500);
    updown->SetAssociate(edit);
    std::vector<std::string> order;
    updown->OnChanging = [&](TObject*, bool& allow) {
        order.push_back("changing");
        allow = true;
    };
    updown->OnClick = [&](TObject*) { order.push_back("click"); };
    updown->Step(+1);
    updown->Step(+1);
    updown->Step(+1);  // at the top already: nothing
    EXPECT_EQ(updown->Position(), 999);
    EXPECT_EQ(order, (std::vector<std::string>{"changing", "click", "changing", "click"}));
    updown->OnChanging = [](TObject*, bool& allow) { allow = false; };
    updown->Step(-1);
    EXPECT_EQ(updown->Position(), 999);
}

TEST_F(VclEvents, HiddenTabSheetKeepsItsPageNumber)
{
    auto* pages = form.Make<TPageControl>(nullptr, "PageControl1");
    std::vector<TTabSheet*> sheets;
    for (int i = 0; i < 4; ++i)
        sheets.push_back(form.Make<TTabSheet>(pages, "Sheet" + std::to_string(i)));
    pages->OnChange = change;
    sheets[1]->SetTabVisible(false);
    EXPECT_EQ(sheets[2]->PageIndex(), 2);
    EXPECT_EQ(pages->Page(1), sheets[1]);

    pages->SetActivePageIndex(3);
    EXPECT_EQ(pages->ActivePageIndex(), 3);
    pages->SetActivePageIndex(1);  // hidden: stays
    EXPECT_EQ(pages->ActivePageIndex(), 3);

    // A sheet made later and moved to page 1 shifts the rest, hidden ones included.
    auto* late = form.Make<TTabSheet>(pages, "Late");
    late->SetPageIndex(1);
    EXPECT_EQ(late->PageIndex(), 1);
    EXPECT_EQ(sheets[1]->PageIndex(), 2);
    EXPECT_FALSE(sheets[1]->TabVisible());
    EXPECT_EQ(pages->ActivePageIndex(), 4);
    EXPECT_EQ(count.changes, 0);  // nothing done by code fires OnChange
}

TEST_F(VclEvents, MenuItemsDoNotToggleTheirCheckMarkByThemselves)
{
    TMainMenu* menu = form.Own(std::make_unique<TMainMenu>(form), "MainMenu1");
    TMenuItem* language = menu->Items().Add("MenuLanguage", "&Language");
    TMenuItem* english = language->Add("MenuEnglish", "&English");
    TMenuItem* german = language->Add("MenuGerman", "&Deutsch");
    for (TMenuItem* item : {english, german}) {
        item->SetRadioItem(true);
        item->SetGroupIndex(1);
    }
    english->SetChecked(true);
    german->SetChecked(true);
    EXPECT_FALSE(english->Checked());
    german->OnClick = click;
    german->Action()->trigger();
    EXPECT_EQ(count.clicks, 1);
    EXPECT_TRUE(german->Checked());
    EXPECT_EQ(menu->Find("MenuGerman"), german);
    german->SetEnabled(false);
    german->Click();
    EXPECT_EQ(count.clicks, 1);
    TMenuItem* inserted = language->Insert(0, "MenuFirst", "First");
    EXPECT_EQ(inserted->MenuIndex(), 0);
    EXPECT_EQ(german->MenuIndex(), 2);
}

TEST_F(VclEvents, ExceptionInAHandlerIsReportedAndStopsThere)
{
    std::vector<std::string> reported;
    vcl::SetExceptionHook([&](const std::string& text) { reported.push_back(text); });
    auto* button = form.Make<TButton>(nullptr, "ButtonRead");
    button->OnClick = [](TObject*) { throw std::runtime_error("boom"); };
    button->Click();
    vcl::SetExceptionHook(nullptr);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_NE(reported[0].find("boom"), std::string::npos);
}

TEST_F(VclEvents, TimerFiresOnDemand)
{
    TTimer* timer = form.Own(std::make_unique<TTimer>(form), "Timer1");
    timer->SetInterval(55);
    timer->SetEnabled(false);
    timer->OnTimer = click;
    timer->Fire();
    EXPECT_EQ(count.clicks, 1);
}

TEST(VclDialogs, ScriptedAnswersAndDefaults)
{
    vcl::ScopedDialogScript script;
    script.AnswerMessage(IDNO);
    EXPECT_EQ(MessageBox("Program?", "Warning", MB_YESNOCANCEL | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(MessageBox("Sure?", "Attention", MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);  // unscripted: default
    ASSERT_EQ(script.Messages().size(), 2u);
    EXPECT_EQ(script.Messages()[0].caption, "Warning");

    TOpenDialog open;
    open.Filter = "IGN file|*.ign";
    EXPECT_FALSE(open.Execute());
    script.AnswerFile("/tmp/bike.ign");
    EXPECT_TRUE(open.Execute());
    EXPECT_EQ(open.FileName, "/tmp/bike.ign");
    EXPECT_EQ(script.FileDialogs().size(), 2u);
}

TEST(VclGauge, PercentDoneStaysInsideTheRange)
{
    TForm form;
    auto* gauge = form.Make<TCGauge>(nullptr, "CGaugeProgram");
    gauge->SetMaxValue(10200);
    struct Case { int progress; int percent; };
    for (const Case c : {Case{0, 0}, Case{5100, 50}, Case{10200, 100}, Case{20000, 100}, Case{-5, 0}}) {
        gauge->SetProgress(c.progress);
        EXPECT_EQ(gauge->PercentDone(), c.percent) << c.progress;
    }
    gauge->SetMaxValue(0);
    EXPECT_EQ(gauge->PercentDone(), 0);
}

TEST_F(VclEvents, ScrollBarPositionFromCodeFiresOnChangeOnlyOnChange)
{
    auto* bar = form.Make<TScrollBar>(nullptr, "ScrollBarPlay");
    bar->SetMax(10);
    bar->OnChange = change;
    bar->SetPosition(4);
    bar->SetPosition(4);
    bar->SetPosition(20);  // clamped to the maximum
    EXPECT_EQ(bar->Position(), 10);
    bar->SetMax(6);  // the position follows the range, as a move does
    EXPECT_EQ(bar->Position(), 6);
    EXPECT_EQ(count.changes, 3);
}

namespace {
// A form that notes how many forms the application held when its OnCreate ran.
class CountingForm final : public TForm
{
public:
    explicit CountingForm(std::vector<int>& created)
    {
        OnCreate = [&created](TObject*) { created.push_back(static_cast<int>(created.size())); };
    }
};
}  // namespace

// The old framework runs a form's OnCreate while the application creates it: the first form is started up
// before the next one exists.
TEST(VclApplication, CreateFormRunsOnCreateBeforeTheNextFormExists)
{
    int argc = 1;
    char name[] = "vcl_tests";
    char* argv[] = {name, nullptr};
    TApplication app(argc, argv);
    std::vector<int> created;
    auto* first = app.CreateForm<CountingForm>(created);
    EXPECT_EQ(created, std::vector<int>{0});
    app.CreateForm<CountingForm>(created);
    EXPECT_EQ(created, (std::vector<int>{0, 1}));
    EXPECT_EQ(app.MainForm, first);
}
