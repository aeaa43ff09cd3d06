#include "platform/graphics/CairoDrawing.h"

#include "platform/graphics/DrawingBackend.h"

namespace {

cairo_operator_t cairoOperator(CGBlendMode mode)
{
    switch (mode) {
    case kCGBlendModeMultiply: return CAIRO_OPERATOR_MULTIPLY;
    case kCGBlendModeScreen: return CAIRO_OPERATOR_SCREEN;
    case kCGBlendModeOverlay: return CAIRO_OPERATOR_OVERLAY;
    case kCGBlendModeDarken: return CAIRO_OPERATOR_DARKEN;
    case kCGBlendModeLighten: return CAIRO_OPERATOR_LIGHTEN;
    case kCGBlendModeColorDodge: return CAIRO_OPERATOR_COLOR_DODGE;
    case kCGBlendModeColorBurn: return CAIRO_OPERATOR_COLOR_BURN;
    case kCGBlendModeSoftLight: return CAIRO_OPERATOR_SOFT_LIGHT;
    case kCGBlendModeHardLight: return CAIRO_OPERATOR_HARD_LIGHT;
    case kCGBlendModeDifference: return CAIRO_OPERATOR_DIFFERENCE;
    case kCGBlendModeExclusion: return CAIRO_OPERATOR_EXCLUSION;
    case kCGBlendModeHue: return CAIRO_OPERATOR_HSL_HUE;
    case kCGBlendModeSaturation: return CAIRO_OPERATOR_HSL_SATURATION;
    case kCGBlendModeColor: return CAIRO_OPERATOR_HSL_COLOR;
    case kCGBlendModeLuminosity: return CAIRO_OPERATOR_HSL_LUMINOSITY;
    case kCGBlendModeClear: return CAIRO_OPERATOR_CLEAR;
    case kCGBlendModeCopy: return CAIRO_OPERATOR_SOURCE;
    case kCGBlendModeSourceIn: return CAIRO_OPERATOR_IN;
    case kCGBlendModeSourceOut: return CAIRO_OPERATOR_OUT;
    case kCGBlendModeSourceAtop: return CAIRO_OPERATOR_ATOP;
    case kCGBlendModeDestinationOver: return CAIRO_OPERATOR_DEST_OVER;
    case kCGBlendModeDestinationIn: return CAIRO_OPERATOR_DEST_IN;
    case kCGBlendModeDestinationOut: return CAIRO_OPERATOR_DEST_OUT;
    case kCGBlendModeDestinationAtop: return CAIRO_OPERATOR_DEST_ATOP;
    case kCGBlendModeXOR: return CAIRO_OPERATOR_XOR;
    case kCGBlendModePlusLighter: return CAIRO_OPERATOR_ADD;
    case kCGBlendModePlusDarker: // no cairo equivalent; the nearest ordinary result
    case kCGBlendModeNormal:
    default: return CAIRO_OPERATOR_OVER;
    }
}

cairo_filter_t cairoFilter(CGInterpolationQuality quality)
{
    switch (quality) {
    case kCGInterpolationNone: return CAIRO_FILTER_NEAREST;
    case kCGInterpolationLow: return CAIRO_FILTER_BILINEAR;
    default: return CAIRO_FILTER_GOOD;
    }
}

CairoSurface surfaceOver(uint8_t* data, cairo_format_t format, size_t width, size_t height, size_t bytesPerRow)
{
    return CairoSurface(cairo_image_surface_create_for_data(data, format, int(width), int(height), int(bytesPerRow)));
}

// The context's bitmap as cairo's for the duration of one drawing.
class Session {
public:
    explicit Session(CGContext& context)
        : m_context(context)
    {
        m_context.beginNativeAccess();
        m_surface = surfaceOver(static_cast<uint8_t*>(context.data()), context.hasAlpha() ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24,
            context.width(), context.height(), context.bytesPerRow());
        m_cairo = cairo_create(m_surface.get());
    }
    ~Session()
    {
        cairo_destroy(m_cairo);
        cairo_surface_flush(m_surface.get());
        m_surface.reset();
        m_context.endNativeAccess();
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    cairo_t* cairo() const { return m_cairo; }

private:
    CGContext& m_context;
    CairoSurface m_surface;
    cairo_t* m_cairo { nullptr };
};

class CairoBackend final : public DrawingBackend {
public:
    void drawImage(CGContext& context, CGContext::DeviceRect rect, bool flipped, const CGImage& image, CGBlendMode mode, double alpha) override
    {
        Session session(context);
        cairo_t* cr = session.cairo();
        auto source = cairoSurface(image);
        cairo_set_operator(cr, cairoOperator(mode));
        cairo_rectangle(cr, rect.x, rect.y, rect.width, rect.height);
        cairo_clip(cr);
        cairo_translate(cr, rect.x, flipped ? rect.y + rect.height : rect.y);
        cairo_scale(cr, rect.width / double(image.width()), (flipped ? -rect.height : rect.height) / double(image.height()));
        cairo_set_source_surface(cr, source.get(), 0, 0);
        cairo_pattern_t* pattern = cairo_get_source(cr);
        cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
        cairo_pattern_set_filter(pattern, cairoFilter(context.interpolationQuality()));
        if (alpha >= 1)
            cairo_paint(cr);
        else
            cairo_paint_with_alpha(cr, alpha);
    }

    void fillRect(CGContext& context, CGRect rect, const std::array<double, 4>& c) override
    {
        withCairo(context, [&](cairo_t* cr) {
            cairo_set_source_rgba(cr, c[0], c[1], c[2], c[3]);
            cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
            cairo_fill(cr);
        });
    }

    void clearRect(CGContext& context, CGRect rect) override
    {
        withCairo(context, [&](cairo_t* cr) {
            cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
            cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
            cairo_fill(cr);
        });
    }

    std::optional<std::vector<uint8_t>> encodePNG(const CGImage& image) override
    {
        std::vector<uint8_t> out;
        auto write = [](void* closure, const unsigned char* data, unsigned length) {
            auto* bytes = static_cast<std::vector<uint8_t>*>(closure);
            bytes->insert(bytes->end(), data, data + length);
            return CAIRO_STATUS_SUCCESS;
        };
        if (cairo_surface_write_to_png_stream(cairoSurface(image).get(), write, &out) != CAIRO_STATUS_SUCCESS)
            return std::nullopt;
        return out;
    }
};

CairoBackend backend;
// Installed as the library loads, whether linked or loaded on first drawing.
[[maybe_unused]] const bool backendInstalled = (DrawingBackend::install(backend), true);

} // namespace

CairoSurface cairoSurface(CGImage& image)
{
    return surfaceOver(image.data(), CAIRO_FORMAT_ARGB32, image.width(), image.height(), image.bytesPerRow());
}

CairoSurface cairoSurface(const CGImage& image)
{
    // cairo takes no const pixels; a source surface is only read.
    return cairoSurface(const_cast<CGImage&>(image));
}

void withCairo(CGContext& context, const std::function<void(cairo_t*)>& draw)
{
    Session session(context);
    cairo_t* cr = session.cairo();
    if (context.isYDown()) {
        cairo_scale(cr, context.scale(), context.scale());
    } else {
        cairo_translate(cr, 0, double(context.height()));
        cairo_scale(cr, context.scale(), -context.scale());
    }
    draw(cr);
}
