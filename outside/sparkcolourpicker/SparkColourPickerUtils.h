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

    // The two conversions as a caller on the phone makes them: sends to the class, so a
    // replacement of either method runs.
    static RefPtr<UIColor> sendColourWithString(const NSString* text);
    static RefPtr<UIColor> sendColourWithStringWithFallback(const NSString* text, const NSString* fallback);

protected:
    SparkColourPickerUtils() = default;

private:
    static RefPtr<UIColor> colourWithStringImpl(NSString* text) { return colourWithString(text); }
    static RefPtr<UIColor> colourWithStringWithFallbackImpl(NSString* text, NSString* fallback) { return colourWithStringwithFallback(text, fallback); }
    static RefPtr<NSString> hexStringFromColourImpl(UIColor* colour) { return hexStringFromColour(colour); }
};
