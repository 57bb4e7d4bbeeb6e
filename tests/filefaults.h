#pragma once
// Disks that fill up and folders that refuse writes, for the writers of logs and recordings. Both work when the
// tests run as root (as CI does), which ignores file permissions and has no small disk at hand.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

namespace filefaults {

// A fresh folder under /tmp, removed at the end.
class TempFolder final
{
public:
    TempFolder()
    {
        char pattern[] = "/tmp/kelvora_files_XXXXXX";
        path = ::mkdtemp(pattern);
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::permissions(path, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(path, ec);
    }
    std::filesystem::path path;
};

// Runs `body` while no file may grow past `bytes`: a write beyond fails with EFBIG, as on a full disk.
template <class Body>
auto WithFileSizeLimit(rlim_t bytes, Body body)
{
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &small);
    struct Restore
    {
        rlimit limit;
        decltype(oldHandler) handler;
        ~Restore()
        {
            setrlimit(RLIMIT_FSIZE, &limit);
            std::signal(SIGXFSZ, handler);
        }
    } restore{saved, oldHandler};
    return body();
}

// Runs `body` in a child process that may not write into `folder` (made read-only; root gives up its rights in
// the child, since root writes anywhere). True when the body returned true.
inline bool InReadOnlyFolder(const std::filesystem::path& folder, const std::function<bool()>& body)
{
    ::chmod(folder.c_str(), 0555);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ::chmod(folder.c_str(), 0755);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace filefaults
