#pragma once

#include "platform/graphics/CGImage.h"

// Shrinks a bitmap so every output pixel is the exact mean of the source area it covers.
// cairo's filters sample only a few source pixels per output pixel, which on a large
// reduction reads a small part of the image.
class AreaAverager {
public:
    // Nil when the target is empty or larger than the source in either direction.
    static RefPtr<CGImage> shrink(const CGImage& source, size_t width, size_t height);
};
