#include "shell/commenu.h"

#include <set>

#include <gtest/gtest.h>

namespace {

ComMenuInput inputWith(std::set<int> present, int selected, int inUse)
{
    ComMenuInput input;
    input.present = [present](int p) { return present.count(p) != 0; };
    input.selectedPort = selected;
    input.portInUse = inUse;
    input.offlineCaption = "COM &offline";
    input.autoCaption = "COM &auto";
    return input;
}

}  // namespace

TEST(ComMenu, AutomaticSearchMarksThePortInUse)
{
    const auto items = ComMenuLayout(inputWith({3, 7}, 0, 7));
    EXPECT_TRUE(items[1].checked);
    EXPECT_FALSE(items[0].checked);
    EXPECT_EQ(items[2].caption, "-");
    EXPECT_EQ(items[3].caption, "COM&3");
    EXPECT_EQ(items[4].caption, "COM&7");
    EXPECT_TRUE(items[3].radio && items[4].radio);
    EXPECT_FALSE(items[3].checked);
    EXPECT_TRUE(items[4].checked);
    EXPECT_FALSE(items[5].visible);
}

TEST(ComMenu, ChosenPortThatIsMissingStaysListedDisabledAndMarked)
{
    const auto items = ComMenuLayout(inputWith({3}, 9, 0));
    EXPECT_EQ(items[4].caption, "COM&9");
    EXPECT_TRUE(items[4].checked);
    EXPECT_FALSE(items[4].enabled);
    EXPECT_FALSE(items[3].radio);
}

TEST(ComMenu, PortInUseBeyondTheLastPlaceTakesIt)
{
    std::set<int> forty;
    for (int p = 1; p <= 40; ++p)
        forty.insert(p);
    const auto items = ComMenuLayout(inputWith(forty, 0, 40));
    EXPECT_TRUE(items[29].visible);
    EXPECT_EQ(items[29].caption, "COM&40");
    EXPECT_TRUE(items[29].checked);
    EXPECT_EQ(items[28].caption, "COM&26");
}

TEST(ComMenu, CaptionPort)
{
    EXPECT_EQ(ComCaptionPort("COM&33   /dev/ttyUSB0"), 33);
    EXPECT_EQ(ComCaptionPort("COM &auto"), 0);
    EXPECT_EQ(ComCaptionPort("COM&200"), 200);
}
