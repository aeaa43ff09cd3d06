#include "platform/graphics/CGContext.h"
#include "platform/graphics/UIGraphics.h"
#include "platform/graphics/UIImage.h"

#include <benchmark/benchmark.h>
#include <random>

namespace {

// An icon-like opaque image with soft gradients and noise, as a PNG.
std::vector<uint8_t> iconPng(size_t side)
{
    auto bitmap = CGImage::create(side, side);
    std::mt19937 random { uint32_t(side) };
    for (size_t y = 0; y < side; ++y)
        for (size_t x = 0; x < side; ++x)
            bitmap->setPixelAt(x, y, { uint8_t(x * 255 / side), uint8_t(y * 255 / side), uint8_t(random() % 32 + 100), 255 });
    return *UIImage::imageWithCGImage(bitmap)->pngData();
}

void decodeIcon(benchmark::State& state)
{
    auto png = iconPng(size_t(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(UIImage::imageWithData(png));
    state.SetLabel(std::to_string(png.size()) + " bytes");
}
BENCHMARK(decodeIcon)->Arg(60)->Arg(120)->Arg(180)->Arg(1024)->Unit(benchmark::kMicrosecond);

void mergeToOnePixel(benchmark::State& state)
{
    auto image = UIImage::imageWithData(iconPng(180));
    for (auto _ : state) {
        UIGraphicsBeginImageContext(CGSizeMake(1, 1));
        CGContextSetInterpolationQuality(UIGraphicsGetCurrentContext(), kCGInterpolationMedium);
        image->drawInRectBlendMode(CGRectMake(0, 0, 1, 1), kCGBlendModeCopy, 1.0);
        benchmark::DoNotOptimize(*static_cast<uint32_t*>(CGBitmapContextGetData(UIGraphicsGetCurrentContext())));
        UIGraphicsEndImageContext();
    }
}
BENCHMARK(mergeToOnePixel)->Unit(benchmark::kMicrosecond);

void drawTenByTen(benchmark::State& state)
{
    auto image = UIImage::imageWithData(iconPng(180));
    for (auto _ : state) {
        uint8_t grid[400] = {};
        CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
        CGContextRef context = CGBitmapContextCreate(grid, 10, 10, 8, 40, space, kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Big);
        CGColorSpaceRelease(space);
        CGContextDrawImage(context, CGRectMake(0, 0, 10, 10), image->cgImage());
        CGContextRelease(context);
        benchmark::DoNotOptimize(grid[0]);
    }
}
BENCHMARK(drawTenByTen)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
