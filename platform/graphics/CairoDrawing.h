#pragma once

#include "platform/graphics/CGContext.h"

#include <cairo.h>
#include <functional>
#include <memory>

// The drawing library: cairo over the graphics layer's bitmaps. Code that draws with cairo
// directly (the view renderer, the app icons, the sample artwork) links it; linking it loads
// cairo when the program starts.

struct CairoSurfaceRelease {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using CairoSurface = std::unique_ptr<cairo_surface_t, CairoSurfaceRelease>;

// A surface over the image's own pixels: drawing on it writes the image. Keep the image
// alive as long as the surface, or a pattern made from it, is used.
CairoSurface cairoSurface(CGImage&);
// The same for reading, as a source.
CairoSurface cairoSurface(const CGImage&);

// Runs `draw` on a cairo context over the context's bitmap whose user space is the context's.
void withCairo(CGContext&, const std::function<void(cairo_t*)>& draw);
