#include "bench/IconCorpus.h"
#include "tests/graphics/TestImages.h"
#include "tweak/colour/IconSampler.h"
#include "tweak/colour/UIImage+Tintwell.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

using namespace testimages;

namespace {

// What drawing the decoded image gives: the samples TWLcolors and mergedColor read.
std::optional<IconSamples> drawnSamples(std::span<const uint8_t> png)
{
    auto image = UIImage::imageWithData(png);
    if (!image)
        return std::nullopt;
    IconSamples samples;
    samples.grid = IconSampler::drawGrid(image.get());
    samples.merged = IconSampler::drawMerged(image.get()).value_or(std::array<uint8_t, 4> {});
    return samples;
}

void expectSameSamples(std::span<const uint8_t> png, const std::string& what)
{
    auto drawn = drawnSamples(png);
    auto fused = IconSampler::sampleData(png);
    ASSERT_EQ(bool(fused), bool(drawn)) << what;
    if (!drawn)
        return;
    EXPECT_EQ(fused->grid, drawn->grid) << what;
    EXPECT_EQ(fused->merged, drawn->merged) << what;
}

// Icon-like content: clear corners, an opaque body, soft edges and some noise.
std::vector<uint16_t> iconSamples(uint32_t width, uint32_t height, size_t channels, int depth, std::mt19937& random)
{
    uint32_t maximum = (1u << depth) - 1;
    std::vector<uint16_t> samples;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            double dx = (x + 0.5) / width - 0.5;
            double dy = (y + 0.5) / height - 0.5;
            double edge = 0.45 - std::sqrt(dx * dx + dy * dy);
            uint32_t alpha = edge > 0.03 ? maximum : edge < 0 ? 0 : uint32_t(edge / 0.03 * maximum);
            for (size_t c = 0; c < channels; ++c) {
                bool isAlpha = c + 1 == channels && (channels == 2 || channels == 4);
                uint32_t ramp = uint32_t((x * 3 + y * (c + 1)) * uint64_t(maximum) / (3 * width + 4 * height));
                samples.push_back(uint16_t(isAlpha ? alpha : std::min(maximum, ramp + uint32_t(random() % (maximum / 8 + 1)))));
            }
        }
    }
    return samples;
}

} // namespace

TEST(IconSampler, DecodingOnceGivesTheDrawnSamplesForEveryKindOfPng)
{
    const auto& kinds = testimages::pngKinds;
    // Icon sizes, sizes the grid divides and does not, the grid's own size, and images
    // narrower or lower than the grid, which drawing stretches.
    const std::pair<uint32_t, uint32_t> sizes[] = { { 128, 128 }, { 64, 64 }, { 60, 60 }, { 10, 10 }, { 11, 97 }, { 250, 13 },
        { 9, 9 }, { 1, 1 }, { 4, 40 } };
    std::mt19937 random(11);
    for (auto& kind : kinds) {
        for (uint8_t depth : kind.depths) {
            for (bool interlaced : { false, true }) {
                for (auto [width, height] : sizes) {
                    PngSpec spec { .width = width, .height = height, .bitDepth = depth, .colorType = kind.colorType, .interlaced = interlaced };
                    spec.rows = packRows(iconSamples(width, height, kind.channels, depth, random), width * kind.channels, depth);
                    if (kind.colorType == SPNG_COLOR_TYPE_INDEXED) {
                        for (uint32_t i = 0; i < (1u << depth); ++i) {
                            spec.palette.push_back({ uint8_t(random()), uint8_t(random()), uint8_t(random()), 0 });
                            spec.paletteAlpha.push_back(uint8_t(i % 4 == 0 ? 0 : i % 4 == 1 ? random() : 255));
                        }
                    }
                    if (kind.colorType == SPNG_COLOR_TYPE_GRAYSCALE || kind.colorType == SPNG_COLOR_TYPE_TRUECOLOR)
                        spec.transparentGray = 0;
                    auto png = encodePng(spec);
                    ASSERT_FALSE(png.empty());
                    expectSameSamples(png,
                        "type " + std::to_string(kind.colorType) + " depth " + std::to_string(depth) + (interlaced ? " interlaced " : " ")
                            + std::to_string(width) + "x" + std::to_string(height));
                }
            }
        }
    }
}

TEST(IconSampler, DataThatIsNoImageGivesNoSamples)
{
    PngSpec spec { .width = 32, .height = 32 };
    std::mt19937 random(5);
    spec.rows = packRows(iconSamples(32, 32, 4, 8, random), 32 * 4, 8);
    auto png = encodePng(spec);
    ASSERT_TRUE(IconSampler::sampleData(png));
    EXPECT_FALSE(IconSampler::sampleData(std::span(png.data(), png.size() / 2)));
    EXPECT_FALSE(IconSampler::sampleData({}));
}

TEST(IconSampler, PaletteAndMergedColourFromSamplesAreTheImagesOwn)
{
    PngSpec spec { .width = 64, .height = 64 };
    std::mt19937 random(9);
    spec.rows = packRows(iconSamples(64, 64, 4, 8, random), 64 * 4, 8);
    auto png = encodePng(spec);
    auto image = UIImage::imageWithData(png);
    auto samples = IconSampler::sampleData(png);
    ASSERT_TRUE(image && samples);
    auto palette = paletteFromSamples(*samples);
    auto expected = TWLcolors(image.get());
    ASSERT_EQ(palette->count(), expected->count());
    for (size_t i = 0; i < palette->count(); ++i)
        EXPECT_TRUE(objectCast<UIColor>(palette->objectAtIndex(i))->isEqual(expected->objectAtIndex(i).get())) << i;
    EXPECT_TRUE(mergedColorFromSamples(*samples)->isEqual(mergedColor(image.get()).get()));
}

// The real icons the benchmarks read, when the set-up installed them.
TEST(IconSampler, RealIconCorpusGivesTheDrawnSamples)
{
    auto files = iconcorpus::files();
    if (files.empty())
        GTEST_SKIP() << iconcorpus::installHint;
    for (auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::vector<uint8_t> png { std::istreambuf_iterator<char>(in), {} };
        expectSameSamples(png, file.string());
    }
}
