#pragma once

#include "platform/foundation/NSString.h"
#include "platform/graphics/UIImage.h"

#include <nlohmann/json.hpp>
#include <vector>

// What the extension makes of one icon image: its palette, its merged colour and the
// colour each requested mode picks, as one JSON object.
class ColorReport {
public:
    // Colours as "#RRGGBBAA" (the merged colour "#RRGGBB"), bytes round(component × 255);
    // a mode that picks no colour is null. A bundle identifier makes mode 1 measure against
    // that app's stock icon instead of the image's own merged colour.
    static nlohmann::ordered_json describe(const UIImage& image, const std::vector<long>& modes, const NSString* bundleID);
};
