// Controls made at run time: their places, their lists, and the shared handlers they get.
#include "pages/creators.h"

#include <gtest/gtest.h>

#include "pagefixture.h"
#include "vcl/deciedit.h"

namespace {

class Creators : public PagesTest
{
protected:
    void SetUp() override { Build(); }
    TControl* sheet() { return w.tabSheets[PAGE_KNOCK]; }
};

}  // namespace

TEST_F(Creators, PairsStandBesideTheirEdits)
{
    TUpDown* upDown = nullptr;
    TEdit* edit = nullptr;
    CreateEditPair(w, upDown, edit, sheet());
    PlaceEditPair(upDown, 100, 40, -5, 500, 5, 30);
    EXPECT_EQ(edit->Left(), 100);
    EXPECT_EQ(edit->Width(), 30);
    EXPECT_EQ(upDown->Left(), 130);
    EXPECT_EQ(upDown->Top(), 40);
    EXPECT_EQ(upDown->Width(), kUpDownWidth);
    EXPECT_EQ(upDown->Height(), kUpDownHeight);
    EXPECT_EQ(upDown->Increment(), 5);
    EXPECT_EQ(upDown->Associate(), edit);

    TDeciUpDown* deci = nullptr;
    TDeciEdit* deciEdit = nullptr;
    CreateDeciPair(w, deci, deciEdit, sheet());
    const int defaultWidth = deciEdit->Width();
    PlaceDeciPair(deci, 100, 80, 0, 100, 10, 0);
    EXPECT_EQ(deciEdit->Width(), defaultWidth);
    EXPECT_EQ(deci->Left(), 100);  // a width of 0 puts the up-down at the edit's left edge
    EXPECT_EQ(deci->Divisor, 10);
    EXPECT_EQ(deci->PairedEdit, deciEdit);

    // The pairs commit as design-time ones do: the decimal edit moves its up-down, a click waits for the delay.
    deciEdit->SetText("4.2");
    EXPECT_EQ(deci->Position(), 42);
    deci->Step(+1);
    EXPECT_EQ(deciEdit->Text(), "4.3");
    EXPECT_EQ(w.pendingControl, deci);
}

TEST_F(Creators, ItemListsSplitAtCommasAndCutLongItems)
{
    struct Case
    {
        const char* list;
        std::vector<std::string> items;
    };
    const Case cases[] = {
        {"", {}},
        {"One", {"One"}},
        {"a,b,c", {"a", "b", "c"}},
        {"a,,b", {"a", "", "b"}},
        {"a,b,", {"a", "b"}},
        {"0123456789012345678901234567890123456789", {"0123456789012345678901234567890"}},
        {"Přední kolo,Zadní", {"Přední kolo", "Zadní"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        EXPECT_EQ(SplitItemList(c.list), c.items);
    }
}

TEST_F(Creators, ListsRadioGroupsAndBoxes)
{
    TRadioGroup* group = nullptr;
    CreateRadioGroup(w, group, sheet(), 8, 8, 200, 90, "_Mode", "Off,On,Auto");
    ASSERT_EQ(group->ItemCount(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(group->ItemTag(i), 0);
    EXPECT_FALSE(group->TabStop());
    group->SetItemIndex(2);
    EXPECT_EQ(commits, 1);  // a click on a run-time group commits at once

    TComboBox* combo = nullptr;
    CreateComboBox(w, combo, sheet(), 8, 120, 0, "A,B");
    AddComboItem(combo, "C", 42);
    combo->SetItemIndex(2);
    EXPECT_EQ(GetComboTag(combo), 42);
    EXPECT_EQ(ClearComboItems(combo), 2);
    EXPECT_EQ(combo->ItemCount(), 0);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(ClearRadioItems(group), 2);
    AddRadioItem(group, "Fast", 9);
    EXPECT_EQ(group->ItemTag(0), 9);

    TCheckBox* box = nullptr;
    CreateCheckBox(w, box, sheet(), 8, 160, 0, 0, "__Launch Enable");
    EXPECT_EQ(box->Width(), 97);  // the control's own size
    EXPECT_FALSE(box->TabStop());
    box->SetChecked(true);
    EXPECT_EQ(commits, 2);

    TButton* button = nullptr;
    CreateButton(w, button, sheet(), 8, 190, 80, 25, "Go");
    button->Click();  // no handler until the page gives it one
    EXPECT_EQ(commits, 2);
    TLabel* label = nullptr;
    CreateLabel(w, label, sheet(), 20, 230, "_Rear");
    EXPECT_EQ(label->Caption(), "_Rear");
    TGroupBox* box2 = nullptr;
    CreateGroupBox(w, box2, sheet(), 300, 8, 150, 60);
    EXPECT_EQ(box2->Width(), 150);
    EXPECT_EQ(box2->Caption(), "");
}
