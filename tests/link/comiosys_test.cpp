// The port manager and the port thread body, stepped by hand: no threads, the link clock moved by the test.
#include "link/comiosys.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace {
struct RawPty
{
    os::UniqueFd master{::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK)};
    os::UniqueFd slave;
    std::string path;
    RawPty()
    {
        EXPECT_EQ(::grantpt(master.get()), 0);
        EXPECT_EQ(::unlockpt(master.get()), 0);
        path = ::ptsname(master.get());
        slave.reset(::open(path.c_str(), O_RDWR | O_NOCTTY));  // keeps the line alive between opens
    }
    int baud() const
    {
        termios tio{};
        ::tcgetattr(master.get(), &tio);
        return ::cfgetospeed(&tio) == B57600 ? 57600 : ::cfgetospeed(&tio) == B115200 ? 115200 : 0;
    }
};

struct SteppedPorts
{
    os::LinkClock tmr;
    os::ComPortMap ports;
    CCOMIOSYS set{tmr, [this] { return std::optional<os::ComPortMap>(ports); }, LinkThreads::Stepped};

    // The manager's tick and the port threads' turns, a few times, the clock moving 50 a tick.
    void run(int ticks)
    {
        for (int i = 0; i < ticks; ++i) {
            tmr.advance(50);
            set.ManagePorts();
            set.StepPorts();
        }
    }
};
}  // namespace

TEST(PortSet, FirstEnumerationAfter1000AndChangesReported)
{
    SteppedPorts s;
    s.ports = {{3, "/dev/null"}, {200, "/tmp/x"}};
    s.tmr.set(1000);
    s.set.ManagePorts();
    EXPECT_EQ(s.set.portListSeen, 0);
    s.tmr.set(1001);
    s.set.ManagePorts();
    EXPECT_EQ(s.set.portListSeen, 1);
    EXPECT_EQ(s.set.portTableChanged, 1);
    EXPECT_EQ(s.set.Port(3).presence, 1);
    EXPECT_EQ(s.set.Port(200).presence, 1);
    EXPECT_EQ(s.set.Port(4).presence, 0);
    s.set.portTableChanged = 0;
    s.tmr.set(2002);
    s.set.ManagePorts();
    EXPECT_EQ(s.set.portTableChanged, 0);  // nothing changed
}

TEST(PortSet, UnreadableListOffersTheFirst30Ports)
{
    os::LinkClock tmr;
    CCOMIOSYS set(
        tmr, [] { return std::optional<os::ComPortMap>(); }, LinkThreads::Stepped);
    tmr.set(1001);
    set.ManagePorts();
    EXPECT_EQ(set.portTableChanged, 1);
    EXPECT_EQ(set.Port(29).presence, 1);
    EXPECT_EQ(set.Port(30).presence, 0);
}

TEST(PortSet, FailedOpenGivesErrorOneAndIsDropped)
{
    SteppedPorts s;
    s.ports = {{5, "/dev/kelvora-no-such-port"}};
    s.run(25);
    s.set.RequestOpen(5, 57600);
    s.run(4);
    const CCOM& com = s.set.Port(5);
    EXPECT_EQ(com.error.load(), kPortErrorOpen);
    EXPECT_EQ(com.request, 0);
    EXPECT_EQ(com.runState.load(), 0);  // ended and reaped
    EXPECT_EQ(com.state.load(), kPortClosed);
    EXPECT_NE(com.lastError.find("/dev/kelvora-no-such-port"), std::string::npos);
}

TEST(PortSet, OpeningThatNeverFinishesTimesOut)
{
    SteppedPorts s;
    s.ports = {{5, "/dev/null"}};
    s.run(25);
    s.set.RequestOpen(5, 57600);
    s.set.ManagePorts();
    const std::uint32_t commanded = s.tmr.now();
    while (s.set.Port(5).error.load() == kPortErrorNone && s.tmr.now() - commanded < 6000) {
        s.tmr.advance(50);  // the port thread never gets a turn
        s.set.ManagePorts();
    }
    EXPECT_EQ(s.tmr.now() - commanded, 5050u);
    EXPECT_EQ(s.set.Port(5).error.load(), kPortErrorTimeout);
    EXPECT_EQ(s.set.Port(5).request, 2);
    EXPECT_EQ(s.set.Port(5).command.load(), 2);
}

TEST(PortSet, ReopenAtAnotherBaudRateAndBytesBothWays)
{
    RawPty pty;
    SteppedPorts s;
    s.ports = {{7, pty.path}};
    s.run(25);
    s.set.RequestOpen(7, 57600);
    s.run(3);
    ASSERT_TRUE(s.set.IsPortOpen(7));
    EXPECT_EQ(pty.baud(), 57600);
    EXPECT_EQ(s.set.Port(7).modeText, "57600,N,8,1");

    s.set.RequestOpen(7, 115200);
    EXPECT_EQ(s.set.Port(7).request, 3);
    s.run(6);
    ASSERT_TRUE(s.set.IsPortOpen(7));
    EXPECT_EQ(pty.baud(), 115200);
    EXPECT_EQ(s.set.Port(7).request, 0);

    CCOM& com = s.set.Port(7);
    const std::uint8_t out[] = {0x30, 0x0D, 0x11, 0x13};
    ASSERT_TRUE(com.tx.put(out));
    s.set.StepPorts();
    EXPECT_EQ(com.tx.count.load(), 0);
    std::uint8_t got[8] = {};
    pollfd p{pty.master.get(), POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 2000), 1);
    EXPECT_EQ(::read(pty.master.get(), got, sizeof got), 4);
    EXPECT_EQ(got[1], 0x0D);

    const std::uint8_t in[] = {0xB0, 0x01, 0x35};
    ASSERT_EQ(::write(pty.master.get(), in, sizeof in), 3);
    for (int i = 0; i < 200 && com.ring.unread() < 3; ++i) {
        pollfd q{pty.slave.get(), POLLIN, 0};
        ::poll(&q, 1, 10);
        s.set.StepPorts();
    }
    std::uint8_t b = 0;
    ASSERT_TRUE(com.ring.pop(b));
    EXPECT_EQ(b, 0xB0);

    s.set.CloseAll();
    s.run(3);
    EXPECT_TRUE(s.set.IsPortClosed(7));
    EXPECT_EQ(com.runState.load(), 0);
}

TEST(PortSet, CloseAllWithNothingOpenChangesNothing)
{
    SteppedPorts s;
    s.set.CloseAll();
    for (int i = 0; i < kPortCount; ++i) {
        ASSERT_EQ(s.set.Port(i).request, 0);
        ASSERT_EQ(s.set.Port(i).command.load(), 0);
    }
}
