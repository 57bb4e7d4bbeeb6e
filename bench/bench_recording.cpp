// What each live frame costs the main thread while logging: one CSV line (formatted and written) and one frame
// appended to a running live recording (written through to its file). The counter max_us is the longest single
// append seen, which is what could hold the main timer up.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <vector>

#include "link/csvlog.h"
#include "link/liverecording.h"

namespace {

std::filesystem::path TempFolder()
{
    char pattern[] = "/tmp/kelvora_bench_XXXXXX";
    return ::mkdtemp(pattern);
}

LiveBlock SampleBlock()
{
    LiveBlock block;
    const auto bytes = block.MutableBytes();
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 37 + 11);
    return block;
}

// Times one call and keeps the longest.
template <class F>
void Timed(double& maxUs, F call)
{
    const auto start = std::chrono::steady_clock::now();
    call();
    const double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    maxUs = std::max(maxUs, us);
}

void BM_AppendCsvLine(benchmark::State& state)
{
    const std::filesystem::path folder = TempFolder();
    CsvLog log;
    if (!log.Open(folder / "ride.csv").ok) state.SkipWithError("cannot create the log");
    LiveBlock block = SampleBlock();
    std::int64_t ms = 1732626425000;
    double maxUs = 0;
    for (auto _ : state) {
        block.MutableBytes()[4] = static_cast<std::uint8_t>(ms);
        Timed(maxUs, [&] {
            if (!log.WriteLine(FormatCsvLine(block, {.unitHeaderKey = 309, .model = 11}, ms += 385)).ok)
                state.SkipWithError("write failed");
        });
    }
    state.counters["max_us"] = maxUs;
    (void)log.Close();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_AppendCsvLine)->Unit(benchmark::kMicrosecond);

void BM_AppendRecordingFrame(benchmark::State& state)
{
    const std::filesystem::path folder = TempFolder();
    std::int64_t now = 0;
    LiveRecording recording([&now] { return now; });
    const LiveBlock block = SampleBlock();
    const std::vector<std::uint8_t> image(RS_LEN_EXE, 0x5A);
    auto start = [&] {
        if (!recording.Start(folder / "ride.ignlog", LogHeaderInfo{}).ok) state.SkipWithError("cannot create");
        (void)recording.Log(kLogSettingsImage, image);
        recording.EndStartRecords();
    };
    start();
    double maxUs = 0;
    for (auto _ : state) {
        now += 385;
        Timed(maxUs, [&] {
            if (!recording.Log(kLogLiveFrame, block.Bytes().first(kLogFrameBytes)).empty())
                state.SkipWithError("append failed");
        });
        // A recording holds 6000 records; the next one starts outside the timing.
        if (recording.RecordCount() == kLogMaxRecords) {
            state.PauseTiming();
            (void)recording.Stop();
            start();
            state.ResumeTiming();
        }
    }
    state.counters["max_us"] = maxUs;
    (void)recording.Stop();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_AppendRecordingFrame)->Unit(benchmark::kMicrosecond);

// Stop on a recording of 6000 records: the final form written beside the running one, synced and renamed over
// it. A user's action, once per ride, not a per-frame cost.
void BM_StopFullRecording(benchmark::State& state)
{
    const std::filesystem::path folder = TempFolder();
    std::int64_t now = 0;
    LiveRecording recording([&now] { return now; });
    const LiveBlock block = SampleBlock();
    for (auto _ : state) {
        state.PauseTiming();
        if (!recording.Start(folder / "ride.ignlog", LogHeaderInfo{}).ok) state.SkipWithError("cannot create");
        while (recording.RecordCount() < kLogMaxRecords) (void)recording.Log(kLogLiveFrame, block.Bytes().first(300));
        state.ResumeTiming();
        if (!recording.Stop().empty()) state.SkipWithError("stop failed");
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_StopFullRecording)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
