#pragma once

#include "platform/graphics/UIImage.h"

#include <filesystem>
#include <string_view>
#include <vector>

class NSBundle;

// A file imageNamed:inBundle: tries, in the order it tries them: the file in the bundle's
// folder on this host, and the scale its name gives.
struct ImageFileCandidate {
    std::filesystem::path file;
    std::filesystem::path folder;
    double scale { 1 };
};
// Nothing for a missing bundle or a name that could reach outside the folder.
std::vector<ImageFileCandidate> imageFileCandidates(std::string_view name, const NSBundle* bundle);

// +[UIImage imageNamed:inBundle:]: the first of "<name>@2x.png", "<name>@3x.png" and
// "<name>.png" in the bundle's folder, its scale taken from the suffix. Nil for a missing
// bundle or image, and for any name that could reach outside the folder ("/", "..", NUL).
RefPtr<UIImage> imageNamedInBundle(std::string_view name, const NSBundle* bundle);

// Registers the class method +[UIImage imageNamed:inBundle:] ("@@:@@"). Safe to call
// more than once.
void registerUIImageNSBundle();
