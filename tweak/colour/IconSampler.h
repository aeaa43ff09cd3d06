#pragma once

#include "platform/graphics/UIImage.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

// What an image's palette and merged colour are read from: the image drawn into the 10 × 10
// sample grid (bytes red, green, blue, alpha, premultiplied, 40 bytes a row) and into the
// one-pixel merge context (bytes blue, green, red, alpha, premultiplied).
struct IconSamples {
    std::array<uint8_t, 400> grid {};
    std::array<uint8_t, 4> merged {};
};

class IconSampler {
public:
    static constexpr size_t gridSide = 10;

    // The image drawn into the grid at the context's default quality; a nil image or one
    // without a bitmap leaves the grid cleared.
    static std::array<uint8_t, 400> drawGrid(const UIImage*);
    // The image drawn into one pixel at medium quality with the copy blend mode; nullopt when
    // the context could not be made.
    static std::optional<std::array<uint8_t, 4>> drawMerged(const UIImage*);

    // The same samples as decoding a PNG file into an image and drawing it, but each row is
    // averaged into the grid as the decoder produces it, so the image is decoded once and
    // never held whole. Nullopt for data UIImage::imageWithData refuses.
    static std::optional<IconSamples> sampleData(std::span<const uint8_t> png);
};
