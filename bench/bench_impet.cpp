// What a user waits on at start and on "New": opening the archive appended to a program file of realistic size,
// and making new settings for every model; and the Service menu's batch tools over all models, disk included.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "settings/batch.h"
#include "settings/impet.h"
#include "settings/newbike.h"

namespace {

struct BenchDir
{
    std::filesystem::path path;
    ~BenchDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

// A 20 MB program file (a debug build's size) carrying the shipped archive, made once.
const std::filesystem::path& programFile()
{
    static BenchDir dir;
    static const std::filesystem::path path = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "kelvora_bench_XXXXXX").string();
        dir.path = ::mkdtemp(pattern.data());
        const std::filesystem::path file = dir.path / "kelvora";
        {
            std::ofstream out(file, std::ios::binary);
            const std::string block(1 << 20, '\x90');
            for (int i = 0; i < 20; ++i) out << block;
        }
        CImpet impet;
        (void)impet.Open(file);
        (void)impet.ImportFolder("", std::filesystem::path(KELVORA_RESOURCES) / "impet" / "NEW_309", 0);
        (void)impet.ImportFolder("", std::filesystem::path(KELVORA_RESOURCES) / "impet" / "MAP_309", 0);
        if (impet.Save() != 0) std::abort();
        return file;
    }();
    return path;
}

void BM_OpenArchive(benchmark::State& state)
{
    const auto& file = programFile();
    for (auto _ : state) {
        CImpet impet;
        benchmark::DoNotOptimize(OpenImpet(impet, file));
    }
}
BENCHMARK(BM_OpenArchive)->Unit(benchmark::kMillisecond);

void BM_OpenAndNewSettingsForAllModels(benchmark::State& state)
{
    const auto& file = programFile();
    for (auto _ : state) {
        CImpet impet;
        if (OpenImpet(impet, file) != 0) state.SkipWithError("archive not opened");
        for (int model = 0; model < RS_MODEL_COUNT; ++model) {
            Image image{};
            image[RS_BIKE_BYTE] = static_cast<std::uint8_t>(model);
            benchmark::DoNotOptimize(NewBikeSettings(image, impet).done);
        }
    }
}
BENCHMARK(BM_OpenAndNewSettingsForAllModels)->Unit(benchmark::kMillisecond);

// Save All New into a folder of its own, then Compare All New against the same files as an earlier run.
void BM_SaveAllNewThenCompareAllNew(benchmark::State& state)
{
    CImpet impet;
    if (OpenImpet(impet, programFile()) != 0) state.SkipWithError("archive not opened");
    const std::filesystem::path folder = programFile().parent_path() / "new_ign";
    const std::filesystem::path old = programFile().parent_path() / "new_ign_old";
    (void)SaveAllNew(impet, old, {});
    for (auto _ : state) {
        const SaveAllNewResult saved = SaveAllNew(impet, folder, {});
        if (saved.written != RS_MODEL_COUNT) state.SkipWithError("not every model written");
        if (!CompareAllNew(folder, old).ok) state.SkipWithError("no comparison written");
    }
}
BENCHMARK(BM_SaveAllNewThenCompareAllNew)->Unit(benchmark::kMillisecond);

}  // namespace
