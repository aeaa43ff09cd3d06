#pragma once

#include "platform/graphics/CGContext.h"
#include "platform/graphics/CGGeometry.h"
#include "platform/graphics/CGImage.h"
#include "platform/foundation/NSData.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// The phone's image: a bitmap (which may be missing) with a size in points and a scale.
// Registered methods: CGImage, size, scale, drawInRect:, drawInRect:blendMode:alpha:,
// drawAtPoint:.
class UIImage : public Object {
    TW_OBJECT(UIImage)
public:
    // A PNG file named by its device path; nil when missing, unreadable or not a PNG.
    static RefPtr<UIImage> imageWithContentsOfFile(std::string_view devicePath);
    enum class Links { Follow, Refuse };
    // With Links::Refuse a path that is itself a link reads as missing.
    static RefPtr<UIImage> imageWithContentsOfHostFile(const std::filesystem::path&, Links = Links::Follow);
    // The bytes imageWithContentsOfHostFile would decode: nullopt for anything but a
    // non-empty plain file within the decoding limits.
    static std::optional<std::vector<uint8_t>> contentsOfHostFile(const std::filesystem::path&, Links = Links::Follow);
    static RefPtr<UIImage> imageWithData(NSData* png, double scale = 1.0);
    static RefPtr<UIImage> imageWithData(std::span<const uint8_t> png, double scale = 1.0);
    // A nil bitmap gives an image without one, as on the phone.
    static RefPtr<UIImage> imageWithCGImage(RefPtr<::CGImage>, double scale = 1.0);

    // Selector "CGImage".
    ::CGImage* cgImage() const { return m_cgImage.get(); }
    CGSize size() const;
    double scale() const { return m_scale; }
    // Premultiplied pixel of the bitmap, cleared when there is none.
    ::CGImage::Pixel pixelAt(size_t x, size_t y) const;

    // Into the current UIGraphics context; nothing happens without one.
    void drawInRect(CGRect);
    void drawInRectBlendMode(CGRect, int blendMode, double alpha);
    void drawAtPoint(CGPoint);

    std::optional<std::vector<uint8_t>> pngData() const;
    bool writePNG(const std::filesystem::path&) const;

protected:
    UIImage() = default;

private:
    RefPtr<::CGImage> cgImageObject() const { return m_cgImage; }

    RefPtr<::CGImage> m_cgImage;
    double m_scale { 1 };
};

// Nil for a missing image or one without a bitmap.
RefPtr<NSData> UIImagePNGRepresentation(UIImage*);
