#include "outside/sparkcolourpicker/SparkColourPickerUtils.h"

#include "platform/foundation/NSString.h"
#include "platform/graphics/UIColor.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

using Components = SparkColourPickerUtils::Components;

struct NamedColour {
    std::string_view name;
    Components components;
};

constexpr std::array namedColours {
    NamedColour { "black", { 0, 0, 0, 1 } },
    NamedColour { "white", { 1, 1, 1, 1 } },
    NamedColour { "red", { 1, 0, 0, 1 } },
    NamedColour { "green", { 0, 1, 0, 1 } },
    NamedColour { "blue", { 0, 0, 1, 1 } },
    NamedColour { "yellow", { 1, 1, 0, 1 } },
    NamedColour { "cyan", { 0, 1, 1, 1 } },
    NamedColour { "magenta", { 1, 0, 1, 1 } },
    NamedColour { "orange", { 1, 0.5, 0, 1 } },
    NamedColour { "purple", { 0.5, 0, 0.5, 1 } },
    NamedColour { "brown", { 0.6, 0.4, 0.2, 1 } },
    NamedColour { "gray", { 0.5, 0.5, 0.5, 1 } },
    NamedColour { "grey", { 0.5, 0.5, 0.5, 1 } },
    NamedColour { "lightgray", { 2.0 / 3.0, 2.0 / 3.0, 2.0 / 3.0, 1 } },
    NamedColour { "darkgray", { 1.0 / 3.0, 1.0 / 3.0, 1.0 / 3.0, 1 } },
    NamedColour { "transparent", { 0, 0, 0, 0 } },
    NamedColour { "clear", { 0, 0, 0, 0 } },
};

std::string_view trimmed(std::string_view text)
{
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string lowercased(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

// A whole text as a finite decimal number; nullopt for anything else (from_chars also reads "nan").
std::optional<double> decimal(std::string_view text)
{
    text = trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double clampedUnit(double value) { return std::clamp(value, 0.0, 1.0); }

std::optional<Components> functional(std::string_view text, std::string_view name, size_t count)
{
    if (!text.starts_with(name))
        return std::nullopt;
    text = trimmed(text.substr(name.size()));
    if (text.size() < 2 || text.front() != '(' || text.back() != ')')
        return std::nullopt;
    text = text.substr(1, text.size() - 2);
    std::vector<double> values;
    while (true) {
        size_t comma = text.find(',');
        auto value = decimal(text.substr(0, comma));
        if (!value)
            return std::nullopt;
        values.push_back(*value);
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    if (values.size() != count)
        return std::nullopt;
    return Components {
        clampedUnit(values[0] / 255.0),
        clampedUnit(values[1] / 255.0),
        clampedUnit(values[2] / 255.0),
        count == 4 ? clampedUnit(values[3]) : 1.0,
    };
}

std::optional<Components> hexadecimal(std::string_view text)
{
    // The picker's own convention: every "#" goes, wherever it stands.
    std::string digits;
    for (char c : text) {
        if (c != '#')
            digits += c;
    }
    std::string_view hex = digits;
    double alpha = 1;
    if (size_t colon = hex.find(':'); colon != std::string_view::npos) {
        auto value = decimal(hex.substr(colon + 1));
        if (!value)
            return std::nullopt;
        alpha = clampedUnit(*value);
        hex = hex.substr(0, colon);
    }
    // Read as one number, so a short text is not expanded: "FFF" is 0x000FFF.
    if (hex.empty() || hex.size() > 6)
        return std::nullopt;
    unsigned value = 0;
    auto [end, error] = std::from_chars(hex.data(), hex.data() + hex.size(), value, 16);
    if (error != std::errc() || end != hex.data() + hex.size())
        return std::nullopt;
    return Components {
        ((value >> 16) & 0xFF) / 255.0,
        ((value >> 8) & 0xFF) / 255.0,
        (value & 0xFF) / 255.0,
        alpha,
    };
}

} // namespace

std::optional<Components> SparkColourPickerUtils::componentsWithString(std::string_view text)
{
    text = trimmed(text);
    if (text.empty())
        return std::nullopt;
    std::string lower = lowercased(text);
    for (auto& named : namedColours) {
        if (lower == named.name)
            return named.components;
    }
    if (auto colour = functional(lower, "rgba", 4))
        return colour;
    if (auto colour = functional(lower, "rgb", 3))
        return colour;
    return hexadecimal(text);
}

std::string SparkColourPickerUtils::hexStringFromComponents(const Components& components)
{
    auto byte = [](double value) { return static_cast<unsigned>(std::lround(clampedUnit(std::isnan(value) ? 0 : value) * 255.0)); };
    double alpha = std::isnan(components.alpha) ? 0 : clampedUnit(components.alpha);
    char text[16];
    std::snprintf(text, sizeof text, "#%02X%02X%02X:%.2f", byte(components.red), byte(components.green), byte(components.blue), alpha);
    return text;
}

Class SparkColourPickerUtils::classObject()
{
    // Its operations are class methods, reached as C++ static functions; the class is
    // registered so the library is found by name, as on the phone, and a program that does
    // not link the library reads colour texts through +colourWithString:.
    static Class cls = ClassBuilder<SparkColourPickerUtils>("SparkColourPickerUtils", Object::classObject())
                           .classMethod<&SparkColourPickerUtils::colourWithStringImpl>("colourWithString:")
                           .build();
    return cls;
}

Id SparkColourPickerUtils::colourWithStringImpl(NSString* text)
{
    return colourWithString(text);
}

RefPtr<UIColor> SparkColourPickerUtils::colourWithString(const NSString* text)
{
    if (!text)
        return nullptr;
    auto components = componentsWithString(text->view());
    if (!components)
        return nullptr;
    return UIColor::colorWithRed(components->red, components->green, components->blue, components->alpha);
}

RefPtr<UIColor> SparkColourPickerUtils::colourWithStringwithFallback(const NSString* text, const NSString* fallback)
{
    if (auto colour = colourWithString(text))
        return colour;
    return colourWithString(fallback);
}

RefPtr<NSString> SparkColourPickerUtils::hexStringFromColour(const UIColor* colour)
{
    if (!colour)
        return nullptr;
    return NSString::string(hexStringFromComponents({ colour->red(), colour->green(), colour->blue(), colour->alpha() }));
}

// A library's classes are known by name as soon as it is loaded.
__attribute__((constructor)) static void registerColourUtilsClass()
{
    SparkColourPickerUtils::classObject();
}
