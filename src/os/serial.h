#pragma once
// A serial port over POSIX termios: raw 8N1 at one baud rate, exclusive, non-blocking, with poll() waits.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>

#include "os/uniquefd.h"

namespace os {

struct SerialResult
{
    bool ok = false;
    std::string error;  // names the device, the action and the cause; empty when ok
};

// The termios speed constant of a baud rate, or 0 when the rate is not one termios knows.
[[nodiscard]] unsigned baudToSpeed(int baud) noexcept;

class SerialPort final
{
public:
    SerialPort() = default;
    SerialPort(SerialPort&&) = default;
    SerialPort& operator=(SerialPort&&) = default;

    // Opens the device raw 8N1 at baud, for this program alone. Closes a port opened before.
    [[nodiscard]] SerialResult open(const std::string& device, int baud);
    // Throws away what waits in both directions, then closes; failures are ignored.
    void close() noexcept;
    [[nodiscard]] bool isOpen() const noexcept { return m_fd.isOpen(); }
    [[nodiscard]] int fd() const noexcept { return m_fd.get(); }

    // Bytes the driver holds for reading; 0 on error.
    [[nodiscard]] std::size_t bytesWaiting() const noexcept;
    // Reads what is there, without waiting; returns the bytes read (0 on nothing or error).
    [[nodiscard]] std::size_t read(std::span<std::uint8_t> into) noexcept;
    // Writes all bytes, waiting for room at most timeoutMs in all; returns the bytes written.
    [[nodiscard]] std::size_t write(std::span<const std::uint8_t> bytes, int timeoutMs) noexcept;
    // True when the device reported a hang-up or error (a USB adapter pulled, a pty master closed).
    [[nodiscard]] bool hasFailed() const noexcept { return m_failed; }

private:
    UniqueFd m_fd;
    bool m_failed = false;
};

}  // namespace os
