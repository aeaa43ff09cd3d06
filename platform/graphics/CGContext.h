#pragma once

#include "platform/graphics/CGColor.h"
#include "platform/graphics/CGColorSpace.h"
#include "platform/graphics/CGGeometry.h"
#include "platform/graphics/CGImage.h"

#include <array>
#include <optional>
#include <memory>

enum CGInterpolationQuality : int {
    kCGInterpolationDefault = 0,
    kCGInterpolationNone = 1,
    kCGInterpolationLow = 2,
    kCGInterpolationHigh = 3,
    kCGInterpolationMedium = 4,
};

enum CGBlendMode : int {
    kCGBlendModeNormal = 0,
    kCGBlendModeMultiply,
    kCGBlendModeScreen,
    kCGBlendModeOverlay,
    kCGBlendModeDarken,
    kCGBlendModeLighten,
    kCGBlendModeColorDodge,
    kCGBlendModeColorBurn,
    kCGBlendModeSoftLight,
    kCGBlendModeHardLight,
    kCGBlendModeDifference,
    kCGBlendModeExclusion,
    kCGBlendModeHue,
    kCGBlendModeSaturation,
    kCGBlendModeColor,
    kCGBlendModeLuminosity,
    kCGBlendModeClear,
    kCGBlendModeCopy,
    kCGBlendModeSourceIn,
    kCGBlendModeSourceOut,
    kCGBlendModeSourceAtop,
    kCGBlendModeDestinationOver,
    kCGBlendModeDestinationIn,
    kCGBlendModeDestinationOut,
    kCGBlendModeDestinationAtop,
    kCGBlendModeXOR,
    kCGBlendModePlusDarker,
    kCGBlendModePlusLighter,
};

// Plain integers, so the phone's `kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Big` is one.
using CGImageAlphaInfo = uint32_t;
inline constexpr uint32_t kCGImageAlphaNone = 0;
inline constexpr uint32_t kCGImageAlphaPremultipliedLast = 1;
inline constexpr uint32_t kCGImageAlphaPremultipliedFirst = 2;
inline constexpr uint32_t kCGImageAlphaLast = 3;
inline constexpr uint32_t kCGImageAlphaFirst = 4;
inline constexpr uint32_t kCGImageAlphaNoneSkipLast = 5;
inline constexpr uint32_t kCGImageAlphaNoneSkipFirst = 6;
inline constexpr uint32_t kCGImageAlphaOnly = 7;

using CGBitmapInfo = uint32_t;
inline constexpr uint32_t kCGBitmapAlphaInfoMask = 0x1F;
inline constexpr uint32_t kCGBitmapByteOrderMask = 0x7000;
inline constexpr uint32_t kCGBitmapByteOrderDefault = 0 << 12;
inline constexpr uint32_t kCGBitmapByteOrder16Little = 1 << 12;
inline constexpr uint32_t kCGBitmapByteOrder32Little = 2 << 12;
inline constexpr uint32_t kCGBitmapByteOrder16Big = 3 << 12;
inline constexpr uint32_t kCGBitmapByteOrder32Big = 4 << 12;

// A drawing destination over a 32-bit-per-pixel bitmap. Drawing is done by cairo, through
// the drawing library (DrawingBackend.h); a bitmap whose byte order is not cairo's is
// converted in place around each operation.
class CGContext : public Object {
    TW_OBJECT(CGContext)
public:
    // A rectangle in pixels, y down from the bitmap's first row.
    struct DeviceRect {
        double x, y, width, height;
    };

    // 8 bits per component, premultiplied or skipped alpha, first or last, default /
    // 32-bit big / 32-bit little order. Null data: the context owns a cleared bitmap.
    // Nil for any other format or a row too short for the width.
    static RefPtr<CGContext> createBitmap(void* data, size_t width, size_t height, size_t bitsPerComponent,
        size_t bytesPerRow, uint32_t bitmapInfo);
    // The UIKit image context: user space in points with y down, `scale` pixels per
    // point, bytes B,G,R,A (premultiplied first, 32-bit little-endian).
    static RefPtr<CGContext> createImageContext(CGSize, bool opaque, double scale);

    void* data() const { return m_data; }
    size_t width() const { return m_width; }
    size_t height() const { return m_height; }
    size_t bytesPerRow() const { return m_bytesPerRow; }
    uint32_t bitmapInfo() const { return m_bitmapInfo; }
    double scale() const { return m_scale; }
    CGInterpolationQuality interpolationQuality() const { return m_quality; }
    void setInterpolationQuality(CGInterpolationQuality quality) { m_quality = quality; }
    void setFillColor(CGColorRef color) { m_fillColor = color; }
    bool hasAlpha() const { return m_hasAlpha; }
    // The UIKit image context's user space runs y down; a bitmap context's, y up.
    bool isYDown() const { return m_yDown; }

    // CGContextDrawImage: the image's top row at the rectangle's maximum y of user space.
    void drawImage(CGRect, CGImageRef);
    // UIImage drawing: the image upright in the rectangle whatever the user space.
    void drawImageUpright(CGRect, CGImageRef, CGBlendMode, double alpha);
    void fillRect(CGRect);
    void clearRect(CGRect);
    // The pixels as an image, premultiplied; skipped alpha reads as opaque.
    RefPtr<CGImage> makeImage() const;

    // For the drawing library: the bitmap in cairo's ARGB32 words from the first call to
    // the second, so cairo can draw on it in place.
    void beginNativeAccess();
    void endNativeAccess();

protected:
    CGContext() = default;

private:
    DeviceRect toDevice(CGRect) const;
    void drawInDevice(DeviceRect, bool flipped, const CGImage&, CGBlendMode, double alpha);

    uint8_t* m_data { nullptr };
    std::unique_ptr<uint8_t[]> m_ownedData;
    size_t m_width { 0 };
    size_t m_height { 0 };
    size_t m_bytesPerRow { 0 };
    uint32_t m_bitmapInfo { 0 };
    // Byte positions of red, green, blue, alpha within a pixel in memory.
    std::array<uint8_t, 4> m_offsets {};
    bool m_nativeOrder { true };
    bool m_hasAlpha { true };
    bool m_yDown { false };
    double m_scale { 1 };
    CGInterpolationQuality m_quality { kCGInterpolationDefault };
    RefPtr<CGColor> m_fillColor;
};

using CGContextRef = CGContext*;

// Owned by the caller: balance with CGContextRelease.
CGContextRef CGBitmapContextCreate(void* data, size_t width, size_t height, size_t bitsPerComponent,
    size_t bytesPerRow, CGColorSpaceRef, uint32_t bitmapInfo);
CGContextRef CGContextRetain(CGContextRef);
void CGContextRelease(CGContextRef);
void* CGBitmapContextGetData(CGContextRef);
size_t CGBitmapContextGetWidth(CGContextRef);
size_t CGBitmapContextGetHeight(CGContextRef);
size_t CGBitmapContextGetBytesPerRow(CGContextRef);
// Owned by the caller: balance with CGImageRelease.
CGImageRef CGBitmapContextCreateImage(CGContextRef);
void CGContextSetInterpolationQuality(CGContextRef, CGInterpolationQuality);
CGInterpolationQuality CGContextGetInterpolationQuality(CGContextRef);
void CGContextDrawImage(CGContextRef, CGRect, CGImageRef);
void CGContextSetFillColorWithColor(CGContextRef, CGColorRef);
void CGContextSetRGBFillColor(CGContextRef, double red, double green, double blue, double alpha);
void CGContextFillRect(CGContextRef, CGRect);
void CGContextClearRect(CGContextRef, CGRect);
