#include "os/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>

namespace os {
namespace {

class UniqueFd final {
public:
    explicit UniqueFd(int fd = -1) noexcept : m_fd(fd) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { reset(); }
    void reset(int fd = -1) noexcept
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }
    [[nodiscard]] int get() const noexcept { return m_fd; }
    int release() noexcept
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

std::filesystem::path temporaryBeside(const std::filesystem::path& path)
{
    static thread_local std::mt19937 rng{std::random_device{}()};
    std::filesystem::path tmp = path;
    tmp += ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(rng() % 1000000);
    return tmp;
}

}  // namespace

std::string fileErrorText(std::string_view action, const std::filesystem::path& path, int errnoValue)
{
    std::string text(action);
    text += ' ';
    text += path.string();
    text += ": ";
    text += std::strerror(errnoValue);
    return text;
}

FileResult atomicWriteFile(const std::filesystem::path& path, std::string_view bytes)
{
    const std::filesystem::path tmp = temporaryBeside(path);
    // Keep the permissions of the file being replaced; new files get the usual 0666 & ~umask.
    mode_t mode = 0666;
    struct stat st{};
    if (::stat(path.c_str(), &st) == 0)
        mode = st.st_mode & 07777;
    UniqueFd fd(::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
    if (fd.get() < 0)
        return {false, fileErrorText("Cannot write", path, errno)};
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            fd.reset();
            ::unlink(tmp.c_str());
            return {false, fileErrorText("Cannot write", path, err)};
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd.get()) != 0 || ::close(fd.release()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        return {false, fileErrorText("Cannot write", path, err)};
    }
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        return {false, fileErrorText("Cannot replace", path, err)};
    }
    return {true, {}};
}

std::optional<std::string> readWholeFile(const std::filesystem::path& path, std::size_t maxBytes, std::string* error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error)
            *error = fileErrorText("Cannot open", path, errno ? errno : ENOENT);
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    while (in) {
        in.read(buffer, sizeof buffer);
        const auto got = static_cast<std::size_t>(in.gcount());
        if (bytes.size() + got > maxBytes) {
            if (error)
                *error = fileErrorText("Cannot read", path, EFBIG);
            return std::nullopt;
        }
        bytes.append(buffer, got);
    }
    if (in.bad()) {
        if (error)
            *error = fileErrorText("Cannot read", path, EIO);
        return std::nullopt;
    }
    return bytes;
}

}  // namespace os
