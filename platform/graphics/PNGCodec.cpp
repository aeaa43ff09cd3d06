#include "platform/graphics/PNGCodec.h"

#include <memory>
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
    auto ctx = openDecoder(data);
    if (!ctx)
        return nullptr;
    spng_ihdr header {};
    if (spng_get_ihdr(ctx.get(), &header))
        return nullptr;
    auto cost = costOf(header);
    if (!cost || *cost > decodingBudget)
        return nullptr;
    size_t size = 0;
    if (spng_decoded_image_size(ctx.get(), SPNG_FMT_RGBA8, &size))
        return nullptr;
    auto image = CGImage::create(header.width, header.height);
    if (!image || size != image->bytesPerRow() * image->height())
        return nullptr;
    // Decoded straight into the bitmap as R,G,B,A bytes, then turned into native words in place.
    auto* bytes = reinterpret_cast<uint8_t*>(image->rowAt(0));
    if (spng_decode_image(ctx.get(), bytes, size, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS))
        return nullptr;
    // The pixels can be complete while the file is not: read on to IEND, checking every CRC.
    if (spng_decode_chunks(ctx.get()))
        return nullptr;
    for (size_t y = 0; y < image->height(); ++y) {
        uint32_t* row = image->rowAt(y);
        const uint8_t* in = reinterpret_cast<const uint8_t*>(row);
        for (size_t x = 0; x < image->width(); ++x, in += 4) {
            uint8_t a = in[3];
            row[x] = uint32_t(a) << 24 | uint32_t(premultiply(in[0], a)) << 16 | uint32_t(premultiply(in[1], a)) << 8 | premultiply(in[2], a);
        }
    }
    return image;
}

std::optional<std::vector<uint8_t>> PNGCodec::encode(const CGImage& image)
{
    std::vector<uint8_t> out;
    auto write = [](void* closure, const unsigned char* data, unsigned length) {
        static_cast<std::vector<uint8_t>*>(closure)->insert(static_cast<std::vector<uint8_t>*>(closure)->end(), data, data + length);
        return CAIRO_STATUS_SUCCESS;
    };
    if (cairo_surface_write_to_png_stream(image.surface(), write, &out) != CAIRO_STATUS_SUCCESS)
        return std::nullopt;
    return out;
}
