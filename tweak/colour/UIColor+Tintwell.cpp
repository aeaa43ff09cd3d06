#include "tweak/colour/UIColor+Tintwell.h"

#include <cmath>
#include <optional>

namespace {

// Every distance is at most 4, so only a colour opposite the target in all four
// components is refused by both passes.
constexpr double startingDistance = 4.0;

double distance(const RGBAComponents& a, const RGBAComponents& b)
{
    return std::fabs(a.red - b.red) + std::fabs(a.green - b.green) + std::fabs(a.blue - b.blue) + std::fabs(a.alpha - b.alpha);
}

Id makeColorWithAlphaMethod(id self, SEL, long percent) { return makeColorWithAlpha(objectCast<UIColor>(self), percent); }
double getRGBComponentMethod(id self, SEL, long index) { return getRGBComponent(objectCast<UIColor>(self), index); }
Id closestColorMethod(Class, SEL, id colors, id target)
{
    return closestColorFromArrayToColor(objectCast<NSArray>(colors), objectCast<UIColor>(target));
}

} // namespace

std::optional<RGBAComponents> readRGBAComponents(const Object* color)
{
    if (!color)
        return std::nullopt;
    RGBAComponents c;
    // Sent, not read from the C++ object, so a colour class of its own (a pattern) decides.
    if (!msgSendIfResponds<bool>(color, SELECTOR("getRed:green:blue:alpha:"), &c.red, &c.green, &c.blue, &c.alpha))
        return std::nullopt;
    return c;
}

RefPtr<UIColor> makeColorWithAlpha(const UIColor* color, long percent)
{
    auto c = readRGBAComponents(color);
    if (!c)
        return nullptr;
    return UIColor::colorWithRed(c->red, c->green, c->blue, double(percent) * 0.01);
}

double getRGBComponent(const UIColor* color, long index)
{
    auto c = readRGBAComponents(color);
    if (!c)
        return 0.0;
    switch (index) {
    case 2:
        return c->green * 255.0;
    case 3:
        return c->blue * 255.0;
    default:
        return c->red * 255.0;
    }
}

RefPtr<UIColor> closestColorFromArrayToColor(const NSArray* colors, const UIColor* target)
{
    if (!colors || colors->count() == 0)
        return nullptr;
    auto targetComponents = readRGBAComponents(target);
    if (!targetComponents)
        return nullptr;

    struct Candidate {
        UIColor* color;
        RGBAComponents components;
    };
    std::vector<Candidate> candidates;
    candidates.reserve(colors->count());
    for (auto& object : colors->objects()) {
        auto* color = objectCast<UIColor>(object);
        // A colour that cannot be measured can never be the nearest.
        if (auto components = readRGBAComponents(color))
            candidates.push_back({ color, *components });
    }

    auto search = [&](bool windowed) -> UIColor* {
        UIColor* best = nullptr;
        double bestDistance = startingDistance;
        for (auto& candidate : candidates) {
            if (windowed && !candidate.components.insideSumWindow())
                continue;
            double d = distance(candidate.components, *targetComponents);
            if (d < bestDistance) {
                best = candidate.color;
                bestDistance = d;
            }
        }
        return best;
    };
    if (auto* chosen = search(true))
        return chosen;
    if (auto* chosen = search(false))
        return chosen;
    auto fallback = colors->count() >= 2 ? colors->objectAtIndex(1) : colors->objectAtIndex(0);
    return objectCast<UIColor>(fallback);
}

void registerUIColorTintwellMethods()
{
    Class cls = UIColor::classObject();
    class_addMethod(cls, sel_registerName("makeColorWithAlpha:"), &makeColorWithAlphaMethod);
    class_addMethod(cls, sel_registerName("getRGBComponent:"), &getRGBComponentMethod);
    class_addClassMethod(cls, sel_registerName("closestColorFromArray:ToColor:"), &closestColorMethod);
}
