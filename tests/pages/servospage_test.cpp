// The servos page: each servo's row of controls and sheet from its own bytes, the row following the current sheet,
// the cylinder boxes, the map's points and padding, volts and percent, the step motor, the colours, and the
// layout in every language.
#include <gtest/gtest.h>

#include <QPixmap>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <set>

#include "mapedit.h"
#include "os/lngtext.h"
#include "pagefixture.h"
#include "pages/mapgrids.h"
#include "person.h"

namespace {

constexpr int kIntakeCells = 4258, kExhaustCells = 4108;

class ServosPage : public PagesTest
{
protected:
    void SetUp() override
    {
        Build();
        ASSERT_TRUE(w.pageBuildProblems.empty()) << testing::PrintToString(w.pageBuildProblems);
        SetPage(PAGE_SERVOS);
        Image& image = w.images.image;
        image[2500] = 3;  // a model with a step motor
        image[2680] = 4;
        const struct
        {
            int intake, exhaust, value;
        } fields[] = {
            {4411, 4410, 1},   // enabled
            {4413, 4412, 20},  // 1/P: 100 and, for the exhaust, 20
            {4420, 4419, 11}, {4422, 4421, 12}, {4424, 4423, 13}, {4426, 4425, 14}, {4427, 5013, 15},
            {4430, 4429, 1},  // polarity Plus
        };
        for (const auto& f : fields) {
            image[std::size_t(f.intake)] = std::uint8_t(f.value);
            image[std::size_t(f.exhaust)] = std::uint8_t(f.value == 20 ? 4 : f.value + 10 * (f.value > 10));
        }
        image[4428] = 10;
        for (int s = 0; s < 2; ++s) {
            const int cells = s == 0 ? kIntakeCells : kExhaustCells;
            const int points = s == 0 ? 4093 : 4078;
            for (int c = 0; c < 15; ++c) image[std::size_t(points + c)] = std::uint8_t(10 + 10 * c + s);
            for (int r = 0; r < 10; ++r)
                for (int c = 0; c < 15; ++c) image[std::size_t(cells + 15 * r + c)] = std::uint8_t(100 + r + c + s);
            image[std::size_t(4408 + s)] = 15;
        }
        image[2660] = 110;  // the limiters the sheets mark on their RPM axis
        image[4628] = 40;
        w.repairState = NormalizeSettingsImage(image);
        show();
        TickEditors(w);  // the editors take the limiters, as the main timer's next step gives them
    }
    void show() { ShowImageOnPages(w, 1); }
    TTab& editor() { return *w.mapEditors[kServoEditorId]; }
    // A click on a sheet's tab, as the editor reports it.
    void selectSheet(int sheet)
    {
        editor().SelectSheet(sheet);
        ASSERT_TRUE(editor().hooks.mapEdited);
        editor().hooks.mapEdited(editor());
    }
    std::set<int> changedBytes(const Image& before) const
    {
        std::set<int> changed;
        for (int i = 0; i < RS_LEN_EXE; ++i)
            if (before[std::size_t(i)] != w.images.image[std::size_t(i)]) changed.insert(i);
        return changed;
    }
    std::string text(std::string_view edit) { return Control<TEdit>(w, edit)->Text(); }
};

}  // namespace

// Each sheet shows its own servo's bytes in the row, with the 1/P scale, and hides what its servo lacks.
TEST_F(ServosPage, TheRowShowsTheServoOfTheCurrentSheet)
{
    const struct
    {
        int sheet;
        const char *p, *i, *d, *iOff, *dOff, *o;
        bool stepBox;
    } cases[] = {
        {0, "100", "11", "12", "13", "14", "15", true},
        {1, "20", "21", "22", "23", "24", "25", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sheet);
        selectSheet(c.sheet);
        EXPECT_EQ(text("EditServoP"), c.p);
        EXPECT_EQ(text("EditServoI"), c.i);
        EXPECT_EQ(text("EditServoD"), c.d);
        EXPECT_EQ(text("EditServoIOff"), c.iOff);
        EXPECT_EQ(text("EditServoDOff"), c.dOff);
        EXPECT_EQ(text("EditServoO"), c.o);
        EXPECT_EQ(Control<TRadioGroup>(w, "RadioGroupServoPolarity")->ItemIndex(), 1);
        EXPECT_TRUE(Control<TCheckBox>(w, "CheckBoxServoEnable")->Checked());
        EXPECT_EQ(Shown(w, "CheckBoxServoStep"), c.stepBox);
        EXPECT_FALSE(Shown(w, "EditServoPeriod"));
        EXPECT_FALSE(Shown(w, "EditServoExcitation"));
        EXPECT_TRUE(Shown(w, "EditServoI"));
    }
}

// A value typed into the row reaches the current servo's byte only; the 1/P field stores a fifth.
TEST_F(ServosPage, AnEditReachesOnlyTheCurrentServosByte)
{
    const struct
    {
        int sheet;
        const char* edit;
        const char* typed;
        int address, stored;
    } cases[] = {
        {0, "EditServoP", "135", 4413, 27}, {1, "EditServoP", "35", 4412, 7},  {0, "EditServoI", "40", 4420, 40},
        {1, "EditServoI", "41", 4419, 41},  {0, "EditServoO", "99", 4427, 99}, {1, "EditServoO", "98", 5013, 98},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.edit + std::to_string(c.sheet));
        selectSheet(c.sheet);
        const Image before = w.images.image;
        const int commitsBefore = commits;
        Type(w, c.edit, c.typed);
        EXPECT_EQ(changedBytes(before), std::set<int>{c.address});
        EXPECT_EQ(w.images.image[std::size_t(c.address)], c.stored);
        EXPECT_EQ(commits, commitsBefore + 1);
    }
}

// An up-down click waits a few ticks for its commit; a click on the other sheet's tab meanwhile must not lose it
// nor give it to the other servo.
TEST_F(ServosPage, AChangeWaitingForItsCommitStaysWithItsServoWhenTheSheetChanges)
{
    auto* upDown = Control<TUpDown>(w, "UpDownServoI");
    upDown->SetPosition(upDown->Position() + 1);
    NotePendingChange(w, upDown, kChangeUpDownClick);
    const Image before = w.images.image;
    selectSheet(1);
    EXPECT_EQ(changedBytes(before), std::set<int>{4420});
    EXPECT_EQ(w.images.image[4420], 12);
    EXPECT_EQ(w.images.image[4419], 21);
    EXPECT_EQ(text("EditServoI"), "21");
}

TEST_F(ServosPage, StepMotorShowsItsPeriodAndAnOddPeriodIsRaised)
{
    Tick(w, "CheckBoxServoStep", true);
    EXPECT_EQ(w.images.image[4418], 1);
    EXPECT_TRUE(Shown(w, "EditServoPeriod"));
    EXPECT_FALSE(Shown(w, "EditServoI"));
    EXPECT_EQ(text("EditServoPeriod"), "10");
    for (const auto& [stored, after] : {std::pair{7, 8}, std::pair{8, 8}, std::pair{255, 254}}) {
        w.images.image[4428] = std::uint8_t(stored);
        show();
        EXPECT_EQ(w.images.image[4428], after) << stored;
    }
    // A model without a step motor stores none, whatever the box shows; the period then hides.
    w.images.image[4428] = 10;
    w.images.image[2500] = 47;
    show();
    Type(w, "EditServoP", "105");
    EXPECT_EQ(w.images.image[4418], 0);
    EXPECT_FALSE(Shown(w, "EditServoPeriod"));
    // The exhaust servo has no step motor: its sheet leaves the step bytes alone.
    w.images.image[2500] = 3;
    w.images.image[4418] = 1;
    show();
    selectSheet(1);
    EXPECT_FALSE(Shown(w, "CheckBoxServoStep"));
    EXPECT_FALSE(Shown(w, "EditServoPeriod"));
    EXPECT_TRUE(Shown(w, "EditServoI"));
    EXPECT_EQ(w.images.image[4418], 1);
}

TEST_F(ServosPage, CylinderBoxesGiveEachCylinderToOneThrottleServo)
{
    Image& image = w.images.image;
    // Shown only while both servos are the throttle, as many as the cylinders.
    for (const auto& [intakeTps, exhaustTps, cylinders, shown] :
         {std::tuple{1, 1, 2, 2}, std::tuple{1, 1, 4, 4}, std::tuple{1, 0, 4, 0}, std::tuple{0, 0, 4, 0}}) {
        image[4431] = std::uint8_t(intakeTps);
        image[5014] = std::uint8_t(exhaustTps);
        image[2680] = std::uint8_t(cylinders);
        show();
        for (int n = 1; n <= 4; ++n)
            EXPECT_EQ(Shown(w, "CheckBoxServoCyl" + std::to_string(n)), n <= shown) << n << " of " << cylinders;
    }
    image[4431] = image[5014] = 1;
    image[5015] = 0;
    show();
    Tick(w, "CheckBoxServoCyl1", true);
    Tick(w, "CheckBoxServoCyl3", true);
    EXPECT_EQ(image[5015], 0x0A);
    selectSheet(1);
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(Control<TCheckBox>(w, "CheckBoxServoCyl" + std::to_string(n))->Checked(), n % 2 == 0) << n;
    // Checked on the exhaust sheet: the cylinder leaves the intake servo.
    Tick(w, "CheckBoxServoCyl1", true);
    EXPECT_EQ(image[5015], 0x02);
}

TEST_F(ServosPage, ExhaustServoIsTheThrottleOnlyWithTheIntakeServo)
{
    Image& image = w.images.image;
    image[4431] = 0;
    show();
    selectSheet(1);
    EXPECT_FALSE(Control<TCheckBox>(w, "CheckBoxServoTps")->Enabled());
    image[4431] = 1;
    show();
    EXPECT_TRUE(Control<TCheckBox>(w, "CheckBoxServoTps")->Enabled());
    Tick(w, "CheckBoxServoTps", true);
    EXPECT_EQ(image[5014], 1);
    // The repair takes it away with the intake servo's.
    selectSheet(0);
    Tick(w, "CheckBoxServoTps", false);
    EXPECT_EQ(image[4431], 0);
    EXPECT_EQ(image[5014], 0);
}

// The enable box toggles the sheet's Enable switch, which the editor reports and the page stores: the exhaust
// box stores the exhaust byte only.
TEST_F(ServosPage, EnableBoxTogglesTheSheetsSwitch)
{
    selectSheet(1);
    const Image before = w.images.image;
    Tick(w, "CheckBoxServoEnable", false);
    EXPECT_EQ(editor().sheets[1].enabled, 0);
    EXPECT_EQ(editor().sheets[0].enabled, 1);
    EXPECT_EQ(changedBytes(before), std::set<int>{4410});
    EXPECT_FALSE(Shown(w, "CheckBoxServoPercent"));
    EXPECT_FALSE(Shown(w, "EditServoI"));
    EXPECT_FALSE(Shown(w, "RadioGroupServoPolarity"));
    EXPECT_TRUE(Shown(w, "CheckBoxServoEnable"));
    Tick(w, "CheckBoxServoEnable", true);
    EXPECT_EQ(w.images.image, before);
}

// Volts to percent and back convert the current sheet's cells with the unit's rounding; the other sheet keeps its
// bytes. While the idle actuator is the intake servo, its start table changes unit with it.
TEST_F(ServosPage, PercentConvertsTheCurrentSheetOnly)
{
    Image& image = w.images.image;
    image[4559] = 1;  // idle by the intake servo
    for (int i = 0; i < 18; ++i) setImageWord(image, 1105 + i, std::uint16_t(3600 - 100 * i));
    const int cells[] = {250, 125, 2, 1};
    for (int c = 0; c < 4; ++c) image[std::size_t(kIntakeCells + c)] = std::uint8_t(cells[c]);
    show();
    const Image exhaustBefore = image;
    Tick(w, "CheckBoxServoPercent", true);
    EXPECT_EQ(image[4415], 1);
    // 250 is 100 %, which the image keeps at 99.
    const int percent[] = {99, 50, 1, 1};
    for (int c = 0; c < 4; ++c) EXPECT_EQ(image[std::size_t(kIntakeCells + c)], percent[c]) << c;
    EXPECT_EQ(editor().sheets[0].value(1, 0), 50);
    EXPECT_EQ(editor().sheets[0].data.unit, "%");
    EXPECT_EQ(editor().sheets[1].data.unit, "V");
    for (int i = kExhaustCells; i < kExhaustCells + 150; ++i) EXPECT_EQ(image[std::size_t(i)], exhaustBefore[std::size_t(i)]);
    EXPECT_EQ(imageWord(image, 1105), 72);
    EXPECT_EQ(imageWord(image, 1122), 38);  // 1900 mV
    // Back to volts: 99, 50 and 1 % are 248, 125 and 3 (0.02 V a step).
    Tick(w, "CheckBoxServoPercent", false);
    const int volts[] = {248, 125, 3, 3};
    for (int c = 0; c < 4; ++c) EXPECT_EQ(image[std::size_t(kIntakeCells + c)], volts[c]) << c;
    EXPECT_EQ(imageWord(image, 1105), 3600);
    EXPECT_EQ(editor().sheets[0].data.unit, "V");
    // In another idle mode the table holds other quantities and keeps them.
    image[4559] = 2;
    show();
    const int word = imageWord(image, 1105);
    Tick(w, "CheckBoxServoPercent", true);
    EXPECT_EQ(imageWord(image, 1105), word);
}

TEST_F(ServosPage, PointsCountsAxesAndPadding)
{
    Image& image = w.images.image;
    TTab& tab = editor();
    for (const auto& [stored, count] : {std::pair{0, 15}, std::pair{16, 15}, std::pair{8, 8}}) {
        image[4408] = std::uint8_t(stored);
        show();
        EXPECT_EQ(tab.sheets[0].x.count, count) << stored;
    }
    EXPECT_EQ(tab.sheets[0].x.points[3], 40);
    EXPECT_EQ(tab.sheets[1].x.points[3], 41);
    EXPECT_EQ(tab.sheets[0].y.points[1], 2);
    EXPECT_EQ(tab.sheets[0].y.points[9], 100);
    // With 8 points in use the store writes columns 8-14 of every row as copies of column 7.
    Type(w, "EditServoI", "30");
    for (int r = 0; r < 10; ++r)
        for (int c = 8; c < 15; ++c)
            EXPECT_EQ(image[std::size_t(kIntakeCells + 15 * r + c)], image[std::size_t(kIntakeCells + 15 * r + 7)]);
    EXPECT_EQ(image[4408], 8);
    // Both axes collapsed store as the TP axis alone (2), which loads with the RPM axis collapsed.
    tab.sheets[0].x.collapsed = tab.sheets[0].y.collapsed = 1;
    Type(w, "EditServoI", "31");
    EXPECT_EQ(image[4417], 2);
    show();
    EXPECT_EQ(tab.sheets[0].x.collapsed, 1);
    EXPECT_EQ(tab.sheets[0].y.collapsed, 0);
    image[4416] = 1;
    show();
    EXPECT_EQ(tab.sheets[1].x.collapsed, 0);
    EXPECT_EQ(tab.sheets[1].y.collapsed, 1);
}

// A cell typed in the map changes its own byte only, scaled as shown (0.02 V a step).
TEST_F(ServosPage, ACellTypedChangesItsByte)
{
    for (int sheet : {0, 1}) {
        SCOPED_TRACE(sheet);
        selectSheet(sheet);
        const Image before = w.images.image;
        TypeIntoCell(editor(), 4, 2, "3.1");
        const int address = (sheet == 0 ? kIntakeCells : kExhaustCells) + 15 * 2 + 4;
        EXPECT_EQ(changedBytes(before), std::set<int>{address});
        EXPECT_EQ(w.images.image[std::size_t(address)], 155);
    }
}

TEST_F(ServosPage, SheetColoursFollowPercentAndThrottle)
{
    Image& image = w.images.image;
    const struct
    {
        int percent, tps;
        TColor colour;
    } cases[] = {{0, 0, 0xCEDBFF}, {1, 0, 0xCEF0FF}, {0, 1, 0xF0DBFF}, {1, 1, 0xF0F0FF}};
    for (const auto& c : cases) {
        image[4415] = image[4414] = std::uint8_t(c.percent);
        image[4431] = image[5014] = std::uint8_t(c.tps);
        show();
        for (int s = 0; s < 2; ++s) {
            const CSheet& sheet = editor().sheets[std::size_t(s)];
            EXPECT_EQ(sheet.x.colour, c.colour);
            EXPECT_EQ(sheet.y.colour, c.colour);
            EXPECT_EQ(sheet.data.colour, c.colour);
        }
    }
    // Mixed: intake in percent without the throttle, exhaust in volts as the throttle.
    image[4415] = 1;
    image[4431] = 0;
    image[4414] = 0;
    image[5014] = 1;
    show();
    EXPECT_EQ(editor().sheets[0].data.colour, 0xCEF0FFu);
    EXPECT_EQ(editor().sheets[1].data.colour, 0xF0DBFFu);
}

TEST_F(ServosPage, CaptionsAndLayoutInEveryLanguage)
{
    ShowWindow();
    w.images.image[4418] = 1;
    const std::filesystem::path dir = std::filesystem::path(SCREENSHOT_DIR);
    std::filesystem::create_directories(dir);
    const struct
    {
        int language;
        const char* enable;
    } cases[] = {{LNG_ENGLISH, "Servo enable"}, {LNG_GERMAN, "Servo zulassen"}, {LNG_CZECH, "Servo povoleno"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        SetLanguageIndex(c.language);
        RefreshPageCaptions(w);
        for (int sheet : {0, 1}) {
            selectSheet(sheet);
            TickEditors(w, 3);
            QApplication::processEvents();
            EXPECT_EQ(Control<TCheckBox>(w, "CheckBoxServoEnable")->Caption(), c.enable);
            const std::vector<std::string> faults = LayoutFaults(*w.tabSheets[PAGE_SERVOS]);
            EXPECT_TRUE(faults.empty()) << testing::PrintToString(faults);
            const std::string name = "servos_" + std::to_string(c.language) + "_" + std::to_string(sheet) + ".png";
            EXPECT_TRUE(w.Widget()->grab().save(QString::fromStdString((dir / name).string())));
        }
    }
    SetLanguageIndex(LNG_ENGLISH);
    RefreshPageCaptions(w);
}
