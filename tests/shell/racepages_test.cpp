// The race, cruise control and launch and traction control pages in the started main window, with model settings
// loaded: every bound control changed as a person changes it reaches exactly its field, once, and one undo takes it
// back; the deceleration action for each idle actuator; pictures of the pages for a person to look at.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <map>

#include "bindingwalk.h"
#include "mapeditor/tab.h"
#include "startedform.h"

namespace {

class RacePagesTest : public StartedFormTest
{
protected:
    void SetUp() override
    {
        StartedFormTest::SetUp();
        // A model whose dashboard takes the display choice, a gear sensor with six gears, the intake servo moving
        // the throttle (idle by servo, deceleration on), a cruise control input and a quick-shift down output.
        for (auto [address, value] : std::initializer_list<std::pair<int, int>>{
                 {2500, 17}, {4527, 0},  {4528, 6},  {4559, 1},  {4520, 1},   {4411, 1},   {4431, 1},
                 {3838, 17}, {4446, 7},  {5016, 1},  {4498, 20}, {4504, 8},   {4895, 60},  {4901, 250},
                 {4974, 50}, {4975, 80}, {4979, 40}, {4980, 90}, {4984, 220}, {5008, 60},  {4625, 1},
                 {4797, 1},  {4729, 1},  {4730, 1},  {4628, 95}, {4629, 90},  {4894, 100}, {4627, 95},
                 {4922, 50}, {4799, 30}, {4798, 95}, {4800, 10}, {4801, 20}})
            form->images.image[std::size_t(address)] = std::uint8_t(value);
        Image& image = form->images.image;
        // Each gear's light above its blink, as the repair keeps them; shift 1's mirrors as a store leaves them.
        for (int r = 0; r < 6; ++r) {
            image[std::size_t(4485 + r)] = std::uint8_t(90 + r);
            image[std::size_t(4491 + r)] = std::uint8_t(110 + r);
        }
        for (auto [mirror, source] : {std::pair{4511, 4895}, {4512, 4901}, {4513, 4907}, {4514, 4913}})
            image[std::size_t(mirror)] = image[std::size_t(source)];
        ShowImageOnPages(*form, 1);
    }
    void open(int page)
    {
        form->PageControl1->SetActivePageIndex(page);
        form->PageControl1Change(form->PageControl1);
        ASSERT_EQ(form->currentPage, page);
    }
    void shoot(const std::string& name)
    {
        const std::filesystem::path dir = std::filesystem::path(SCREENSHOT_DIR);
        std::filesystem::create_directories(dir);
        for (int i = 0; i < 3; ++i) form->Timer1->Fire();
        QApplication::processEvents();
        const std::vector<std::string> faults = LayoutFaults(*form->tabSheets[std::size_t(form->currentPage)]);
        EXPECT_TRUE(faults.empty()) << name << ": " << testing::PrintToString(faults);
        EXPECT_TRUE(form->Widget()->grab().save(QString::fromStdString((dir / name).string())));
    }
};

}  // namespace

TEST_F(RacePagesTest, EveryBoundControlChangesExactlyItsField)
{
    ASSERT_TRUE(form->pageBuildProblems.empty()) << testing::PrintToString(form->pageBuildProblems);
    ASSERT_TRUE(form->tabSheets[PAGE_CRUISE]->TabVisible());
    // Shift 1's values are also kept at their older places.
    const std::map<int, int> mirrors = {{4895, 4511}, {4901, 4512}, {4907, 4513}, {4913, 4514}};
    const auto mirrorOf = [&](const FieldBinding& row) {
        const auto it = mirrors.find(row.address);
        return it == mirrors.end() ? std::set<int>{} : std::set<int>{it->second};
    };
    open(PAGE_RACE);
    EXPECT_EQ(bindingwalk::Walk(*form, PAGE_RACE, {}, mirrorOf), 59);
    open(PAGE_CRUISE);
    EXPECT_EQ(bindingwalk::Walk(*form, PAGE_CRUISE), 19);
    EXPECT_TRUE(dialogs.Messages().empty());
}

// The action value's field follows the idle actuator; the servo in millivolts also writes its byte form.
TEST_F(RacePagesTest, TheDecelerationActionReachesTheFieldOfTheIdleActuator)
{
    const struct
    {
        int mode, percent;
        std::set<int> bytes;
    } cases[] = {{1, 1, {4523}}, {1, 0, {2274, 2275, 4524}}, {2, 0, {2248, 2249}}, {3, 0, {2250, 2251}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << ", percent " << c.percent);
        form->images.image[4559] = std::uint8_t(c.mode);
        form->images.image[4415] = std::uint8_t(c.percent);
        form->repairState = NormalizeSettingsImage(form->images.image);
        ShowImageOnPages(*form, 1);
        open(PAGE_RACE);
        form->ResetUndo();
        const Image before = form->images.image;
        auto* upDown = static_cast<TUpDown*>(form->FindComponent("UpDownDCaction"));
        ASSERT_NE(upDown, nullptr);
        upDown->Associate()->SetText(upDown->PositionText(bindingwalk::otherPosition(*upDown, upDown->Increment())));
        bindingwalk::leave(upDown->Associate());
        const std::set<int> changed = bindingwalk::changedBytes(before, form->images.image);
        EXPECT_FALSE(changed.empty());
        EXPECT_TRUE(std::includes(c.bytes.begin(), c.bytes.end(), changed.begin(), changed.end()))
            << testing::PrintToString(changed);
        form->SpeedButtonZpetClick(nullptr);
        EXPECT_EQ(form->images.image, before);
    }
}

TEST_F(RacePagesTest, Screenshots)
{
    form->SetClientSize(1070, 760);
    form->Show();
    open(PAGE_RACE);
    form->liveValues.gear = 3;
    shoot("page_race_en.png");
    open(PAGE_CRUISE);
    shoot("page_cruise_en.png");
    form->MainMenu1->Find("MenuGerman")->Click();
    open(PAGE_RACE);
    shoot("page_race_de.png");
    form->MainMenu1->Find("MenuCzech")->Click();
    open(PAGE_CRUISE);
    shoot("page_cruise_cs.png");
    form->MainMenu1->Find("MenuEnglish")->Click();
}

namespace {

// The section of the launch and traction control page that shows a control.
int sectionOf(std::string_view control)
{
    return control.starts_with("UpDownTrackMin") ? 2 : 0;
}

void selectSection(TMainForm& form, int section)
{
    form.mapEditors[20]->SelectSheet(section);
    ShowImageOnPages(form, 0);
}

}  // namespace

TEST_F(RacePagesTest, EveryTrackingControlChangesExactlyItsField)
{
    open(PAGE_TRACKING);
    EXPECT_EQ(bindingwalk::Walk(*form, PAGE_TRACKING,
                                [&](const FieldBinding& row) { selectSection(*form, sectionOf(row.control)); }),
              23);
    // The fields whose unit follows another setting, in each of their units.
    const struct
    {
        const char* upDown;
        int setting, value;
        std::set<int> bytes;
    } cases[] = {{"UpDownAccSpeedMin", 4631, 0, {4632}},       {"UpDownAccSpeedMin", 4631, 1, {4632}},
                 {"UpDownStartServoInLevel", 4415, 0, {4732}}, {"UpDownStartServoInLevel", 4415, 1, {4732}},
                 {"UpDownStartServoExLevel", 4414, 0, {4731}}, {"UpDownStartServoExLevel", 4414, 1, {4731}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.upDown << " " << c.setting << " = " << c.value);
        form->images.image[std::size_t(c.setting)] = std::uint8_t(c.value);
        form->repairState = NormalizeSettingsImage(form->images.image);
        ShowImageOnPages(*form, 1);
        selectSection(*form, 0);
        form->ResetUndo();
        const Image before = form->images.image;
        auto* upDown = static_cast<TUpDown*>(form->FindComponent(c.upDown));
        ASSERT_NE(upDown, nullptr);
        const int step = upDown->Max() > 250 ? 100 : 1;
        const std::string typed = upDown->PositionText(bindingwalk::otherPosition(*upDown, step));
        upDown->Associate()->SetText(typed);
        bindingwalk::leave(upDown->Associate());
        const std::set<int> changed = bindingwalk::changedBytes(before, form->images.image);
        EXPECT_EQ(changed, c.bytes);
        EXPECT_EQ(upDown->Associate()->Text(), typed);
        form->SpeedButtonZpetClick(nullptr);
        EXPECT_EQ(form->images.image, before);
    }
    // The filter's end, by its radio buttons.
    form->ResetUndo();
    const Image before = form->images.image;
    auto* end = static_cast<TRadioButton*>(form->FindComponent("RadioButtonFilterEnd"));
    auto* begin = static_cast<TRadioButton*>(form->FindComponent("RadioButtonFilterBegin"));
    (end->Checked() ? begin : end)->SetChecked(true);
    EXPECT_EQ(bindingwalk::changedBytes(before, form->images.image), std::set<int>{4728});
    form->SpeedButtonZpetClick(nullptr);
    EXPECT_EQ(form->images.image, before);
    EXPECT_TRUE(dialogs.Messages().empty());
}

// Each map of the page shows the image's table, and a cell typed by a person changes exactly its bytes.
TEST_F(RacePagesTest, TrackingMapsShowTheImageAndACellEditChangesExactlyItsBytes)
{
    Image& image = form->images.image;
    for (int i = 0; i < 25; ++i) {
        image[std::size_t(4641 + i)] = std::uint8_t(20 + i);
        image[std::size_t(4671 + i)] = std::uint8_t(40 + i);
        image[std::size_t(4701 + i)] = std::uint8_t(60 + i);
    }
    for (int i = 0; i < 15; ++i) {
        image[std::size_t(4752 + i)] = std::uint8_t(i);
        image[std::size_t(4782 + i)] = std::uint8_t(60 + i);
    }
    image[4735] = image[4736] = 15;
    for (int i = 0; i < 60; ++i) image[std::size_t(4812 + i)] = std::uint8_t(i % 40);
    form->repairState = NormalizeSettingsImage(image);
    ShowImageOnPages(*form, 1);
    form->SetClientSize(1070, 760);
    form->Show();
    QApplication::setActiveWindow(form->Widget());
    open(PAGE_TRACKING);
    const struct
    {
        int section, editorId, sheet;
        int address;  // the table's first byte
        int columns;
        int column, row;
        const char* typed;
        int stored;
        int shownScale;  // the map shows element x this
    } cases[] = {
        {0, 24, 0, 4641, 5, 1, 2, "3000", 30, 1},  {0, 24, 1, 4671, 5, 2, 1, "77", 77, 1},
        {0, 24, 2, 4701, 5, 3, 3, "9.5", 95, 1},   {1, 21, 0, 4752, 15, 4, 0, "-12", 12, -1},
        {1, 22, 0, 4782, 15, 2, 0, "9000", 90, 1}, {2, 23, 0, 4812, 10, 3, 4, "-25", 25, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "editor " << c.editorId << " sheet " << c.sheet);
        selectSection(*form, c.section);
        TTab* editor = form->mapEditors[std::size_t(c.editorId)];
        ASSERT_NE(editor, nullptr);
        ASSERT_TRUE(editor->Visible());
        editor->SelectSheet(c.sheet);
        for (int i = 0; i < 3; ++i) form->Timer1->Fire();
        QApplication::processEvents();
        const CSheet& sheet = editor->sheets[std::size_t(c.sheet)];
        for (int r = 0; r < (c.columns == 5 ? 5 : c.columns == 10 ? 6 : 1); ++r)
            for (int col = 0; col < c.columns; ++col)
                ASSERT_EQ(sheet.value(col, r), image[std::size_t(c.address + r * c.columns + col)] * c.shownScale)
                    << col << "," << r;
        form->ResetUndo();
        const Image before = image;
        const TabLayout& L = editor->layout;
        const QPoint p(static_cast<int>(L.cellsLeft + (c.column + 0.5) * L.cellWidth),
                       static_cast<int>(L.cellsTop + (c.row + 0.5) * L.cellHeight));
        QWidget* widget = editor->Widget();
        QTest::mouseMove(widget, p);
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, p);
        // A negative value: the cell is opened for typing first (a minus alone steps the cell down).
        if (c.typed[0] == '-') QTest::keyClick(widget, Qt::Key_Backspace);
        QTest::keyClicks(widget, c.typed);
        QTest::keyClick(widget, Qt::Key_Return);
        for (int i = 0; i < 10; ++i) form->Timer1->Fire();
        const int at = c.address + c.row * c.columns + c.column;
        EXPECT_EQ(image[std::size_t(at)], c.stored);
        EXPECT_EQ(bindingwalk::changedBytes(before, image), std::set<int>{at});
        ASSERT_TRUE(form->undoRing.CanUndo());
        form->SpeedButtonZpetClick(nullptr);
        EXPECT_EQ(image, before);
    }
    EXPECT_TRUE(dialogs.Messages().empty());
}

TEST_F(RacePagesTest, TrackingScreenshots)
{
    // A tuner's after-start curves and traction map.
    Image& image = form->images.image;
    image[4735] = 5;
    image[4736] = 4;
    const int times[] = {0, 25, 50, 100, 150};
    const int retards[] = {10, 8, 5, 2, 0};
    const int limits[] = {50, 60, 80, 100};
    for (int j = 0; j < 15; ++j) {
        image[std::size_t(4737 + j)] = image[std::size_t(4767 + j)] = std::uint8_t(j < 5 ? times[j] : 150 + j);
        image[std::size_t(4752 + j)] = std::uint8_t(j < 5 ? retards[j] : 0);
        image[std::size_t(4782 + j)] = std::uint8_t(j < 4 ? limits[j] : 100);
    }
    const int tps[] = {0, 10, 20, 40, 70, 100};
    for (int c = 0; c < 10; ++c) image[std::size_t(4802 + c)] = std::uint8_t(5 + 5 * c);
    for (int r = 0; r < 6; ++r) {
        setImageWord(image, 1126 + r, std::uint16_t(tps[r]));
        for (int c = 0; c < 10; ++c) image[std::size_t(4812 + 10 * r + c)] = std::uint8_t(std::min(30, c * (r + 1)));
    }
    form->repairState = NormalizeSettingsImage(image);
    ShowImageOnPages(*form, 1);
    form->SetClientSize(1070, 760);
    form->Show();
    open(PAGE_TRACKING);
    for (int section : {0, 1, 2}) {
        selectSection(*form, section);
        shoot("page_tracking_" + std::to_string(section) + "_en.png");
    }
    form->MainMenu1->Find("MenuCzech")->Click();
    selectSection(*form, 0);
    shoot("page_tracking_0_cs.png");
    form->MainMenu1->Find("MenuEnglish")->Click();
}
