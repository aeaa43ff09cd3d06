#pragma once

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSString.h"
#include "platform/graphics/UIColor.h"
#include "platform/graphics/UIImage.h"
#include "tweak/colour/IconSampler.h"

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

// What the extension makes of one icon image: its palette, its merged colour and the
// colour each requested mode picks, as one JSON object.
class ColorReport {
public:
    // Colours as "#RRGGBBAA" (the merged colour "#RRGGBB"), bytes round(component × 255);
    // a mode that picks no colour is null. A bundle identifier makes mode 1 measure against
    // that app's stock icon instead of the image's own merged colour.
    static nlohmann::ordered_json describe(const UIImage& image, const std::vector<long>& modes, const NSString* bundleID);
    // The same for an icon file's samples (IconSampler::sampleData), without a bundle identifier.
    static nlohmann::ordered_json describe(const IconSamples&, const std::vector<long>& modes);

    // One PNG file's whole line, {"file": ..., then the report or "error"}, as the colours
    // command prints it. Safe to call on several threads at once: the icon is decoded once
    // and sampled as it decodes.
    struct FileLine {
        std::string text;
        bool failed { false };
    };
    static FileLine describeFile(const std::string& file, const std::vector<long>& modes);
    // One line of output: JSON without spaces, invalid UTF-8 in file names replaced.
    static std::string lineText(const nlohmann::ordered_json&);

private:
    static nlohmann::ordered_json describe(const NSArray* palette, const UIColor* merged, const std::vector<long>& modes, const UIColor* stockMerged);
};
