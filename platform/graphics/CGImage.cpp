#include "platform/graphics/CGImage.h"

Class CGImage::classObject()
{
    static Class cls = ClassBuilder<CGImage>("CGImage", Object::classObject()).build();
    return cls;
}

RefPtr<CGImage> CGImage::create(size_t width, size_t height)
{
    if (!width || !height || width > 32767 || height > 32767)
        return nullptr;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(width), int(height));
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    auto image = make<CGImage>();
    image->m_surface = surface;
    image->m_data = cairo_image_surface_get_data(surface);
    image->m_width = width;
    image->m_height = height;
    image->m_stride = size_t(cairo_image_surface_get_stride(surface));
    return image;
}

CGImage::~CGImage()
{
    if (m_surface)
        cairo_surface_destroy(m_surface);
}

uint32_t* CGImage::rowAt(size_t y) { return reinterpret_cast<uint32_t*>(m_data + y * m_stride); }
const uint32_t* CGImage::rowAt(size_t y) const { return reinterpret_cast<const uint32_t*>(m_data + y * m_stride); }

cairo_surface_t* CGImage::surface() const
{
    // Direct writes bypass cairo; any cached copy of the pixels must be dropped.
    cairo_surface_mark_dirty(m_surface);
    return m_surface;
}

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
