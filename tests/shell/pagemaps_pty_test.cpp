// A Read from the simulated unit refreshes the map editors of the bike, advance, injection and injection position
// pages with the unit's tables.
#include <gtest/gtest.h>

#include "mapeditor/tab.h"
#include "pages/mapgrids.h"
#include "settings/repair.h"
#include "unitlinktest.h"
#include "unitsim/unitsim.h"
#include "vcl/menus.h"

TEST_F(UnitLinkTest, ReadRefreshesThePagesMapEditors)
{
    Image unit = form->images.image;
    unit[3087] = unit[3088] = 1;                 // both advance maps over RPM and load
    unit[3833] = 60;                             // compensations within 40-160 %
    unit[2785 + 15 * 2 + 3] = 33;                // advance 1, row 2, column 3
    unit[2935 + 15 * 1 + 4] = 21;                // advance 2
    setImageWord(unit, 200 + 20 * 3 + 2, 4321);  // injector map 2
    setImageWord(unit, 800 + 20 * 1 + 1, 2222);  // pressure map
    unit[3417 + 20 * 2 + 2] = 117;               // throttle compensation
    unit[3860 + 7] = 44;                         // position A
    unit[3890 + 9] = 55;                         // position B
    unit[2675] = 77;                             // the bike page's lambda map
    NormalizeSettingsImage(unit);
    Image wire = unit;
    SwapWordBytes(wire, 0, RS_WORD_COUNT - 1);
    sim->setWireImage(std::vector<std::uint8_t>(wire.begin(), wire.end()));
    ASSERT_TRUE(resultShows("Checking: OK"));
    ASSERT_TRUE(runUntil([&] { return form->ButtonRead->Enabled(); }));
    auto open = [&](int page) {
        form->PageControl1->SetActivePageIndex(page);
        form->PageControl1Change(form->PageControl1);
    };
    open(PAGE_ADVANCE);
    form->MenuReadClick(nullptr);
    ASSERT_TRUE(resultShows("Verify: OK"));
    auto value = [&](int id, int sheet, int column, int row) {
        return form->mapEditors[std::size_t(id)]->sheets[std::size_t(sheet)].value(column, row);
    };
    // The page shown while reading takes the unit's maps at once; the others when they are opened.
    EXPECT_EQ(value(kAdvanceEditorId, 0, 3, 2), 33);
    EXPECT_EQ(value(kAdvanceEditorId, 1, 4, 1), 21);
    // An injection mode picked from this page stores the injection maps just read, not what the injection page
    // showed before the Read.
    if (unit[3817] != 2) {
        form->MainMenu1->Find("Menu_Jet123Normal")->Click();
        EXPECT_EQ(imageWord(form->images.image, 200 + 20 * 3 + 2), 4321);
        EXPECT_EQ(imageWord(form->images.image, 800 + 20 * 1 + 1), 2222);
        EXPECT_EQ(form->images.image[3417 + 20 * 2 + 2], 117);
    }
    open(PAGE_INJECTION);
    if (unit[3817] != 2) {
        EXPECT_EQ(value(kInjectionEditorId, 1, 2, 3), 43210);
    }
    EXPECT_EQ(value(kInjectionEditorId, 6, 1, 1), 22220);
    EXPECT_EQ(value(kInjectionEditorId, 4, 2, 2), 117);
    open(PAGE_POSITION);
    EXPECT_EQ(value(kPositionAEditorId, 0, 7, 0), 44);
    EXPECT_EQ(value(kPositionBEditorId, 0, 9, 0), 55);
    open(PAGE_BIKE);
    EXPECT_EQ(value(kBikeEditorId, 0, 0, 1), 77);
    EXPECT_TRUE(dialogs.Messages().empty());
}
