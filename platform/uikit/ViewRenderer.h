#pragma once

#include "platform/graphics/CGImage.h"
#include "platform/uikit/UIView.h"

#include <filesystem>

// Draws a view tree the way the screen shows it: background colours with alpha, rounded
// corners, borders above the content, label text, image views by content mode; hidden
// views are skipped and alpha fades the whole subtree. The picture covers the root's
// bounds, scaled, over a white canvas.
class ViewRenderer {
public:
    // Nil for a missing root or an empty size.
    static RefPtr<CGImage> render(const UIView* root, double scale = 1.0);
    static bool writePNG(const UIView* root, const std::filesystem::path& path, double scale = 1.0);
};
