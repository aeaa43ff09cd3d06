#include "platform/graphics/CGColor.h"

Class CGColor::classObject()
{
    static Class cls = ClassBuilder<CGColor>("CGColor", Object::classObject()).build();
    return cls;
}

RefPtr<CGColor> CGColor::create(double red, double green, double blue, double alpha)
{
    auto color = make<CGColor>();
    color->m_components = { red, green, blue, alpha };
    return color;
}

bool CGColorEqualToColor(CGColorRef a, CGColorRef b)
{
    if (a == b)
        return true;
    if (!a || !b)
        return false;
    return a->equals(*b);
}

double CGColorGetAlpha(CGColorRef color) { return color ? color->alpha() : 0; }
const double* CGColorGetComponents(CGColorRef color) { return color ? color->components().data() : nullptr; }
size_t CGColorGetNumberOfComponents(CGColorRef color) { return color ? 4 : 0; }
