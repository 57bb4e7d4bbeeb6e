// The table pages in the started main window: every bound field shows the image's value with its scale, a value
// typed as a person types it reaches exactly that field in one undo step, and undo puts the image back; a table
// cell typed in a map editor does the same.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "../pages/mapedit.h"
#include "pages/corrections.h"
#include "pages/idlepage.h"
#include "startedform.h"

namespace {

class TablePagesTest : public StartedFormTest
{
protected:
    void open(int page)
    {
        form->PageControl1->SetActivePageIndex(page);
        form->PageControl1Change(form->PageControl1);
        ASSERT_EQ(form->currentPage, page);
    }
    // The image as the started window shows it, with `setup` applied, and no undo step yet.
    void show()
    {
        ShowImageOnPages(*form, 1);
        form->ResetUndo();
    }
    std::set<int> changedBytes(const Image& before) const
    {
        std::set<int> changed;
        for (int i = 0; i < RS_LEN_EXE; ++i)
            if (before[std::size_t(i)] != form->images.image[std::size_t(i)]) changed.insert(i);
        return changed;
    }
    void typeInto(std::string_view name, std::string_view text)
    {
        auto* edit = FindControl<TEdit>(*form, name);
        ASSERT_NE(edit, nullptr) << name;
        edit->SetText(text);
        vcl::Fire(edit->OnExit, static_cast<TObject*>(edit));
    }
    // One change is one undo step, and undo restores the image exactly.
    void expectOneUndoStepBackTo(const Image& before)
    {
        ASSERT_TRUE(form->undoRing.CanUndo());
        form->SpeedButtonZpetClick(nullptr);
        EXPECT_EQ(changedBytes(before), std::set<int>());
        EXPECT_FALSE(form->undoRing.CanUndo());
    }
};

// A bound field: its image bytes, a stored value and the text that shows it, a typed text and what it stores.
struct FieldCase
{
    const char* edit;
    bool word;
    int address;  // byte address, or word index
    int stored;
    const char* shown;
    const char* typed;
    int storedAfter;
};

void put(Image& image, const FieldCase& c, int value)
{
    if (c.word)
        setImageWord(image, c.address, std::uint16_t(value));
    else
        image[std::size_t(c.address)] = std::uint8_t(value);
}

int get(const Image& image, const FieldCase& c)
{
    return c.word ? imageWord(image, c.address) : image[std::size_t(c.address)];
}

std::set<int> bytesOf(const FieldCase& c)
{
    return c.word ? std::set<int>{2 * c.address, 2 * c.address + 1} : std::set<int>{c.address};
}

}  // namespace

TEST_F(TablePagesTest, CorrectionsFieldsAndTablesEditAndUndo)
{
    open(PAGE_CORRECTIONS);
    const FieldCase fields[] = {
        {"EditAccKPlus", true, 1040, 120, "120", "135", 135}, {"EditAccKMinus", true, 1041, 80, "80", "60", 60},
        {"EditAccT100", true, 1042, 300, "300", "250", 250},  {"EditAccT0", true, 1043, 150, "150", "170", 170},
        {"EditDeadTime", false, 4051, 80, "800", "567", 56},  // tens of microseconds, truncated
    };
    for (const FieldCase& c : fields) put(form->images.image, c, c.stored);
    // Corrections inside the table's limits (an empty image's zeros would be raised to the minimum by any edit).
    for (int j = 0; j < 10; ++j) form->images.image[std::size_t(3907 + j)] = std::uint8_t(100 + j);
    show();
    for (const FieldCase& c : fields) {
        SCOPED_TRACE(c.edit);
        // The dead time stands with the voltage tables, the factors with the acceleration tables.
        form->mapEditors[6]->SelectSheet(std::string_view(c.edit) == "EditDeadTime" ? 5 : 2);
        CorrectionsPageLayout(*form);
        EXPECT_EQ(FindControl<TEdit>(*form, c.edit)->Text(), c.shown);
        const Image before = form->images.image;
        typeInto(c.edit, c.typed);
        EXPECT_EQ(get(form->images.image, c), c.storedAfter);
        std::set<int> expected;
        for (int b : bytesOf(c))
            if (before[std::size_t(b)] != form->images.image[std::size_t(b)]) expected.insert(b);
        EXPECT_FALSE(expected.empty());
        EXPECT_EQ(changedBytes(before), expected);
        expectOneUndoStepBackTo(before);
        EXPECT_EQ(FindControl<TEdit>(*form, c.edit)->Text(), c.shown);
    }
    // A table cell: coolant correction of injection at the first point, stored as it is typed.
    form->mapEditors[6]->SelectSheet(0);
    CorrectionsPageLayout(*form);
    const Image before = form->images.image;
    TTab& coolant = *form->mapEditors[7];
    const std::uint8_t typed = before[3907] == 133 ? 134 : 133;
    TypeIntoCell(coolant, 0, 0, std::to_string(typed));
    form->Timer1->Fire();
    EXPECT_EQ(changedBytes(before), std::set<int>{3907});
    EXPECT_EQ(form->images.image[3907], typed);
    expectOneUndoStepBackTo(before);
    EXPECT_EQ(coolant.sheets[0].value(0, 0), before[3907]);
}

TEST_F(TablePagesTest, IdleFieldsModeAndTablesEditAndUndo)
{
    Image& image = form->images.image;
    image[4559] = 2;  // the step motor without potentiometer shows most fields
    image[4565] = 1;
    image[2683] = 30;
    image[4569] = 40;  // the hidden fields inside their ranges
    image[4570] = 3;
    const FieldCase fields[] = {
        {"EditIdleTpsMez", false, 4560, 20, "20", "25", 25}, {"EditIdleStepPerioda", false, 4562, 10, "10", "14", 14},
        {"EditIdleHyster", false, 4563, 5, "50", "80", 8},   {"EditIdleControlBand", false, 4564, 12, "120", "205", 20},
        {"EditIdleAdvNaRpm", false, 4566, 7, "7", "9", 9},   {"EditIdleAdvNaCas", false, 4567, 30, "30", "31", 31},
        {"EditIdleMaxAdv", false, 4568, 15, "15", "20", 20}, {"EditIdleStart", true, 1123, 250, "250", "300", 300},
    };
    for (const FieldCase& c : fields) put(image, c, c.stored);
    for (int i = 0; i < 18; ++i) setImageWord(image, 1105 + i, std::uint16_t(500 - 10 * i));
    for (int i = 0; i < 9; ++i) image[std::size_t(4571 + i)] = std::uint8_t(30 - i);
    form->repairState = NormalizeSettingsImage(image);
    open(PAGE_IDLE);
    show();
    for (const FieldCase& c : fields) {
        SCOPED_TRACE(c.edit);
        EXPECT_EQ(FindControl<TEdit>(*form, c.edit)->Text(), c.shown);
        const Image before = form->images.image;
        typeInto(c.edit, c.typed);
        EXPECT_EQ(get(form->images.image, c), c.storedAfter);
        std::set<int> expected;
        for (int b : bytesOf(c))
            if (before[std::size_t(b)] != form->images.image[std::size_t(b)]) expected.insert(b);
        EXPECT_EQ(changedBytes(before), expected);
        expectOneUndoStepBackTo(before);
        EXPECT_EQ(FindControl<TEdit>(*form, c.edit)->Text(), c.shown);
    }
    // The desired RPM of the actuator table, typed in rpm: one word.
    {
        const Image before = form->images.image;
        TypeIntoCell(*form->mapEditors[2], 0, 0, "900");
        form->Timer1->Fire();
        EXPECT_EQ(imageWord(form->images.image, 1105), 900);
        EXPECT_EQ(changedBytes(before), std::set<int>({2210, 2211}));
        expectOneUndoStepBackTo(before);
        EXPECT_EQ(form->mapEditors[2]->sheets[0].value(0, 0), 50);
    }
    // A new mode and its default tables are one undo step.
    {
        const Image before = form->images.image;
        auto* mode = FindControl<TRadioGroup>(*form, "RadioGroupIdleMode");
        mode->SetItemIndex(4);  // FID valve
        EXPECT_EQ(form->images.image[4559], 4);
        EXPECT_EQ(imageWord(form->images.image, 1105), 100);
        EXPECT_EQ(imageWord(form->images.image, 1122), 20);
        expectOneUndoStepBackTo(before);
        EXPECT_EQ(GetRadioTag(mode), 2);
        EXPECT_EQ(form->mapEditors[2]->sheets[0].value(0, 0), 50);
    }
}
