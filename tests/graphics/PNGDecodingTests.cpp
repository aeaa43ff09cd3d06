#include "TestImages.h"

#include "platform/foundation/DeviceRoot.h"
#include "platform/graphics/PNGCodec.h"
#include "platform/graphics/UIImage.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace testimages;
using Pixel = CGImage::Pixel;

namespace {

std::vector<Pixel> decodeAll(const std::vector<uint8_t>& png)
{
    auto image = UIImage::imageWithData(png);
    if (!image || !image->cgImage())
        return {};
    std::vector<Pixel> pixels;
    for (size_t y = 0; y < image->cgImage()->height(); ++y)
        for (size_t x = 0; x < image->cgImage()->width(); ++x)
            pixels.push_back(image->pixelAt(x, y));
    return pixels;
}

Pixel grey(uint8_t level) { return { level, level, level, 255 }; }

} // namespace

TEST(PNGDecoding, GreyAtEveryBitDepthScalesToFullRange)
{
    struct Case {
        int depth;
        std::vector<uint16_t> samples;
        std::vector<Pixel> expected;
    };
    std::vector<Case> cases = {
        { 1, { 0, 1, 1, 0, 1 }, { grey(0), grey(255), grey(255), grey(0), grey(255) } },
        { 2, { 0, 1, 2, 3, 2 }, { grey(0), grey(85), grey(170), grey(255), grey(170) } },
        { 4, { 0, 1, 7, 15, 9 }, { grey(0), grey(17), grey(119), grey(255), grey(153) } },
        { 8, { 0, 1, 128, 255, 64 }, { grey(0), grey(1), grey(128), grey(255), grey(64) } },
        { 16, { 0, 257, 128 * 257, 65535, 64 * 257 }, { grey(0), grey(1), grey(128), grey(255), grey(64) } },
    };
    for (auto& c : cases) {
        PngSpec spec { .width = 5, .height = 1, .bitDepth = uint8_t(c.depth), .colorType = SPNG_COLOR_TYPE_GRAYSCALE };
        spec.rows = packRows(c.samples, 5, c.depth);
        EXPECT_EQ(decodeAll(encodePng(spec)), c.expected) << "depth " << c.depth;
    }
}

TEST(PNGDecoding, AlphaIsPremultipliedIntoColour)
{
    // 200 × 128 / 255 = 100.4, 100 × 128 / 255 = 50.2, 50 × 128 / 255 = 25.1
    PngSpec rgba { .width = 3, .height = 1, .bitDepth = 8, .colorType = SPNG_COLOR_TYPE_TRUECOLOR_ALPHA };
    rgba.rows = { 200, 100, 50, 128, 255, 255, 255, 0, 10, 20, 30, 255 };
    EXPECT_EQ(decodeAll(encodePng(rgba)), (std::vector<Pixel> { { 100, 50, 25, 128 }, { 0, 0, 0, 0 }, { 10, 20, 30, 255 } }));

    PngSpec rgba16 = rgba;
    rgba16.bitDepth = 16;
    rgba16.rows = packRows({ 200 * 257, 100 * 257, 50 * 257, 128 * 257, 65535, 65535, 65535, 0, 10 * 257, 20 * 257, 30 * 257, 65535 }, 12, 16);
    EXPECT_EQ(decodeAll(encodePng(rgba16)), decodeAll(encodePng(rgba)));

    PngSpec greyAlpha { .width = 2, .height = 1, .bitDepth = 8, .colorType = SPNG_COLOR_TYPE_GRAYSCALE_ALPHA };
    greyAlpha.rows = { 200, 128, 90, 255 };
    EXPECT_EQ(decodeAll(encodePng(greyAlpha)), (std::vector<Pixel> { { 100, 100, 100, 128 }, grey(90) }));
    greyAlpha.bitDepth = 16;
    greyAlpha.rows = packRows({ 200 * 257, 128 * 257, 90 * 257, 65535 }, 4, 16);
    EXPECT_EQ(decodeAll(encodePng(greyAlpha)), (std::vector<Pixel> { { 100, 100, 100, 128 }, grey(90) }));
}

TEST(PNGDecoding, TruecolourWithoutAlphaIsOpaque)
{
    PngSpec rgb { .width = 2, .height = 1, .bitDepth = 8, .colorType = SPNG_COLOR_TYPE_TRUECOLOR };
    rgb.rows = { 1, 2, 3, 250, 128, 0 };
    std::vector<Pixel> expected { { 1, 2, 3, 255 }, { 250, 128, 0, 255 } };
    EXPECT_EQ(decodeAll(encodePng(rgb)), expected);
    rgb.bitDepth = 16;
    rgb.rows = packRows({ 257, 2 * 257, 3 * 257, 250 * 257, 128 * 257, 0 }, 6, 16);
    EXPECT_EQ(decodeAll(encodePng(rgb)), expected);
}

TEST(PNGDecoding, PaletteAtEveryBitDepthAppliesItsTransparency)
{
    std::vector<spng_plte_entry> palette { { 255, 0, 0, 0 }, { 0, 0, 255, 0 }, { 40, 80, 120, 0 } };
    for (int depth : { 1, 2, 4, 8 }) {
        uint16_t last = depth == 1 ? 1 : 2;
        PngSpec spec { .width = 3, .height = 2, .bitDepth = uint8_t(depth), .colorType = SPNG_COLOR_TYPE_INDEXED };
        size_t entries = depth == 1 ? 2 : 3;
        spec.palette.assign(palette.begin(), palette.begin() + entries);
        spec.paletteAlpha.assign({ 255, 0, 51 });
        spec.paletteAlpha.resize(entries);
        spec.rows = packRows({ 0, 1, last, last, 0, 1 }, 3, depth);
        Pixel third = depth == 1 ? Pixel { 0, 0, 0, 0 } : Pixel { 8, 16, 24, 51 };
        EXPECT_EQ(decodeAll(encodePng(spec)),
            (std::vector<Pixel> { { 255, 0, 0, 255 }, { 0, 0, 0, 0 }, third, third, { 255, 0, 0, 255 }, { 0, 0, 0, 0 } }))
            << "depth " << depth;
    }
}

TEST(PNGDecoding, GreyTransparencyKeyClearsMatchingPixels)
{
    PngSpec spec { .width = 3, .height = 1, .bitDepth = 8, .colorType = SPNG_COLOR_TYPE_GRAYSCALE };
    spec.rows = { 10, 77, 200 };
    spec.transparentGray = 77;
    EXPECT_EQ(decodeAll(encodePng(spec)), (std::vector<Pixel> { grey(10), { 0, 0, 0, 0 }, grey(200) }));
}

TEST(PNGDecoding, InterlacedImageMatchesItsProgressiveTwin)
{
    PngSpec spec { .width = 13, .height = 11, .bitDepth = 8, .colorType = SPNG_COLOR_TYPE_TRUECOLOR_ALPHA };
    std::vector<Pixel> expected;
    for (uint32_t y = 0; y < spec.height; ++y) {
        for (uint32_t x = 0; x < spec.width; ++x) {
            uint8_t r = uint8_t(x * 19), g = uint8_t(y * 23), b = uint8_t(x * y);
            spec.rows.insert(spec.rows.end(), { r, g, b, 255 });
            expected.push_back({ r, g, b, 255 });
        }
    }
    auto progressive = encodePng(spec);
    spec.interlaced = true;
    auto interlaced = encodePng(spec);
    ASSERT_NE(progressive, interlaced);
    EXPECT_EQ(decodeAll(progressive), expected);
    EXPECT_EQ(decodeAll(interlaced), expected);
}

class PNGRejection : public ::testing::Test {
protected:
    std::vector<uint8_t> validPng()
    {
        PngSpec spec { .width = 16, .height = 16, .bitDepth = 8, .colorType = SPNG_COLOR_TYPE_TRUECOLOR };
        for (int i = 0; i < 16 * 16 * 3; ++i)
            spec.rows.push_back(uint8_t(i * 7));
        return encodePng(spec);
    }
};

TEST_F(PNGRejection, EmptyGarbageAndTruncatedDataAreNoImage)
{
    EXPECT_FALSE(UIImage::imageWithData(std::span<const uint8_t>()));
    std::vector<uint8_t> garbage(300, 0x5a);
    EXPECT_FALSE(UIImage::imageWithData(garbage));
    auto png = validPng();
    ASSERT_TRUE(UIImage::imageWithData(png));
    // Only the last 4 bytes, IEND's checksum over no data, may go missing harmlessly.
    for (size_t length = 0; length + 4 < png.size(); ++length)
        EXPECT_FALSE(UIImage::imageWithData(std::span(png.data(), length))) << "cut at " << length;
}

TEST_F(PNGRejection, CorruptedBytesAreNoImage)
{
    auto png = validPng();
    for (size_t offset = 0; offset < png.size(); offset += 3) {
        auto corrupt = png;
        corrupt[offset] ^= 0x41;
        EXPECT_FALSE(UIImage::imageWithData(corrupt)) << "flipped byte " << offset;
    }
}

TEST_F(PNGRejection, OversizedImagesAreRefusedBeforeDecoding)
{
    auto blankGrey = [](uint32_t width, uint32_t height) {
        PngSpec spec { .width = width, .height = height, .bitDepth = 1, .colorType = SPNG_COLOR_TYPE_GRAYSCALE };
        spec.rows.assign(size_t((width + 7) / 8) * height, 0);
        return encodePng(spec);
    };
    auto wide = blankGrey(5000, 10);
    ASSERT_FALSE(wide.empty());
    EXPECT_FALSE(UIImage::imageWithData(wide));
    EXPECT_FALSE(UIImage::imageWithData(blankGrey(10, 4097)));

    // Within 4096 × 4096, but the bitmap plus the decoder's scanlines exceed 64 MiB.
    auto square = blankGrey(4096, 4096);
    ASSERT_GT(PNGCodec::decodingCost(square).value_or(0), PNGCodec::decodingBudget);
    EXPECT_FALSE(UIImage::imageWithData(square));

    auto justUnder = blankGrey(4096, 4095);
    ASSERT_LE(PNGCodec::decodingCost(justUnder).value_or(SIZE_MAX), PNGCodec::decodingBudget);
    auto decoded = UIImage::imageWithData(justUnder);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->size(), CGSizeMake(4096, 4095));
}

TEST(ImageFiles, LoadsByDevicePathAndMissingFileIsNoImage)
{
    auto root = std::filesystem::temp_directory_path() / ("tintwell-graphics-" + std::to_string(::getpid()));
    std::filesystem::create_directories(root / "Applications/Demo.app");
    auto previousRoot = DeviceRoot::get();
    DeviceRoot::set(root);

    PngSpec spec { .width = 2, .height = 2, .bitDepth = 8, .colorType = SPNG_COLOR_TYPE_TRUECOLOR };
    spec.rows = { 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 0, 0 };
    auto png = encodePng(spec);
    std::ofstream(root / "Applications/Demo.app/AppIcon60x60@2x.png", std::ios::binary).write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    std::ofstream(root / "Applications/Demo.app/empty.png");

    auto image = UIImage::imageWithContentsOfFile("/Applications/Demo.app/AppIcon60x60@2x.png");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixelAt(1, 0), (Pixel { 6, 5, 4, 255 }));
    EXPECT_FALSE(UIImage::imageWithContentsOfFile("/Applications/Demo.app/missing.png"));
    EXPECT_FALSE(UIImage::imageWithContentsOfFile("/Applications/Demo.app/empty.png"));
    EXPECT_FALSE(UIImage::imageWithContentsOfFile("/Applications/Demo.app"));

    DeviceRoot::set(previousRoot);
    std::filesystem::remove_all(root);
}

TEST(ImageFiles, PngDataRoundTripsOpaqueAndClearPixels)
{
    auto bitmap = CGImage::create(3, 2);
    bitmap->setPixelAt(0, 0, { 255, 0, 0, 255 });
    bitmap->setPixelAt(1, 0, { 12, 34, 56, 255 });
    bitmap->setPixelAt(2, 1, { 0, 0, 0, 0 });
    auto image = UIImage::imageWithCGImage(bitmap, 2.0);
    auto data = UIImagePNGRepresentation(image.get());
    ASSERT_TRUE(data);
    auto back = UIImage::imageWithData(data.get(), 2.0);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->size(), CGSizeMake(1.5, 1));
    for (size_t y = 0; y < 2; ++y)
        for (size_t x = 0; x < 3; ++x)
            EXPECT_EQ(back->pixelAt(x, y), bitmap->pixelAt(x, y));
    EXPECT_FALSE(UIImagePNGRepresentation(UIImage::imageWithCGImage(nullptr).get()));
}
