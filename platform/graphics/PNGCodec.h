#pragma once

#include "platform/graphics/CGImage.h"

#include <functional>
#include <optional>
#include <span>
#include <vector>

// PNG files to and from premultiplied bitmaps.
class PNGCodec {
public:
    static constexpr uint32_t maximumDimension = 4096;
    static constexpr size_t decodingBudget = 64u << 20;

    // Every colour type and bit depth, interlaced or not. Nil for data that is not a
    // whole, valid PNG, or whose size exceeds the limits (checked before allocating).
    static RefPtr<CGImage> decode(std::span<const uint8_t> data);
    // The same pixels as decode(), handed over row by row from the top as premultiplied
    // R,G,B,A bytes, without holding the whole image: `begin` learns the size before the
    // first row. False for everything decode() refuses; rows already handed over then
    // belong to no image.
    static bool decodeRows(std::span<const uint8_t> data, const std::function<void(size_t width, size_t height)>& begin,
        const std::function<void(const uint8_t* row)>& row);
    // The memory decoding the image would take, from its header; nullopt when unreadable.
    static std::optional<size_t> decodingCost(std::span<const uint8_t> data);
    static std::optional<std::vector<uint8_t>> encode(const CGImage&);
};
