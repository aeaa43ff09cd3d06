#include "tools/colors/ColorReport.h"

#include "tweak/colour/UIImage+Tintwell.h"

#include <algorithm>
#include <filesystem>
#include <string>

namespace {

nlohmann::ordered_json hexOrNull(const UIColor* color)
{
    if (!color)
        return nullptr;
    return color->hexString();
}

std::string fileError(const std::filesystem::path& path)
{
    std::error_code error;
    auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status))
        return "no such file";
    if (!std::filesystem::is_regular_file(status))
        return "not a regular file";
    return "not a readable PNG image (corrupt, truncated, or over 4096 pixels a side)";
}

} // namespace

nlohmann::ordered_json ColorReport::describe(const UIImage& image, const std::vector<long>& modes, const NSString* bundleID)
{
    // One analysis serves every mode asked for.
    auto palette = TWLcolors(&image);
    auto merged = mergedColor(&image);
    RefPtr<UIColor> stockMerged;
    if (bundleID && std::find(modes.begin(), modes.end(), 1) != modes.end())
        stockMerged = mergedColor(stockImgForID(bundleID).get());
    return describe(palette.get(), merged.get(), modes, stockMerged.get());
}

nlohmann::ordered_json ColorReport::describe(const IconSamples& samples, const std::vector<long>& modes)
{
    auto palette = paletteFromSamples(samples);
    auto merged = mergedColorFromSamples(samples);
    return describe(palette.get(), merged.get(), modes, nullptr);
}

nlohmann::ordered_json ColorReport::describe(const NSArray* colors, const UIColor* merged, const std::vector<long>& modes, const UIColor* stockMerged)
{
    nlohmann::ordered_json report;
    auto palette = nlohmann::ordered_json::array();
    if (colors) {
        for (auto& color : *colors)
            palette.push_back(hexOrNull(objectCast<UIColor>(color)));
    }
    report["palette"] = std::move(palette);
    report["merged"] = merged ? nlohmann::ordered_json(merged->hexString().substr(0, 7)) : nlohmann::ordered_json(nullptr);
    auto byMode = nlohmann::ordered_json::object();
    for (long mode : modes)
        byMode[std::to_string(mode)] = hexOrNull(colorForModeFromAnalysis(colors, merged, mode, stockMerged).get());
    report["modes"] = std::move(byMode);
    return report;
}

ColorReport::FileLine ColorReport::describeFile(const std::string& file, const std::vector<long>& modes)
{
    nlohmann::ordered_json line { { "file", file } };
    std::optional<IconSamples> samples;
    if (auto bytes = UIImage::contentsOfHostFile(file))
        samples = IconSampler::sampleData(*bytes);
    if (samples)
        line.update(describe(*samples, modes));
    else
        line["error"] = fileError(file);
    return { lineText(line), !samples };
}

std::string ColorReport::lineText(const nlohmann::ordered_json& line)
{
    return line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}
