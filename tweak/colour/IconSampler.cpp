#include "tweak/colour/IconSampler.h"

#include "platform/graphics/CGContext.h"
#include "platform/graphics/PNGCodec.h"
#include "platform/graphics/RowAreaAverager.h"
#include "platform/graphics/UIGraphics.h"

#include <cstring>

namespace {

constexpr size_t gridSide = IconSampler::gridSide;
constexpr size_t gridBytesPerRow = gridSide * 4;
constexpr uint32_t gridBitmapInfo = uint32_t(kCGImageAlphaPremultipliedLast) | uint32_t(kCGBitmapByteOrder32Big); // 16385

} // namespace

std::array<uint8_t, 400> IconSampler::drawGrid(const UIImage* image)
{
    // The routine owns the grid, so it outlives the context drawn into it.
    std::array<uint8_t, gridSide * gridBytesPerRow> grid {};
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextRef context = CGBitmapContextCreate(grid.data(), gridSide, gridSide, 8, gridBytesPerRow, space, gridBitmapInfo);
    CGColorSpaceRelease(space);
    auto cgImage = msgSend<RefPtr<CGImage>>(image, SELECTOR("CGImage"));
    CGContextDrawImage(context, CGRectMake(0, 0, gridSide, gridSide), cgImage.get());
    CGContextRelease(context);
    return grid;
}

std::optional<std::array<uint8_t, 4>> IconSampler::drawMerged(const UIImage* image)
{
    UIGraphicsBeginImageContext(CGSizeMake(1, 1));
    CGContextRef context = UIGraphicsGetCurrentContext();
    CGContextSetInterpolationQuality(context, kCGInterpolationMedium);
    msgSend<void>(image, SELECTOR("drawInRect:blendMode:alpha:"), CGRectMake(0, 0, 1, 1), int(kCGBlendModeCopy), 1.0);
    std::optional<std::array<uint8_t, 4>> pixel;
    if (auto* data = static_cast<const uint8_t*>(CGBitmapContextGetData(context))) {
        pixel.emplace();
        std::memcpy(pixel->data(), data, 4);
    }
    UIGraphicsEndImageContext();
    return pixel;
}

std::optional<IconSamples> IconSampler::sampleData(std::span<const uint8_t> png)
{
    // Drawing shrinks an image to the grid by area and then copies it at its own size; only
    // an image narrower or lower than the grid is stretched, and that is left to drawing.
    std::optional<RowAreaAverager> averager;
    RefPtr<CGImage> small;
    size_t nextRow = 0;
    auto begin = [&](size_t width, size_t height) {
        if (width >= gridSide && height >= gridSide)
            averager.emplace(width, height, gridSide, gridSide);
        else
            small = CGImage::create(width, height);
    };
    auto row = [&](const uint8_t* rgba) {
        if (averager) {
            averager->addRow(rgba);
            return;
        }
        if (!small)
            return;
        uint32_t* words = small->rowAt(nextRow++);
        for (size_t x = 0; x < small->width(); ++x, rgba += 4)
            words[x] = uint32_t(rgba[3]) << 24 | uint32_t(rgba[0]) << 16 | uint32_t(rgba[1]) << 8 | rgba[2];
    };
    if (!PNGCodec::decodeRows(png, begin, row))
        return std::nullopt;

    IconSamples samples;
    if (!averager) {
        auto image = UIImage::imageWithCGImage(small);
        samples.grid = drawGrid(image.get());
        if (auto merged = drawMerged(image.get()))
            samples.merged = *merged;
        return samples;
    }
    // The averaged bytes keep the decoder's order, red, green, blue, alpha: the grid's own.
    auto grid = averager->target();
    std::memcpy(samples.grid.data(), grid.data(), samples.grid.size());
    uint32_t merged = averager->onePixel();
    samples.merged = { uint8_t(merged >> 16), uint8_t(merged >> 8), uint8_t(merged), uint8_t(merged >> 24) };
    return samples;
}
