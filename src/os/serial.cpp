#include "os/serial.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace os {

unsigned baudToSpeed(int baud) noexcept
{
    struct Row
    {
        int baud;
        speed_t speed;
    };
    static constexpr Row kRows[] = {
        {1200, B1200},   {2400, B2400},   {4800, B4800},     {9600, B9600},     {19200, B19200},
        {38400, B38400}, {57600, B57600}, {115200, B115200}, {230400, B230400},
    };
    for (const Row& row : kRows)
        if (row.baud == baud) return row.speed;
    return 0;
}

namespace {
SerialResult failure(const std::string& device, const char* action, int err)
{
    return {false, std::string("Cannot ") + action + " " + device + ": " + std::strerror(err)};
}
}  // namespace

SerialResult SerialPort::open(const std::string& device, int baud)
{
    close();
    m_failed = false;
    const speed_t speed = baudToSpeed(baud);
    if (speed == 0)
        return {false, "Cannot open " + device + ": baud rate " + std::to_string(baud) + " is not supported"};
    UniqueFd fd(::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.isOpen()) return failure(device, "open", errno);
    // Root ignores TIOCEXCL, so flock() too, to keep a second program off the port.
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return failure(device, "lock", errno);
    if (::ioctl(fd.get(), TIOCEXCL) != 0) return failure(device, "claim", errno);
    termios tio{};
    if (::tcgetattr(fd.get(), &tio) != 0) return failure(device, "read the line settings of", errno);
    // Raw is a must: line editing and flow control would eat or change bytes such as 0x0D, 0x11 and 0x13.
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS | CSIZE);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    if (::tcsetattr(fd.get(), TCSANOW, &tio) != 0) return failure(device, "set the line of", errno);
    ::tcflush(fd.get(), TCIOFLUSH);
    m_fd = std::move(fd);
    return {true, {}};
}

void SerialPort::close() noexcept
{
    if (m_fd.isOpen()) {
        ::tcflush(m_fd.get(), TCIOFLUSH);
        m_fd.reset();
    }
}

std::size_t SerialPort::bytesWaiting() const noexcept
{
    int n = 0;
    if (!m_fd.isOpen() || ::ioctl(m_fd.get(), FIONREAD, &n) != 0 || n < 0) return 0;
    return static_cast<std::size_t>(n);
}

std::size_t SerialPort::read(std::span<std::uint8_t> into) noexcept
{
    if (!m_fd.isOpen() || into.empty()) return 0;
    const ssize_t n = ::read(m_fd.get(), into.data(), into.size());
    if (n < 0) {
        if (errno != EAGAIN && errno != EINTR) m_failed = true;
        return 0;
    }
    return static_cast<std::size_t>(n);
}

std::size_t SerialPort::write(std::span<const std::uint8_t> bytes, int timeoutMs) noexcept
{
    std::size_t done = 0;
    int waitedMs = 0;
    while (m_fd.isOpen() && done < bytes.size()) {
        const ssize_t n = ::write(m_fd.get(), bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) {
            m_failed = true;
            break;
        }
        if (waitedMs >= timeoutMs) break;
        pollfd p{m_fd.get(), POLLOUT, 0};
        const int step = timeoutMs - waitedMs < 10 ? timeoutMs - waitedMs : 10;
        ::poll(&p, 1, step);
        waitedMs += step;
    }
    return done;
}

}  // namespace os
