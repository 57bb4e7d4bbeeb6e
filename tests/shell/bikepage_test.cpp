// The bike page's flows in the started window: choosing another model (new settings, the model number alone,
// cancelled, the separator) and leaving the special setting, each answered as a person answers the questions.
#include <gtest/gtest.h>

#include "startedform.h"

namespace {

constexpr int kModel = 17;  // Yamaha YZF-R1 02-03

class BikePageTest : public StartedFormTest
{
protected:
    void SetUp() override
    {
        StartedFormTest::SetUp();
        bikes = FindControl<TComboBox>(*form, "ComboBoxBike");
        special = FindControl<TCheckBox>(*form, "CheckBoxBikeSecial");
        ASSERT_TRUE(bikes && special);
        form->PageControl1->SetActivePageIndex(PAGE_BIKE);
        form->PageControl1Change(form->PageControl1);
        // A limiter of the user's own, committed, so that new settings can be told from kept ones.
        auto* limiter = FindControl<TEdit>(*form, "EditIgnLimiter");
        limiter->SetText("12300");
        vcl::Fire(limiter->OnExit, static_cast<TObject*>(limiter));
        ASSERT_EQ(form->images.image[2660], 123);
        form->ResetUndo();
        oldModel = form->images.image[2500];
        ASSERT_NE(oldModel, kModel);
    }
    void choose(int tag)
    {
        for (int i = 0; i < bikes->ItemCount(); ++i)
            if (bikes->ItemTag(i) == tag) bikes->SetItemIndex(i);
        vcl::Fire(bikes->OnChange, static_cast<TObject*>(bikes));
    }
    [[nodiscard]] int shownModel() const { return bikes->ItemTag(bikes->ItemIndex()); }

    TComboBox* bikes = nullptr;
    TCheckBox* special = nullptr;
    int oldModel = 0;
};

}  // namespace

TEST_F(BikePageTest, YesLoadsTheNewModelsSettings)
{
    dialogs.AnswerMessage(IDYES);
    choose(kModel);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, form->Message(29));
    EXPECT_EQ(form->images.image[2500], kModel);
    EXPECT_EQ(form->images.image[2660], 0);  // the model's own limiter
    EXPECT_EQ(shownModel(), kModel);
    EXPECT_TRUE(form->undoRing.CanUndo());
}

TEST_F(BikePageTest, NoKeepsTheSettingsWithTheNewModelNumber)
{
    const Image before = form->images.image;
    dialogs.AnswerMessage(IDNO);
    choose(kModel);
    Image expected = before;
    expected[2500] = kModel;
    NormalizeSettingsImage(expected);
    EXPECT_EQ(form->images.image, expected);
    EXPECT_EQ(shownModel(), kModel);
    // One step, which undo takes back whole.
    form->SpeedButtonZpetClick(nullptr);
    EXPECT_EQ(form->images.image, before);
    EXPECT_FALSE(form->undoRing.CanUndo());
}

TEST_F(BikePageTest, CancelAndTheSeparatorChangeNothing)
{
    form->CheckBoxProgHned->SetChecked(true);
    form->requestCode = 0;
    const Image before = form->images.image;
    dialogs.AnswerMessage(IDCANCEL);
    choose(kModel);
    EXPECT_EQ(dialogs.Messages().size(), 1u);
    choose(0xFFFF);
    EXPECT_EQ(dialogs.Messages().size(), 1u);  // the separator asks nothing and reports nothing
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(form->images.image, before);
        EXPECT_EQ(shownModel(), oldModel);
        EXPECT_FALSE(form->undoRing.CanUndo());
        EXPECT_EQ(form->requestCode, 0);  // nothing is programmed into the unit
    }
}

TEST_F(BikePageTest, ChoosingAModelInTheSpecialSettingAsksToLeaveItFirst)
{
    special->SetChecked(true);
    ASSERT_EQ(form->images.image[2501], 1);
    EXPECT_EQ(shownModel(), 0xFFFF);
    form->ResetUndo();
    const Image before = form->images.image;

    dialogs.AnswerMessage(IDCANCEL);
    choose(kModel);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, form->Message(30));
    EXPECT_EQ(form->images.image, before);
    EXPECT_TRUE(special->Checked());
    EXPECT_EQ(shownModel(), 0xFFFF);

    // Leaving it but cancelling the model question keeps the special setting too.
    dialogs.AnswerMessage(IDOK);
    dialogs.AnswerMessage(IDCANCEL);
    choose(kModel);
    EXPECT_EQ(form->images.image, before);
    EXPECT_TRUE(special->Checked());

    dialogs.AnswerMessage(IDOK);
    dialogs.AnswerMessage(IDNO);
    choose(kModel);
    EXPECT_EQ(form->images.image[2501], 0);
    EXPECT_EQ(form->images.image[2500], kModel);
    EXPECT_FALSE(special->Checked());
    EXPECT_EQ(shownModel(), kModel);
}

TEST_F(BikePageTest, LeavingTheSpecialSettingMayRestoreTheModelsSynchronisation)
{
    special->SetChecked(true);
    // A synchronisation of the user's own and a limiter typed just before the switch.
    form->images.image[2683] = form->images.image[2683] == 7 ? 8 : 7;
    const std::uint8_t ownSync = form->images.image[2683];
    form->ResetUndo();

    dialogs.AnswerMessage(IDCANCEL);
    FindControl<TEdit>(*form, "EditIgnLimiter")->SetText("9900");
    special->SetChecked(false);
    EXPECT_EQ(dialogs.Messages().back().text, form->Message(31));
    EXPECT_TRUE(special->Checked());
    EXPECT_EQ(form->images.image[2501], 1);
    EXPECT_EQ(form->images.image[2683], ownSync);
    EXPECT_EQ(form->images.image[2660], 99);  // stored with the switch, not lost to the question

    dialogs.AnswerMessage(IDOK);
    special->SetChecked(false);
    EXPECT_FALSE(special->Checked());
    EXPECT_EQ(form->images.image[2501], 0);
    EXPECT_NE(form->images.image[2683], ownSync);  // the model's own
    EXPECT_EQ(form->images.image[2660], 99);
    EXPECT_EQ(shownModel(), form->images.image[2500]);
}
