#include "platform/graphics/UIGraphics.h"

#include "platform/graphics/UIImage.h"

#include <vector>

namespace {

// An entry stays even when its context could not be made, so Begin and End still pair up.
std::vector<RefPtr<CGContext>>& contextStack()
{
    thread_local std::vector<RefPtr<CGContext>> stack;
    return stack;
}

} // namespace

void UIGraphicsBeginImageContext(CGSize size) { UIGraphicsBeginImageContextWithOptions(size, false, 1.0); }

void UIGraphicsBeginImageContextWithOptions(CGSize size, bool opaque, double scale)
{
    if (!(scale > 0))
        scale = 1.0;
    contextStack().push_back(CGContext::createImageContext(size, opaque, scale));
}

CGContextRef UIGraphicsGetCurrentContext()
{
    auto& stack = contextStack();
    return stack.empty() ? nullptr : stack.back().get();
}

RefPtr<UIImage> UIGraphicsGetImageFromCurrentImageContext()
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context)
        return nullptr;
    return UIImage::imageWithCGImage(context->makeImage(), context->scale());
}

void UIGraphicsEndImageContext()
{
    auto& stack = contextStack();
    if (!stack.empty())
        stack.pop_back();
}

void UIGraphicsPushContext(CGContextRef context) { contextStack().push_back(context); }
void UIGraphicsPopContext() { UIGraphicsEndImageContext(); }
