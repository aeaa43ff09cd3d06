#pragma once

#include "platform/uikit/UIView.h"

#include <filesystem>
#include <nlohmann/json.hpp>

// A view tree as JSON, for tests and for the hosts' snapshot files:
//   { "userInterfaceStyle": 1, "animations": { "count": 3, "lastDuration": 0.2 },
//     "views": [ ...every view, depth first, back to front... ] }
// Each view: "class", "path" ("UIWindow/0:UIView/2:UILabel": index among the parent's
// subviews and class), "frame" (in the superview) and "windowFrame" (in the root's
// coordinates) as {x, y, width, height}, "hidden", "alpha", "backgroundColor",
// "layer": {"borderWidth", "borderColor", "cornerRadius", "masksToBounds"}; labels add
// "text" and "textAlignment", image views "image" ({width, height} in points, or null),
// scroll views "contentOffset" ({x, y}: where they are scrolled) and "contentSize";
// views answering bundleIdentifier add "bundleIdentifier", and isSelected "selected".
// Colours are {"hex": "#RRGGBBAA", "red", "green", "blue", "alpha"} or null.
class ViewSnapshot {
public:
    static nlohmann::json capture(const UIView* root);
    static nlohmann::json colorJSON(const UIColor* color);
    static nlohmann::json colorJSON(const CGColor* color);
    static nlohmann::json rectJSON(CGRect rect);
    // The view entry whose path matches, or null.
    static const nlohmann::json* findPath(const nlohmann::json& snapshot, std::string_view path);
    // Pretty-printed; false when the file cannot be written.
    static bool writeToFile(const UIView* root, const std::filesystem::path& path);

private:
    static void appendView(nlohmann::json& views, const UIView* root, const UIView* view, const std::string& path);
};
