// Draws the bundle's icon and banner at build time: a rounded tile tinted like a
// notification, and a banner of the same tint with soft platters.
#include <cairo.h>

#include <cstdio>
#include <string>

namespace {

void roundedRectangle(cairo_t* cr, double x, double y, double width, double height, double radius)
{
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + width - radius, y + radius, radius, -1.5708, 0);
    cairo_arc(cr, x + width - radius, y + height - radius, radius, 0, 1.5708);
    cairo_arc(cr, x + radius, y + height - radius, radius, 1.5708, 3.14159);
    cairo_arc(cr, x + radius, y + radius, radius, 3.14159, 4.71239);
    cairo_close_path(cr);
}

void fillTint(cairo_t* cr, double width, double height)
{
    auto gradient = cairo_pattern_create_linear(0, 0, width, height);
    cairo_pattern_add_color_stop_rgb(gradient, 0, 0.33, 0.79, 1.0);
    cairo_pattern_add_color_stop_rgb(gradient, 1, 0.64, 0.67, 1.0);
    cairo_set_source(cr, gradient);
    cairo_fill(cr);
    cairo_pattern_destroy(gradient);
}

// Three stacked platters, the last one outlined, as Tintwell paints them.
void drawPlatters(cairo_t* cr, double x, double y, double width, double height)
{
    double rowHeight = height / 3.6;
    for (int index = 0; index < 3; ++index) {
        roundedRectangle(cr, x, y + index * rowHeight * 1.2, width, rowHeight, rowHeight * 0.3);
        cairo_set_source_rgba(cr, 1, 1, 1, index == 2 ? 0.0 : 0.85 - index * 0.25);
        cairo_fill_preserve(cr);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.95);
        cairo_set_line_width(cr, rowHeight * 0.08);
        cairo_stroke(cr);
    }
}

bool writeIcon(const std::string& path)
{
    auto surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 58, 58);
    auto cr = cairo_create(surface);
    roundedRectangle(cr, 0, 0, 58, 58, 13);
    fillTint(cr, 58, 58);
    drawPlatters(cr, 10, 12, 38, 40);
    cairo_destroy(cr);
    bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return written;
}

bool writeBanner(const std::string& path)
{
    auto surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 750, 400);
    auto cr = cairo_create(surface);
    cairo_rectangle(cr, 0, 0, 750, 400);
    fillTint(cr, 750, 400);
    drawPlatters(cr, 175, 90, 400, 240);
    cairo_destroy(cr);
    bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return written;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s ICONS-FOLDER\n", argv[0]);
        return 2;
    }
    std::string folder = argv[1];
    if (!writeIcon(folder + "/Notifs-icon@2x.png") || !writeBanner(folder + "/Notifs-Banner.png")) {
        std::fprintf(stderr, "%s: cannot write the images into %s\n", argv[0], folder.c_str());
        return 1;
    }
    return 0;
}
