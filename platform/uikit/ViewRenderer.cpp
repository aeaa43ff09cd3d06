#include "platform/uikit/ViewRenderer.h"

#include "platform/graphics/CairoDrawing.h"
#include "platform/graphics/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <pango/pangocairo.h>

namespace {

// Below this the phone does not draw a view at all.
constexpr double invisibleAlpha = 0.01;

void addRoundedRect(cairo_t* cr, double x, double y, double width, double height, double radius)
{
    radius = std::clamp(radius, 0.0, std::min(width, height) / 2);
    if (radius <= 0) {
        cairo_rectangle(cr, x, y, width, height);
        return;
    }
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + width - radius, y + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, x + width - radius, y + height - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, x + radius, y + height - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, x + radius, y + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void setSourceColor(cairo_t* cr, double red, double green, double blue, double alpha)
{
    cairo_set_source_rgba(cr, red, green, blue, std::clamp(alpha, 0.0, 1.0));
}

PangoWeight pangoWeight(double weight)
{
    if (weight >= UIFontWeightBold)
        return PANGO_WEIGHT_BOLD;
    if (weight >= UIFontWeightSemibold)
        return PANGO_WEIGHT_SEMIBOLD;
    if (weight >= UIFontWeightMedium)
        return PANGO_WEIGHT_MEDIUM;
    if (weight <= -0.4)
        return PANGO_WEIGHT_LIGHT;
    return PANGO_WEIGHT_NORMAL;
}

void drawLabel(cairo_t* cr, const UILabel& label)
{
    std::string text = label.textString();
    CGSize size = label.bounds().size;
    if (text.empty() || size.width <= 0 || size.height <= 0)
        return;
    std::unique_ptr<PangoLayout, decltype(&g_object_unref)> layout(pango_cairo_create_layout(cr), &g_object_unref);
    std::unique_ptr<PangoFontDescription, decltype(&pango_font_description_free)> font(pango_font_description_new(), &pango_font_description_free);
    pango_font_description_set_family(font.get(), "Sans");
    pango_font_description_set_absolute_size(font.get(), label.font()->pointSize() * PANGO_SCALE);
    pango_font_description_set_weight(font.get(), pangoWeight(label.font()->weight()));
    pango_layout_set_font_description(layout.get(), font.get());
    pango_layout_set_text(layout.get(), text.c_str(), -1);
    pango_layout_set_width(layout.get(), static_cast<int>(size.width * PANGO_SCALE));
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
    if (long lines = label.numberOfLines(); lines > 0) {
        pango_layout_set_ellipsize(layout.get(), PANGO_ELLIPSIZE_END);
        pango_layout_set_height(layout.get(), static_cast<int>(-lines));
    }
    switch (label.textAlignment()) {
    case NSTextAlignmentCenter:
        pango_layout_set_alignment(layout.get(), PANGO_ALIGN_CENTER);
        break;
    case NSTextAlignmentRight:
        pango_layout_set_alignment(layout.get(), PANGO_ALIGN_RIGHT);
        break;
    case NSTextAlignmentJustified:
        pango_layout_set_justify(layout.get(), true);
        [[fallthrough]];
    default:
        pango_layout_set_alignment(layout.get(), PANGO_ALIGN_LEFT);
    }
    int textWidth = 0;
    int textHeight = 0;
    pango_layout_get_pixel_size(layout.get(), &textWidth, &textHeight);
    auto color = label.textColor();
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, size.width, size.height);
    cairo_clip(cr);
    setSourceColor(cr, color->red(), color->green(), color->blue(), color->alpha());
    // A label centres its text block vertically, as on the phone.
    cairo_move_to(cr, 0, (size.height - textHeight) / 2);
    pango_cairo_show_layout(cr, layout.get());
    cairo_restore(cr);
}

CGRect imageRect(CGSize area, CGSize image, long contentMode)
{
    double scaleX = area.width / image.width;
    double scaleY = area.height / image.height;
    switch (contentMode) {
    case UIViewContentModeScaleToFill:
    case UIViewContentModeRedraw:
        return CGRectMake(0, 0, area.width, area.height);
    case UIViewContentModeScaleAspectFit:
        scaleX = scaleY = std::min(scaleX, scaleY);
        break;
    case UIViewContentModeScaleAspectFill:
        scaleX = scaleY = std::max(scaleX, scaleY);
        break;
    default:
        scaleX = scaleY = 1;
    }
    double width = image.width * scaleX;
    double height = image.height * scaleY;
    return CGRectMake((area.width - width) / 2, (area.height - height) / 2, width, height);
}

void drawImage(cairo_t* cr, const UIImageView& imageView)
{
    auto image = imageView.image();
    if (!image || !image->cgImage())
        return;
    CGImage* bitmap = image->cgImage();
    CGSize points = image->size();
    if (points.width <= 0 || points.height <= 0)
        return;
    CGRect target = imageRect(imageView.bounds().size, points, imageView.contentMode());
    auto source = cairoSurface(*bitmap);
    cairo_save(cr);
    cairo_translate(cr, target.origin.x, target.origin.y);
    cairo_scale(cr, target.size.width / double(bitmap->width()), target.size.height / double(bitmap->height()));
    cairo_set_source_surface(cr, source.get(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_rectangle(cr, 0, 0, double(bitmap->width()), double(bitmap->height()));
    cairo_fill(cr);
    cairo_restore(cr);
}

void drawView(cairo_t* cr, const UIView& view, bool isRoot)
{
    if (view.isHidden() || view.alpha() < invisibleAlpha)
        return;
    cairo_save(cr);
    if (!isRoot)
        cairo_translate(cr, view.frame().origin.x, view.frame().origin.y);
    bool faded = view.alpha() < 1;
    if (faded)
        cairo_push_group(cr);

    CGSize size = view.frame().size;
    auto layer = view.layer();
    double radius = layer->cornerRadius();
    if (auto background = view.backgroundColor()) {
        addRoundedRect(cr, 0, 0, size.width, size.height, radius);
        setSourceColor(cr, background->red(), background->green(), background->blue(), background->alpha());
        cairo_fill(cr);
    }

    cairo_save(cr);
    if (layer->masksToBounds()) {
        addRoundedRect(cr, 0, 0, size.width, size.height, radius);
        cairo_clip(cr);
    }
    if (auto* label = objectCast<const UILabel>(&view))
        drawLabel(cr, *label);
    if (auto* imageView = objectCast<const UIImageView>(&view))
        drawImage(cr, *imageView);
    CGPoint scroll = view.bounds().origin;
    cairo_translate(cr, -scroll.x, -scroll.y);
    for (auto& child : view.subviewList())
        drawView(cr, *child, false);
    cairo_restore(cr);

    // The layer's border lies inside its bounds, above the content and the sublayers.
    double borderWidth = std::min(layer->borderWidth(), std::min(size.width, size.height) / 2);
    if (auto border = layer->borderColor(); border && borderWidth > 0) {
        addRoundedRect(cr, borderWidth / 2, borderWidth / 2, size.width - borderWidth, size.height - borderWidth,
            radius - borderWidth / 2);
        auto& c = border->components();
        setSourceColor(cr, c[0], c[1], c[2], c[3]);
        cairo_set_line_width(cr, borderWidth);
        cairo_stroke(cr);
    }

    if (faded) {
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, std::clamp(view.alpha(), 0.0, 1.0));
    }
    cairo_restore(cr);
}

} // namespace

RefPtr<CGImage> ViewRenderer::render(const UIView* root, double scale)
{
    if (!root || scale <= 0)
        return nullptr;
    CGSize size = root->bounds().size;
    auto width = static_cast<size_t>(std::ceil(size.width * scale));
    auto height = static_cast<size_t>(std::ceil(size.height * scale));
    auto bitmap = CGImage::create(width, height);
    if (!bitmap)
        return nullptr;
    auto surface = cairoSurface(*bitmap);
    cairo_t* cr = cairo_create(surface.get());
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_scale(cr, scale, scale);
    drawView(cr, *root, true);
    cairo_destroy(cr);
    cairo_surface_flush(surface.get());
    return bitmap;
}

bool ViewRenderer::writePNG(const UIView* root, const std::filesystem::path& path, double scale)
{
    auto bitmap = render(root, scale);
    if (!bitmap)
        return false;
    return UIImage::imageWithCGImage(bitmap, scale)->writePNG(path);
}
