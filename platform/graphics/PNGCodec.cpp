#include "platform/graphics/PNGCodec.h"

#include "platform/graphics/DrawingBackend.h"

#include <cstring>
#include <memory>
#include <vector>
#include <spng.h>

namespace {

using SpngContext = std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)>;

SpngContext openDecoder(std::span<const uint8_t> data)
{
    SpngContext ctx(spng_ctx_new(0), &spng_ctx_free);
    if (!ctx || data.empty())
        return { nullptr, &spng_ctx_free };
    spng_set_image_limits(ctx.get(), PNGCodec::maximumDimension, PNGCodec::maximumDimension);
    // Ancillary chunks are never used; keep a forged length from costing memory.
    spng_set_chunk_limits(ctx.get(), PNGCodec::decodingBudget, PNGCodec::decodingBudget);
    if (spng_set_png_buffer(ctx.get(), data.data(), data.size()))
        return { nullptr, &spng_ctx_free };
    return ctx;
}

size_t channelCount(uint8_t colorType)
{
    switch (colorType) {
    case SPNG_COLOR_TYPE_GRAYSCALE_ALPHA:
        return 2;
    case SPNG_COLOR_TYPE_TRUECOLOR:
        return 3;
    case SPNG_COLOR_TYPE_TRUECOLOR_ALPHA:
        return 4;
    default:
        return 1;
    }
}

// The output bitmap plus the two scanlines (current and previous) the decoder filters with.
std::optional<size_t> costOf(const spng_ihdr& header)
{
    if (header.width > PNGCodec::maximumDimension || header.height > PNGCodec::maximumDimension)
        return std::nullopt;
    size_t bitmap = size_t(header.width) * header.height * 4;
    size_t scanline = (size_t(header.width) * channelCount(header.color_type) * header.bit_depth + 7) / 8 + 1;
    return bitmap + 2 * scanline;
}

uint8_t premultiply(uint8_t component, uint8_t alpha) { return uint8_t((component * alpha + 127) / 255); }

// R,G,B,A bytes to premultiplied native words; `in` and `out` may be the same memory.
void premultiplyRow(const uint8_t* in, uint32_t* out, size_t width)
{
    for (size_t x = 0; x < width; ++x, in += 4) {
        uint8_t a = in[3];
        // Icons are mostly opaque or clear; both need no arithmetic.
        if (a == 255)
            out[x] = 0xff000000u | uint32_t(in[0]) << 16 | uint32_t(in[1]) << 8 | in[2];
        else if (a == 0)
            out[x] = 0;
        else
            out[x] = uint32_t(a) << 24 | uint32_t(premultiply(in[0], a)) << 16 | uint32_t(premultiply(in[1], a)) << 8 | premultiply(in[2], a);
    }
}

// One R,G,B,A pixel premultiplied, red and blue side by side in 16-bit lanes. Adding 128
// and a 256th of the sum before dividing by 256 is exactly (c × a + 127) / 255 for every
// byte c and a.
inline void premultiplyPixel(uint8_t* pixel)
{
    uint32_t word;
    std::memcpy(&word, pixel, 4);
    uint32_t a = word >> 24;
    uint32_t redBlue = (word & 0x00ff00ffu) * a + 0x00800080u;
    redBlue = ((redBlue + (redBlue >> 8 & 0x00ff00ffu)) >> 8) & 0x00ff00ffu;
    uint32_t green = (word >> 8 & 0xffu) * a + 0x80u;
    green = ((green + (green >> 8)) >> 8) & 0xffu;
    word = redBlue | green << 8 | a << 24;
    std::memcpy(pixel, &word, 4);
}

// Premultiplies R,G,B,A bytes where they are. Four pixels are looked at together: icons are
// mostly runs of opaque or clear pixels, and those need no arithmetic.
void premultiplyInPlace(uint8_t* rgba, size_t width)
{
    constexpr uint64_t alphas = 0xff000000ff000000ull;
    size_t x = 0;
    for (; x + 4 <= width; x += 4) {
        uint8_t* four = rgba + x * 4;
        uint64_t low, high;
        std::memcpy(&low, four, 8);
        std::memcpy(&high, four + 8, 8);
        if ((low & high & alphas) == alphas)
            continue;
        if (((low | high) & alphas) == 0) {
            std::memset(four, 0, 16);
            continue;
        }
        for (uint8_t* pixel = four; pixel < four + 16; pixel += 4)
            premultiplyPixel(pixel);
    }
    for (uint8_t* pixel = rgba + x * 4; pixel < rgba + width * 4; pixel += 4)
        premultiplyPixel(pixel);
}

// The header of data decode() would accept, with its decoder ready to decode.
SpngContext openWithinLimits(std::span<const uint8_t> data, spng_ihdr& header)
{
    auto ctx = openDecoder(data);
    if (!ctx || spng_get_ihdr(ctx.get(), &header))
        return { nullptr, &spng_ctx_free };
    auto cost = costOf(header);
    if (!cost || *cost > PNGCodec::decodingBudget)
        return { nullptr, &spng_ctx_free };
    size_t size = 0;
    if (spng_decoded_image_size(ctx.get(), SPNG_FMT_RGBA8, &size) || size != size_t(header.width) * header.height * 4)
        return { nullptr, &spng_ctx_free };
    return ctx;
}

} // namespace

std::optional<size_t> PNGCodec::decodingCost(std::span<const uint8_t> data)
{
    auto ctx = openDecoder(data);
    if (!ctx)
        return std::nullopt;
    spng_ihdr header {};
    if (spng_get_ihdr(ctx.get(), &header))
        return std::nullopt;
    return costOf(header);
}

RefPtr<CGImage> PNGCodec::decode(std::span<const uint8_t> data)
{
    spng_ihdr header {};
    auto ctx = openWithinLimits(data, header);
    if (!ctx)
        return nullptr;
    auto image = CGImage::create(header.width, header.height);
    if (!image || image->bytesPerRow() != size_t(header.width) * 4)
        return nullptr;
    // Decoded straight into the bitmap as R,G,B,A bytes, then turned into native words in place.
    size_t size = image->bytesPerRow() * image->height();
    auto* bytes = reinterpret_cast<uint8_t*>(image->rowAt(0));
    if (spng_decode_image(ctx.get(), bytes, size, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS))
        return nullptr;
    // The pixels can be complete while the file is not: read on to IEND, checking every CRC.
    if (spng_decode_chunks(ctx.get()))
        return nullptr;
    for (size_t y = 0; y < image->height(); ++y) {
        uint32_t* row = image->rowAt(y);
        premultiplyRow(reinterpret_cast<const uint8_t*>(row), row, image->width());
    }
    return image;
}

bool PNGCodec::decodeRows(std::span<const uint8_t> data, const std::function<void(size_t width, size_t height)>& begin,
    const std::function<void(const uint8_t* row)>& row)
{
    spng_ihdr header {};
    auto ctx = openWithinLimits(data, header);
    if (!ctx)
        return false;
    size_t width = header.width;
    size_t rowBytes = width * 4;
    begin(width, header.height);
    if (header.interlace_method != SPNG_INTERLACE_NONE) {
        // Passes write scattered pixels of many rows, so an interlaced image is decoded whole.
        std::vector<uint8_t> image(rowBytes * header.height);
        if (spng_decode_image(ctx.get(), image.data(), image.size(), SPNG_FMT_RGBA8, SPNG_DECODE_TRNS) || spng_decode_chunks(ctx.get()))
            return false;
        for (size_t y = 0; y < header.height; ++y) {
            uint8_t* bytes = image.data() + y * rowBytes;
            premultiplyInPlace(bytes, width);
            row(bytes);
        }
        return true;
    }
    std::vector<uint8_t> bytes(rowBytes);
    if (spng_decode_image(ctx.get(), nullptr, 0, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE))
        return false;
    for (size_t y = 0; y < header.height; ++y) {
        int status = spng_decode_row(ctx.get(), bytes.data(), rowBytes);
        if (status != 0 && !(status == SPNG_EOI && y + 1 == header.height))
            return false;
        premultiplyInPlace(bytes.data(), width);
        row(bytes.data());
    }
    return spng_decode_chunks(ctx.get()) == 0;
}

std::optional<std::vector<uint8_t>> PNGCodec::encode(const CGImage& image)
{
    // cairo writes PNG files; it is loaded only by a program that writes one.
    if (auto* backend = DrawingBackend::shared())
        return backend->encodePNG(image);
    return std::nullopt;
}
