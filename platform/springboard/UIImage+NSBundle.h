#pragma once

#include "platform/graphics/UIImage.h"

#include <string_view>

class NSBundle;

// +[UIImage imageNamed:inBundle:]: the first of "<name>@2x.png", "<name>@3x.png" and
// "<name>.png" in the bundle's folder, its scale taken from the suffix. Nil for a missing
// bundle or image, and for any name that could reach outside the folder ("/", "..", NUL).
RefPtr<UIImage> imageNamedInBundle(std::string_view name, const NSBundle* bundle);

// Registers the class method +[UIImage imageNamed:inBundle:] ("@@:@@"). Safe to call
// more than once.
void registerUIImageNSBundle();
