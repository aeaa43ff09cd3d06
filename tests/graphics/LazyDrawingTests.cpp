// This program links the graphics library alone, as the colours command does: cairo must
// stay unloaded until something is drawn, and drawing must then work as if it were linked.
#include "tests/graphics/TestImages.h"
#include "tests/support/Subprocess.h"
#include "tests/support/TemporaryFolder.h"

#include "platform/graphics/CGContext.h"
#include "platform/graphics/PNGCodec.h"
#include "platform/graphics/RowAreaAverager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <link.h>
#include <string>

namespace {

bool isLoaded(const std::string& name)
{
    // Nonzero from the callback stops the walk and is what dl_iterate_phdr answers.
    return dl_iterate_phdr(
               [](dl_phdr_info* info, size_t, void* wanted) {
                   return int(info->dlpi_name && std::string(info->dlpi_name).find(*static_cast<const std::string*>(wanted)) != std::string::npos);
               },
               const_cast<std::string*>(&name))
        != 0;
}

std::string loadedFrom(const void* symbol)
{
    Dl_info info {};
    return dladdr(symbol, &info) && info.dli_fname ? info.dli_fname : "";
}

} // namespace

TEST(LazyDrawing, DecodingAndMeasuringLeaveCairoUnloadedAndTheFirstDrawingLoadsIt)
{
    // A 4 x 4 opaque image, red across, green down.
    testimages::PngSpec spec { .width = 4, .height = 4 };
    for (uint8_t y = 0; y < 4; ++y) {
        for (uint8_t x = 0; x < 4; ++x)
            spec.rows.insert(spec.rows.end(), { uint8_t(60 * x), uint8_t(60 * y), 200, 255 });
    }
    auto png = testimages::encodePng(spec);

    auto image = PNGCodec::decode(png);
    ASSERT_TRUE(image);
    RowAreaAverager averager(4, 4, 2, 2);
    EXPECT_TRUE(PNGCodec::decodeRows(png, [](size_t, size_t) {}, [&](const uint8_t* row) { averager.addRow(row); }));
    auto context = CGContext::createBitmap(nullptr, 4, 4, 8, 0, kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Big);
    ASSERT_TRUE(context);
    auto made = context->makeImage();
    ASSERT_TRUE(made);
    EXPECT_FALSE(isLoaded("libcairo"));
    EXPECT_FALSE(isLoaded("libplatform_drawing"));

    context->setInterpolationQuality(kCGInterpolationNone);
    CGContextDrawImage(context.get(), CGRectMake(0, 0, 4, 4), image.get());
    EXPECT_TRUE(isLoaded("libcairo"));
    EXPECT_TRUE(isLoaded("libplatform_drawing"));
    // Bytes R,G,B,A from the top row, as decoded.
    auto* bytes = static_cast<const uint8_t*>(context->data());
    for (size_t y = 0; y < 4; ++y) {
        for (size_t x = 0; x < 4; ++x) {
            const uint8_t* pixel = bytes + y * context->bytesPerRow() + x * 4;
            EXPECT_EQ(pixel[0], 60 * x) << x << "," << y;
            EXPECT_EQ(pixel[1], 60 * y) << x << "," << y;
            EXPECT_EQ(pixel[2], 200);
            EXPECT_EQ(pixel[3], 255);
        }
    }

    // Writing PNG files goes through the same library.
    auto encoded = PNGCodec::encode(*image);
    ASSERT_TRUE(encoded);
    auto again = PNGCodec::decode(*encoded);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->pixelAt(3, 2), image->pixelAt(3, 2));
}

// A broken install: the graphics library stands where the drawing library is not. Drawing
// then does nothing, says so once, and the program goes on. The program runs again in a
// child process that finds the graphics library in a folder of its own.
TEST(LazyDrawing, WithoutTheDrawingLibraryNothingIsDrawnAndOneLineSaysSo)
{
    if (std::getenv("TINTWELL_LAZY_DRAWING_CHILD")) {
        ASSERT_EQ(std::filesystem::path(loadedFrom(reinterpret_cast<const void*>(&CGImage::create))).parent_path(),
            std::filesystem::path(std::getenv("TINTWELL_LAZY_DRAWING_CHILD")));
        auto image = CGImage::create(2, 2);
        image->setPixelAt(0, 0, { 255, 0, 0, 255 });
        auto context = CGContext::createBitmap(nullptr, 2, 2, 8, 0, kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Big);
        CGContextDrawImage(context.get(), CGRectMake(0, 0, 2, 2), image.get());
        CGContextSetRGBFillColor(context.get(), 0, 1, 0, 1);
        CGContextFillRect(context.get(), CGRectMake(0, 0, 2, 2));
        auto* bytes = static_cast<const uint8_t*>(context->data());
        EXPECT_TRUE(std::all_of(bytes, bytes + 16, [](uint8_t byte) { return byte == 0; }));
        EXPECT_FALSE(PNGCodec::encode(*image));
        EXPECT_FALSE(isLoaded("libcairo"));
        return;
    }
    TemporaryFolder folder("tintwell-lazy-drawing");
    auto graphics = std::filesystem::path(loadedFrom(reinterpret_cast<const void*>(&CGImage::create)));
    ASSERT_EQ(graphics.filename(), "libplatform_graphics.so");
    std::filesystem::copy_file(graphics, folder.path() / graphics.filename());

    auto run = subprocess::run("/usr/bin/env",
        { "LD_LIBRARY_PATH=" + folder.path().string(), "TINTWELL_LAZY_DRAWING_CHILD=" + folder.path().string(),
            std::filesystem::read_symlink("/proc/self/exe").string(),
            "--gtest_filter=LazyDrawing.WithoutTheDrawingLibraryNothingIsDrawnAndOneLineSaysSo" },
        true);
    EXPECT_EQ(run.status, 0) << run.output;
    std::string message = "graphics: cannot load libplatform_drawing.so";
    auto first = run.output.find(message);
    EXPECT_NE(first, std::string::npos) << run.output;
    EXPECT_EQ(run.output.find(message, first + 1), std::string::npos) << run.output;
}
