// What a user waits on when reading or programming the unit: the whole device operation (request to "Verify:
// OK"), with the main timer ticking every 55 ms as in the program, against the wire time of the frames it needs
// at 115200 baud. The simulated unit runs as its own process, like a real unit.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

#include "link/devicestep.h"
#include "unitprocess.h"

namespace {
using Clock = std::chrono::steady_clock;

// The device step with its fields, ticked like the main timer: the tick counter and the link clock follow
// real time.
class Program
{
public:
    explicit Program(const std::string& path) : m_start(Clock::now())
    {
        m_tmr.set(5000);
        m_link = std::make_unique<CCOMCOM>(m_tmr, [path] { return os::ComPortMap{{200, path}}; });
        m_link->FillProtocolSlots(IGN300, 115200, 175);
        DeviceHooks hooks;
        hooks.showStatus = [this](int slot, const std::string& text, int, std::uint32_t, std::uint32_t, int) {
            if (slot != 2) return;
            lastResult = text;
            if (text == "###Verify: OK##Vergleichen: OK##Verifikace: OK") verified = true;
            if (text.find("error") != std::string::npos) failed = true;
        };
        m_ops = std::make_unique<DeviceOps>(DeviceContext{*m_link, images, requestCode, programAll, newInstal,
                                                          connectionState, releasedPort, testCommands, tickCounter},
                                            std::move(hooks));
    }
    bool tickUntil(const std::function<bool()>& done, int periodMs, int timeoutMs)
    {
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (Clock::now() < deadline) {
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - m_start).count();
            m_tmr.set(5000 + static_cast<std::uint32_t>(ms));
            tickCounter = 100 + static_cast<int>(ms / periodMs);
            m_ops->Step();
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(periodMs));
        }
        return false;
    }
    DeviceOps& ops() { return *m_ops; }

    ImageSet images;
    int requestCode = 0, programAll = 1, newInstal = 0, connectionState = 0, releasedPort = -1, tickCounter = 100;
    std::array<std::uint8_t, 4> testCommands{};
    std::string lastResult;
    bool verified = false;
    bool failed = false;

private:
    os::LinkClock m_tmr;
    std::unique_ptr<CCOMCOM> m_link;
    std::unique_ptr<DeviceOps> m_ops;
    Clock::time_point m_start;
};

constexpr int kTickMs = 55;

// One device operation from its request to "Verify: OK"; `exchanges` IGN300 frames of 302 bytes each way.
void runOperation(benchmark::State& state, int request, int exchanges)
{
    UnitProcess unit;
    Program program(unit.path());
    if (!program.tickUntil([&] { return program.lastResult.find("Checking: OK") != std::string::npos; }, kTickMs,
                           30000)) {
        state.SkipWithError("the simulated unit was not found and checked");
        return;
    }
    program.images.image = program.images.device;
    const double wireSeconds = static_cast<double>(exchanges) * 2 * 302 * 10 / 115200;
    double total = 0;
    for (auto _ : state) {
        program.verified = program.failed = false;
        const auto start = Clock::now();
        program.requestCode = request;
        const bool ended = program.tickUntil([&] { return program.verified || program.failed; }, kTickMs, 30000);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (!ended || program.failed) {
            state.SkipWithError("the operation failed");
            return;
        }
        state.SetIterationTime(seconds);
        total += seconds;
        // Let the unit finish storing before the next round.
        program.tickUntil([&] { return program.ops().SaveCounter() == 0; }, kTickMs, 30000);
    }
    state.counters["wire_ms"] = wireSeconds * 1000;
    state.counters["ratio_to_wire"] = total / static_cast<double>(state.iterations()) / wireSeconds;
}

// Read: the image twice, 17 blocks each.
void BM_DeviceRead115200(benchmark::State& state)
{
    runOperation(state, kRequestRead, 34);
}
BENCHMARK(BM_DeviceRead115200)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// Program: the header twice, 17 blocks sent, 17 read back.
void BM_DeviceProgram115200(benchmark::State& state)
{
    runOperation(state, kRequestProgram, 36);
}
BENCHMARK(BM_DeviceProgram115200)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
}  // namespace
