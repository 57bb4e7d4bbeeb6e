// What a user waits on over the link: reading the whole image at 115200 baud from the simulated unit (running as
// its own process, like a real unit), against the wire time of the bytes that cross the line; and the CPU the
// program's link threads use while a unit is connected and idle.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

#include "link/comcom.h"
#include "unitprocess.h"

namespace {
using Clock = std::chrono::steady_clock;

class Program
{
public:
    explicit Program(const std::string& path) : m_start(Clock::now())
    {
        m_tmr.set(5000);
        m_link = std::make_unique<CCOMCOM>(m_tmr, [path] { return os::ComPortMap{{200, path}}; });
        m_link->FillProtocolSlots(IGN300, 115200, 175);
    }
    // The main timer: ticks at `periodMs` until done() or the time-out.
    bool tickUntil(const std::function<bool()>& done, int periodMs, int timeoutMs)
    {
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (Clock::now() < deadline) {
            m_tmr.set(5000 +
                      static_cast<std::uint32_t>(
                          std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - m_start).count()));
            m_link->Tick();
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(periodMs));
        }
        return false;
    }
    CCOMCOM& link() { return *m_link; }

private:
    os::LinkClock m_tmr;
    std::unique_ptr<CCOMCOM> m_link;
    Clock::time_point m_start;
};

double cpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// One transfer job over the whole image, timed from StartJob to its result, against its wire time.
void runImageJob(benchmark::State& state, int code, int flags)
{
    UnitProcess unit;
    Program program(unit.path());
    if (!program.tickUntil([&] { return program.link().LinkState() == kLinkReady; }, 5, 10000)) {
        state.SkipWithError("no connection to the simulated unit");
        return;
    }
    for (int a = 0; a < 5100; ++a)
        program.link().sendData[static_cast<std::size_t>(a)] = static_cast<std::uint8_t>(a * 13);
    // 17 requests and 17 answers of 302 bytes, 10 bits a byte.
    const double wireSeconds = 17.0 * 2 * 302 * 10 / 115200;
    double total = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        program.link().StartJob(code, 0, 5100, flags);
        const bool ended = program.tickUntil(
            [&] { return program.link().JobField() == kJobDone || program.link().JobField() == kJobFailed; }, 1, 10000);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (!ended || program.link().JobField() != kJobDone) {
            state.SkipWithError("the job failed");
            return;
        }
        program.link().TakeJobResult();
        state.SetIterationTime(seconds);
        total += seconds;
    }
    state.counters["wire_ms"] = wireSeconds * 1000;
    state.counters["ratio_to_wire"] = total / static_cast<double>(state.iterations()) / wireSeconds;
}

void BM_ReadImage115200(benchmark::State& state)
{
    runImageJob(state, kJobRead, kJobMarkAll | kJobClearData);
}
BENCHMARK(BM_ReadImage115200)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ProgramImage115200(benchmark::State& state)
{
    runImageJob(state, kJobProgram, kJobMarkAll);
}
BENCHMARK(BM_ProgramImage115200)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_IdleCpuConnected30s(benchmark::State& state)
{
    UnitProcess unit;
    Program program(unit.path());
    if (!program.tickUntil([&] { return program.link().LinkState() == kLinkReady; }, 5, 10000)) {
        state.SkipWithError("no connection to the simulated unit");
        return;
    }
    for (auto _ : state) {
        const double cpuBefore = cpuSeconds();
        const auto start = Clock::now();
        // The main timer's 55 ms ticks go on; no job runs.
        program.tickUntil([] { return false; }, 55, 30000);
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        const double cpu = cpuSeconds() - cpuBefore;
        state.SetIterationTime(wall);
        state.counters["cpu_percent_of_core"] = 100.0 * cpu / wall;
    }
}
BENCHMARK(BM_IdleCpuConnected30s)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);
}  // namespace
