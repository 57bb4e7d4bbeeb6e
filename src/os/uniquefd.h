#pragma once
// Owner of a POSIX file descriptor: closes it when it goes.
#include <unistd.h>

#include <utility>

namespace os {

class UniqueFd final
{
public:
    explicit UniqueFd(int fd = -1) noexcept : m_fd(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept
    {
        reset(std::exchange(other.m_fd, -1));
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { reset(); }
    void reset(int fd = -1) noexcept
    {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = fd;
    }
    // Gives the descriptor up without closing it (to close it oneself and see the result).
    [[nodiscard]] int release() noexcept { return std::exchange(m_fd, -1); }
    [[nodiscard]] int get() const noexcept { return m_fd; }
    [[nodiscard]] bool isOpen() const noexcept { return m_fd >= 0; }

private:
    int m_fd;
};

}  // namespace os
