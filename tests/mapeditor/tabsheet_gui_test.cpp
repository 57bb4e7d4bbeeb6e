// The map editor's sheet interface, in-place edit, operating point, focus, fill and layout rules, called directly.
#include <gtest/gtest.h>

#include <QWidget>
#include <memory>
#include <string>

#include "memclipboard.h"
#include "os/lngtext.h"
#include "tabfixture.h"

namespace {

class TabSheetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetLanguageIndex(LNG_ENGLISH);
        tab = MakeFixtureTab(&window, 760, 380, &clip);
    }
    CSheet& sheet() { return *tab->Current(); }
    QWidget window;
    MemClipboard clip;
    std::unique_ptr<TTab> tab;
};

}  // namespace

TEST_F(TabSheetTest, AddSheetLimits)
{
    TTab other(&window, 0, 0, kFixtureFlags);
    EXPECT_EQ(other.BackBuffer().Width(), 500);
    EXPECT_EQ(other.BackBuffer().Height(), 200);
    EXPECT_EQ(other.AddSheet("A", "RPM", "TP", "ADV", 60, 40, 0), 0);
    EXPECT_EQ(other.sheets[0].x.count, 50);
    EXPECT_EQ(other.sheets[0].x.maxCount, 50);
    EXPECT_EQ(other.sheets[0].y.count, 30);
    for (int i = 1; i < kMaxSheets; ++i) EXPECT_EQ(other.AddSheet("B", "", "", "", 3, 3, 0), i);
    EXPECT_EQ(other.AddSheet("C", "", "", "", 3, 3, 0), -1);
    other.SetSheetTitle(9, "nothing");  // out of range: ignored
    other.SetAxis(-1, 7, {});
    other.SelectSheet(8);
    EXPECT_EQ(other.current, -1);
    TTab grid(&window, 300, 200, kTabCheckGrid | kTabTableView);
    grid.AddSheet("G", "", "", "", 3, 2, 0);
    EXPECT_EQ(grid.sheets[0].cellFontSize, -10);
    EXPECT_EQ(grid.sheets[0].data.labelFontSize, -9);
    EXPECT_EQ(grid.layout.yHeadWidth, 45);
}

TEST_F(TabSheetTest, CommitCellEditReadsTypedNumbers)
{
    struct Case
    {
        const char* name;
        std::string text;
        double scale;
        bool editable;
        std::int32_t stored;  // 777 = unchanged
    };
    const Case cases[] = {
        {"decimal_comma", "1,5", 0.1, true, 15},
        {"negative_decimal_comma", "-1,5", 0.1, true, -15},
        {"thousands_space", "12 345", 1, true, 12345},
        {"half_rounds_away", "0,05", 0.1, true, 1},
        {"not_editable", "5", 1, false, 777},
        {"garbage", "1-2", 1, true, 777},
        {"empty", "", 1, true, 777},
        {"beyond_32_bits", "9999999999999", 1, true, 777},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sheet().data.scale = c.scale;
        sheet().data.editable = c.editable;
        sheet().data.min = -1000000;
        sheet().data.max = 1000000;
        sheet().value(2, 2) = 777;
        tab->BeginCellEdit(2, 2, true);
        tab->edit.text = c.text;
        tab->CommitCellEdit();
        EXPECT_FALSE(tab->edit.active);
        EXPECT_EQ(sheet().value(2, 2), c.stored);
    }
}

TEST_F(TabSheetTest, OperatingPointStates)
{
    struct Case
    {
        const char* name;
        int current;
        std::string dataName, yName;
        int mapMode, tpShare, rpm;
        int state;
    };
    const Case cases[] = {
        {"advance_map_in_use", 0, "ADV", "TP", 0x0, 0, 3000, 1},
        {"advance_other_map", 1, "ADV", "TP", 0x0, 0, 3000, 2},
        {"advance_tp_map_on_iap", 0, "ADV", "TP", 0x10, 0, 3000, -1},
        {"advance_iap_map_on_tp", 0, "ADV", "IAP", 0x0, 0, 3000, -1},
        {"injection_iap_share_100", 0, "INJ", "IAP", 0, 100, 3000, -1},
        {"injection_iap_share_40", 0, "INJ", "IAP", 0, 40, 3000, 2},
        {"injection_tp_share_0", 0, "INJ", "TP", 0, 0, 3000, -1},
        {"injection_tp_share_100", 0, "INJ", "TP", 0, 100, 3000, 1},
        {"engine_stopped", 0, "ADV", "TP", 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tab->SelectSheet(c.current);
        sheet().data.name = c.dataName;
        sheet().y.name = c.yName;
        tab->live = {.rpm = c.rpm, .tp = 30, .iap = 40, .tpShare = c.tpShare, .mapMode = c.mapMode, .flags = 0};
        tab->UpdateOperatingPoint();
        EXPECT_EQ(sheet().opState, c.state);
    }
}

TEST_F(TabSheetTest, LivePositionOfAxes)
{
    CSheet& s = sheet();  // X: RPM 1000, 1500, ... (scale 100); Y: TP 0, 5, 10, ...
    tab->live = {.rpm = 2600, .tp = 7, .flags = 0};
    EXPECT_EQ(tab->AxisLivePosition(s.x), 3);  // nearest point: 2500
    EXPECT_EQ(tab->AxisLivePosition(s.y), 1);  // 7 is nearer 5 than 10
    tab->live.rpm = 500;
    EXPECT_EQ(tab->AxisLivePosition(s.x), 0);  // below the first point
    s.flags |= kSheetBaseAdvance;
    s.x.label = "RPM";
    EXPECT_EQ(tab->AxisLivePosition(s.x), -1);  // left of the table, where the base advance stands
    tab->live.flags = TabLiveValues::kLiveNoTp;
    EXPECT_EQ(tab->AxisLivePosition(s.y), -2);
    tab->live.flags = TabLiveValues::kLiveNone;
    EXPECT_EQ(tab->AxisLivePosition(s.x), -2);
    s.x.name = "Tst";  // the interval that holds the value
    s.x.scale = 1;
    tab->live = {.tst = 22, .flags = 0};
    EXPECT_EQ(tab->AxisLivePosition(s.x), 2);  // points 10, 15, 20, 25: 22 lies in [20, 25)
}

TEST_F(TabSheetTest, MoveFocusWraps)
{
    CSheet& s = sheet();
    s.sel.SelectOne(tab->fullHits, 15, 3);
    EXPECT_TRUE(tab->MoveFocus(1, 0, false));
    EXPECT_EQ(s.sel.minColumn, -1);  // the Y head column
    s.sel.SelectOne(tab->fullHits, 15, -1);
    EXPECT_TRUE(tab->MoveFocus(1, 0, false));
    EXPECT_EQ(s.sel.minColumn, 0);  // in the head row there is no head column
    s.sel.Reset();
    EXPECT_FALSE(tab->MoveFocus(1, 0, false));
    EXPECT_TRUE(tab->MoveFocus(10000 + 4, 10000 + 2, false));  // both absolute: works without a focus
    EXPECT_EQ(s.sel.minColumn, 4);
    EXPECT_EQ(s.sel.minRow, 2);
    EXPECT_EQ(s.x.firstVisible, 0);
    tab->MoveFocus(10000 + 15, 0, false);
    EXPECT_EQ(s.x.firstVisible, 1);  // scrolled to show it
}

TEST_F(TabSheetTest, DragFillExtendsAndMoves)
{
    CSheet& s = sheet();
    for (int c = 0; c < 3; ++c) s.value(c, 0) = 10 * (c + 1);
    s.sel.SelectOne(tab->fullHits, 0, 0);
    s.sel.SelectTo(tab->fullHits, 2, 0);
    tab->tableDrag = {.mode = 1, .firstColumn = 0, .firstRow = 0, .lastColumn = 4, .lastRow = 0};
    tab->DragFill();
    EXPECT_EQ(s.value(3, 0), 40);
    EXPECT_EQ(s.value(4, 0), 50);
    EXPECT_EQ(s.sel.count, 5);
    // A move against the edge keeps the block's size.
    s.sel.SelectOne(tab->fullHits, 0, 0);
    s.sel.SelectTo(tab->fullHits, 1, 1);
    const std::int32_t a = s.value(0, 0), d = s.value(1, 1);
    tab->tableDrag = {.mode = 2, .firstColumn = 14, .firstRow = 10, .lastColumn = 15, .lastRow = 11};
    tab->DragFill();
    EXPECT_EQ(s.value(14, 10), a);
    EXPECT_EQ(s.value(15, 11), d);
}

TEST_F(TabSheetTest, LayoutRules)
{
    // 16 columns with 15 visible show the bar; 15 do not.
    EXPECT_TRUE(tab->hBar.visible);
    tab->sheets[0].x.count = 15;
    tab->SelectSheet(0);
    EXPECT_FALSE(tab->hBar.visible);
    // A collapsed Y shows one row, the middle one of seven for position -3.
    tab->sheets[0].y.count = 7;
    tab->sheets[0].y.collapsed = 1;
    tab->sheets[0].y.collapsePos = kCollapseMiddle;
    tab->SelectSheet(0);
    EXPECT_EQ(tab->layout.shownRows, 1);
    EXPECT_EQ(tab->sheets[0].y.collapsedIndex, 3);
    EXPECT_EQ(tab->visibleHits.cell(0, 3).top, tab->layout.cellsTop);
    EXPECT_EQ(tab->visibleHits.cell(0, 2).top, 65535);
    // Add column turns inactive at the maximum, Remove column at the minimum.
    tab->sheets[0].y.collapsed = 0;
    tab->sheets[0].x.count = tab->sheets[0].x.maxCount;
    tab->SelectSheet(0);
    EXPECT_TRUE(tab->buttons[kCmdAddColumn].state & kButtonInactive);
    EXPECT_FALSE(tab->buttons[kCmdRemoveColumn].state & kButtonInactive);
    tab->sheets[0].x.count = tab->sheets[0].x.minCount;
    tab->SelectSheet(0);
    EXPECT_TRUE(tab->buttons[kCmdRemoveColumn].state & kButtonInactive);
}

TEST_F(TabSheetTest, SideBarByFlagWord)
{
    // Two sheets whose tabs reach into the side bar: its buttons stand 20 pixels lower.
    EXPECT_EQ(tab->layout.buttonTop, 25);
    EXPECT_EQ(tab->buttons[kCmdCopy].rect.top, 25);
    TTab placeOnly(&window, 760, 380, kTabSideBar | kTabSideBarEmpty | kTabTableView);
    placeOnly.AddSheet("A", "RPM", "TP", "ADV", 4, 4, 0);
    placeOnly.SelectSheet(0);
    EXPECT_EQ(placeOnly.activeButtons, 0);
    EXPECT_EQ(placeOnly.layout.sideBarLeft, 760 - 27 - (75 * 3 + 123));  // the place is kept
    TTab none(&window, 760, 380, kTabTableView | kTabGraph2D);
    none.AddSheet("A", "RPM", "TP", "ADV", 4, 4, 0);
    none.SelectSheet(0);
    EXPECT_EQ(none.activeButtons, 0);
    EXPECT_EQ(none.layout.top, 10);
}

TEST_F(TabSheetTest, PasteButtonFollowsTheClipboard)
{
    CSheet& s = sheet();
    s.sel.SelectOne(tab->fullHits, 1, 1);
    clip.hasPlain = clip.hasSheet = false;
    tab->UpdateButtonStates(true);
    EXPECT_EQ(tab->buttons[kCmdPaste].state, 0);
    clip.hasPlain = true;
    tab->UpdateButtonStates(true);
    EXPECT_EQ(tab->buttons[kCmdPaste].state, kButtonEnabled);
    EXPECT_EQ(tab->buttons[kCmdPaste].picture, &tab->bitmaps[kBmpPaste]);
    s.sel.Reset();  // plain text with nothing editable selected: nowhere to paste
    tab->UpdateButtonStates(true);
    EXPECT_EQ(tab->buttons[kCmdPaste].state, 0);
    clip.hasSheet = true;
    tab->UpdateButtonStates(true);
    EXPECT_EQ(tab->buttons[kCmdPaste].state, kButtonEnabled);
    EXPECT_EQ(tab->buttons[kCmdPaste].picture, &tab->bitmaps[kBmpPasteSheet]);
}

TEST_F(TabSheetTest, TitleStripTogglesEnableOnlyWithOneSheetAndItsBox)
{
    TTab single(&window, 400, 200, kTabTableView | kTabTitleStrip);
    single.AddSheet("Lambda", "", "AFR", "RPM", 1, 2, kSheetEnableBox);
    single.SelectSheet(0);
    TMessage click;
    click.msg = TMsg::LButtonDown;
    click.x = 15;  // the strip starts at 10 when the table is at least 200 pixels wide
    click.y = 5;
    single.Perform(click);
    EXPECT_EQ(single.sheets[0].enabled, 0);
    single.Perform(click);
    EXPECT_EQ(single.sheets[0].enabled, 1);
    single.sheets[0].flags = 0;  // no Enable box: the strip does nothing
    single.Perform(click);
    EXPECT_EQ(single.sheets[0].enabled, 1);
}

TEST_F(TabSheetTest, TabKeyWithOneOrHiddenSheets)
{
    TTab single(&window, 400, 200, kTabTableView);
    single.AddSheet("One", "", "", "", 3, 3, 0);
    single.SelectSheet(0);
    EXPECT_FALSE(single.KeyInput(VK_TAB, 0));  // not taken: the focus moves on
    tab->sheets[1].hidden = 1;
    EXPECT_TRUE(tab->KeyInput(VK_TAB, 0));
    EXPECT_EQ(tab->current, 0);
}

TEST_F(TabSheetTest, CopyGraphTakesThePlotAreaOnWhite)
{
    tab->SetView(kView3D);
    tab->Command(kCmdCopyGraph);
    ASSERT_TRUE(clip.picture);
    EXPECT_EQ(clip.picture->Width(), 760 - tab->graph.right - 140 + 1);
    EXPECT_EQ(clip.picture->Height(), 380 - tab->graph.bottom - tab->graph.top + 1);
    EXPECT_EQ(clip.picture->Pixel(0, 0), clWhite);
    EXPECT_EQ(tab->Color(), clBtnFace);  // the control's colour comes back
}
