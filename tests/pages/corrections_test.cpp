// The corrections page: its twelve tables as the unit stores them (offsets, signs, words, the start table's two
// fixed cells), the tab row that chooses the group shown, and its two bound controls.
#include "pages/corrections.h"

#include <gtest/gtest.h>

#include <QPixmap>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <set>

#include "mapedit.h"
#include "pagefixture.h"

namespace {

class CorrectionsPage : public PagesTest
{
protected:
    void SetUp() override
    {
        Build();
        SetPage(PAGE_CORRECTIONS);
        Image& image = w.images.image;
        // Rising temperature points and plausible corrections in every table.
        for (int j = 0; j < 10; ++j) {
            image[4008 + j] = std::uint8_t(80 + 15 * j);  // coolant -20..115
            image[4025 + j] = std::uint8_t(80 + 15 * j);
            image[3907 + j] = std::uint8_t(140 - 4 * j);
            image[3917 + j] = std::uint8_t(106 - j);
            image[3927 + j] = std::uint8_t(150 - 5 * j);
            image[3937 + j] = std::uint8_t(130 - 3 * j);
            image[3947 + j] = std::uint8_t(40 - 3 * j);
        }
        for (int j = 0; j < 7; ++j) {
            image[4018 + j] = std::uint8_t(80 + 15 * j);
            image[4035 + j] = std::uint8_t(80 + 15 * j);
            image[3957 + j] = std::uint8_t(108 - 2 * j);
            image[3964 + j] = std::uint8_t(102 - j);
        }
        for (int j = 0; j < 5; ++j) image[3971 + j] = std::uint8_t(5 + 4 * j);
        for (int c = 0; c < 4; ++c) image[3976 + c] = std::uint8_t(10 + 20 * c);
        for (int i = 0; i < 20; ++i) image[3980 + i] = std::uint8_t(10 + i);
        for (int j = 0; j < 4; ++j) {
            image[4000 + j] = std::uint8_t(25 * (j + 1));
            image[4004 + j] = std::uint8_t(150 - 30 * j);
        }
        for (int j = 0; j < 9; ++j) {
            setImageWord(image, 1031 + j, std::uint16_t(180 - 10 * j));
            image[4042 + j] = std::uint8_t(std::int8_t(30 - 6 * j));
        }
        image[4051] = 80;
        setImageWord(image, 1040, 120);
        setImageWord(image, 1041, 80);
        setImageWord(image, 1042, 300);
        setImageWord(image, 1043, 150);
        // The limiters that the RPM axes mark.
        image[2660] = 125;
        image[2661] = 128;
        image[4628] = 40;
        // As after a read: the repair leaves nothing for the first commit to change elsewhere.
        w.repairState = NormalizeSettingsImage(image);
        ShowImageOnPages(w, 1);
        // The editors take the image's limiters on the next tick, as after every load.
        w.tabList.guideRefresh = 1;
        TickEditors(w);
    }
    TTab& editor(int id) { return *w.mapEditors[std::size_t(id)]; }
    CSheet& sheet(int id) { return editor(id).sheets[0]; }
    void select(int group)
    {
        editor(6).SelectSheet(group);
        CorrectionsPageLayout(w);
    }
    std::set<int> changedBytes(const Image& before) const
    {
        std::set<int> changed;
        for (int i = 0; i < RS_LEN_EXE; ++i)
            if (before[std::size_t(i)] != w.images.image[std::size_t(i)]) changed.insert(i);
        return changed;
    }
};

}  // namespace

TEST_F(CorrectionsPage, EditorsHoldTheTablesAsTheUnitStoresThem)
{
    struct Row
    {
        int id;
        std::string_view yName, yUnit;
        int yCount, yMin, yMax;
        bool yEditable;
        std::string_view dataName, dataUnit;
        int dataMin, dataMax;
        double dataScale, firstStepSpan;
        int visibleColumns, visibleRows;
    };
    const Row rows[] = {
        {7, "TW", "°C", 10, -40, 140, true, "INJ", "%", 5, 250, 1.0, 10, 6, 10},
        {8, "TA", "°C", 7, -40, 150, true, "INJ", "%", 5, 250, 1.0, 10, 6, 10},
        {9, "TW", "°C", 10, -40, 140, true, "ADV", "°", -20, 20, 1.0, 10, 6, 10},
        {10, "TA", "°C", 7, -40, 150, true, "ADV", "°", -20, 20, 1.0, 10, 6, 10},
        {11, "TP", "%", 5, 0, 100, false, "ACCTR", "%/s", 1, 250, 10.0, 10, 1, 5},
        {12, "TP", "%", 5, 0, 100, false, "INJ", "ms", 0, 150, 0.05, 2.5, 4, 5},
        {13, "TW", "°C", 10, -10, 120, false, "COR", "%", 5, 250, 1.0, 10, 6, 10},
        {14, "TW", "°C", 10, -10, 120, false, "COR", "%", 5, 250, 1.0, 10, 6, 10},
        {15, "TW", "°C", 10, -10, 120, false, "START", "ms", 0, 250, 1.0, 10, 6, 10},
        {16, "Tst", "s", 5, 0, 250, true, "COR", "%", 100, 350, 1.0, 10, 5, 5},
        {17, "U", "V", 9, 5, 20, false, "INJ", "us", -100, 150, 10.0, 10, 5, 10},
        {18, "U", "V", 9, 5, 20, false, "DWELL", "us", -20, 100, 100.0, 10, 6, 10},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.id);
        TTab& tab = editor(r.id);
        ASSERT_EQ(tab.sheetCount, 1);
        const CSheet& s = tab.sheets[0];
        EXPECT_EQ(s.y.name, r.yName);
        EXPECT_EQ(s.y.unit, r.yUnit);
        EXPECT_EQ(s.y.count, r.yCount);
        EXPECT_EQ(s.y.min, r.yMin);
        EXPECT_EQ(s.y.max, r.yMax);
        EXPECT_EQ(s.y.editable != 0, r.yEditable);
        EXPECT_EQ(s.data.name, r.dataName);
        EXPECT_EQ(s.data.unit, r.dataUnit);
        EXPECT_EQ(s.data.min, r.dataMin);
        EXPECT_EQ(s.data.max, r.dataMax);
        EXPECT_DOUBLE_EQ(s.data.scale, r.dataScale);
        ASSERT_GT(s.data.stepCount, 0);
        EXPECT_DOUBLE_EQ(s.data.steps[0][0], r.firstStepSpan);
        EXPECT_EQ(tab.layout.visibleColumns, r.visibleColumns);
        EXPECT_EQ(tab.layout.visibleRows, r.visibleRows);
        // Only table 12 varies along X: its four RPM points; the others carry one collapsed column.
        EXPECT_EQ(s.x.collapsed != 0, r.id != 12);
    }
    EXPECT_EQ(editor(12).sheets[0].x.count, 4);
    EXPECT_DOUBLE_EQ(editor(12).sheets[0].x.scale, 100.0);
    EXPECT_EQ(editor(6).sheetCount, 6);
    // The axes the image does not store.
    EXPECT_EQ(sheet(11).y.points[2], 20);
    EXPECT_EQ(sheet(13).y.points[9], 115);
    EXPECT_EQ(sheet(17).y.points[0], 8);
    EXPECT_EQ(sheet(18).y.points[8], 16);
}

// A value typed into a table reaches exactly the image bytes of its cell or point, in the stored form, and a new
// image shows in the table again.
TEST_F(CorrectionsPage, AnEditChangesExactlyTheBytesOfItsCell)
{
    struct Case
    {
        std::string_view name;
        int id, column, row;  // -1: a head
        std::string_view typed;
        std::vector<std::pair<int, int>> bytes;  // image byte, value after the edit
        std::int32_t cell;                       // the raw cell or point the edit leaves
    };
    const Case cases[] = {
        {"coolant_point_-40", 7, -1, 0, "-40", {{4008, 60}}, -40},
        {"coolant_injection", 7, 0, 9, "95", {{3916, 95}}, 95},
        {"air_injection", 8, 0, 6, "95", {{3963, 95}}, 95},
        {"air_point", 8, -1, 6, "75", {{4024, 175}}, 75},
        {"coolant_advance_-3", 9, 0, 3, "-3", {{3920, 97}}, -3},
        {"air_advance_-5", 10, 0, 0, "-5", {{3964, 95}}, -5},
        {"threshold", 11, 0, 2, "140", {{3973, 14}}, 14},
        {"async_cell_row2_col3", 12, 3, 2, "1.5", {{3991, 30}}, 30},
        {"async_rpm_point", 12, 1, -1, "4000", {{3977, 40}}, 40},
        {"async_temperature", 13, 0, 5, "90", {{3932, 90}}, 90},
        {"sync_temperature", 14, 0, 9, "110", {{3946, 110}}, 110},
        {"start_injection", 15, 0, 0, "20", {{3947, 20}}, 20},
        {"start_time_point_1", 16, -1, 1, "30", {{4000, 30}}, 30},
        {"start_correction_0", 16, 0, 0, "200", {{4004, 100}}, 200},
        {"injection_voltage_-1000us", 17, 0, 0, "-1000", {{2062, 0}, {2063, 0}}, -100},
        {"injection_voltage_1500us", 17, 0, 1, "1500", {{2064, 250}, {2065, 0}}, 150},
        {"dwell_-2000us", 18, 0, 0, "-2000", {{4042, 0xEC}}, -20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Image before = w.images.image;
        select(c.id >= 17 ? 5 : c.id >= 15 ? 4 : c.id >= 13 ? 3 : c.id >= 11 ? 2 : c.id >= 9 ? 1 : 0);
        TypeIntoCell(editor(c.id), c.column, c.row, c.typed);
        std::set<int> expected;
        for (const auto& [byte, value] : c.bytes) {
            EXPECT_EQ(w.images.image[std::size_t(byte)], value) << byte;
            if (before[std::size_t(byte)] != value) expected.insert(byte);
        }
        EXPECT_EQ(changedBytes(before), expected);
        const CSheet& s = sheet(c.id);
        auto shown = [&] {
            return c.row == -1      ? s.x.points[std::size_t(c.column)]
                   : c.column == -1 ? s.y.points[std::size_t(c.row)]
                                    : s.value(c.column, c.row);
        };
        EXPECT_EQ(shown(), c.cell);
        // The image as it was, read again, shows in the table.
        w.images.image = before;
        ShowImageOnPages(w, 1);
        EXPECT_NE(shown(), c.cell);
        EXPECT_EQ(changedBytes(before), std::set<int>());
    }
}

TEST_F(CorrectionsPage, StartTableKeepsItsFixedFirstTimeAndLastCorrection)
{
    select(4);
    TTab& start = editor(16);
    const Image before = w.images.image;
    TypeIntoCell(start, -1, 0, "10");
    TypeIntoCell(start, 0, 4, "150");
    EXPECT_EQ(sheet(16).y.points[0], 0);
    EXPECT_EQ(sheet(16).value(0, 4), 100);
    EXPECT_EQ(changedBytes(before), std::set<int>());
    // An edit in any other correction table puts them back too.
    sheet(16).y.points[0] = 7;
    sheet(16).value(0, 4) = 120;
    select(0);
    TypeIntoCell(editor(7), 0, 0, "120");
    EXPECT_EQ(sheet(16).y.points[0], 0);
    EXPECT_EQ(sheet(16).value(0, 4), 100);
    EXPECT_EQ(changedBytes(before), std::set<int>({3907}));
}

TEST_F(CorrectionsPage, TheTabRowChoosesTheGroupShown)
{
    const struct
    {
        int group;
        std::set<int> tables;
        bool factors, deadTime;
    } cases[] = {
        {0, {7, 8}, false, false},   {1, {9, 10}, false, false},  {2, {11, 12}, true, false},
        {3, {13, 14}, false, false}, {4, {15, 16}, false, false}, {5, {17, 18}, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.group);
        select(c.group);
        for (int id = 7; id <= 18; ++id) EXPECT_EQ(editor(id).Visible(), c.tables.count(id) == 1) << id;
        EXPECT_EQ(Control<TGroupBox>(w, "GroupBoxAccK")->Visible(), c.factors);
        for (const char* name : {"LabelDeadTime", "EditDeadTime", "UpDownDeadTime"})
            EXPECT_EQ(Control<TControl>(w, name)->Visible(), c.deadTime) << name;
        for (const char* name : {"GroupBoxInjCor", "GroupBoxAdvCor", "GroupBoxAccCor"})
            EXPECT_TRUE(Control<TControl>(w, name)->Visible()) << name;
    }
    // A click on a tab reaches the page through the editor's report, as every other edit does.
    w.mapEditors[6]->SelectSheet(5);
    NotifyMapEdited(w, *w.mapEditors[6]);
    EXPECT_TRUE(editor(17).Visible());
    EXPECT_FALSE(editor(7).Visible());
}

TEST_F(CorrectionsPage, DeadTimeShowsTenfoldAndStoresTruncated)
{
    select(5);
    auto* upDown = Control<TUpDown>(w, "UpDownDeadTime");
    EXPECT_EQ(upDown->Position(), 800);
    w.images.image[4051] = 200;
    ShowImageOnPages(w, 0);
    EXPECT_EQ(upDown->Position(), 2000);
    auto* edit = Control<TEdit>(w, "EditDeadTime");
    edit->SetText("1234");
    vcl::Fire(edit->OnExit, static_cast<TObject*>(edit));
    EXPECT_EQ(w.images.image[4051], 123);
}

// Pictures of every group of tables for a person to look at (build/screenshots/corrections_<group>.png).
TEST_F(CorrectionsPage, Screenshots)
{
    ShowWindow();
    const std::filesystem::path dir = std::filesystem::path(SCREENSHOT_DIR);
    std::filesystem::create_directories(dir);
    for (int group = 0; group < 6; ++group) {
        SCOPED_TRACE(group);
        select(group);
        TickEditors(w, 3);
        QApplication::processEvents();
        const std::string name = "corrections_" + std::to_string(group) + ".png";
        EXPECT_TRUE(w.Widget()->grab().save(QString::fromStdString((dir / name).string())));
        const std::vector<std::string> faults = LayoutFaults(*w.tabSheets[PAGE_CORRECTIONS]);
        EXPECT_TRUE(faults.empty()) << testing::PrintToString(faults);
    }
}
