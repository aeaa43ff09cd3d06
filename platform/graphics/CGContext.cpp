#include "platform/graphics/CGContext.h"

#include "platform/graphics/AreaAverager.h"
#include "platform/graphics/DrawingBackend.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace {

// cairo's ARGB32 word as bytes in memory: B,G,R,A on little-endian hosts.
constexpr std::array<uint8_t, 4> nativeOffsets = std::endian::native == std::endian::little
    ? std::array<uint8_t, 4> { 2, 1, 0, 3 }
    : std::array<uint8_t, 4> { 1, 2, 3, 0 };

struct PixelFormat {
    std::array<uint8_t, 4> offsets;
    bool hasAlpha;
};

std::optional<PixelFormat> pixelFormatFor(uint32_t bitmapInfo)
{
    uint32_t alpha = bitmapInfo & kCGBitmapAlphaInfoMask;
    uint32_t order = bitmapInfo & kCGBitmapByteOrderMask;
    if (bitmapInfo & ~(kCGBitmapAlphaInfoMask | kCGBitmapByteOrderMask))
        return std::nullopt;
    bool alphaFirst;
    bool hasAlpha;
    switch (alpha) {
    case kCGImageAlphaPremultipliedLast:
        alphaFirst = false, hasAlpha = true;
        break;
    case kCGImageAlphaPremultipliedFirst:
        alphaFirst = true, hasAlpha = true;
        break;
    case kCGImageAlphaNoneSkipLast:
        alphaFirst = false, hasAlpha = false;
        break;
    case kCGImageAlphaNoneSkipFirst:
        alphaFirst = true, hasAlpha = false;
        break;
    default:
        return std::nullopt;
    }
    // Components in logical order A,R,G,B or R,G,B,A; 32-bit little-endian reverses them in memory.
    std::array<uint8_t, 4> offsets = alphaFirst ? std::array<uint8_t, 4> { 1, 2, 3, 0 } : std::array<uint8_t, 4> { 0, 1, 2, 3 };
    if (order == kCGBitmapByteOrder32Little) {
        for (auto& offset : offsets)
            offset = uint8_t(3 - offset);
    } else if (order != kCGBitmapByteOrderDefault && order != kCGBitmapByteOrder32Big) {
        return std::nullopt;
    }
    return PixelFormat { offsets, hasAlpha };
}

} // namespace

Class CGContext::classObject()
{
    static Class cls = ClassBuilder<CGContext>("CGContext", Object::classObject()).build();
    return cls;
}

RefPtr<CGContext> CGContext::createBitmap(void* data, size_t width, size_t height, size_t bitsPerComponent,
    size_t bytesPerRow, uint32_t bitmapInfo)
{
    if (!width || !height || width > 32767 || height > 32767 || bitsPerComponent != 8)
        return nullptr;
    auto format = pixelFormatFor(bitmapInfo);
    if (!format)
        return nullptr;
    if (!bytesPerRow)
        bytesPerRow = width * 4;
    if (bytesPerRow < width * 4 || bytesPerRow % 4 || bytesPerRow > size_t(INT32_MAX))
        return nullptr;
    auto context = make<CGContext>();
    if (!data) {
        context->m_ownedData.reset(new (std::nothrow) uint8_t[bytesPerRow * height]());
        if (!context->m_ownedData)
            return nullptr;
        data = context->m_ownedData.get();
    }
    context->m_data = static_cast<uint8_t*>(data);
    context->m_width = width;
    context->m_height = height;
    context->m_bytesPerRow = bytesPerRow;
    context->m_bitmapInfo = bitmapInfo;
    context->m_offsets = format->offsets;
    context->m_hasAlpha = format->hasAlpha;
    context->m_nativeOrder = format->offsets == nativeOffsets;
    return context;
}

RefPtr<CGContext> CGContext::createImageContext(CGSize size, bool opaque, double scale)
{
    if (!(scale > 0) || !(size.width > 0) || !(size.height > 0))
        return nullptr;
    double width = std::ceil(size.width * scale);
    double height = std::ceil(size.height * scale);
    if (width > 32767 || height > 32767)
        return nullptr;
    uint32_t info = (opaque ? kCGImageAlphaNoneSkipFirst : kCGImageAlphaPremultipliedFirst) | kCGBitmapByteOrder32Little;
    auto context = createBitmap(nullptr, size_t(width), size_t(height), 8, 0, info);
    if (!context)
        return nullptr;
    context->m_yDown = true;
    context->m_scale = scale;
    return context;
}

CGContext::DeviceRect CGContext::toDevice(CGRect rect) const
{
    double x = CGRectGetMinX(rect) * m_scale;
    double width = CGRectGetWidth(rect) * m_scale;
    double height = CGRectGetHeight(rect) * m_scale;
    double y = m_yDown ? CGRectGetMinY(rect) * m_scale : double(m_height) - CGRectGetMaxY(rect) * m_scale;
    return { x, y, width, height };
}

void CGContext::beginNativeAccess()
{
    if (m_nativeOrder)
        return;
    for (size_t y = 0; y < m_height; ++y) {
        uint8_t* pixel = m_data + y * m_bytesPerRow;
        for (size_t x = 0; x < m_width; ++x, pixel += 4) {
            uint8_t alpha = m_hasAlpha ? pixel[m_offsets[3]] : 0xff;
            uint32_t word = uint32_t(alpha) << 24 | uint32_t(pixel[m_offsets[0]]) << 16 | uint32_t(pixel[m_offsets[1]]) << 8 | pixel[m_offsets[2]];
            std::memcpy(pixel, &word, 4);
        }
    }
}

void CGContext::endNativeAccess()
{
    if (m_nativeOrder)
        return;
    for (size_t y = 0; y < m_height; ++y) {
        uint8_t* pixel = m_data + y * m_bytesPerRow;
        for (size_t x = 0; x < m_width; ++x, pixel += 4) {
            uint32_t word;
            std::memcpy(&word, pixel, 4);
            pixel[m_offsets[0]] = uint8_t(word >> 16);
            pixel[m_offsets[1]] = uint8_t(word >> 8);
            pixel[m_offsets[2]] = uint8_t(word);
            pixel[m_offsets[3]] = m_hasAlpha ? uint8_t(word >> 24) : 0xff;
        }
    }
}

void CGContext::drawInDevice(DeviceRect rect, bool flipped, const CGImage& image, CGBlendMode mode, double alpha)
{
    if (!(rect.width > 0) || !(rect.height > 0) || !(alpha > 0))
        return;
    RefPtr<CGImage> reduced;
    const CGImage* source = &image;
    if (m_quality != kCGInterpolationNone) {
        // Shrink by area first so cairo's filter is left with a scale near 1.
        size_t targetWidth = std::min<size_t>(image.width(), size_t(std::max(1.0, std::round(std::min(rect.width, 32767.0)))));
        size_t targetHeight = std::min<size_t>(image.height(), size_t(std::max(1.0, std::round(std::min(rect.height, 32767.0)))));
        if (targetWidth < image.width() || targetHeight < image.height()) {
            reduced = AreaAverager::shrink(image, targetWidth, targetHeight);
            if (reduced)
                source = reduced.get();
        }
    }
    if (auto* backend = DrawingBackend::shared())
        backend->drawImage(*this, rect, flipped, *source, mode, alpha);
}

void CGContext::drawImage(CGRect rect, CGImageRef image)
{
    if (!image)
        return;
    drawInDevice(toDevice(rect), m_yDown, *image, kCGBlendModeNormal, 1);
}

void CGContext::drawImageUpright(CGRect rect, CGImageRef image, CGBlendMode mode, double alpha)
{
    if (!image)
        return;
    drawInDevice(toDevice(rect), !m_yDown, *image, mode, std::min(alpha, 1.0));
}

void CGContext::fillRect(CGRect rect)
{
    if (!m_fillColor)
        return;
    if (auto* backend = DrawingBackend::shared())
        backend->fillRect(*this, rect, m_fillColor->components());
}

void CGContext::clearRect(CGRect rect)
{
    if (auto* backend = DrawingBackend::shared())
        backend->clearRect(*this, rect);
}

RefPtr<CGImage> CGContext::makeImage() const
{
    auto image = CGImage::create(m_width, m_height);
    if (!image)
        return nullptr;
    for (size_t y = 0; y < m_height; ++y) {
        const uint8_t* pixel = m_data + y * m_bytesPerRow;
        uint32_t* out = image->rowAt(y);
        for (size_t x = 0; x < m_width; ++x, pixel += 4) {
            uint8_t alpha = m_hasAlpha ? pixel[m_offsets[3]] : 0xff;
            out[x] = uint32_t(alpha) << 24 | uint32_t(pixel[m_offsets[0]]) << 16 | uint32_t(pixel[m_offsets[1]]) << 8 | pixel[m_offsets[2]];
        }
    }
    return image;
}

CGContextRef CGBitmapContextCreate(void* data, size_t width, size_t height, size_t bitsPerComponent,
    size_t bytesPerRow, CGColorSpaceRef, uint32_t bitmapInfo)
{
    return CGContext::createBitmap(data, width, height, bitsPerComponent, bytesPerRow, bitmapInfo).leakRef();
}

CGContextRef CGContextRetain(CGContextRef context)
{
    if (context)
        context->retain();
    return context;
}

void CGContextRelease(CGContextRef context)
{
    if (context)
        context->release();
}

void* CGBitmapContextGetData(CGContextRef context) { return context ? context->data() : nullptr; }
size_t CGBitmapContextGetWidth(CGContextRef context) { return context ? context->width() : 0; }
size_t CGBitmapContextGetHeight(CGContextRef context) { return context ? context->height() : 0; }
size_t CGBitmapContextGetBytesPerRow(CGContextRef context) { return context ? context->bytesPerRow() : 0; }

CGImageRef CGBitmapContextCreateImage(CGContextRef context) { return context ? context->makeImage().leakRef() : nullptr; }

void CGContextSetInterpolationQuality(CGContextRef context, CGInterpolationQuality quality)
{
    if (context)
        context->setInterpolationQuality(quality);
}

CGInterpolationQuality CGContextGetInterpolationQuality(CGContextRef context)
{
    return context ? context->interpolationQuality() : kCGInterpolationDefault;
}

void CGContextDrawImage(CGContextRef context, CGRect rect, CGImageRef image)
{
    if (context)
        context->drawImage(rect, image);
}

void CGContextSetFillColorWithColor(CGContextRef context, CGColorRef color)
{
    if (context)
        context->setFillColor(color);
}

void CGContextSetRGBFillColor(CGContextRef context, double red, double green, double blue, double alpha)
{
    if (context)
        context->setFillColor(CGColor::create(red, green, blue, alpha).get());
}

void CGContextFillRect(CGContextRef context, CGRect rect)
{
    if (context)
        context->fillRect(rect);
}

void CGContextClearRect(CGContextRef context, CGRect rect)
{
    if (context)
        context->clearRect(rect);
}
