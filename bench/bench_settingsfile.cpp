// Writing and reading one settings file, as Save and Open do (repair and disk time not included).
#include <benchmark/benchmark.h>

#include <random>

#include "settings/repair.h"
#include "settings/settingsreader.h"
#include "settings/settingswriter.h"

namespace {

Image sampleImage()
{
    std::mt19937 rng(309);
    Image image;
    for (auto& b : image)
        b = static_cast<std::uint8_t>(rng());
    image[RS_BIKE_BYTE] = 11;
    NormalizeSettingsImage(image);
    return image;
}

SettingsFileTexts sampleTexts()
{
    SettingsFileTexts t;
    t.buildDate = "Nov 26 2024";
    t.buildTime = "09:07:03";
    return t;
}

void BM_WriteSettingsText(benchmark::State& state)
{
    Image image = sampleImage();
    const SettingsFileTexts texts = sampleTexts();
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteSettingsText(image, texts));
}
BENCHMARK(BM_WriteSettingsText)->Unit(benchmark::kMicrosecond);

void BM_ParseSettingsText(benchmark::State& state)
{
    Image image = sampleImage();
    const std::string file = WriteSettingsText(image, sampleTexts());
    for (auto _ : state) {
        Image target{};
        benchmark::DoNotOptimize(ParseSettingsText(target, file));
        benchmark::DoNotOptimize(target);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(file.size()));
}
BENCHMARK(BM_ParseSettingsText)->Unit(benchmark::kMicrosecond);

}  // namespace
