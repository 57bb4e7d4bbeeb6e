// The binding of controls to image fields, as tables of cases: image value to the control's position and text
// and back, with scale, offset, sign, the range's ends, the thousands separator and rounding; and a show never
// counts as an edit.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QRadioButton>

#include "pagefixture.h"
#include "testpage.h"
#include "vcl/deciedit.h"

namespace {

class Binding : public PagesTest
{
protected:
    void SetUp() override
    {
        w.pageModules[PAGE_GEAR] = &kTestPage;
        Build();
        ASSERT_TRUE(w.pageBuildProblems.empty()) << testing::PrintToString(w.pageBuildProblems);
        SetPage(PAGE_GEAR);
    }
    Image& image() { return w.images.image; }
    TUpDown* upDown(std::string_view name) { return Control<TUpDown>(w, name); }
};

struct ShowCase
{
    const char* name;
    int address;  // byte address
    std::vector<std::uint8_t> bytes;
    const char* control;
    int position;
    const char* text;  // of the buddy or paired edit
};

const ShowCase kShowCases[] = {
    {"scaled byte", 2510, {105}, "UpDownByteScaled", 10500, "10 500"},
    {"scaled byte at the range end", 2510, {255}, "UpDownByteScaled", 25500, "25 500"},
    {"scaled byte zero", 2510, {0}, "UpDownByteScaled", 0, "0"},
    {"offset byte", 2511, {90}, "UpDownByteOffset", -10, "-10"},
    {"offset byte at the top", 2511, {255}, "UpDownByteOffset", 155, "155"},
    {"signed byte", 2512, {0xFE}, "UpDownByteSigned", -2, "-2"},
    {"signed byte lowest", 2512, {0x80}, "UpDownByteSigned", -128, "-128"},
    {"signed scaled byte clamped", 2513, {0x80}, "UpDownSignedScaled", -200, "-200"},
    {"signed word", 200, {0xFE, 0xFF}, "UpDownWordSigned", -2, "-2"},
    {"signed word thousands", 200, {0x10, 0x27}, "UpDownWordSigned", 10000, "10 000"},
    {"signed word lowest", 200, {0x00, 0x80}, "UpDownWordSigned", -32768, "-32 768"},
    {"decimal word", 240, {125, 0}, "UpDownDeci", 125, "12.5"},
    {"decimal word whole", 240, {0xE8, 0x03}, "UpDownDeci", 1000, "100"},
    {"decimal word above range", 240, {0xE9, 0x03}, "UpDownDeci", 1000, "100"},
};

struct StoreCase
{
    const char* name;
    const char* control;
    const char* typed;  // into the edit, as a person types
    int address;        // byte address
    std::vector<std::uint8_t> bytes;
};

const StoreCase kStoreCases[] = {
    {"scaled byte truncates", "EditByteScaled", "10550", 2510, {105}},
    {"thousands separator typed", "EditByteScaled", "10 550", 2510, {105}},
    {"offset byte", "EditByteOffset", "-10", 2511, {90}},
    {"offset byte top", "EditByteOffset", "155", 2511, {255}},
    {"signed byte", "EditByteSigned", "-2", 2512, {0xFE}},
    {"positive truncates toward zero", "EditTruncated", "199", 2514, {1}},
    {"negative truncates toward zero", "EditTruncated", "-199", 2514, {0xFF}},
    {"signed word", "EditWordSigned", "-2", 200, {0xFE, 0xFF}},
    {"typed past the range keeps the range end", "EditByteSigned", "300", 2512, {127}},
    {"text that is no number keeps the position", "EditByteSigned", "CKPS", 2512, {0xFF}},
    {"decimal with a comma", "EditDeci", "12,5", 240, {125, 0}},
    {"decimal rounds half away from zero", "EditDeci", "0.25", 240, {3, 0}},
};

}  // namespace

TEST_F(Binding, ImageValuesShowInTheirControls)
{
    for (const ShowCase& c : kShowCases) {
        SCOPED_TRACE(c.name);
        std::copy(c.bytes.begin(), c.bytes.end(), image().begin() + c.address);
        ShowImageOnPages(w, 0);
        TUpDown* control = upDown(c.control);
        EXPECT_EQ(control->Position(), c.position);
        const TEdit* edit =
            control->Associate() ? control->Associate() : static_cast<TDeciUpDown*>(control)->PairedEdit;
        EXPECT_EQ(edit->Text(), c.text);
    }
    EXPECT_EQ(commits, 0);
}

TEST_F(Binding, TypedValuesStoreIntoTheirFields)
{
    for (const StoreCase& c : kStoreCases) {
        SCOPED_TRACE(c.name);
        image()[2512] = 0xFF;  // the position that text which is no number leaves in place
        ShowImageOnPages(w, 0);
        Control<TEdit>(w, c.control)->SetText(c.typed);
        StoreCurrentPage(w);
        EXPECT_TRUE(std::equal(c.bytes.begin(), c.bytes.end(), image().begin() + c.address));
    }
}

TEST_F(Binding, ShowThenStoreGivesTheImageBack)
{
    // Every byte value through every byte binding: the page stores what it showed (offsets and signs undone), and
    // a value that its up-down can only show clamped (2513 beyond +-100) stays as it is until the user moves it.
    for (int value = 0; value < 256; ++value) {
        for (int address : {2510, 2511, 2512, 2513, 2514}) image()[std::size_t(address)] = std::uint8_t(value);
        const Image before = image();
        ShowImageOnPages(w, 0);
        StoreCurrentPage(w);
        for (int address : {2510, 2511, 2512, 2513, 2514})
            EXPECT_EQ(image()[std::size_t(address)], before[std::size_t(address)]) << address << " " << value;
    }
    image()[2513] = 0x80;
    ShowImageOnPages(w, 0);
    Control<TEdit>(w, "EditSignedScaled")->SetText("-198");
    StoreCurrentPage(w);
    EXPECT_EQ(image()[2513], 0x9D);
}

TEST_F(Binding, ListsAndBoxesShowAndStoreTheirBytes)
{
    auto* box = Control<TCheckBox>(w, "CheckBoxFlag");
    auto* tagged = Control<TComboBox>(w, "ComboBoxTagged");
    auto* indexed = Control<TComboBox>(w, "ComboBoxIndexed");
    auto* radio = Control<TRadioGroup>(w, "RadioGroupIndexed");
    auto* source = Control<TRadioGroup>(w, "RadioGroupTagged");

    image()[2515] = 7;   // any non-zero byte checks the box
    image()[2516] = 22;  // the item whose tag is 22
    image()[2517] = 1;
    image()[2518] = 1;
    image()[2519] = 5;
    ShowImageOnPages(w, 0);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(tagged->ItemIndex(), 1);
    EXPECT_EQ(indexed->ItemIndex(), 1);
    EXPECT_EQ(radio->ItemIndex(), 1);
    EXPECT_EQ(source->ItemIndex(), 1);
    StoreCurrentPage(w);
    EXPECT_EQ(image()[2515], 1);  // stored as 1, not 7
    EXPECT_EQ(image()[2516], 22);

    // A tag no item carries leaves nothing selected, and so does an index past the list; storing then keeps the
    // value the image holds rather than writing 255 over it.
    image()[2516] = 99;
    image()[2517] = 5;
    image()[2518] = 9;
    image()[2519] = 6;
    ShowImageOnPages(w, 0);
    EXPECT_EQ(tagged->ItemIndex(), -1);
    EXPECT_EQ(indexed->ItemIndex(), -1);
    EXPECT_EQ(radio->ItemIndex(), -1);
    EXPECT_EQ(source->ItemIndex(), -1);
    StoreCurrentPage(w);
    EXPECT_EQ(image()[2516], 99);
    EXPECT_EQ(image()[2517], 5);
    EXPECT_EQ(image()[2518], 9);
    EXPECT_EQ(image()[2519], 6);
    EXPECT_EQ(FindComboTag(tagged, 7), 2);
    EXPECT_EQ(FindComboTag(tagged, 8), -1);
    EXPECT_EQ(GetComboTag(tagged), -1);
}

TEST_F(Binding, AShowNeverCountsAsAnEdit)
{
    // Showing changes every kind of control, and each control's change handler is the shared commit.
    image()[2515] = 1;
    image()[2518] = 1;
    image()[2519] = 5;
    image()[240] = 55;
    ShowImageOnPages(w, 1);
    image()[2515] = 0;
    image()[2518] = 0;
    ShowImageOnPages(w, 0);
    EXPECT_EQ(commits, 0);
    EXPECT_EQ(w.pendingControl, nullptr);
    EXPECT_EQ(w.settingGuard, 0);
    // The guard is restored, not cleared, when shows nest inside code that raised it already.
    w.settingGuard = 1;
    ShowImageOnPages(w, 0);
    EXPECT_EQ(w.settingGuard, 1);
    w.settingGuard = 0;
}

TEST_F(Binding, OneUserChangeIsOneCommitOfThatField)
{
    image()[2516] = 11;  // an item of the tagged list
    w.repairState = NormalizeSettingsImage(image());
    ShowImageOnPages(w, 1);
    const Image before = image();
    static_cast<QCheckBox*>(Control<TCheckBox>(w, "CheckBoxFlag")->Widget())->click();
    EXPECT_EQ(commits, 1);
    Image expected = before;
    expected[2515] = 1;
    EXPECT_EQ(image(), expected);
    // A click on a radio button of a group is a user change too.
    auto* radio = Control<TRadioGroup>(w, "RadioGroupIndexed");
    radio->Widget()->findChildren<QRadioButton*>().at(1)->click();
    EXPECT_EQ(commits, 2);
    EXPECT_EQ(image()[2518], 1);
}

TEST_F(Binding, ReformatLeavesThePositionAtTheRangeEnds)
{
    TUpDown* scaled = upDown("UpDownByteScaled");
    for (int position : {25500, 1000, 999}) {
        SetControlQuiet(w, scaled, position);
        ReformatUpDown(w, scaled);
        EXPECT_EQ(scaled->Position(), position);
    }
    EXPECT_EQ(scaled->Associate()->Text(), "999");
    EXPECT_EQ(DeciText(-12, 10), "-1.2");
    EXPECT_EQ(DeciText(1, 3), "0.333333333333333");
    EXPECT_EQ(DeciText(5, 0), "5");
}
