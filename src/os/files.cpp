#include "os/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>

namespace os {
namespace {

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

namespace {

// pwrite until every byte is written; false with errno set on failure.
bool writeAllAt(int fd, std::uint64_t offset, std::span<const std::uint8_t> bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

FileResult OutputFile::create(const std::filesystem::path& path)
{
    m_fd.reset();
    m_path = path;
    m_size = 0;
    m_fd.reset(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!m_fd.isOpen()) return {false, fileErrorText("Cannot create", path, errno)};
    return {true, {}};
}

FileResult OutputFile::failed(std::string_view action, int errnoValue)
{
    return {false, fileErrorText(action, m_path, errnoValue)};
}

FileResult OutputFile::append(std::span<const std::uint8_t> bytes)
{
    if (!m_fd.isOpen()) return failed("Cannot write", EBADF);
    if (!writeAllAt(m_fd.get(), m_size, bytes)) {
        const int err = errno;
        // A device file such as /dev/full cannot be cut; what matters is that a regular file ends whole.
        (void)::ftruncate(m_fd.get(), static_cast<off_t>(m_size));
        return failed("Cannot write", err);
    }
    m_size += bytes.size();
    return {true, {}};
}

FileResult OutputFile::append(std::string_view bytes)
{
    return append(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

FileResult OutputFile::writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes)
{
    if (!m_fd.isOpen()) return failed("Cannot write", EBADF);
    if (!writeAllAt(m_fd.get(), offset, bytes)) return failed("Cannot write", errno);
    m_size = std::max(m_size, offset + bytes.size());
    return {true, {}};
}

FileResult OutputFile::sync()
{
    if (!m_fd.isOpen()) return failed("Cannot write", EBADF);
    // Devices and pipes cannot be synced and need not be.
    if (::fsync(m_fd.get()) != 0 && errno != EINVAL && errno != EROFS) return failed("Cannot write", errno);
    return {true, {}};
}

FileResult OutputFile::close()
{
    if (!m_fd.isOpen()) return {true, {}};
    if (::close(m_fd.release()) != 0) return failed("Cannot close", errno);
    return {true, {}};
}

}  // namespace os
