#include "TestImages.h"

#include "platform/graphics/AreaAverager.h"
#include "platform/graphics/CGContext.h"
#include "platform/graphics/UIGraphics.h"
#include "platform/graphics/UIImage.h"

#include <array>
#include <gtest/gtest.h>
#include <thread>

using namespace testimages;
using Pixel = CGImage::Pixel;

namespace {

constexpr uint32_t premultipliedLastBigEndian = 16385;

std::array<double, 4> exactMean(const CGImage& image, double x0, double y0, double x1, double y1)
{
    // Fractional coverage of each source pixel by the area [x0, x1) × [y0, y1).
    std::array<double, 4> sum {};
    double area = 0;
    for (size_t y = size_t(y0); y < image.height() && double(y) < y1; ++y) {
        double cy = std::min(y1, double(y + 1)) - std::max(y0, double(y));
        for (size_t x = size_t(x0); x < image.width() && double(x) < x1; ++x) {
            double weight = cy * (std::min(x1, double(x + 1)) - std::max(x0, double(x)));
            Pixel p = image.pixelAt(x, y);
            sum[0] += weight * p.red;
            sum[1] += weight * p.green;
            sum[2] += weight * p.blue;
            sum[3] += weight * p.alpha;
            area += weight;
        }
    }
    for (auto& s : sum)
        s /= area;
    return sum;
}

// The one-pixel merge: a 1 × 1 image context at medium quality, copy blend.
std::array<uint8_t, 4> mergedBytes(UIImage* image)
{
    UIGraphicsBeginImageContext(CGSizeMake(1, 1));
    CGContextSetInterpolationQuality(UIGraphicsGetCurrentContext(), kCGInterpolationMedium);
    msgSend<void>(image, SELECTOR("drawInRect:blendMode:alpha:"), CGRectMake(0, 0, 1, 1), int(kCGBlendModeCopy), 1.0);
    auto* data = static_cast<uint8_t*>(CGBitmapContextGetData(UIGraphicsGetCurrentContext()));
    std::array<uint8_t, 4> bytes { data[0], data[1], data[2], data[3] };
    UIGraphicsEndImageContext();
    return bytes;
}

} // namespace

TEST(ImageDrawing, DrawingAtOwnSizeLeavesPixelsUnchanged)
{
    auto bitmap = irregularImage(37, 23, 7);
    auto image = UIImage::imageWithCGImage(bitmap);
    for (int mode : { int(kCGBlendModeNormal), int(kCGBlendModeCopy) }) {
        UIGraphicsBeginImageContextWithOptions(CGSizeMake(37, 23), false, 1);
        image->drawInRectBlendMode(CGRectMake(0, 0, 37, 23), mode, 1.0);
        auto drawn = UIGraphicsGetImageFromCurrentImageContext();
        UIGraphicsEndImageContext();
        ASSERT_TRUE(drawn);
        for (size_t y = 0; y < 23; ++y)
            for (size_t x = 0; x < 37; ++x)
                ASSERT_EQ(drawn->pixelAt(x, y), bitmap->pixelAt(x, y)) << x << "," << y << " mode " << mode;
    }

    // The same through CG into R,G,B,A memory: row 0 of the image is row 0 of the buffer.
    std::vector<uint8_t> buffer(37 * 4 * 23);
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextRef context = CGBitmapContextCreate(buffer.data(), 37, 23, 8, 37 * 4, space, premultipliedLastBigEndian);
    CGColorSpaceRelease(space);
    CGContextDrawImage(context, CGRectMake(0, 0, 37, 23), bitmap.get());
    CGContextRelease(context);
    for (size_t y = 0; y < 23; ++y) {
        for (size_t x = 0; x < 37; ++x) {
            Pixel p = bitmap->pixelAt(x, y);
            const uint8_t* b = &buffer[y * 37 * 4 + x * 4];
            ASSERT_EQ((Pixel { b[0], b[1], b[2], b[3] }), p) << x << "," << y;
        }
    }
}

TEST(ImageDrawing, OnePixelMergeIsTheMeanOfTheWholeImage)
{
    for (size_t side : { size_t(128), size_t(1024), size_t(180), size_t(97) }) {
        auto bitmap = irregularImage(side, side * 3 / 4 + 1, uint32_t(side));
        auto mean = exactMean(*bitmap, 0, 0, double(bitmap->width()), double(bitmap->height()));
        auto bytes = mergedBytes(UIImage::imageWithCGImage(bitmap).get());
        // B, G, R, A in memory.
        EXPECT_NEAR(bytes[2], mean[0], 1.0) << side;
        EXPECT_NEAR(bytes[1], mean[1], 1.0) << side;
        EXPECT_NEAR(bytes[0], mean[2], 1.0) << side;
        EXPECT_NEAR(bytes[3], mean[3], 1.0) << side;
    }
}

TEST(ImageDrawing, TenByTenGridAveragesEachCoveredArea)
{
    for (size_t side : { size_t(180), size_t(128), size_t(1024), size_t(33) }) {
        auto bitmap = irregularImage(side, side, uint32_t(side) + 1);
        std::vector<uint8_t> grid(400, 0);
        CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
        CGContextRef context = CGBitmapContextCreate(grid.data(), 10, 10, 8, 40, space, premultipliedLastBigEndian);
        CGColorSpaceRelease(space);
        CGContextDrawImage(context, CGRectMake(0, 0, 10, 10), bitmap.get());
        CGContextRelease(context);
        double cell = double(side) / 10;
        for (size_t y = 0; y < 10; ++y) {
            for (size_t x = 0; x < 10; ++x) {
                auto mean = exactMean(*bitmap, x * cell, y * cell, (x + 1) * cell, (y + 1) * cell);
                for (int c = 0; c < 4; ++c)
                    ASSERT_NEAR(grid[y * 40 + x * 4 + c], mean[c], 1.0) << side << ": " << x << "," << y << " channel " << c;
            }
        }
    }
}

TEST(ImageDrawing, ContextsLayBytesOutInTheirDeclaredOrder)
{
    auto bitmap = CGImage::create(4, 4);
    for (size_t y = 0; y < 4; ++y)
        for (size_t x = 0; x < 4; ++x)
            bitmap->setPixelAt(x, y, { 200, 100, 50, 255 });

    std::vector<uint8_t> grid(400, 0);
    CGContextRef context = CGBitmapContextCreate(grid.data(), 10, 10, 8, 40, nullptr, premultipliedLastBigEndian);
    ASSERT_EQ(CGBitmapContextGetData(context), grid.data());
    CGContextDrawImage(context, CGRectMake(0, 0, 10, 10), bitmap.get());
    CGContextRelease(context);
    for (size_t i = 0; i < 100; ++i)
        ASSERT_EQ((std::array { grid[i * 4], grid[i * 4 + 1], grid[i * 4 + 2], grid[i * 4 + 3] }), (std::array<uint8_t, 4> { 200, 100, 50, 255 }));

    EXPECT_EQ(mergedBytes(UIImage::imageWithCGImage(bitmap).get()), (std::array<uint8_t, 4> { 50, 100, 200, 255 }));
}

TEST(ImageDrawing, CoordinateSystemsKeepImagesUpright)
{
    // Top half red, bottom half blue.
    auto bitmap = CGImage::create(2, 2);
    bitmap->setPixelAt(0, 0, { 255, 0, 0, 255 });
    bitmap->setPixelAt(1, 0, { 255, 0, 0, 255 });
    bitmap->setPixelAt(0, 1, { 0, 0, 255, 255 });
    bitmap->setPixelAt(1, 1, { 0, 0, 255, 255 });
    Pixel red { 255, 0, 0, 255 }, blue { 0, 0, 255, 255 }, clear {};

    // CG's y axis points up: the rectangle at y 0 is the bottom of the buffer.
    auto cg = CGContext::createBitmap(nullptr, 4, 4, 8, 0, premultipliedLastBigEndian);
    CGContextSetInterpolationQuality(cg.get(), kCGInterpolationNone);
    CGContextDrawImage(cg.get(), CGRectMake(0, 0, 4, 2), bitmap.get());
    auto cgPixels = cg->makeImage();
    EXPECT_EQ(cgPixels->pixelAt(0, 0), clear);
    EXPECT_EQ(cgPixels->pixelAt(0, 2), red);
    EXPECT_EQ(cgPixels->pixelAt(3, 3), blue);

    // UIKit's y axis points down, at 2 pixels per point.
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(2, 2), false, 2);
    CGContextSetInterpolationQuality(UIGraphicsGetCurrentContext(), kCGInterpolationNone);
    UIImage::imageWithCGImage(bitmap)->drawInRect(CGRectMake(0, 0, 2, 1));
    auto ui = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    EXPECT_EQ(ui->size(), CGSizeMake(2, 2));
    EXPECT_EQ(ui->scale(), 2);
    EXPECT_EQ(ui->pixelAt(0, 0), red);
    EXPECT_EQ(ui->pixelAt(3, 1), blue);
    EXPECT_EQ(ui->pixelAt(0, 2), clear);
}

TEST(ImageDrawing, CopyReplacesWhatNormalComposites)
{
    auto white = CGImage::create(1, 1);
    white->setPixelAt(0, 0, { 255, 255, 255, 255 });
    auto halfRed = CGImage::create(1, 1);
    halfRed->setPixelAt(0, 0, { 128, 0, 0, 128 });

    auto drawOverWhite = [&](CGBlendMode mode) {
        UIGraphicsBeginImageContext(CGSizeMake(1, 1));
        UIImage::imageWithCGImage(white)->drawInRect(CGRectMake(0, 0, 1, 1));
        UIImage::imageWithCGImage(halfRed)->drawInRectBlendMode(CGRectMake(0, 0, 1, 1), mode, 1.0);
        auto result = UIGraphicsGetImageFromCurrentImageContext()->pixelAt(0, 0);
        UIGraphicsEndImageContext();
        return result;
    };
    Pixel copied = drawOverWhite(kCGBlendModeCopy);
    EXPECT_EQ(copied, (Pixel { 128, 0, 0, 128 }));
    Pixel composited = drawOverWhite(kCGBlendModeNormal);
    EXPECT_EQ(composited.red, 255);
    EXPECT_NEAR(composited.green, 127, 1);
    EXPECT_NEAR(composited.blue, 127, 1);
    EXPECT_EQ(composited.alpha, 255);
}

TEST(ImageDrawing, MissingBitmapsAndContextsDrawNothing)
{
    UIGraphicsBeginImageContext(CGSizeMake(1, 1));
    auto bitmapless = UIImage::imageWithCGImage(nullptr);
    EXPECT_EQ(bitmapless->size(), CGSizeZero);
    bitmapless->drawInRectBlendMode(CGRectMake(0, 0, 1, 1), kCGBlendModeCopy, 1.0);
    CGContextDrawImage(UIGraphicsGetCurrentContext(), CGRectMake(0, 0, 1, 1), nullptr);
    EXPECT_EQ(UIGraphicsGetImageFromCurrentImageContext()->pixelAt(0, 0), Pixel {});
    UIGraphicsEndImageContext();

    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
    auto image = UIImage::imageWithCGImage(irregularImage(3, 3, 1));
    image->drawInRect(CGRectMake(0, 0, 3, 3)); // no context: nothing to do
    EXPECT_FALSE(UIGraphicsGetImageFromCurrentImageContext());
    CGContextDrawImage(nullptr, CGRectMake(0, 0, 1, 1), image->cgImage());
}

TEST(ImageDrawing, ImageContextsNestPerThread)
{
    UIGraphicsBeginImageContext(CGSizeMake(3, 3));
    CGContextRef outer = UIGraphicsGetCurrentContext();
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(0, 0), false, 1);
    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
    UIGraphicsEndImageContext();
    EXPECT_EQ(UIGraphicsGetCurrentContext(), outer);
    std::thread([] { EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr); }).join();
    UIGraphicsEndImageContext();
    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
}

TEST(BitmapContexts, UnsupportedFormatsAreRefused)
{
    std::vector<uint8_t> buffer(400);
    EXPECT_FALSE(CGBitmapContextCreate(buffer.data(), 10, 10, 16, 40, nullptr, premultipliedLastBigEndian));
    EXPECT_FALSE(CGBitmapContextCreate(buffer.data(), 10, 10, 8, 39, nullptr, premultipliedLastBigEndian));
    EXPECT_FALSE(CGBitmapContextCreate(buffer.data(), 10, 10, 8, 40, nullptr, kCGImageAlphaNone));
    EXPECT_FALSE(CGBitmapContextCreate(buffer.data(), 0, 10, 8, 40, nullptr, premultipliedLastBigEndian));
    CGContextRef first = CGBitmapContextCreate(buffer.data(), 10, 10, 8, 40, nullptr, kCGImageAlphaPremultipliedFirst);
    EXPECT_TRUE(first);
    CGContextRelease(first);
}

TEST(BitmapContexts, FillUsesTheContextsByteOrder)
{
    std::vector<uint8_t> argb(16), bgra(16);
    CGContextRef first = CGBitmapContextCreate(argb.data(), 2, 2, 8, 8, nullptr, kCGImageAlphaPremultipliedFirst | kCGBitmapByteOrder32Big);
    CGContextRef little = CGBitmapContextCreate(bgra.data(), 2, 2, 8, 8, nullptr, kCGImageAlphaPremultipliedFirst | kCGBitmapByteOrder32Little);
    for (CGContextRef context : { first, little }) {
        CGContextSetRGBFillColor(context, 1, 0.2, 0, 1);
        CGContextFillRect(context, CGRectMake(0, 0, 2, 2));
        CGContextRelease(context);
    }
    EXPECT_EQ((std::array { argb[0], argb[1], argb[2], argb[3] }), (std::array<uint8_t, 4> { 255, 255, 51, 0 }));
    EXPECT_EQ((std::array { bgra[0], bgra[1], bgra[2], bgra[3] }), (std::array<uint8_t, 4> { 0, 51, 255, 255 }));
}

TEST(AreaAveraging, WholeBlocksShrinkToTheRoundedExactMean)
{
    struct Case {
        size_t width, height, targetWidth, targetHeight;
        bool opaqueWhite;
    };
    // Even and odd block widths, blocks tall enough that the byte sums must be emptied
    // many times, a block as wide as that allows, and one wider (the weighted path).
    for (auto c : std::initializer_list<Case> {
             { 60, 60, 10, 10, false }, { 15, 9, 5, 3, false }, { 120, 120, 10, 10, false },
             { 512, 300, 1, 1, true }, { 514, 64, 1, 1, false }, { 1030, 40, 1, 1, true }, { 1030, 40, 1, 1, false } }) {
        RefPtr<CGImage> source;
        if (c.opaqueWhite) {
            source = CGImage::create(c.width, c.height);
            for (size_t y = 0; y < c.height; ++y)
                for (size_t x = 0; x < c.width; ++x)
                    source->setPixelAt(x, y, { 255, 255, 255, 255 });
        } else {
            source = irregularImage(c.width, c.height, uint32_t(c.width * 7 + c.height));
        }
        auto shrunk = AreaAverager::shrink(*source, c.targetWidth, c.targetHeight);
        ASSERT_TRUE(shrunk);
        size_t blockWidth = c.width / c.targetWidth;
        size_t blockHeight = c.height / c.targetHeight;
        uint64_t count = blockWidth * blockHeight;
        for (size_t ty = 0; ty < c.targetHeight; ++ty) {
            for (size_t tx = 0; tx < c.targetWidth; ++tx) {
                std::array<uint64_t, 4> sum {};
                for (size_t y = ty * blockHeight; y < (ty + 1) * blockHeight; ++y) {
                    for (size_t x = tx * blockWidth; x < (tx + 1) * blockWidth; ++x) {
                        Pixel p = source->pixelAt(x, y);
                        sum[0] += p.red;
                        sum[1] += p.green;
                        sum[2] += p.blue;
                        sum[3] += p.alpha;
                    }
                }
                // Halves round up.
                auto rounded = [&](uint64_t s) { return uint8_t((2 * s + count) / (2 * count)); };
                Pixel expected { rounded(sum[0]), rounded(sum[1]), rounded(sum[2]), rounded(sum[3]) };
                ASSERT_EQ(shrunk->pixelAt(tx, ty), expected) << c.width << "x" << c.height << " at " << tx << "," << ty;
            }
        }
    }
}
