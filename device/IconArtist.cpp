#include "device/IconArtist.h"

#include "platform/graphics/CairoDrawing.h"
#include "platform/graphics/PNGCodec.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double pi = std::numbers::pi;

struct RGB {
    double r, g, b;
};

RGB byte(int r, int g, int b) { return { r / 255.0, g / 255.0, b / 255.0 }; }

void fill(cairo_t* cr, RGB c, double alpha = 1)
{
    cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
    cairo_fill(cr);
}

void background(cairo_t* cr, RGB c)
{
    cairo_rectangle(cr, 0, 0, 60, 60);
    fill(cr, c);
}

void verticalGradient(cairo_t* cr, RGB top, RGB bottom)
{
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, 0, 0, 60);
    cairo_pattern_add_color_stop_rgb(gradient, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(gradient, 1, bottom.r, bottom.g, bottom.b);
    cairo_rectangle(cr, 0, 0, 60, 60);
    cairo_set_source(cr, gradient);
    cairo_fill(cr);
    cairo_pattern_destroy(gradient);
}

void stroke(cairo_t* cr, RGB c, double width)
{
    cairo_set_source_rgb(cr, c.r, c.g, c.b);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

const RGB white = byte(255, 255, 255);

void draw(cairo_t* cr, IconArtist::Design design)
{
    using enum IconArtist::Design;
    switch (design) {
    case Messages:
        verticalGradient(cr, byte(102, 253, 127), byte(9, 191, 54));
        cairo_save(cr);
        cairo_translate(cr, 30, 28);
        cairo_scale(cr, 1.0, 0.8);
        cairo_arc(cr, 0, 0, 19, 0, 2 * pi);
        cairo_restore(cr);
        fill(cr, white);
        cairo_move_to(cr, 16, 38);
        cairo_line_to(cr, 12, 47);
        cairo_line_to(cr, 24, 41);
        cairo_close_path(cr);
        fill(cr, white);
        break;
    case Music:
        background(cr, byte(250, 36, 60));
        cairo_arc(cr, 22, 41, 6, 0, 2 * pi);
        fill(cr, white);
        cairo_arc(cr, 40, 37, 6, 0, 2 * pi);
        fill(cr, white);
        cairo_move_to(cr, 27, 41);
        cairo_line_to(cr, 27, 16);
        cairo_line_to(cr, 45, 12);
        cairo_line_to(cr, 45, 37);
        stroke(cr, white, 3);
        break;
    case AppStore:
        verticalGradient(cr, byte(24, 191, 251), byte(29, 118, 242));
        cairo_move_to(cr, 22, 44);
        cairo_line_to(cr, 33, 16);
        cairo_move_to(cr, 38, 44);
        cairo_line_to(cr, 27, 16);
        cairo_move_to(cr, 17, 36);
        cairo_line_to(cr, 43, 36);
        stroke(cr, white, 4);
        break;
    case Calendar:
        background(cr, white);
        cairo_rectangle(cr, 0, 0, 60, 15);
        fill(cr, byte(255, 59, 48));
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 4; ++column) {
                cairo_rectangle(cr, 10 + column * 11, 22 + row * 11, 7, 7);
                fill(cr, byte(40, 40, 44));
            }
        }
        break;
    case Safari:
        background(cr, byte(242, 242, 247));
        cairo_arc(cr, 30, 30, 22, 0, 2 * pi);
        stroke(cr, byte(0, 122, 255), 7);
        cairo_move_to(cr, 38, 22);
        cairo_line_to(cr, 33, 33);
        cairo_line_to(cr, 27, 27);
        cairo_close_path(cr);
        fill(cr, byte(255, 59, 48));
        break;
    case Stocks:
        background(cr, byte(16, 16, 18));
        cairo_move_to(cr, 10, 42);
        cairo_line_to(cr, 22, 30);
        cairo_line_to(cr, 32, 36);
        cairo_line_to(cr, 50, 18);
        stroke(cr, byte(52, 199, 89), 3.5);
        break;
    case Phone:
        background(cr, byte(52, 199, 89));
        cairo_move_to(cr, 18, 16);
        cairo_curve_to(cr, 16, 32, 28, 44, 44, 42);
        stroke(cr, white, 9);
        break;
    case Mail:
        verticalGradient(cr, byte(29, 185, 253), byte(24, 110, 240));
        cairo_rectangle(cr, 12, 18, 36, 24);
        fill(cr, white);
        cairo_move_to(cr, 12, 18);
        cairo_line_to(cr, 30, 32);
        cairo_line_to(cr, 48, 18);
        stroke(cr, byte(24, 130, 242), 2);
        break;
    case Settings:
        background(cr, byte(142, 142, 147));
        for (int tooth = 0; tooth < 8; ++tooth) {
            double angle = tooth * pi / 4;
            cairo_move_to(cr, 30 + 12 * std::cos(angle), 30 + 12 * std::sin(angle));
            cairo_line_to(cr, 30 + 20 * std::cos(angle), 30 + 20 * std::sin(angle));
        }
        stroke(cr, byte(58, 58, 60), 6);
        cairo_arc(cr, 30, 30, 14, 0, 2 * pi);
        fill(cr, byte(58, 58, 60));
        cairo_arc(cr, 30, 30, 6, 0, 2 * pi);
        fill(cr, byte(142, 142, 147));
        break;
    case Tips:
        background(cr, byte(255, 204, 0));
        cairo_move_to(cr, 60, 0);
        cairo_line_to(cr, 60, 60);
        cairo_line_to(cr, 0, 60);
        cairo_close_path(cr);
        fill(cr, byte(255, 120, 0));
        cairo_arc(cr, 30, 26, 10, 0, 2 * pi);
        fill(cr, white);
        cairo_rectangle(cr, 26, 35, 8, 8);
        fill(cr, white);
        break;
    case Lantern:
        // Drawn by the app itself with its corners left clear.
        cairo_arc(cr, 30, 30, 28, 0, 2 * pi);
        fill(cr, byte(255, 149, 0));
        cairo_rectangle(cr, 24, 18, 12, 24);
        fill(cr, byte(255, 236, 179));
        break;
    case Harbor:
        background(cr, byte(0, 150, 160));
        for (int wave = 0; wave < 3; ++wave) {
            double y = 22 + wave * 9;
            cairo_move_to(cr, 10, y);
            cairo_curve_to(cr, 20, y - 6, 24, y + 6, 30, y);
            cairo_curve_to(cr, 36, y - 6, 40, y + 6, 50, y);
        }
        stroke(cr, white, 3);
        break;
    case Inkwell: {
        cairo_pattern_t* gradient = cairo_pattern_create_radial(30, 30, 4, 30, 30, 42);
        cairo_pattern_add_color_stop_rgb(gradient, 0, 0.72, 0.45, 0.98);
        cairo_pattern_add_color_stop_rgb(gradient, 1, 0.30, 0.10, 0.55);
        cairo_rectangle(cr, 0, 0, 60, 60);
        cairo_set_source(cr, gradient);
        cairo_fill(cr);
        cairo_pattern_destroy(gradient);
        cairo_move_to(cr, 30, 14);
        cairo_curve_to(cr, 40, 28, 42, 34, 42, 38);
        cairo_arc(cr, 30, 38, 12, 0, pi);
        cairo_curve_to(cr, 18, 34, 20, 28, 30, 14);
        fill(cr, white);
        break;
    }
    case Generic:
        verticalGradient(cr, byte(209, 209, 214), byte(174, 174, 178));
        for (int row = 0; row < 2; ++row) {
            for (int column = 0; column < 2; ++column) {
                cairo_rectangle(cr, 17 + column * 15, 17 + row * 15, 11, 11);
                fill(cr, byte(242, 242, 247));
            }
        }
        break;
    }
}

} // namespace

std::optional<std::vector<uint8_t>> IconArtist::drawPNG(Design design, int pixels)
{
    if (pixels <= 0)
        return std::nullopt;
    auto bitmap = CGImage::create(size_t(pixels), size_t(pixels));
    if (!bitmap)
        return std::nullopt;
    auto surface = cairoSurface(*bitmap);
    cairo_t* cr = cairo_create(surface.get());
    cairo_scale(cr, pixels / 60.0, pixels / 60.0);
    draw(cr, design);
    bool drawn = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    cairo_surface_flush(surface.get());
    if (!drawn)
        return std::nullopt;
    return PNGCodec::encode(*bitmap);
}
