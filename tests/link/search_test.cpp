// The port choice of the search, stepped by hand with ports that are listed but never open.
#include <gtest/gtest.h>

#include "link/comcom.h"

namespace {
struct SteppedSearch
{
    os::LinkClock tmr;
    os::ComPortMap ports;
    CCOMCOM link{tmr, [this] { return std::optional<os::ComPortMap>(ports); }, LinkThreads::Stepped};

    void tick()
    {
        tmr.advance(50);
        link.Tick();
        link.ProtocolTurn();  // acknowledges port changes, as the protocol thread would
    }
};
}  // namespace

TEST(SearchChoice, AutomaticSearchWrapsAndSkipsAbsentPorts)
{
    SteppedSearch s;
    s.ports = {{2, "/dev/kelvora-none-2"}, {9, "/dev/kelvora-none-9"}};
    s.link.FillProtocolSlots(IGN300, 115200, 175);
    s.link.nextPort = 255;
    s.tmr.set(1000);
    for (int i = 0; i < 2; ++i) s.tick();
    EXPECT_EQ(s.link.SearchSlot(0).port, 2);
    EXPECT_EQ(s.link.SearchSlot(1).port, 9);
    EXPECT_EQ(s.link.SearchSlot(2).port, 0);  // nothing left to probe
    EXPECT_EQ(s.link.nextPort, 10);
    EXPECT_EQ(s.link.SearchSlot(0).state, kSlotOpening);
}

TEST(SearchChoice, FixedPortIsProbedBySlotZeroOnly)
{
    SteppedSearch s;
    s.ports = {{2, "/dev/kelvora-none-2"}, {5, "/dev/kelvora-none-5"}, {9, "/dev/kelvora-none-9"}};
    s.link.FillProtocolSlots(IGN300, 115200, 175);
    s.tmr.set(1000);
    s.tick();
    s.tick();
    ASSERT_NE(s.link.SearchSlot(0).port, 0);
    s.link.selectedPort = 5;
    for (int i = 0; i < 20; ++i) s.tick();
    EXPECT_EQ(s.link.SearchSlot(0).port, 5);
    EXPECT_EQ(s.link.SearchSlot(1).port, 0);
    EXPECT_EQ(s.link.SearchSlot(2).port, 0);
}

TEST(SearchChoice, OfflineClosesEverySlot)
{
    SteppedSearch s;
    s.ports = {{2, "/dev/kelvora-none-2"}, {9, "/dev/kelvora-none-9"}};
    s.link.FillProtocolSlots(IGN300, 115200, 175);
    s.tmr.set(1000);
    s.tick();
    s.tick();
    s.link.selectedPort = -1;
    s.tick();
    for (int slot = 0; slot < 3; ++slot) {
        EXPECT_EQ(s.link.SearchSlot(slot).port, 0);
        EXPECT_EQ(s.link.SearchSlot(slot).state, kSlotIdle);
    }
    for (int i = 0; i < 20; ++i) s.tick();
    EXPECT_EQ(s.link.SearchSlot(0).port, 0);
}

TEST(SearchChoice, ProtocolTableAfterFilling)
{
    SteppedSearch s;
    s.link.FillProtocolSlots(IGN300, 115200, 175);
    const ProtocolProbe expected[] = {
        {IGN300, 115200, 175}, {WCOM, 57600, 75},     {WCOMS, 57600, 125},
        {IGN300, 115200, 175}, {IGN50, 57600, 125},   {IGN300, 115200, 175},
        {IGN100, 57600, 175},  {IGN300, 115200, 175}, {IGN150, 57600, 175},
        {IGN300, 115200, 175}, {WCOM, 115200, 75},    {WCOMS, 115200, 325},
        {IGN300, 115200, 175}, {IGN300, 115200, 175}, {0, 0, 0},
    };
    for (int row = 0; row <= kProtocolRows; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(s.link.ProtocolRow(row).protocol, expected[row].protocol);
        EXPECT_EQ(s.link.ProtocolRow(row).baud, expected[row].baud);
        EXPECT_EQ(s.link.ProtocolRow(row).timeout, expected[row].timeout);
    }
}
