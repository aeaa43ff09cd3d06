#pragma once

#include "platform/graphics/CGContext.h"

class UIImage;

// UIKit's image contexts: a stack per thread. Scale 0 or less means the screen's scale,
// which this platform takes as 1.
void UIGraphicsBeginImageContext(CGSize);
void UIGraphicsBeginImageContextWithOptions(CGSize, bool opaque, double scale);
// Borrowed; nil when no image context is open or the open one could not be created.
CGContextRef UIGraphicsGetCurrentContext();
RefPtr<UIImage> UIGraphicsGetImageFromCurrentImageContext();
void UIGraphicsEndImageContext();
// Makes any context the current one (balanced by UIGraphicsPopContext).
void UIGraphicsPushContext(CGContextRef);
void UIGraphicsPopContext();
