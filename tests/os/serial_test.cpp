// The serial port over a pseudo-terminal: raw bytes both ways, the baud rate visible on the other side, and
// one program at a time.
#include "os/serial.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <vector>

namespace {
struct Pty
{
    os::UniqueFd master{::posix_openpt(O_RDWR | O_NOCTTY)};
    std::string slave;
    Pty()
    {
        EXPECT_TRUE(master.isOpen());
        EXPECT_EQ(::grantpt(master.get()), 0);
        EXPECT_EQ(::unlockpt(master.get()), 0);
        slave = ::ptsname(master.get());
    }
};

std::vector<std::uint8_t> readFor(int fd, std::size_t want)
{
    std::vector<std::uint8_t> out;
    for (int i = 0; i < 200 && out.size() < want; ++i) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0) continue;
        std::uint8_t buf[256];
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n > 0) out.insert(out.end(), buf, buf + n);
    }
    return out;
}
}  // namespace

TEST(SerialPort, RawBytesBothWaysAndTheBaudRateShows)
{
    Pty pty;
    os::SerialPort port;
    const os::SerialResult opened = port.open(pty.slave, 57600);
    ASSERT_TRUE(opened.ok) << opened.error;
    termios tio{};
    ASSERT_EQ(::tcgetattr(pty.master.get(), &tio), 0);
    EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B57600));

    // Bytes a cooked line would change or swallow: CR, LF, XON, XOFF, DEL, ^C, ^D.
    const std::vector<std::uint8_t> awkward{0x0D, 0x0A, 0x11, 0x13, 0x7F, 0x03, 0x04, 0x00, 0xFF};
    EXPECT_EQ(port.write(awkward, 100), awkward.size());
    EXPECT_EQ(readFor(pty.master.get(), awkward.size()), awkward);

    ASSERT_EQ(::write(pty.master.get(), awkward.data(), awkward.size()), static_cast<ssize_t>(awkward.size()));
    std::vector<std::uint8_t> got;
    for (int i = 0; i < 200 && got.size() < awkward.size(); ++i) {
        pollfd p{port.fd(), POLLIN, 0};
        ::poll(&p, 1, 20);
        std::uint8_t buf[64];
        const std::size_t waiting = port.bytesWaiting();
        const std::size_t n = port.read(std::span<std::uint8_t>(buf, std::min<std::size_t>(waiting, sizeof buf)));
        got.insert(got.end(), buf, buf + n);
    }
    EXPECT_EQ(got, awkward);
}

TEST(SerialPort, SecondOpenIsRefusedAndErrorsNameTheDevice)
{
    Pty pty;
    os::SerialPort first, second;
    ASSERT_TRUE(first.open(pty.slave, 115200).ok);
    const os::SerialResult again = second.open(pty.slave, 115200);
    EXPECT_FALSE(again.ok);
    EXPECT_NE(again.error.find(pty.slave), std::string::npos);
    const os::SerialResult missing = second.open("/dev/kelvora-no-such-port", 115200);
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.error.find("/dev/kelvora-no-such-port"), std::string::npos);
    first.close();
    EXPECT_TRUE(second.open(pty.slave, 115200).ok);
}
