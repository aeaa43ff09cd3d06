#include "ColourTestSupport.h"

#include "platform/foundation/NSArray.h"
#include "tweak/colour/UIImage+Tintwell.h"

using namespace colourtest;

namespace {

using Palette = ColourTest;

RefPtr<NSArray> paletteOf(const RefPtr<UIImage>& image) { return msgSend<RefPtr<NSArray>>(image, SELECTOR("TWLcolors")); }
RefPtr<UIColor> mergedOf(const RefPtr<UIImage>& image) { return msgSend<RefPtr<UIColor>>(image, SELECTOR("mergedColor")); }

void expectPalette(const RefPtr<NSArray>& palette, std::initializer_list<RefPtr<UIColor>> expected)
{
    ASSERT_TRUE(palette);
    ASSERT_EQ(palette->count(), expected.size());
    size_t index = 0;
    for (auto& color : expected) {
        EXPECT_TRUE(sameColour(objectCast<UIColor>(palette->objectAtIndex(index)).get(), color.get())) << "entry " << index;
        ++index;
    }
}

// The first `count` pixels in column order (x outer, y inner) take `first`, the rest `rest`.
RefPtr<UIImage> split(size_t count, CGImage::Pixel first, CGImage::Pixel rest)
{
    return imageOf([=](size_t x, size_t y) { return x * 10 + y < count ? first : rest; });
}

TEST_F(Palette, UniformImageGivesOneColourAndMergesToIt)
{
    auto image = uniformImage({ 30, 140, 200, 255 }, 36);
    expectPalette(paletteOf(image), { sampled(30, 140, 200) });
    EXPECT_TRUE(sameColour(mergedOf(image).get(), sampled(30, 140, 200).get()));
}

TEST_F(Palette, TransparentPixelsAreSampledAndMergeTowardBlack)
{
    auto clear = uniformImage({ 0, 0, 0, 0 });
    expectPalette(paletteOf(clear), { sampled(0, 0, 0, 0) });
    EXPECT_TRUE(sameColour(mergedOf(clear).get(), rgb(0, 0, 0, 1).get()));

    // Premultiplied: half of the image transparent halves the white.
    auto halfWhite = imageOf([](size_t x, size_t) { return x < 5 ? CGImage::Pixel { 255, 255, 255, 255 } : CGImage::Pixel { 255, 255, 255, 0 }; });
    auto merged = mergedOf(halfWhite);
    EXPECT_NEAR(merged->red(), 0.5, 1.0 / 255);
    EXPECT_EQ(merged->red(), merged->blue());
    EXPECT_EQ(merged->alpha(), 1.0);

    // Transparent corners head the palette; dark opaque colours are dropped with them,
    // since alpha is not compared, while a colour of any partial alpha counts as opaque.
    auto cornered = split(60, { 0, 0, 0, 0 }, { 40, 50, 20, 255 });
    expectPalette(paletteOf(cornered), { sampled(0, 0, 0, 0) });
    auto faint = uniformImage({ 255, 255, 255, 3 });
    EXPECT_EQ(objectCast<UIColor>(paletteOf(faint)->firstObject())->alpha(), 1.0);
}

TEST_F(Palette, NearDuplicatesWithinSixtyAreDropped)
{
    expectPalette(paletteOf(split(70, { 255, 0, 0, 255 }, { 200, 0, 0, 255 })), { sampled(255, 0, 0) });
    expectPalette(paletteOf(split(30, { 255, 0, 0, 255 }, { 200, 0, 0, 255 })), { sampled(200, 0, 0) });

    auto mixed = imageOf([](size_t x, size_t y) {
        size_t n = x * 10 + y;
        return n < 70 ? CGImage::Pixel { 0, 122, 255, 255 } : n < 90 ? CGImage::Pixel { 255, 255, 255, 255 } : CGImage::Pixel { 10, 130, 250, 255 };
    });
    expectPalette(paletteOf(mixed), { sampled(0, 122, 255), sampled(255, 255, 255) });
}

TEST_F(Palette, SinglePrecisionDecidesTheSixtyBoundary)
{
    // 60/255 in single precision reads back just above 60.0; 62 against 2 just below.
    expectPalette(paletteOf(split(60, { 0, 0, 0, 255 }, { 60, 0, 0, 255 })), { sampled(0, 0, 0), sampled(60, 0, 0) });
    expectPalette(paletteOf(split(60, { 2, 0, 0, 255 }, { 62, 0, 0, 255 })), { sampled(2, 0, 0) });
    expectPalette(paletteOf(split(60, { 0, 0, 2, 255 }, { 0, 0, 62, 255 })), { sampled(0, 0, 2) });
}

TEST_F(Palette, EqualCountsKeepTheOrderInWhichColoursWereFirstSampled)
{
    CGImage::Pixel heading { 255, 255, 255, 255 }, down { 200, 0, 0, 255 }, across { 0, 0, 200, 255 };
    // 40 heading, 30 down, 30 across. Column by column, `down` at (0, 1) is met before
    // `across` at (1, 0); row by row it would be the other way round.
    auto image = imageOf([&](size_t x, size_t y) {
        size_t n = x * 10 + y;
        if (n == 1)
            return down;
        if (n == 10)
            return across;
        if (n < 10)
            return heading;
        return n < 42 ? heading : n < 71 ? down : across;
    });
    auto palette = paletteOf(image);
    expectPalette(palette, { sampled(255, 255, 255), sampled(200, 0, 0), sampled(0, 0, 200) });
}

TEST_F(Palette, HundredDistantColoursAllStay)
{
    auto image = imageOf([](size_t x, size_t y) {
        size_t n = x * 10 + y;
        return CGImage::Pixel { uint8_t(n % 5 * 61), uint8_t(n / 5 % 5 * 61), uint8_t(n / 25 * 61), 255 };
    });
    EXPECT_EQ(paletteOf(image)->count(), 100u);
}

TEST_F(Palette, ImageWithoutBitmapOrReceiverIsHandled)
{
    auto empty = UIImage::imageWithCGImage(nullptr);
    expectPalette(paletteOf(empty), { sampled(0, 0, 0, 0) });
    EXPECT_TRUE(sameColour(mergedOf(empty).get(), rgb(0, 0, 0, 1).get()));
    EXPECT_FALSE(TWLcolors(nullptr));
    EXPECT_FALSE(mergedColor(nullptr));
}

} // namespace
