#include "platform/graphics/UIColor.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>

Class UIColor::classObject()
{
    static Class cls = ClassBuilder<UIColor>("UIColor", Object::classObject())
                           .method<&UIColor::getRed>("getRed:green:blue:alpha:")
                           .method<&UIColor::isEqual>("isEqual:")
                           .method<&UIColor::hash>("hash")
                           .method<&UIColor::CGColor>("CGColor")
                           .method<&UIColor::initWithRed>("initWithRed:green:blue:alpha:")
                           .method<&UIColor::initWithWhite>("initWithWhite:alpha:")
                           .build();
    return cls;
}

void UIColor::setComponents(double red, double green, double blue, double alpha)
{
    m_red = red;
    m_green = green;
    m_blue = blue;
    m_alpha = std::min(alpha, 1.0);
    m_cgColor = nullptr;
}

Id UIColor::initWithRed(double red, double green, double blue, double alpha)
{
    setComponents(red, green, blue, alpha);
    return Id(this);
}

Id UIColor::initWithWhite(double white, double alpha)
{
    setComponents(white, white, white, alpha);
    return Id(this);
}

RefPtr<UIColor> UIColor::colorWithRed(double red, double green, double blue, double alpha)
{
    auto color = make<UIColor>();
    color->setComponents(red, green, blue, alpha);
    return color;
}

RefPtr<UIColor> UIColor::colorWithWhite(double white, double alpha) { return colorWithRed(white, white, white, alpha); }

RefPtr<UIColor> UIColor::colorWithCGColor(CGColorRef cgColor)
{
    if (!cgColor)
        return nullptr;
    auto& c = cgColor->components();
    return colorWithRed(c[0], c[1], c[2], c[3]);
}

RefPtr<UIColor> UIColor::blackColor() { return colorWithWhite(0, 1); }
RefPtr<UIColor> UIColor::whiteColor() { return colorWithWhite(1, 1); }
RefPtr<UIColor> UIColor::clearColor() { return colorWithWhite(0, 0); }
RefPtr<UIColor> UIColor::redColor() { return colorWithRed(1, 0, 0, 1); }
RefPtr<UIColor> UIColor::greenColor() { return colorWithRed(0, 1, 0, 1); }
RefPtr<UIColor> UIColor::blueColor() { return colorWithRed(0, 0, 1, 1); }
RefPtr<UIColor> UIColor::grayColor() { return colorWithWhite(0.5, 1); }
RefPtr<UIColor> UIColor::lightGrayColor() { return colorWithWhite(2.0 / 3.0, 1); }
RefPtr<UIColor> UIColor::darkGrayColor() { return colorWithWhite(1.0 / 3.0, 1); }

bool UIColor::getRed(double* red, double* green, double* blue, double* alpha) const
{
    if (red)
        *red = m_red;
    if (green)
        *green = m_green;
    if (blue)
        *blue = m_blue;
    if (alpha)
        *alpha = m_alpha;
    return true;
}

bool UIColor::isEqual(id other) const
{
    auto* color = objectCast<const UIColor>(other);
    if (!color)
        return false;
    return m_red == color->m_red && m_green == color->m_green && m_blue == color->m_blue && m_alpha == color->m_alpha;
}

unsigned long UIColor::hash() const
{
    // Adding 0.0 turns -0.0 into 0.0, which compare equal and must hash alike.
    unsigned long h = 1469598103934665603ul;
    for (double component : { m_red, m_green, m_blue, m_alpha }) {
        h ^= std::bit_cast<uint64_t>(component + 0.0);
        h *= 1099511628211ul;
    }
    return h;
}

RefPtr<::CGColor> UIColor::CGColor() const
{
    if (!m_cgColor)
        m_cgColor = ::CGColor::create(m_red, m_green, m_blue, m_alpha);
    return m_cgColor;
}

std::string UIColor::hexString() const
{
    auto byte = [](double component) {
        if (std::isnan(component))
            return 0;
        return static_cast<int>(std::lround(std::clamp(component, 0.0, 1.0) * 255));
    };
    // Formatted by hand: the colours command prints a dozen of these per icon.
    constexpr char digits[] = "0123456789ABCDEF";
    std::string text(9, '#');
    int bytes[] = { byte(m_red), byte(m_green), byte(m_blue), byte(m_alpha) };
    for (int i = 0; i < 4; ++i) {
        text[size_t(1 + 2 * i)] = digits[bytes[i] >> 4];
        text[size_t(2 + 2 * i)] = digits[bytes[i] & 0xf];
    }
    return text;
}
