// The port set under stress, with its real threads: ports opened, closed at once or later, and hung up (the other
// end of the line closed) in a loop while a receiver takes bytes from the ring. Every close must be carried out,
// and the receiver must never see a byte of a session before the one it was told about, nor a byte never
// written. Run under ThreadSanitizer it also shows the hand-overs free of data races.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "link/comiosys.h"

namespace {

constexpr int kCom = 200;

// Session s writes bytes of value 1 + s % 250 only, so a byte tells the session it came from; 0 is never written.
std::uint8_t tagOf(int session)
{
    return static_cast<std::uint8_t>(1 + session % 250);
}

// The other end of the line, behind a fixed name: a new line after a hang-up is found under the same name.
struct Line
{
    os::UniqueFd master;
    std::filesystem::path name;
    bool open()
    {
        master.reset(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK));
        if (!master.isOpen() || ::grantpt(master.get()) != 0 || ::unlockpt(master.get()) != 0) return false;
        const std::filesystem::path fresh = name.string() + ".new";
        std::error_code ec;
        std::filesystem::remove(fresh, ec);
        std::filesystem::create_symlink(::ptsname(master.get()), fresh, ec);
        if (!ec) std::filesystem::rename(fresh, name, ec);
        return !ec;
    }
    void write(std::uint8_t tag, int count) const
    {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count), tag);
        [[maybe_unused]] const ssize_t n = ::write(master.get(), bytes.data(), bytes.size());
    }
};

}  // namespace

TEST(PortStress, OpenCloseAndHangUpWhileTheReceiverReads)
{
    char folder[] = "/tmp/kelvora_portstress_XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    Line line;
    line.name = std::filesystem::path(folder) / "unit";
    ASSERT_TRUE(line.open());
    os::LinkClock tmr;
    const std::string path = line.name.string();
    CCOMIOSYS set(tmr, [path] { return std::optional<os::ComPortMap>(os::ComPortMap{{kCom, path}}); });
    CCOM& com = set.Port(kCom);

    std::atomic<int> current{0};
    std::atomic<bool> stop{false};
    std::atomic<int> stale{0}, neverWritten{0}, received{0};
    std::thread receiver([&] {
        while (!stop.load(std::memory_order_acquire)) {
            const int session = current.load(std::memory_order_acquire);
            std::uint8_t b = 0;
            if (!com.ring.pop(b)) {
                // A short nap rather than a spin, so the test leaves the machine to the tests beside it.
                std::this_thread::sleep_for(std::chrono::microseconds(20));
                continue;
            }
            received.fetch_add(1, std::memory_order_relaxed);
            if (b == 0) {
                neverWritten.fetch_add(1, std::memory_order_relaxed);
                continue;
            }
            // Sessions only move on: a byte of a session before the one read above was not forgotten.
            const int ahead = (b - tagOf(session) + 250) % 250;
            if (ahead > 100) stale.fetch_add(1, std::memory_order_relaxed);
        }
    });

    // Runs the manager until done() or a generous limit of real time. The link clock stands just past the first
    // enumeration: the manager's time-out for an open that never finishes must not fall on a port thread that a
    // loaded machine holds up.
    tmr.set(1001);
    const auto manageUntil = [&](const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            set.ManagePorts();
            if (done()) return true;
            std::this_thread::yield();
        }
        return false;
    };
    const auto closed = [&] { return com.request == 0 && set.IsPortClosed(kCom); };
    const auto portText = [&] {
        return "error " + std::to_string(com.error.load()) + ", state " + std::to_string(com.state.load()) +
               ", command " + std::to_string(com.command.load()) + ", run " + std::to_string(com.runState.load()) +
               ", request " + std::to_string(com.request) + " " + com.lastError;
    };
    // Bytes of the session on the line, until the receiver has taken some of them.
    const auto useLine = [&](int session) {
        const int before = received.load();
        line.write(tagOf(session), 200);
        EXPECT_TRUE(manageUntil([&] { return received.load() > before; })) << portText();
    };

    ASSERT_TRUE(manageUntil([&] { return com.devicePath == path; }));
    const auto start = std::chrono::steady_clock::now();
    int cycles = 0;
    for (int session = 1; session <= 1200 && std::chrono::steady_clock::now() - start < std::chrono::seconds(10);
         ++session, ++cycles) {
        SCOPED_TRACE(session);
        current.store(session, std::memory_order_release);
        set.RequestOpen(kCom, 115200);
        switch (session % 3) {
            case 0:  // opened, used, closed
                ASSERT_TRUE(manageUntil([&] { return set.IsPortOpen(kCom); })) << portText();
                useLine(session);
                set.RequestClose(kCom);
                break;
            case 1:  // the close follows the open at once, while the port thread is taking it
                set.ManagePorts();
                set.RequestClose(kCom);
                break;
            case 2:  // opened, used, then the other end goes away
                ASSERT_TRUE(manageUntil([&] { return set.IsPortOpen(kCom); })) << portText();
                useLine(session);
                line.master.reset();
                ASSERT_TRUE(manageUntil([&] { return set.IsPortClosed(kCom) && com.runState.load() == 0; }))
                    << "a hung-up port is closed by its thread";
                EXPECT_EQ(com.error.load(), kPortErrorLost);
                ASSERT_TRUE(line.open());
                break;
        }
        ASSERT_TRUE(manageUntil(closed)) << "a close was lost: " << portText();
    }
    stop.store(true, std::memory_order_release);
    receiver.join();
    std::filesystem::remove_all(folder);
    EXPECT_GE(cycles, 30);
    EXPECT_GT(received.load(), 0);
    EXPECT_EQ(stale.load(), 0);
    EXPECT_EQ(neverWritten.load(), 0);
}
