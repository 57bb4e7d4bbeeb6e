// What a user waits on at start and on "New": opening the archive appended to a program file of realistic size,
// and making new settings for every model.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

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

}  // namespace
