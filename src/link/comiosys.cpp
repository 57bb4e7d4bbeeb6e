#include "link/comiosys.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "link/frames.h"

namespace {
// The longest the port thread lets an answer gather before it takes what has come.
constexpr int kMaxHoldMs = 20;
}  // namespace

CCOMIOSYS::CCOMIOSYS(os::LinkClock& tmr, PortLister lister, LinkThreads threads)
    : m_tmr(tmr), m_lineWake(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)), m_lister(std::move(lister)), m_threads(threads)
{
    if (!m_lister) m_lister = [] { return os::listComPorts(); };
    for (int i = 0; i < kPortCount; ++i) {
        auto com = std::make_unique<CCOM>();
        com->index = i;
        com->deviceName = "COM" + std::to_string(i);
        m_ports[static_cast<std::size_t>(i)] = std::move(com);
    }
}

CCOMIOSYS::~CCOMIOSYS()
{
    CloseAll();
    m_quit.store(true, std::memory_order_release);
    // Every port thread is joined before the records go: a thread may be inside a write or a wait.
    for (int i = 0; i < kPortCount; ++i) {
        WakePort(i);
        CCOM& com = Port(i);
        if (com.thread.joinable()) com.thread.join();
    }
}

bool CCOMIOSYS::IsPortOpen(int port) const
{
    return port > 0 && port < kPortCount && Port(port).state.load(std::memory_order_acquire) == kPortOpen;
}

bool CCOMIOSYS::IsPortClosed(int port) const
{
    return port <= 0 || port >= kPortCount || Port(port).state.load(std::memory_order_acquire) == kPortClosed;
}

void CCOMIOSYS::WakePort(int port)
{
    if (port < 0 || port >= kPortCount) return;
    const int fd = m_wake[static_cast<std::size_t>(port)].get();
    if (fd >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(fd, &one, sizeof one);
    }
}

void CCOMIOSYS::lineMoved()
{
    if (m_lineWake.isOpen()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(m_lineWake.get(), &one, sizeof one);
    }
}

void CCOMIOSYS::RequestOpen(int port, int baud)
{
    if (port < 0 || port >= kPortCount) return;
    CCOM& com = Port(port);
    com.error.store(kPortErrorNone, std::memory_order_relaxed);
    com.baud.store(baud, std::memory_order_relaxed);
    if (com.state.load(std::memory_order_acquire) == kPortClosed && com.request == 0)
        com.request = 1;
    else
        com.request = 3;
}

void CCOMIOSYS::RequestClose(int port)
{
    if (port < 0 || port >= kPortCount) return;
    CCOM& com = Port(port);
    if (com.state.load(std::memory_order_acquire) != kPortClosed || com.request != 0) {
        com.error.store(kPortErrorNone, std::memory_order_relaxed);
        com.request = 2;
    }
}

void CCOMIOSYS::CloseAll()
{
    for (int i = 0; i < kPortCount; ++i) RequestClose(i);
}

bool CCOMIOSYS::EnumeratePorts()
{
    bool changed = false;
    const std::optional<os::ComPortMap> list = m_lister();
    if (!list) {
        for (int i = 0; i < 30; ++i) {
            if (Port(i).presence == 0) changed = true;
            Port(i).presence = 1;
        }
        return changed;
    }
    for (int i = 0; i < kPortCount; ++i) {
        const auto it = list->find(i);
        const int present = (i != 0 && it != list->end()) ? 1 : 0;
        CCOM& com = Port(i);
        if (present != com.presence) changed = true;
        com.presence = present;
        // The path is read by the port thread only while it opens, and a new open is commanded only here.
        if (present && com.command.load(std::memory_order_acquire) == 0 &&
            com.state.load(std::memory_order_acquire) == kPortClosed)
            com.devicePath = it->second;
    }
    return changed;
}

bool CCOMIOSYS::startThread(CCOM& com)
{
    auto& wake = m_wake[static_cast<std::size_t>(com.index)];
    if (!wake.isOpen()) wake.reset(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
    if (isStepped()) return true;
    try {
        com.thread = std::thread([this, &com] { portThreadMain(com); });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void CCOMIOSYS::ManagePorts()
{
    const std::uint32_t now = m_tmr.now();
    if (os::LinkClock::elapsed(now, m_lastEnumeration) > 1000) {
        m_lastEnumeration = now;
        if (EnumeratePorts()) portTableChanged = 1;
        portListSeen = 1;
    }
    for (int i = 0; i < kPortCount; ++i) {
        CCOM& com = Port(i);
        if (com.runState.load(std::memory_order_acquire) == 2) {
            if (com.thread.joinable()) com.thread.join();
            com.runState.store(0, std::memory_order_release);
        }
        if (com.request == 0) continue;
        // The command before the state: a port thread states that it is opening before it takes an open command,
        // so a taken command is never mistaken for a port that stays closed.
        const std::uint8_t command = com.command.load(std::memory_order_acquire);
        const std::uint8_t state = com.state.load(std::memory_order_acquire);
        if (com.request & 2) {
            if (state == kPortClosed) {
                if (command == 0) {
                    com.request &= ~2;  // closed, and nothing waits for the port thread
                } else if (com.runState.load(std::memory_order_acquire) == 0) {
                    com.command.store(0, std::memory_order_release);  // no thread is left to take it
                    com.request &= ~2;
                } else if (command == 1) {
                    // An open not yet begun becomes a close: the thread then ends without opening.
                    std::uint8_t pendingOpen = 1;
                    com.command.compare_exchange_strong(pendingOpen, 2, std::memory_order_acq_rel);
                    WakePort(i);
                }
            } else if (state != kPortClosing) {
                com.commandTime = now;
                com.command.store(2, std::memory_order_release);
                WakePort(i);
            }
            continue;
        }
        const std::uint8_t error = com.error.load(std::memory_order_acquire);
        if (error == kPortErrorOpen) {
            com.request = 0;
        } else if (state == kPortOpen) {
            com.request = 0;
        } else if (state == kPortOpening || command == 1) {
            if (os::LinkClock::elapsed(now, com.commandTime) > 5000) {
                com.error.store(kPortErrorTimeout, std::memory_order_relaxed);
                com.command.store(2, std::memory_order_release);
                com.request = 2;
                WakePort(i);
            }
        } else {
            // Every open gets a thread of its own. A thread still registered here has ended, or is ending (a port
            // thread ends once its port is closed, a close of a port it never opened included): it is reaped on a
            // later call, and the new one started then.
            const std::uint8_t run = com.runState.load(std::memory_order_acquire);
            if (run != 0) continue;
            char mode[24];
            std::snprintf(mode, sizeof mode, "%i,N,8,1", com.baud.load(std::memory_order_relaxed));
            com.modeText = mode;
            com.commandTime = now;
            com.error.store(kPortErrorNone, std::memory_order_relaxed);
            com.runState.store(1, std::memory_order_release);
            com.command.store(1, std::memory_order_release);
            if (!startThread(com)) {
                com.runState.store(0, std::memory_order_release);
                com.command.store(0, std::memory_order_release);
                com.error.store(kPortErrorThread, std::memory_order_relaxed);
                com.request = 0;
                continue;
            }
            WakePort(i);
        }
    }
}

void CCOMIOSYS::closeNow(CCOM& com)
{
    com.ring.discardUnread();
    com.state.store(kPortClosing, std::memory_order_release);
    com.file.close();
    com.state.store(kPortClosed, std::memory_order_release);
}

bool CCOMIOSYS::PortTurn(CCOM& com, int waitMs)
{
    const std::uint8_t state = com.state.load(std::memory_order_relaxed);
    const int wakeFd = m_wake[static_cast<std::size_t>(com.index)].get();
    pollfd fds[2]{{wakeFd, POLLIN, 0}, {-1, POLLIN, 0}};
    const bool ringHasRoom = com.ring.unread() < kRingSize - 1;
    if (state == kPortOpen && ringHasRoom) fds[1].fd = com.file.fd();
    if (com.tx.count.load(std::memory_order_acquire) != 0 ||
        (com.command.load(std::memory_order_acquire) != 0 && state != kPortOpening))
        waitMs = 0;
    // With a full ring the driver keeps the bytes; look again soon, once the receiver has made room.
    if (state == kPortOpen && !ringHasRoom && waitMs > 1) waitMs = 1;
    // The rest of an answer is on its way: let it gather (a piece to send, a command or the quit still wake).
    if (com.holdMs > 0 && waitMs > 0) {
        fds[1].fd = -1;
        waitMs = std::min(waitMs, com.holdMs);
    }
    com.holdMs = 0;
    ::poll(fds, 2, waitMs);
    if (fds[0].revents & POLLIN) {
        std::uint64_t drained = 0;
        [[maybe_unused]] const ssize_t n = ::read(wakeFd, &drained, sizeof drained);
    }
    if (com.runState.load(std::memory_order_acquire) != 1) return true;

    const std::uint8_t command = com.command.load(std::memory_order_acquire);
    if (state == kPortClosed && command != 0) {
        // Opening is stated before the command is taken, so the manager never takes a taken open for a closed
        // port; the manager may have turned the open into a close before the thread came to it.
        std::uint8_t expected = 1;
        if (command == 1) com.state.store(kPortOpening, std::memory_order_release);
        if (command != 1 || !com.command.compare_exchange_strong(expected, 0, std::memory_order_acq_rel)) {
            com.state.store(kPortClosed, std::memory_order_release);
            std::uint8_t close = 2;
            com.command.compare_exchange_strong(close, 0, std::memory_order_acq_rel);
            return false;
        }
        const os::SerialResult opened = com.file.open(com.devicePath, com.baud.load(std::memory_order_relaxed));
        if (!opened.ok) {
            com.lastError = opened.error;
            com.state.store(kPortClosed, std::memory_order_release);
            com.error.store(kPortErrorOpen, std::memory_order_release);
            return false;
        }
        // Stale bytes of an earlier session are forgotten before anyone can see the port open.
        com.ring.discardUnread();
        com.state.store(kPortOpen, std::memory_order_release);
        return true;
    }
    if (state == kPortOpen && command == 2) {
        closeNow(com);
        std::uint8_t expected = 2;
        com.command.compare_exchange_strong(expected, 0, std::memory_order_acq_rel);
        return false;
    }
    if (state != kPortOpen) return true;
    if (const int count = com.tx.count.load(std::memory_order_acquire); count != 0) {
        [[maybe_unused]] const std::size_t written =
            com.file.write(std::span<const std::uint8_t>(com.tx.bytes.data(), static_cast<std::size_t>(count)), 100);
        com.tx.count.store(0, std::memory_order_release);
        lineMoved();
    }
    const std::size_t waiting = com.file.bytesWaiting();
    if (waiting > 0) {
        const std::size_t taken = com.ring.fill(waiting, [&](std::span<std::uint8_t> into) {
            com.receiving.store(true);
            return com.file.read(into);
        });
        com.receiving.store(false);
        if (taken > 0) {
            lineMoved();
            const int missing = com.lineWanted.load(std::memory_order_relaxed) - com.ring.unread();
            if (missing > 0)
                com.holdMs = std::clamp(WireTimeMs(missing, com.baud.load(std::memory_order_relaxed)), 1, kMaxHoldMs);
        }
    }
    // A port that went away (adapter pulled, other end of a pty closed) is closed rather than polled in a spin,
    // and says so: the link treats it as a lost unit.
    if (com.file.hasFailed() || (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL))) {
        closeNow(com);
        com.error.store(kPortErrorLost, std::memory_order_release);
        return false;
    }
    return true;
}

void CCOMIOSYS::portThreadMain(CCOM& com)
{
    try {
        while (!m_quit.load(std::memory_order_acquire)) {
            // Waits end early on data, a piece to send, a command or the quit, so a long period costs no
            // latency and an idle port costs almost no CPU.
            if (!PortTurn(com, 1000)) break;
        }
    } catch (...) {
        // A failure inside the thread ends it like a failed port; the manager sees the port closed.
        com.file.close();
        com.state.store(kPortClosed, std::memory_order_release);
    }
    com.runState.store(2, std::memory_order_release);
}

void CCOMIOSYS::StepPorts()
{
    for (int i = 0; i < kPortCount; ++i) {
        CCOM& com = Port(i);
        if (com.runState.load(std::memory_order_acquire) == 1 && !PortTurn(com, 0))
            com.runState.store(2, std::memory_order_release);
    }
}
