// Form descriptions: a table of rows becomes controls on a form, and the layout checks find what a person would
// see as broken (overlaps, controls outside their parent, cut-off captions).
#include "vcl/formlayout.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>

#include "vcl/deciedit.h"
#include "vcl/forms.h"

namespace {

// clang-format off
constexpr ControlRow kRows[] = {
    {"GroupBoxLimits",  ControlKind::GroupBox,   "",               8,   8, 260, 110, "Limits"},
    {"LabelLimitA",     ControlKind::Label,      "GroupBoxLimits", 10,  28, 90,  17, "Limiter A"},
    {"EditLimitA",      ControlKind::Edit,       "GroupBoxLimits", 104, 26, 60,  21},
    {"UpDownLimitA",    ControlKind::UpDown,     "GroupBoxLimits", 0,   0,  16,  21, {}, "EditLimitA"},
    {"EditDeciB",       ControlKind::DeciEdit,   "GroupBoxLimits", 104, 56, 60,  21, "1.5"},
    {"UpDownDeciB",     ControlKind::DeciUpDown, "GroupBoxLimits", 0,   0,  16,  21, {}, "EditDeciB"},
    {"CheckBoxEnable",  ControlKind::CheckBox,   "",               8, 124, 160, 19, "Enable"},
    {"LabelOrphan",     ControlKind::Label,      "GroupBoxNone",   0,   0,  10,  10},
    {"CheckBoxEnable",  ControlKind::Label,      "",               0,   0,  10,  10},
    {"UpDownNoBuddy",   ControlKind::UpDown,     "",             300,   8,  16,  21, {}, "EditMissing"},
};
// clang-format on

bool contains(const std::vector<std::string>& texts, std::string_view part)
{
    return std::any_of(texts.begin(), texts.end(), [&](const std::string& t) { return t.find(part) != t.npos; });
}

}  // namespace

TEST(FormLayout, RowsBecomeControlsUnderTheirParents)
{
    TForm form;
    const std::vector<std::string> problems = BuildFormLayout(form, nullptr, kRows);
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_TRUE(contains(problems, "LabelOrphan: no parent GroupBoxNone"));
    EXPECT_TRUE(contains(problems, "CheckBoxEnable: the name is taken"));
    EXPECT_TRUE(contains(problems, "UpDownNoBuddy: no edit EditMissing"));

    auto* box = FindControl<TGroupBox>(form, "GroupBoxLimits");
    auto* label = FindControl<TLabel>(form, "LabelLimitA");
    auto* edit = FindControl<TEdit>(form, "EditLimitA");
    auto* upDown = FindControl<TUpDown>(form, "UpDownLimitA");
    ASSERT_TRUE(box && label && edit && upDown);
    EXPECT_EQ(label->Widget()->parentWidget(), box->Widget());
    EXPECT_EQ(label->Caption(), "Limiter A");
    EXPECT_EQ(edit->Left(), 104);
    EXPECT_EQ(edit->Text(), "0");  // the up-down's position
    // The up-down stands at the edit's right edge and shows its position there.
    EXPECT_EQ(upDown->Associate(), edit);
    EXPECT_EQ(upDown->Left(), 164);
    EXPECT_EQ(upDown->Top(), 26);
    auto* deciEdit = FindControl<TDeciEdit>(form, "EditDeciB");
    auto* deciUpDown = FindControl<TDeciUpDown>(form, "UpDownDeciB");
    ASSERT_TRUE(deciEdit && deciUpDown);
    EXPECT_EQ(deciEdit->PairedUpDown, deciUpDown);
    EXPECT_EQ(deciUpDown->PairedEdit, deciEdit);
    EXPECT_EQ(deciUpDown->Left(), 164);
    EXPECT_EQ(deciEdit->Text(), "1.5");

    // Look-ups check the class: a decimal edit is an edit, a label is not a check box.
    EXPECT_EQ(FindControl<TEdit>(form, "EditDeciB"), deciEdit);
    EXPECT_EQ(FindControl<TUpDown>(form, "UpDownDeciB"), deciUpDown);
    EXPECT_EQ(FindControl<TCheckBox>(form, "LabelLimitA"), nullptr);
    EXPECT_EQ(FindControl<TLabel>(form, "LabelNone"), nullptr);
    EXPECT_STREQ(ClassNameOf(ControlKind::Gauge), "TCGauge");
}

TEST(FormLayout, FaultsAPersonWouldSee)
{
    TForm form;
    form.SetClientSize(400, 300);
    constexpr ControlRow rows[] = {
        {"GroupBoxA", ControlKind::GroupBox, "", 8, 8, 200, 100, "Group"},
        {"LabelInside", ControlKind::Label, "GroupBoxA", 10, 30, 100, 17, "Fits"},
        {"LabelOut", ControlKind::Label, "GroupBoxA", 150, 30, 100, 17, "Sticks out"},
        {"LabelCut", ControlKind::Label, "", 8, 120, 20, 17, "A caption far too long for its label"},
        {"CheckBoxOver", ControlKind::CheckBox, "", 20, 100, 100, 19, "On"},
        {"LabelHidden", ControlKind::Label, "", 8, 8, 100, 17, "Hidden"},
        {"ComboBoxAlone", ControlKind::ComboBox, "", 250, 8, 100, 21},
    };
    ASSERT_TRUE(BuildFormLayout(form, nullptr, rows).empty());
    FindControl<TLabel>(form, "LabelHidden")->SetVisible(false);
    form.Show();
    QApplication::processEvents();
    const std::vector<std::string> faults = LayoutFaults(form);
    EXPECT_TRUE(contains(faults, "LabelOut: outside GroupBoxA")) << testing::PrintToString(faults);
    EXPECT_TRUE(contains(faults, "LabelCut: the width of its text"));
    EXPECT_TRUE(contains(faults, "GroupBoxA overlaps CheckBoxOver"));
    EXPECT_FALSE(contains(faults, "LabelInside"));
    EXPECT_FALSE(contains(faults, "LabelHidden"));  // hidden controls may share a place with shown ones
    EXPECT_FALSE(contains(faults, "ComboBoxAlone"));
    EXPECT_EQ(faults.size(), 3u) << testing::PrintToString(faults);
}

TEST(FormLayout, AControlMovedToAnotherParentKeepsItsPlaceAndVisibility)
{
    TForm form;
    ASSERT_EQ(BuildFormLayout(form, nullptr, kRows).size(), 3u);
    auto* box = FindControl<TGroupBox>(form, "GroupBoxLimits");
    auto* label = FindControl<TLabel>(form, "LabelLimitA");
    auto* edit = FindControl<TEdit>(form, "EditLimitA");
    form.Show();
    edit->SetVisible(false);
    label->SetParent(form);
    edit->SetParent(form);
    EXPECT_TRUE(label->HasParent(form));
    EXPECT_FALSE(label->HasParent(*box));
    EXPECT_TRUE(label->Visible());
    EXPECT_FALSE(edit->Visible());
    EXPECT_EQ(label->Left(), 10);
    EXPECT_EQ(label->Top(), 28);
    // Hidden with its old parent, the control is no longer hidden with it.
    box->SetVisible(false);
    EXPECT_TRUE(label->Widget()->isVisible());
    label->SetParent(*box);
    EXPECT_TRUE(label->HasParent(*box));
    EXPECT_FALSE(label->Widget()->isVisible());
    EXPECT_TRUE(label->Visible());
}

TEST(FormLayout, PageControlSheetsGetTheClientSizeAsked)
{
    TForm form;
    auto* pages = form.Make<TPageControl>(nullptr, "PageControl1");
    auto* sheet = form.Make<TTabSheet>(pages, "TabSheet1");
    sheet->SetCaption("First");
    form.Make<TTabSheet>(pages, "TabSheet2")->SetCaption("Second");
    pages->SetSheetClientSize(640, 400);
    form.SetClientSize(pages->Width() + 10, pages->Height() + 10);
    form.Show();
    QApplication::processEvents();
    EXPECT_EQ(sheet->Width(), 640);
    EXPECT_EQ(sheet->Height(), 400);
}

TEST(FormLayout, EnterReachesOnKeyPressAndIsSwallowedWhenCleared)
{
    TForm form;
    auto* edit = form.Make<TEdit>(nullptr, "EditA");
    std::vector<int> keys;
    edit->OnKeyPress = [&keys](TObject*, char& key) {
        keys.push_back(key);
        if (key == 13) key = 0;
    };
    auto* line = static_cast<QLineEdit*>(edit->Widget());
    QKeyEvent digit(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, "5");
    QApplication::sendEvent(line, &digit);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    bool returnPressed = false;
    QObject::connect(line, &QLineEdit::returnPressed, [&returnPressed] { returnPressed = true; });
    QApplication::sendEvent(line, &enter);
    EXPECT_EQ(keys, (std::vector<int>{'5', 13}));
    EXPECT_EQ(edit->Text(), "5");
    EXPECT_FALSE(returnPressed);
}

TEST(FormLayout, RadioGroupItemsCarryTagsAndUpDownTellsItsNextPosition)
{
    TForm form;
    auto* group = form.Make<TRadioGroup>(nullptr, "RadioGroupA");
    group->AddItem("Off", 0);
    group->AddItem("On", 7);
    EXPECT_EQ(group->ItemTag(1), 7);
    EXPECT_EQ(group->ItemTag(5), 0);
    group->SetItemIndex(1);
    group->Clear();
    EXPECT_EQ(group->ItemCount(), 0);
    EXPECT_EQ(group->ItemIndex(), -1);

    auto* upDown = form.Make<TUpDown>(nullptr, "UpDownA");
    upDown->SetRange(0, 10);
    upDown->SetIncrement(3);
    upDown->SetPosition(9);
    std::vector<int> proposed;
    upDown->OnChangingEx = [&](TObject*, bool& allow, int value, int) {
        proposed.push_back(value);
        allow = value < 10;
    };
    upDown->Step(+1);  // 9 + 3 clamps to 10, which the handler refuses
    upDown->Step(-1);
    EXPECT_EQ(proposed, (std::vector<int>{10, 6}));
    EXPECT_EQ(upDown->Position(), 6);
}
