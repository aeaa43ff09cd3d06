#pragma once

#include "platform/foundation/NSArray.h"
#include "platform/graphics/UIColor.h"

#include <optional>

// The (Tintwell) category of UIColor: opacity from a percentage, one component on the
// 0–255 scale, and the colour of a list nearest to a target. Each function is also
// registered on UIColor under its selector (registerUIColorTintwellMethods).

// -makeColorWithAlpha: — the receiver's red, green and blue with alpha = percent × 0.01,
// always built by UIColor. Nil for a nil receiver or one without RGB components.
RefPtr<UIColor> makeColorWithAlpha(const UIColor* color, long percent);

// -getRGBComponent: — 1 red, 2 green, 3 blue, anything else red; × 255. 0.0 for a nil
// receiver or one without RGB components.
double getRGBComponent(const UIColor* color, long index);

// +closestColorFromArray:ToColor: — the nearest colour by the sum of absolute component
// differences: first among colours whose component sum lies in [1.2, 3.8], then among
// all; ties keep the earlier colour. When both passes refuse every colour: the second
// colour, or the only one. Nil for a nil or empty array and for a nil target.
RefPtr<UIColor> closestColorFromArrayToColor(const NSArray* colors, const UIColor* target);

// The red, green, blue and alpha a colour answers to getRed:green:blue:alpha:, or
// nothing when it has none to give (nil, or a colour that is not RGB).
struct RGBAComponents {
    double red { 0 };
    double green { 0 };
    double blue { 0 };
    double alpha { 0 };

    double sum() const { return red + green + blue + alpha; }
    // Neither near-black nor near-white (with alpha 1: red + green + blue in [0.2, 2.8]).
    bool insideSumWindow() const { return sum() >= 1.2 && sum() <= 3.8; }
};
std::optional<RGBAComponents> readRGBAComponents(const Object* color);

void registerUIColorTintwellMethods();
