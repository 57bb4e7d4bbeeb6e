// A map editor's live operating point against the simulated unit: the RPM and throttle of the unit's live frames
// reach the editor through the main timer, and the point moves to the cell they select.
#include <gtest/gtest.h>

#include "mapeditor/tab.h"
#include "pages/mapgrids.h"
#include "pages/mapside.h"
#include "unitlinktest.h"

namespace {

// The unit's live answers say this RPM (word 2) and throttle (word 47, tenths of a percent).
void sendLive(unitsim::UnitSim& sim, int rpm, int tpsTenths)
{
    sim.setLiveBytes(3, {static_cast<std::uint8_t>(rpm >> 8), static_cast<std::uint8_t>(rpm)});
    sim.setLiveBytes(93, {static_cast<std::uint8_t>(tpsTenths >> 8), static_cast<std::uint8_t>(tpsTenths)});
}

}  // namespace

TEST_F(UnitLinkTest, TheLiveOperatingPointFollowsTheUnit)
{
    // An advance map: RPM 1000..16000 in steps of 1000 (raw 10..160 at scale 100), throttle 0..100 % by 10. The
    // editor is low: no picture is looked at here, and Qt fills fewer than 96 rows on the main thread alone, which
    // keeps its painting helpers out of the thread sanitizer's sight.
    TTab* tab = CreateMapEditor(*form, kAdvanceEditorId, 400, 90, kTabSideBar | kTabTableView | kTabGraph2D,
                                form->tabSheets[PAGE_ADVANCE]);
    ASSERT_NE(tab, nullptr);
    tab->AddSheet("###Advance", "RPM", "TP", "ADV", 16, 11, kSheetOperatingPoint);
    tab->SetAxis(0, 1, {.name = "RPM", .unit = "rpm", .min = 1, .max = 250, .scale = 100, .count = 16});
    tab->SetAxis(0, 2, {.name = "TP", .unit = "%", .min = 0, .max = 100, .count = 11});
    tab->SetAxis(0, 4, {.name = "ADV", .min = -100, .max = 100});
    CSheet& sheet = tab->sheets[0];
    for (int c = 0; c < 16; ++c) sheet.x.points[c] = 10 * (c + 1);
    for (int r = 0; r < 11; ++r) sheet.y.points[r] = 10 * r;
    tab->UpdateLimits(sheet, 0x107);
    tab->SelectSheet(0);
    EXPECT_EQ(sheet.opState, 0);  // no live data yet

    // 4520 rpm lies past the middle between 4000 and 5000; 32.7 % (32 whole) before the middle of 30 and 40.
    sendLive(*sim, 4520, 327);
    ASSERT_TRUE(runUntil([&] { return sheet.opState == 1 && sheet.opColumn == 4 && sheet.opRow == 3; }))
        << sheet.opState << " " << sheet.opColumn << " " << sheet.opRow;
    EXPECT_EQ(tab->live.rpm, 4520);
    EXPECT_EQ(tab->live.tp, 32);
    // The unit speeds up and opens the throttle: 12340 rpm, 81.2 %.
    sendLive(*sim, 12340, 812);
    ASSERT_TRUE(runUntil([&] { return sheet.opColumn == 11 && sheet.opRow == 8; }))
        << sheet.opColumn << " " << sheet.opRow;
    EXPECT_EQ(sheet.opState, 1);
    // Below the first RPM point the point sits on the first column; with the engine stopped there is none.
    sendLive(*sim, 600, 0);
    ASSERT_TRUE(runUntil([&] { return sheet.opColumn == 0 && sheet.opRow == 0; }));
    sendLive(*sim, 0, 0);
    ASSERT_TRUE(runUntil([&] { return sheet.opState == 0; }));
    EXPECT_TRUE(dialogs.Messages().empty());
}
