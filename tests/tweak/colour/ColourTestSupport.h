#pragma once

#include "platform/graphics/UIColor.h"
#include "platform/graphics/UIImage.h"
#include "tweak/entry/TintwellMethods.h"

#include <gtest/gtest.h>

#include <functional>

namespace colourtest {

// A 10 × 10 image, so every sample of the palette grid is exactly one pixel of it.
// Pixels are given unpremultiplied and stored premultiplied, as a decoded PNG would be.
inline RefPtr<UIImage> imageOf(const std::function<CGImage::Pixel(size_t x, size_t y)>& pixelAt, size_t side = 10)
{
    auto bitmap = CGImage::create(side, side);
    for (size_t y = 0; y < side; ++y) {
        for (size_t x = 0; x < side; ++x) {
            auto p = pixelAt(x, y);
            auto premultiply = [&](uint8_t c) { return uint8_t((c * p.alpha + 127) / 255); };
            bitmap->setPixelAt(x, y, { premultiply(p.red), premultiply(p.green), premultiply(p.blue), p.alpha });
        }
    }
    return UIImage::imageWithCGImage(bitmap);
}

inline RefPtr<UIImage> uniformImage(CGImage::Pixel pixel, size_t side = 10)
{
    return imageOf([&](size_t, size_t) { return pixel; }, side);
}

inline RefPtr<UIColor> rgb(double red, double green, double blue, double alpha = 1) { return UIColor::colorWithRed(red, green, blue, alpha); }

// The colour a palette sample of these bytes is.
inline RefPtr<UIColor> sampled(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha = 255)
{
    return rgb(float(red) / 255.0f, float(green) / 255.0f, float(blue) / 255.0f, alpha);
}

inline ::testing::AssertionResult sameColour(const UIColor* actual, const UIColor* expected)
{
    if (!actual || !expected)
        return actual == expected ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << "one colour is nil";
    if (actual->isEqual(const_cast<UIColor*>(expected)))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual->hexString() << " (" << actual->red() << ", " << actual->green() << ", "
                                         << actual->blue() << ", " << actual->alpha() << ") is not " << expected->hexString();
}

class ColourTest : public ::testing::Test {
protected:
    void SetUp() override { registerTintwellMethods(); }
};

} // namespace colourtest
