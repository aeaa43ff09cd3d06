#pragma once

#include "platform/runtime/ClassBuilder.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

// An immutable-by-convention bitmap: 8-bit premultiplied RGBA, held in cairo's native
// ARGB32 layout so drawing never converts it. The pixels are the image's own memory, so
// making and reading images does not need cairo loaded.
class CGImage : public Object {
    TW_OBJECT(CGImage)
public:
    struct Pixel {
        uint8_t red { 0 };
        uint8_t green { 0 };
        uint8_t blue { 0 };
        uint8_t alpha { 0 };
        friend bool operator==(const Pixel&, const Pixel&) = default;
    };

    // A cleared bitmap; nil for an empty size or one cairo cannot hold.
    static RefPtr<CGImage> create(size_t width, size_t height);

    size_t width() const { return m_width; }
    size_t height() const { return m_height; }
    // Premultiplied components; reading outside the bitmap answers a cleared pixel.
    Pixel pixelAt(size_t x, size_t y) const;
    void setPixelAt(size_t x, size_t y, Pixel);

    // Native-endian 0xAARRGGBB words, bytesPerRow() apart.
    uint32_t* rowAt(size_t y);
    const uint32_t* rowAt(size_t y) const;
    size_t bytesPerRow() const { return m_stride; }
    uint8_t* data() { return m_data.get(); }
    const uint8_t* data() const { return m_data.get(); }

protected:
    CGImage() = default;

private:
    struct Free {
        void operator()(uint8_t* data) const { std::free(data); }
    };
    std::unique_ptr<uint8_t, Free> m_data;
    size_t m_width { 0 };
    size_t m_height { 0 };
    size_t m_stride { 0 };
};

using CGImageRef = CGImage*;

size_t CGImageGetWidth(CGImageRef);
size_t CGImageGetHeight(CGImageRef);
CGImageRef CGImageRetain(CGImageRef);
void CGImageRelease(CGImageRef);
