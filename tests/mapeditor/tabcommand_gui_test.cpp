// The editing commands of the map editor on small sheets: one row per case with the selection before, the values
// before and the values after; insertion and deletion of lines in linked sheets; and the popup menu's items.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "mapeditor/cellstep.h"
#include "memclipboard.h"
#include "os/lngtext.h"
#include "tabfixture.h"
#include "vcl/customcontrol.h"

namespace {

using Grid = std::vector<std::vector<std::int32_t>>;

// A range of the selection: columns c0..c1, rows r0..r1, -1 for the heads; c0 = -2 for nothing.
struct Range
{
    int c0 = -2, r0 = -2, c1 = -2, r1 = -2;
};

// An editor with `sheetCount` sheets of `columns` x `rows` values (room for `maxColumns`), X points 10, 20, ...,
// Y points 5, 10, ...; the second sheet follows the first's insertions.
class SmallTab
{
public:
    SmallTab(int columns, int rows, int sheetFlags = 0, int sheetCount = 1, int maxColumns = 0, int minColumns = 1)
    {
        SetLanguageIndex(LNG_ENGLISH);
        tab = std::make_unique<TTab>(&window, 600, 300, kTabSideBar | kTabTableView | kTabGraph2D);
        tab->clipboard = &clip;
        tab->clipboardFormat = clip.RegisterFormat(kSheetFormatName);
        tab->hooks.mapEdited = [this](TTab&) { ++edits; };
        tab->hooks.errorBox = [this](std::string_view text) { errors.emplace_back(GetLngText(text)); };
        for (int i = 0; i < sheetCount; ++i) {
            const int index = tab->AddSheet("Sheet", "X", "Y", "D", std::max(columns, maxColumns), rows, sheetFlags);
            tab->SetAxis(index, 1, {.name = "RPM", .min = 0, .max = 100000, .minCount = minColumns, .count = columns});
            tab->SetAxis(index, 2, {.name = "TP", .min = 0, .max = 100000, .minCount = 1, .count = rows});
            tab->SetAxis(index, 4, {.name = "ADV", .min = -1000000, .max = 1000000});
            CSheet& s = sheet(index);
            for (int c = 0; c < kMaxColumns; ++c) s.x.points[c] = s.x.prevPoints[c] = 10 * (c + 1);
            for (int r = 0; r < kMaxRows; ++r) s.y.points[r] = s.y.prevPoints[r] = 5 * (r + 1);
        }
        if (sheetCount > 1) {
            sheet(0).leaderId = 3;
            sheet(1).followerId = 3;
        }
        tab->SelectSheet(0);
    }
    CSheet& sheet(int i = 0) { return tab->sheets[static_cast<std::size_t>(i)]; }
    void set(const Grid& g, int i = 0)
    {
        for (std::size_t r = 0; r < g.size(); ++r)
            for (std::size_t c = 0; c < g[r].size(); ++c)
                sheet(i).value(static_cast<int>(c), static_cast<int>(r)) = g[r][c];
    }
    Grid get(int columns, int rows, int i = 0)
    {
        Grid g(static_cast<std::size_t>(rows), std::vector<std::int32_t>(static_cast<std::size_t>(columns)));
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c)
                g[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = sheet(i).value(c, r);
        return g;
    }
    void select(const Range& r)
    {
        TSel& sel = tab->Current()->sel;
        if (r.c0 == -2) {
            sel.Reset();
            return;
        }
        sel.SelectOne(tab->fullHits, r.c0, r.r0);
        sel.SelectTo(tab->fullHits, r.c1, r.r1);
    }

    QWidget window;
    MemClipboard clip;
    std::unique_ptr<TTab> tab;
    int edits = 0;
    std::vector<std::string> errors;
};

}  // namespace

TEST(TabCommands, ValuesBeforeAndAfter)
{
    struct Case
    {
        const char* name;
        int sheetFlags;
        Grid before;
        Range selection;
        std::function<void(TTab&)> act;
        Grid after;
        std::vector<std::int32_t> xPoints = {};  // before, when not 10, 20, ...
        std::vector<std::int32_t> xAfter = {};   // checked when given
    };
    auto command = [](int code) { return [code](TTab& t) { t.Command(code); }; };
    auto target = [](int column, int row, int n) {
        return [=](TTab& t) {
            t.PlaceStepButtons(column, row);
            t.StepTarget(n);
        };
    };
    auto drag = [](int mode, Range to) {
        return [=](TTab& t) {
            t.tableDrag.mode = mode;
            t.tableDrag.firstColumn = to.c0;
            t.tableDrag.firstRow = to.r0;
            t.tableDrag.lastColumn = to.c1;
            t.tableDrag.lastRow = to.r1;
            t.DragFill();
            t.tableDrag.mode = 0;
        };
    };
    const Grid base = {{10, 20, 30, 40}, {50, 60, 70, 80}, {90, 100, 110, 120}};
    const Case cases[] = {
        {"plus steps every selected cell by one",
         0,
         base,
         {1, 0, 2, 1},
         command(kCmdPlus),
         {{10, 21, 31, 40}, {50, 61, 71, 80}, {90, 100, 110, 120}}},
        {"minus on X heads moves their points",
         0,
         base,
         {1, -1, 2, -1},
         command(kCmdMinus),
         base,
         {},
         {10, 19, 29, 40}},
        {"nothing selected, no live point: nothing steps", 0, base, {}, command(kCmdPlus), base},
        {"percent: one percent on tens, by one where that would stand still",
         kSheetPercentStep,
         {{1000, 101, 300, -1000}},
         {0, 0, 3, 0},
         command(kCmdPlus),
         {{1010, 102, 301, -1010}}},
        {"percent: minus mirrors it",
         kSheetPercentStep,
         {{1000, 101, 300, -1000}},
         {0, 0, 3, 0},
         command(kCmdMinus),
         {{990, 100, 299, -990}}},
        {"percent: a fast step is ten percent",
         kSheetPercentStep | kSheetFastCells,
         {{1000, 105, 2000, 50}},
         {0, 0, 3, 0},
         target(0, 0, 10),
         {{1100, 120, 2210, 60}}},
        {"percent: a fast step down near the table's start stays inside it",
         kSheetPercentStep | kSheetFastCells,
         {{1000, 105, 101, 50}},
         {0, 0, 3, 0},
         target(2, 0, -10),
         {{910, 100, 100, 40}}},
        {"a step button beside an unselected cell steps only that cell",
         kSheetPercentStep,
         {{1000, 2000}},
         {0, 0, 0, 0},
         target(1, 0, 1),
         {{1000, 2020}}},
        {"interpolate fills the rectangle from its corners",
         0,
         {{0, 7, 7, 30}, {7, 7, 7, 7}, {60, 7, 7, 90}},
         {0, 0, 3, 2},
         command(kCmdInterpolate),
         {{0, 10, 20, 30}, {30, 40, 50, 60}, {60, 70, 80, 90}}},
        {"interpolate weighs by the X points",
         0,
         {{0, 7, 7, 40}},
         {0, 0, 3, 0},
         command(kCmdInterpolate),
         {{0, 10, 30, 40}},
         {10, 20, 40, 50}},
        {"interpolate of two cells does nothing",
         0,
         {{0, 7, 7, 40}},
         {1, 0, 2, 0},
         command(kCmdInterpolate),
         {{0, 7, 7, 40}}},
        {"interpolate X heads",
         0,
         base,
         {0, -1, 3, -1},
         command(kCmdInterpolate),
         base,
         {10, 99, 99, 40},
         {10, 20, 30, 40}},
        {"fill continues a row by its slope",
         0,
         {{10, 20, 0, 0}},
         {0, 0, 1, 0},
         drag(1, {0, 0, 3, 0}),
         {{10, 20, 30, 40}}},
        {"fill upward continues a column",
         0,
         {{0, 0}, {0, 0}, {5, 0}, {8, 0}},
         {0, 2, 0, 3},
         drag(1, {0, 0, 0, 3}),
         {{-1, 0}, {2, 0}, {5, 0}, {8, 0}}},
        {"fill copies a single value",
         0,
         base,
         {1, 1, 1, 1},
         drag(1, {1, 1, 3, 2}),
         {{10, 20, 30, 40}, {50, 60, 60, 60}, {90, 60, 60, 60}}},
        {"move copies the block, the source stays",
         0,
         base,
         {0, 0, 1, 0},
         drag(2, {2, 1, 3, 1}),
         {{10, 20, 30, 40}, {50, 60, 10, 20}, {90, 100, 110, 120}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int columns = static_cast<int>(c.before[0].size()), rows = static_cast<int>(c.before.size());
        SmallTab t(columns, rows, c.sheetFlags);
        t.set(c.before);
        for (std::size_t i = 0; i < c.xPoints.size(); ++i)
            t.sheet().x.points[i] = t.sheet().x.prevPoints[i] = c.xPoints[i];
        t.select(c.selection);
        c.act(*t.tab);
        EXPECT_EQ(t.get(columns, rows), c.after);
        for (std::size_t i = 0; i < c.xAfter.size(); ++i) EXPECT_EQ(t.sheet().x.points[i], c.xAfter[i]) << i;
        for (int i = 0; i < 6; ++i) t.tab->Tick();
        EXPECT_EQ(t.edits, c.after == c.before && c.xAfter == c.xPoints ? 0 : 1);
    }
}

TEST(TabCommands, HoldingPlusOnAPercentSheetClimbsWithoutStandingStill)
{
    // Held long enough to go through the percent table's small values, its tens and its fast range.
    SmallTab t(1, 1, kSheetPercentStep | kSheetFastCells);
    t.set({{95}});
    t.select({0, 0, 0, 0});
    std::int32_t last = 95;
    for (int i = 0; i < 300; ++i) {
        t.tab->Command(kCmdPlus);
        const std::int32_t now = t.sheet().value(0, 0);
        ASSERT_GT(now, last) << "press " << i;
        last = now;
    }
    EXPECT_GT(last, 500);
    EXPECT_EQ(last % 10, 0);  // past a few hundred the steps land on tens
    // Fast steps down go through the table's start and stop at zero.
    t.tab->PlaceStepButtons(0, 0);
    for (int i = 0; i < 100; ++i) {
        t.tab->StepTarget(-10);
        const std::int32_t now = t.sheet().value(0, 0);
        ASSERT_TRUE(now < last || (now == 0 && last == 0)) << "fast step " << i;
        last = now;
    }
    EXPECT_EQ(last, 0);
}

TEST(TabCommands, LinesOfLinkedSheets)
{
    struct Case
    {
        const char* name;
        int leaderColumns, followerColumns, maxColumns, followerMax;
        Range selection;
        std::function<void(TTab&)> act;
        int leaderAfter, followerAfter;
        int messages;
    };
    auto insertAt = [](int index) { return [index](TTab& t) { t.InsertLine(kLineColumns, index); }; };
    auto deleteSelected = [](TTab& t) { t.DeleteSelectedLines(kLineColumns); };
    const Case cases[] = {
        {"insert repeats on the follower", 4, 4, 6, 6, {}, insertAt(2), 5, 5, 0},
        {"insert with the sheet at its maximum: message, nothing changes", 6, 6, 6, 6, {}, insertAt(2), 6, 6, 1},
        {"insert with the follower at its maximum: message, neither changes", 4, 4, 6, 4, {}, insertAt(2), 4, 4, 1},
        {"add column appends on both", 4, 4, 6, 6, {}, [](TTab& t) { t.Command(kCmdAddColumn); }, 5, 5, 0},
        {"delete two full columns on both", 4, 4, 6, 6, {1, 0, 2, 2}, deleteSelected, 2, 2, 0},
        {"delete selected X heads", 4, 4, 6, 6, {0, -1, 0, -1}, deleteSelected, 3, 3, 0},
        {"delete of every column stops at the minimum", 4, 4, 6, 6, {0, 0, 3, 2}, deleteSelected, 2, 2, 0},
        {"a column not fully selected stays", 4, 4, 6, 6, {1, 0, 2, 1}, deleteSelected, 4, 4, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmallTab t(c.leaderColumns, 3, 0, 2, c.maxColumns, 2);
        t.sheet(1).x.maxCount = c.followerMax;
        t.sheet(1).x.count = c.followerColumns;
        const Grid values = {{10, 20, 30, 40, 50, 60}, {11, 21, 31, 41, 51, 61}, {12, 22, 32, 42, 52, 62}};
        t.set(values, 0);
        t.set(values, 1);
        t.select(c.selection);
        c.act(*t.tab);
        for (int i = 0; i < 6; ++i) t.tab->Tick();
        EXPECT_EQ(t.sheet(0).x.count, c.leaderAfter);
        EXPECT_EQ(t.sheet(1).x.count, c.followerAfter);
        EXPECT_EQ(static_cast<int>(t.errors.size()), c.messages);
        if (c.messages) {
            EXPECT_EQ(t.errors[0], "Column count is on maximum !\nDelete some first...");
        }
        EXPECT_EQ(t.edits, c.leaderAfter != c.leaderColumns ? 1 : 0);
        // Both sheets keep the same columns.
        for (int col = 0; col < c.leaderAfter; ++col) {
            EXPECT_EQ(t.sheet(0).x.points[col], t.sheet(1).x.points[col]) << col;
            EXPECT_EQ(t.sheet(0).value(col, 1), t.sheet(1).value(col, 1)) << col;
        }
    }
    // An insertion in the middle takes the means of its neighbours.
    SmallTab t(4, 2, 0, 2, 6);
    t.set({{10, 20, 30, 40}, {1, 3, 5, 7}});
    t.tab->InsertLine(kLineColumns, 2);
    EXPECT_EQ(t.sheet().x.points[2], 25);
    EXPECT_EQ(t.get(5, 2), (Grid{{10, 20, 25, 30, 40}, {1, 3, 4, 5, 7}}));
}

TEST(TabCommands, EnableAxisUseAndViews)
{
    SmallTab t(4, 3, kSheetEnableBox);
    CSheet& s = t.sheet();
    s.contentShown = 0;
    t.tab->Command(kCmdEnable);  // a sheet without data becomes enabled
    EXPECT_EQ(s.enabled, 1);
    EXPECT_EQ(t.edits, 1);
    s.contentShown = 1;
    t.tab->Command(kCmdEnable);
    EXPECT_EQ(s.enabled, 0);

    t.tab->Command(kCmdOnlyX);
    EXPECT_FALSE(s.x.collapsed);
    EXPECT_TRUE(s.y.collapsed);
    EXPECT_TRUE(t.tab->buttons[kCmdOnlyX].down);
    t.tab->Command(kCmdOnlyY);
    EXPECT_TRUE(s.x.collapsed);
    EXPECT_FALSE(s.y.collapsed);
    s.y.collapseOption = 0;
    t.tab->Command(kCmdOnlyX);  // Y may not be collapsed: nothing
    EXPECT_TRUE(s.x.collapsed);
    t.tab->Command(kCmdBothXY);
    EXPECT_FALSE(s.x.collapsed);

    // An editor that allows only the table keeps it when asked for a graph.
    QWidget window;
    TTab tableOnly(&window, 400, 200, kTabTableView);
    tableOnly.SetView(kView2D);
    EXPECT_EQ(tableOnly.requestedView, kViewTable);
}

// ---------------------------------------------------------------- popup menu

namespace {

class PopupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetLanguageIndex(LNG_ENGLISH);
        vcl::SetKeyStateSource([] { return 0u; });
        window.resize(800, 420);
        tab = MakeFixtureTab(&window, 760, 380, &clip);
        tab->SetBounds(20, 20, 760, 380);
        tab->followSwitch = &follow;
        window.show();
    }
    void TearDown() override
    {
        tab->popup.Close();
        vcl::SetKeyStateSource(nullptr);
    }
    CSheet& sheet() { return *tab->Current(); }
    QPoint cellPoint(int column, int row)
    {
        const TabLayout& L = tab->layout;
        return QPoint(static_cast<int>(L.cellsLeft + (column + 0.5) * L.cellWidth),
                      static_cast<int>(L.cellsTop + (row + 0.5) * L.cellHeight));
    }
    // The captions of the menu a right click at p opens ("-" for a separator, "*" before a ticked item).
    std::vector<std::string> rightClick(QPoint p)
    {
        QTest::mouseMove(tab->Widget(), p);
        QTest::mousePress(tab->Widget(), Qt::RightButton, Qt::NoModifier, p);
        QTest::mouseRelease(tab->Widget(), Qt::RightButton, Qt::NoModifier, p);
        std::vector<std::string> captions;
        for (int i = 0; i < tab->popup.Items().Count(); ++i) {
            const TMenuItem* item = tab->popup.Items().Item(i);
            captions.push_back((item->Checked() ? "*" : "") + item->Caption());
        }
        return captions;
    }
    bool has(const std::vector<std::string>& captions, const std::string& caption)
    {
        return std::find(captions.begin(), captions.end(), caption) != captions.end();
    }
    void click(const std::string& caption)
    {
        for (int i = 0; i < tab->popup.Items().Count(); ++i)
            if (tab->popup.Items().Item(i)->Caption() == caption) return tab->popup.Items().Item(i)->Click();
        FAIL() << "no item " << caption;
    }
    void selectRange(int c0, int r0, int c1, int r1)
    {
        sheet().sel.SelectOne(tab->fullHits, c0, r0);
        sheet().sel.SelectTo(tab->fullHits, c1, r1);
    }

    QWidget window;
    MemClipboard clip;
    std::unique_ptr<TTab> tab;
    int follow = 1;
};

}  // namespace

TEST_F(PopupTest, ItemsOverASelectedBlock)
{
    selectRange(2, 1, 5, 4);
    const auto captions = rightClick(cellPoint(3, 2));
    const std::vector<std::string> expected = {"Copy",
                                               "Copy the entire table",
                                               "-",
                                               "Interpolate",
                                               "-",
                                               "-",
                                               "*Autoscroll actual position",
                                               "Disable autoscroll",
                                               "-",
                                               "*View as table",
                                               "View as graph 2D",
                                               "View as graph 3D",
                                               "-",
                                               "Use only RPM",
                                               "Use only TP",
                                               "*Use RPM and TP"};
    EXPECT_EQ(captions, expected);
    EXPECT_TRUE(tab->popup.Visible());
    EXPECT_EQ(sheet().sel.count, 16);  // a right click on a selected cell keeps the selection
    click("Disable autoscroll");
    EXPECT_EQ(follow, 0);
}

TEST_F(PopupTest, InsertAndDeleteItemsFollowFullLines)
{
    // Three whole columns: insert and a plural delete; a right click on an unselected cell selects it alone.
    selectRange(3, 0, 5, 11);
    auto captions = rightClick(cellPoint(4, 5));
    EXPECT_TRUE(has(captions, "Insert column here"));
    EXPECT_TRUE(has(captions, "Delete columns (3)"));
    EXPECT_FALSE(has(captions, "Insert row here"));
    click("Delete columns (3)");
    EXPECT_EQ(sheet().x.count, 13);
    EXPECT_EQ(tab->sheets[1].x.count, 13);

    // Every column selected: no delete column item.
    tab->popup.Close();
    selectRange(0, 0, 12, 11);
    captions = rightClick(cellPoint(1, 1));
    EXPECT_FALSE(has(captions, "Delete columns (13)"));
    EXPECT_FALSE(has(captions, "Delete column"));

    // A row button: insert a row there.
    tab->popup.Close();
    const TabLayout& L = tab->layout;
    const QPoint rowButton(L.cellsLeft - 6, static_cast<int>(L.cellsTop + 2.7 * L.cellHeight));
    captions = rightClick(rowButton);
    EXPECT_TRUE(has(captions, "Insert row here"));
    const std::int32_t above = sheet().value(0, 2), below = sheet().value(0, 3);
    click("Insert row here");  // in the lower half of row 2: after it
    EXPECT_EQ(sheet().y.count, 13);
    EXPECT_EQ(sheet().value(0, 3), (above + below) / 2);

    // An unselected cell: selected alone, no interpolate, no whole lines.
    tab->popup.Close();
    captions = rightClick(cellPoint(8, 8));
    EXPECT_EQ(sheet().sel.count, 1);
    EXPECT_FALSE(has(captions, "Interpolate"));
    EXPECT_FALSE(has(captions, "Insert column here"));
}

TEST_F(PopupTest, SheetTabsAndDisabledSheets)
{
    tab->Command(kCmdCopyTable);
    const QPoint secondTab(2 + tab->sheets[0].tabWidth + 10, 8);
    auto captions = rightClick(secondTab);
    EXPECT_EQ(tab->current, 1);
    EXPECT_EQ(captions[0], "Copy the entire table");
    EXPECT_EQ(captions[1], "Paste table");
    EXPECT_FALSE(has(captions, "Copy"));
    EXPECT_FALSE(has(captions, "Interpolate"));

    // A disabled sheet offers its Enable item, nothing that works on its values.
    tab->popup.Close();
    sheet().flags |= kSheetEnableBox;
    sheet().enabled = 0;
    captions = rightClick(cellPoint(2, 2));
    EXPECT_EQ(captions, (std::vector<std::string>{"Enable Advance 2", "-", "-", "*Autoscroll actual position",
                                                  "Disable autoscroll"}));
    click("Enable Advance 2");
    EXPECT_EQ(sheet().enabled, 1);
}
