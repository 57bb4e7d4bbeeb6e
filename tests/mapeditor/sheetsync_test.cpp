// A leading sheet's edits carried to its followers: the whole-percent steps, the scaled changes, the cells that
// equalled the leader, and the notification after the leader's shape changed.
#include "mapeditor/sheetsync.h"

#include <gtest/gtest.h>

#include "mapeditor/cellstep.h"
#include "testsheet.h"

namespace {

// Injection-time sheets: 1 % steps, values up to 65535 x 10.
CSheet injectorSheet()
{
    CSheet s = MakeSheet({.columns = 3, .rows = 2, .dataMin = 0, .dataMax = 655350});
    s.flags = kSheetPercentStep;
    return s;
}

// The follower's value after n steps of its own 1 % stepping from `from`.
std::int32_t stepped(std::int32_t from, int n)
{
    CSheet s = injectorSheet();
    s.value(0, 0) = from;
    return from + CellStep(s, 0, 0, n);
}

}  // namespace

TEST(FollowLeaderChange, CarriesEachChangedCellByItsPercentage)
{
    struct Case
    {
        const char* name;
        std::int32_t before, after;  // the leader's cell
        std::int32_t follower;       // the follower's cell before
        std::int32_t expected;
    };
    const Case cases[] = {
        {"+5 %: a follower that equalled the leader takes its value", 20000, 21000, 20000, 21000},
        {"+5 %: any other takes 5 steps of 1 %", 20000, 21000, 18000, stepped(18000, 5)},
        {"-5 %: 5 steps down", 20000, 19000, 18000, stepped(18000, -5)},
        {"+3.33 %: scaled, rounded up", 30000, 31000, 15000, 15500},
        {"-3.33 %: scaled, rounded down", 30000, 29000, 15000, 14499},
        {"+2.9 % lies within 0.15 of 3: 3 steps", 10000, 10290, 20000, stepped(20000, 3)},
        {"+2.84 % does not: scaled", 10000, 10284, 20000, 20568},
        {"+1.1 % is 1 step", 10000, 10110, 20000, stepped(20000, 1)},
        {"+0.1 %: no whole step, scaled", 100000, 100100, 50000, 50050},
        {"the largest times scale without overflow", 600000, 630000, 655000, stepped(655000, 5)},
        {"+33.3 %: scaled in 64 bits", 600000, 800000, 655000, 873333},
        // A leader's cell that was 0 has no percentage: only a follower that was 0 too moves.
        {"from 0, a follower at 0 takes the value", 0, 500, 0, 500},
        {"from 0, any other stays", 0, 500, 700, 700},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSheet leader = injectorSheet(), follower = injectorSheet();
        leader.value(1, 1) = c.before;
        follower.value(1, 1) = c.follower;
        follower.value(0, 0) = 777;  // a cell the leader did not change
        LeaderMemory memory;
        RememberLeader(leader, memory);
        leader.value(1, 1) = c.after;
        FollowLeaderChange(leader, memory, follower);
        EXPECT_EQ(follower.value(1, 1), c.expected);
        EXPECT_EQ(follower.value(0, 0), 777);
    }
    // The steps land where a person's + presses would: 5 steps from 18000 are about 5 % more.
    EXPECT_NEAR(stepped(18000, 5), 18000 * 1.051, 20);
}

TEST(FollowLeaderChange, FollowersTakeTheAxesAndACountChangeCarriesNothingOnce)
{
    CSheet leader = injectorSheet(), follower = injectorSheet();
    follower.x.points[0] = 5;
    follower.y.points[1] = 99;
    follower.value(2, 1) = 5000;
    leader.value(2, 1) = 4000;
    LeaderMemory memory;
    RememberLeader(leader, memory);

    // The leader gains a column (its link group gave the follower one too) and changes a cell in the same edit:
    // the follower takes the leader's axes only.
    leader.x.count = 4;
    leader.x.points[3] = 45;
    leader.value(2, 1) = 4200;
    FollowLeaderChange(leader, memory, follower);
    EXPECT_EQ(follower.x.count, 4);
    EXPECT_EQ(follower.x.points[0], leader.x.points[0]);
    EXPECT_EQ(follower.x.points[3], 45);
    EXPECT_EQ(follower.y.points[1], leader.y.points[1]);
    EXPECT_EQ(follower.value(2, 1), 5000);

    // The notification renewed the memory: the next change is carried again (+5 %: 5 steps).
    RememberLeader(leader, memory);
    leader.value(2, 1) = 4410;
    FollowLeaderChange(leader, memory, follower);
    EXPECT_EQ(follower.value(2, 1), stepped(5000, 5));
    // A cell beyond the leader's counts is never read or carried.
    leader.value(10, 1) = 1234;
    FollowLeaderChange(leader, memory, follower);
    EXPECT_EQ(follower.value(10, 1), 0);
}
