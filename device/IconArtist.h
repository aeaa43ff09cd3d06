#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// Draws the sample device's app icons with cairo, each a simple recognisable glyph on a
// designed background, at any pixel size (the design is laid out on a 60-point square).
class IconArtist {
public:
    enum class Design {
        Messages,   // green gradient, white speech bubble
        Music,      // red-pink, white note
        AppStore,   // blue gradient, white "A" of three strokes
        Calendar,   // white page, red band, dark day grid
        Safari,     // near-white, mid-blue compass ring with a red needle
        Stocks,     // near-black, green chart line
        Phone,      // green, white handset
        Mail,       // blue gradient, white envelope
        Settings,   // grey, dark gear
        Tips,       // two tones split on the diagonal, white bulb
        Lantern,    // orange disc on transparent corners
        Harbor,     // teal, white waves
        Inkwell,    // purple radial gradient, white drop
        Generic,    // the system's grey generic icon
    };

    // PNG bytes of the design at `pixels` × `pixels`; nullopt when cairo fails.
    static std::optional<std::vector<uint8_t>> drawPNG(Design, int pixels);
};
