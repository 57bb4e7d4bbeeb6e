#pragma once
// The simulated unit as its own process on a pseudo-terminal, like a real unit on its line, for the benchmarks.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

extern char** environ;

// The simulated unit as a child process on a pty; its line appears at a link path in /tmp.
class UnitProcess
{
public:
    UnitProcess()
    {
        m_link = "/tmp/kelvora-bench-unit-" + std::to_string(::getpid());
        int pipeFds[2];
        if (::pipe(pipeFds) != 0) throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        std::string program = UNITSIM_PATH;
        std::string protocolFlag = "--protocol", protocol = "IGN300", linkFlag = "--link";
        char* argv[] = {program.data(), protocolFlag.data(), protocol.data(), linkFlag.data(), m_link.data(), nullptr};
        if (::posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv, environ) != 0)
            throw std::runtime_error("cannot start " + program);
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeFds[1]);
        // The unit says where it listens once its line is ready.
        char c = 0;
        while (::read(pipeFds[0], &c, 1) == 1 && c != '\n') {
        }
        ::close(pipeFds[0]);
    }
    ~UnitProcess()
    {
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
    }
    [[nodiscard]] const std::string& path() const { return m_link; }

private:
    pid_t m_pid = 0;
    std::string m_link;
};
