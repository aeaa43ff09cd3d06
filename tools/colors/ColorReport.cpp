#include "tools/colors/ColorReport.h"

#include "tweak/colour/UIImage+Tintwell.h"

#include <string>

namespace {

nlohmann::ordered_json hexOrNull(const UIColor* color)
{
    if (!color)
        return nullptr;
    return color->hexString();
}

} // namespace

nlohmann::ordered_json ColorReport::describe(const UIImage& image, const std::vector<long>& modes, const NSString* bundleID)
{
    nlohmann::ordered_json report;
    auto palette = nlohmann::ordered_json::array();
    if (auto colors = TWLcolors(&image)) {
        for (auto& color : *colors)
            palette.push_back(hexOrNull(dynamic_cast<UIColor*>(color.get())));
    }
    report["palette"] = std::move(palette);
    auto merged = mergedColor(&image);
    report["merged"] = merged ? nlohmann::ordered_json(merged->hexString().substr(0, 7)) : nlohmann::ordered_json(nullptr);
    auto byMode = nlohmann::ordered_json::object();
    for (long mode : modes)
        byMode[std::to_string(mode)] = hexOrNull(colorForModeWithBundleID(&image, mode, bundleID).get());
    report["modes"] = std::move(byMode);
    return report;
}
