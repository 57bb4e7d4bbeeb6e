// The table pages in the started main window: every bound field shows the image's value with its scale, a value
// typed as a person types it reaches exactly that field in one undo step, and undo puts the image back; a table
// cell typed in a map editor does the same.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "../pages/mapedit.h"
#include "bindingwalk.h"
#include "pages/corrections.h"
#include "pages/idlepage.h"
#include "pages/mapgrids.h"
#include "pages/servospage.h"
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

namespace {

// Both servos enabled, neither the throttle (the repair would take a throttle flag away with an enable), rising
// RPM points and positions from 2.00 V up.
void servoSettings(Image& image)
{
    if (image[2500] == 47) image[2500] = 3;  // a model whose intake servo may be a step motor
    image[4411] = image[4410] = 1;
    image[4431] = image[5014] = 0;
    image[4415] = image[4414] = 0;
    image[4418] = 0;
    image[4428] = 10;
    image[4559] = 0;  // the idle actuator is not the intake servo
    for (int s = 0; s < 2; ++s) {
        const int points = s == 0 ? 4093 : 4078;
        const int cells = s == 0 ? 4258 : 4108;
        for (int c = 0; c < 15; ++c) image[std::size_t(points + c)] = std::uint8_t(10 + 10 * c);
        for (int r = 0; r < 10; ++r)
            for (int c = 0; c < 15; ++c) image[std::size_t(cells + 15 * r + c)] = std::uint8_t(100 + 5 * r + 3 * c + 20 * s);
        image[std::size_t(4408 + s)] = 15;
        image[std::size_t(4416 + s)] = 0;
    }
    image[4413] = 20;
    image[4412] = 30;
    for (int i = 0; i < 5; ++i) {
        image[std::size_t(4419 + 2 * i)] = std::uint8_t(20 + i);  // exhaust I, D, I off, D off; 4427 intake O
        image[std::size_t(4420 + 2 * i)] = std::uint8_t(10 + i);
    }
    image[5013] = 25;
    image[2660] = 110;  // the limiters that the sheets mark on their RPM axis
    image[4628] = 40;
}

}  // namespace

// Both servos' rows in the started window: every control, reached as a person reaches it (the sheet of its servo
// current, the step motor's period once the step motor is on), changes exactly its servo's byte in one undo step.
// Percent converts the sheet's cells with it; a cell typed changes its byte.
TEST_F(TablePagesTest, ServoRowsOfBothServosAndTheirMapsEditAndUndo)
{
    Image& image = form->images.image;
    servoSettings(image);
    form->repairState = NormalizeSettingsImage(image);
    open(PAGE_SERVOS);
    show();
    form->Timer1->Fire();  // the editors take the limiters
    TTab& editor = *form->mapEditors[kServoEditorId];
    for (int servo : {0, 1}) {
        SCOPED_TRACE(servo);
        editor.SelectSheet(servo);  // as a click on the sheet's tab: the editor reports it
        editor.hooks.mapEdited(editor);
        form->ResetUndo();
        std::vector<FieldBinding> rows;
        std::vector<TControl*> controls;
        for (const FieldBinding& row : ServoRowBindings(servo)) {
            if (row.control == "CheckBoxServoPercent") continue;  // converts the cells too: below
            rows.push_back(row);
            controls.push_back(FindControl<TControl>(*form, row.control));
        }
        const int walked = bindingwalk::WalkRows(*form, rows, controls, [&](const FieldBinding& row) {
            form->images.image[4418] = row.control == "UpDownServoPeriod" ? 1 : 0;
            // The exhaust servo may be the throttle only with the intake servo.
            form->images.image[4431] = servo == 1 && row.control == "CheckBoxServoTps" ? 1 : 0;
            ShowImageOnPages(*form, 1);
        });
        EXPECT_EQ(walked, servo == 0 ? 11 : 9);

        // Volts to percent: the flag and this sheet's cells, one undo step.
        image[4418] = 0;
        show();
        const int cells = servo == 0 ? 4258 : 4108;
        Image before = image;
        FindControl<TCheckBox>(*form, "CheckBoxServoPercent")->SetChecked(true);
        EXPECT_EQ(image[std::size_t(servo == 0 ? 4415 : 4414)], 1);
        for (int i : changedBytes(before))
            EXPECT_TRUE(i == (servo == 0 ? 4415 : 4414) || (i >= cells && i < cells + 150)) << i;
        EXPECT_EQ(image[std::size_t(cells)], (before[std::size_t(cells)] * 2 + 2) / 5);
        expectOneUndoStepBackTo(before);
        EXPECT_EQ(editor.sheets[std::size_t(servo)].data.unit, "V");

        // A cell typed in volts.
        before = image;
        TypeIntoCell(editor, 3, 4, "4.5");
        form->Timer1->Fire();
        EXPECT_EQ(changedBytes(before), std::set<int>{cells + 15 * 4 + 3});
        EXPECT_EQ(image[std::size_t(cells + 15 * 4 + 3)], 225);
        expectOneUndoStepBackTo(before);
        EXPECT_EQ(editor.sheets[std::size_t(servo)].value(3, 4), before[std::size_t(cells + 15 * 4 + 3)]);
    }
    EXPECT_TRUE(dialogs.Messages().empty());
}

// A picture of the page with a model's settings and the servos', for a person to look at
// (build/screenshots/servos_started_<sheet>.png).
TEST_F(TablePagesTest, ServosPageScreenshot)
{
    Image& image = form->images.image;
    servoSettings(image);
    image[4431] = image[5014] = 1;  // both throttle servos, with their cylinders
    image[2680] = 4;
    image[5015] = 0x0A;
    image[4415] = 1;
    for (int i = 0; i < 150; ++i) image[std::size_t(4258 + i)] = std::uint8_t(10 + (i % 15) * 5 + i / 15);
    form->repairState = NormalizeSettingsImage(image);
    show();
    form->SetClientSize(1100, 760);  // the page and the live column beside it whole
    form->Show();
    open(PAGE_SERVOS);
    const std::filesystem::path dir = std::filesystem::path(SCREENSHOT_DIR);
    std::filesystem::create_directories(dir);
    TTab& editor = *form->mapEditors[kServoEditorId];
    for (int sheet : {0, 1}) {
        editor.SelectSheet(sheet);
        editor.hooks.mapEdited(editor);
        for (int i = 0; i < 5; ++i) form->Timer1->Fire();
        QApplication::processEvents();
        const auto file = dir / ("servos_started_" + std::to_string(sheet) + ".png");
        EXPECT_TRUE(form->Widget()->grab().save(QString::fromStdString(file.string())));
        const std::vector<std::string> faults = LayoutFaults(*form->tabSheets[PAGE_SERVOS]);
        EXPECT_TRUE(faults.empty()) << testing::PrintToString(faults);
    }
}
