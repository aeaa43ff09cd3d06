#pragma once

#include "platform/graphics/CGContext.h"

#include <array>
#include <optional>
#include <vector>

// Drawing on bitmaps is cairo's work, done by the drawing library (CairoDrawing.h). cairo
// and the twenty libraries it brings take longer to load than a small icon takes to
// decode and measure, so this library does not link it: a program that draws links the
// drawing library, and one that only decodes and measures images loads it the first time
// it draws, if ever.
class DrawingBackend {
public:
    // The drawing library's backend, loading the library on first use; null, after one
    // message on standard error, when it cannot be loaded. Then nothing is drawn.
    static DrawingBackend* shared();
    // Called by the drawing library as it loads.
    static void install(DrawingBackend&);

    // The image stretched over the rectangle, its first row at the top (at the bottom when
    // flipped), sampled with the context's interpolation quality, composited by the mode.
    virtual void drawImage(CGContext&, CGContext::DeviceRect, bool flipped, const CGImage&, CGBlendMode, double alpha) = 0;
    // A rectangle of user space filled with a colour, or cleared to transparent.
    virtual void fillRect(CGContext&, CGRect, const std::array<double, 4>& rgba) = 0;
    virtual void clearRect(CGContext&, CGRect) = 0;
    virtual std::optional<std::vector<uint8_t>> encodePNG(const CGImage&) = 0;

protected:
    ~DrawingBackend() = default;
};
