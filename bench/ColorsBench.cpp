#include "device/IconArtist.h"
#include "platform/springboard/AppRecordClasses.h"
#include "tools/colors/ColorReport.h"
#include "tweak/entry/TintwellMethods.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int iconCount = 1000;

// A thousand icon files as the colours command would read them: every design at sizes
// from 58 to 180 pixels, so no two neighbours decode alike.
const std::vector<std::vector<uint8_t>>& iconFiles()
{
    static const auto files = [] {
        std::vector<std::vector<uint8_t>> pngs;
        constexpr int designs = int(IconArtist::Design::Generic) + 1;
        for (int i = 0; i < iconCount; ++i)
            pngs.push_back(*IconArtist::drawPNG(IconArtist::Design(i % designs), 58 + (i * 7) % 123));
        return pngs;
    }();
    return files;
}

void decodeThousandIcons(benchmark::State& state)
{
    auto& files = iconFiles();
    for (auto _ : state) {
        for (auto& png : files)
            benchmark::DoNotOptimize(UIImage::imageWithData(png));
    }
    state.SetItemsProcessed(state.iterations() * iconCount);
}
BENCHMARK(decodeThousandIcons)->Unit(benchmark::kMillisecond);

void analyseThousandIcons(benchmark::State& state)
{
    registerAppRecordClasses();
    registerTintwellMethods();
    auto& files = iconFiles();
    const std::vector<long> modes { 0, 1, 2, 3 };
    for (auto _ : state) {
        for (auto& png : files) {
            auto image = UIImage::imageWithData(png);
            benchmark::DoNotOptimize(ColorReport::describe(*image, modes, nullptr).dump());
        }
    }
    state.SetItemsProcessed(state.iterations() * iconCount);
}
BENCHMARK(analyseThousandIcons)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
