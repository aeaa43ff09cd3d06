#include "platform/graphics/CGImage.h"

Class CGImage::classObject()
{
    static Class cls = ClassBuilder<CGImage>("CGImage", Object::classObject()).build();
    return cls;
}

RefPtr<CGImage> CGImage::create(size_t width, size_t height)
{
    // cairo draws nothing larger.
    if (!width || !height || width > 32767 || height > 32767)
        return nullptr;
    // 4 bytes a pixel is also cairo's row alignment, so its surfaces can share the memory.
    size_t stride = width * 4;
    // calloc: a large bitmap's untouched pages cost nothing until drawn on.
    auto* data = static_cast<uint8_t*>(std::calloc(height, stride));
    if (!data)
        return nullptr;
    auto image = make<CGImage>();
    image->m_data.reset(data);
    image->m_width = width;
    image->m_height = height;
    image->m_stride = stride;
    return image;
}

uint32_t* CGImage::rowAt(size_t y) { return reinterpret_cast<uint32_t*>(m_data.get() + y * m_stride); }
const uint32_t* CGImage::rowAt(size_t y) const { return reinterpret_cast<const uint32_t*>(m_data.get() + y * m_stride); }

CGImage::Pixel CGImage::pixelAt(size_t x, size_t y) const
{
    if (x >= m_width || y >= m_height)
        return {};
    uint32_t word = rowAt(y)[x];
    return { uint8_t(word >> 16), uint8_t(word >> 8), uint8_t(word), uint8_t(word >> 24) };
}

void CGImage::setPixelAt(size_t x, size_t y, Pixel pixel)
{
    if (x >= m_width || y >= m_height)
        return;
    rowAt(y)[x] = uint32_t(pixel.alpha) << 24 | uint32_t(pixel.red) << 16 | uint32_t(pixel.green) << 8 | pixel.blue;
}

size_t CGImageGetWidth(CGImageRef image) { return image ? image->width() : 0; }
size_t CGImageGetHeight(CGImageRef image) { return image ? image->height() : 0; }

CGImageRef CGImageRetain(CGImageRef image)
{
    if (image)
        image->retain();
    return image;
}

void CGImageRelease(CGImageRef image)
{
    if (image)
        image->release();
}
