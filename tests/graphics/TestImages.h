#pragma once

#include "platform/graphics/CGImage.h"

#include <cstdint>
#include <optional>
#include <random>
#include <spng.h>
#include <vector>

// PNG files and bitmaps made on the spot, so every expectation follows from its input.
namespace testimages {

struct PngSpec {
    uint32_t width { 1 };
    uint32_t height { 1 };
    uint8_t bitDepth { 8 };
    uint8_t colorType { SPNG_COLOR_TYPE_TRUECOLOR_ALPHA };
    bool interlaced { false };
    std::vector<uint8_t> rows; // raw scanlines as the PNG stores them, big-endian samples
    std::vector<spng_plte_entry> palette;
    std::vector<uint8_t> paletteAlpha; // tRNS for palette images
    std::optional<uint16_t> transparentGray;
};

// Every colour type with the bit depths PNG allows for it.
struct PngKind {
    uint8_t colorType;
    size_t channels;
    std::vector<uint8_t> depths;
};
inline const PngKind pngKinds[] = {
    { SPNG_COLOR_TYPE_GRAYSCALE, 1, { 1, 2, 4, 8, 16 } },
    { SPNG_COLOR_TYPE_TRUECOLOR, 3, { 8, 16 } },
    { SPNG_COLOR_TYPE_INDEXED, 1, { 1, 2, 4, 8 } },
    { SPNG_COLOR_TYPE_GRAYSCALE_ALPHA, 2, { 8, 16 } },
    { SPNG_COLOR_TYPE_TRUECOLOR_ALPHA, 4, { 8, 16 } },
};

inline std::vector<uint8_t> encodePng(const PngSpec& spec)
{
    spng_ctx* ctx = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr header {};
    header.width = spec.width;
    header.height = spec.height;
    header.bit_depth = spec.bitDepth;
    header.color_type = spec.colorType;
    header.interlace_method = spec.interlaced ? SPNG_INTERLACE_ADAM7 : SPNG_INTERLACE_NONE;
    spng_set_ihdr(ctx, &header);
    if (!spec.palette.empty()) {
        spng_plte plte {};
        plte.n_entries = uint32_t(spec.palette.size());
        std::copy(spec.palette.begin(), spec.palette.end(), plte.entries);
        spng_set_plte(ctx, &plte);
    }
    if (!spec.paletteAlpha.empty() || spec.transparentGray) {
        spng_trns trns {};
        trns.n_type3_entries = uint32_t(spec.paletteAlpha.size());
        std::copy(spec.paletteAlpha.begin(), spec.paletteAlpha.end(), trns.type3_alpha);
        trns.gray = spec.transparentGray.value_or(0);
        spng_set_trns(ctx, &trns);
    }
    int error = spng_encode_image(ctx, spec.rows.data(), spec.rows.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
    std::vector<uint8_t> out;
    size_t length = 0;
    if (!error) {
        auto* buffer = static_cast<uint8_t*>(spng_get_png_buffer(ctx, &length, &error));
        if (buffer)
            out.assign(buffer, buffer + length);
        free(buffer);
    }
    spng_ctx_free(ctx);
    return out;
}

// Packs samples of `bitDepth` bits (1, 2, 4, 8 or 16) into scanlines of `perRow` samples.
inline std::vector<uint8_t> packRows(const std::vector<uint16_t>& samples, size_t perRow, int bitDepth)
{
    std::vector<uint8_t> out;
    for (size_t start = 0; start < samples.size(); start += perRow) {
        if (bitDepth == 16) {
            for (size_t i = 0; i < perRow; ++i) {
                out.push_back(uint8_t(samples[start + i] >> 8));
                out.push_back(uint8_t(samples[start + i]));
            }
            continue;
        }
        size_t rowBytes = (perRow * bitDepth + 7) / 8;
        std::vector<uint8_t> row(rowBytes);
        for (size_t i = 0; i < perRow; ++i) {
            size_t bit = i * bitDepth;
            row[bit / 8] |= uint8_t(samples[start + i] << (8 - bitDepth - bit % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

// Random premultiplied pixels plus a diagonal gradient, so no region looks like another.
inline RefPtr<CGImage> irregularImage(size_t width, size_t height, uint32_t seed)
{
    auto image = CGImage::create(width, height);
    std::mt19937 random(seed);
    for (size_t y = 0; y < height; ++y) {
        for (size_t x = 0; x < width; ++x) {
            uint8_t alpha = uint8_t(random() % 2 ? 255 : random() % 256);
            auto component = [&](size_t ramp) { return uint8_t((ramp * 255 / (width + height) + random() % 64) * alpha / 318); };
            image->setPixelAt(x, y, { component(x + y), component(x), component(height - 1 - y + x / 2), alpha });
        }
    }
    return image;
}

} // namespace testimages
