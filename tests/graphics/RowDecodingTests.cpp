#include "TestImages.h"

#include "platform/graphics/AreaAverager.h"
#include "platform/graphics/PNGCodec.h"
#include "platform/graphics/RowAreaAverager.h"
#include "platform/graphics/UIImage.h"

#include <gtest/gtest.h>

using namespace testimages;

namespace {

std::vector<uint32_t> wordsOf(const CGImage& image)
{
    std::vector<uint32_t> words;
    for (size_t y = 0; y < image.height(); ++y)
        words.insert(words.end(), image.rowAt(y), image.rowAt(y) + image.width());
    return words;
}

// The image's premultiplied pixels as R,G,B,A bytes.
std::vector<uint8_t> bytesOf(const CGImage& image)
{
    std::vector<uint8_t> bytes;
    for (size_t y = 0; y < image.height(); ++y) {
        for (size_t x = 0; x < image.width(); ++x) {
            auto p = image.pixelAt(x, y);
            bytes.insert(bytes.end(), { p.red, p.green, p.blue, p.alpha });
        }
    }
    return bytes;
}

const uint8_t* bytesOfRow(const CGImage& image, size_t y) { return reinterpret_cast<const uint8_t*>(image.rowAt(y)); }

struct RowDecode {
    size_t width { 0 };
    size_t height { 0 };
    std::vector<uint8_t> bytes;
    bool ok { false };
};

RowDecode decodeByRows(std::span<const uint8_t> png)
{
    RowDecode result;
    result.ok = PNGCodec::decodeRows(
        png, [&](size_t width, size_t height) { result.width = width, result.height = height; },
        [&](const uint8_t* row) { result.bytes.insert(result.bytes.end(), row, row + result.width * 4); });
    return result;
}

// Samples of every kind a PNG can hold, random but with clear and opaque runs as icons have.
std::vector<uint16_t> samplesFor(const PngSpec& spec, size_t channels, std::mt19937& random)
{
    uint32_t maximum = (1u << spec.bitDepth) - 1;
    std::vector<uint16_t> samples;
    for (size_t i = 0; i < size_t(spec.width) * spec.height; ++i) {
        for (size_t c = 0; c < channels; ++c) {
            bool alpha = c + 1 == channels && (channels == 2 || channels == 4);
            uint32_t value = random() % (maximum + 1);
            if (alpha && random() % 3)
                value = random() % 2 ? maximum : 0;
            samples.push_back(uint16_t(value));
        }
    }
    return samples;
}

} // namespace

TEST(RowAreaAverager, MatchesTheWholeImageShrinkWordForWord)
{
    struct Case {
        size_t width, height, targetWidth, targetHeight;
    };
    // Uneven and even ratios, equal sizes, one pixel, and rows long enough to need more than
    // one run of lanes.
    const Case cases[] = { { 128, 128, 10, 10 }, { 64, 64, 10, 10 }, { 10, 10, 10, 10 }, { 13, 250, 10, 10 },
        { 180, 120, 10, 10 }, { 100, 40, 10, 10 }, { 15, 11, 10, 10 }, { 57, 33, 7, 3 }, { 128, 128, 1, 1 },
        { 1200, 3, 1, 1 }, { 1200, 30, 10, 10 }, { 31, 17, 31, 1 } };
    uint32_t seed = 1;
    for (auto& c : cases) {
        auto source = irregularImage(c.width, c.height, seed++);
        RowAreaAverager averager(c.width, c.height, c.targetWidth, c.targetHeight);
        for (size_t y = 0; y < c.height; ++y)
            averager.addRow(bytesOfRow(*source, y));
        auto whole = AreaAverager::shrink(*source, c.targetWidth, c.targetHeight);
        ASSERT_TRUE(whole);
        EXPECT_EQ(averager.target(), wordsOf(*whole)) << c.width << "x" << c.height << " to " << c.targetWidth << "x" << c.targetHeight;
        auto one = AreaAverager::shrink(*source, 1, 1);
        EXPECT_EQ(averager.onePixel(), one->rowAt(0)[0]) << c.width << "x" << c.height;
    }
}

TEST(RowAreaAverager, OpaqueWhiteAtTheLargestSizeDoesNotOverflow)
{
    auto source = CGImage::create(PNGCodec::maximumDimension, 64);
    for (size_t y = 0; y < source->height(); ++y)
        std::fill(source->rowAt(y), source->rowAt(y) + source->width(), 0xffffffffu);
    RowAreaAverager averager(source->width(), source->height(), 1, 1);
    for (size_t y = 0; y < source->height(); ++y)
        averager.addRow(bytesOfRow(*source, y));
    EXPECT_EQ(averager.target(), std::vector<uint32_t> { 0xffffffffu });
    EXPECT_EQ(averager.onePixel(), 0xffffffffu);
}

TEST(PNGRowDecoding, EveryColourTypeDepthAndInterlaceGivesTheDecodedImageRowByRow)
{
    const auto& kinds = testimages::pngKinds;
    std::mt19937 random(7);
    for (auto& kind : kinds) {
        for (uint8_t depth : kind.depths) {
            for (bool interlaced : { false, true }) {
                PngSpec spec { .width = 23, .height = 17, .bitDepth = depth, .colorType = kind.colorType, .interlaced = interlaced };
                spec.rows = packRows(samplesFor(spec, kind.channels, random), spec.width * kind.channels, depth);
                if (kind.colorType == SPNG_COLOR_TYPE_INDEXED) {
                    for (uint32_t i = 0; i < (1u << depth); ++i) {
                        spec.palette.push_back({ uint8_t(random()), uint8_t(random()), uint8_t(random()), 0 });
                        spec.paletteAlpha.push_back(uint8_t(i % 3 == 0 ? random() : 255));
                    }
                }
                if (kind.colorType == SPNG_COLOR_TYPE_GRAYSCALE)
                    spec.transparentGray = 0;
                auto png = encodePng(spec);
                ASSERT_FALSE(png.empty());
                auto image = UIImage::imageWithData(png);
                ASSERT_TRUE(image) << int(kind.colorType) << "/" << int(depth);
                auto rows = decodeByRows(png);
                ASSERT_TRUE(rows.ok) << int(kind.colorType) << "/" << int(depth) << (interlaced ? " interlaced" : "");
                EXPECT_EQ(rows.width, 23u);
                EXPECT_EQ(rows.height, 17u);
                EXPECT_EQ(rows.bytes, bytesOf(*image->cgImage())) << int(kind.colorType) << "/" << int(depth) << (interlaced ? " interlaced" : "");
            }
        }
    }
}

TEST(PNGRowDecoding, RefusesExactlyWhatTheWholeDecodeRefuses)
{
    PngSpec spec { .width = 24, .height = 12 };
    std::mt19937 random(3);
    spec.rows = packRows(samplesFor(spec, 4, random), 24 * 4, 8);
    auto png = encodePng(spec);
    ASSERT_TRUE(decodeByRows(png).ok);
    for (size_t length = 0; length < png.size(); ++length) {
        std::span<const uint8_t> cut(png.data(), length);
        EXPECT_EQ(decodeByRows(cut).ok, bool(UIImage::imageWithData(cut))) << "cut at " << length;
    }
    for (size_t offset = 0; offset < png.size(); ++offset) {
        auto corrupt = png;
        corrupt[offset] ^= 0x41;
        EXPECT_EQ(decodeByRows(corrupt).ok, bool(UIImage::imageWithData(corrupt))) << "flipped byte " << offset;
    }
    // Within 4096 × 4096, but over the decoding budget.
    PngSpec square { .width = 4096, .height = 4096, .bitDepth = 1, .colorType = SPNG_COLOR_TYPE_GRAYSCALE };
    square.rows.assign(size_t(4096 / 8) * 4096, 0);
    bool begun = false;
    EXPECT_FALSE(PNGCodec::decodeRows(encodePng(square), [&](size_t, size_t) { begun = true; }, [](const uint8_t*) {}));
    EXPECT_FALSE(begun);
}
