// Colour texts of the colours file, converted as the extension converts them.
#include "fuzz/FuzzCheck.h"
#include "outside/sparkcolourpicker/SparkColourPickerUtils.h"
#include "platform/foundation/NSString.h"
#include "platform/graphics/UIColor.h"

#include <cmath>
#include <string_view>

namespace {

bool inUnitRange(double value) { return value >= 0 && value <= 1; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto object = NSString::string(text);
    static auto fallback = NSString::string("#ffffff");

    auto components = SparkColourPickerUtils::componentsWithString(text);
    auto colour = SparkColourPickerUtils::colourWithString(object.get());
    fuzzCheck(components.has_value() == (colour.get() != nullptr), "the plain conversion answers a colour exactly for a readable text");
    fuzzCheck(SparkColourPickerUtils::colourWithStringwithFallback(object.get(), fallback.get()).get() != nullptr, "the conversion with a fallback always answers a colour");
    if (!components)
        return 0;

    fuzzCheck(inUnitRange(components->red) && inUnitRange(components->green) && inUnitRange(components->blue) && inUnitRange(components->alpha), "a readable text gives components within 0 to 1");
    // What the picker rows write for a colour reads back as that colour, to the text's precision.
    auto written = SparkColourPickerUtils::hexStringFromComponents(*components);
    auto reread = SparkColourPickerUtils::componentsWithString(written);
    fuzzCheck(reread.has_value(), "a written colour text reads back");
    fuzzCheck(std::abs(reread->red - components->red) <= 0.5 / 255 + 1e-9 && std::abs(reread->green - components->green) <= 0.5 / 255 + 1e-9
            && std::abs(reread->blue - components->blue) <= 0.5 / 255 + 1e-9 && std::abs(reread->alpha - components->alpha) <= 0.005 + 1e-9,
        "a written colour text reads back as the same colour");
    fuzzCheck(SparkColourPickerUtils::hexStringFromColour(colour.get()).get() != nullptr, "a colour has a text");
    return 0;
}
