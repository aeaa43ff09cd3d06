#include "tools/colors/ColorReport.h"

#include "tweak/colour/UIImage+Tintwell.h"

#include <algorithm>
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
    // One analysis serves every mode asked for.
    auto colors = TWLcolors(&image);
    auto palette = nlohmann::ordered_json::array();
    if (colors) {
        for (auto& color : *colors)
            palette.push_back(hexOrNull(objectCast<UIColor>(color.get())));
    }
    report["palette"] = std::move(palette);
    auto merged = mergedColor(&image);
    report["merged"] = merged ? nlohmann::ordered_json(merged->hexString().substr(0, 7)) : nlohmann::ordered_json(nullptr);
    RefPtr<UIColor> stockMerged;
    if (bundleID && std::find(modes.begin(), modes.end(), 1) != modes.end())
        stockMerged = mergedColor(stockImgForID(bundleID).get());
    auto byMode = nlohmann::ordered_json::object();
    for (long mode : modes)
        byMode[std::to_string(mode)] = hexOrNull(colorForModeFromAnalysis(colors.get(), merged.get(), mode, stockMerged.get()).get());
    report["modes"] = std::move(byMode);
    return report;
}
