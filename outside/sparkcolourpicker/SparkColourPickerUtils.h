#pragma once

#include "platform/runtime/ClassBuilder.h"

#include <optional>
#include <string>
#include <string_view>

class UIColor;
class NSString;

// libsparkcolourpicker's colour texts: "#RRGGBB:A.AA" as its picker rows write them,
// plus "#RRGGBB", "rgb(r, g, b)", "rgba(r, g, b, a)", "transparent" and plain colour names.
class SparkColourPickerUtils : public Object {
    TW_OBJECT(SparkColourPickerUtils)
public:
    struct Components {
        double red { 0 };
        double green { 0 };
        double blue { 0 };
        double alpha { 1 };
        bool operator==(const Components&) const = default;
    };

    // nullopt when the text is unreadable.
    static std::optional<Components> componentsWithString(std::string_view text);
    // "#RRGGBB:A.AA", each colour component rounded from × 255, alpha to two places.
    static std::string hexStringFromComponents(const Components&);

    // +colourWithString: — nil for a missing or unreadable text.
    static RefPtr<UIColor> colourWithString(const NSString* text);
    // +colourWithString:withFallback: — the fallback's colour when the text is missing or unreadable.
    static RefPtr<UIColor> colourWithStringwithFallback(const NSString* text, const NSString* fallback);
    // +hexStringFromColour: — nil for a missing colour.
    static RefPtr<NSString> hexStringFromColour(const UIColor* colour);

protected:
    SparkColourPickerUtils() = default;

private:
    static Id colourWithStringImpl(NSString* text);
};
