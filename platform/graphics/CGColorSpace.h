#pragma once

#include "platform/runtime/ClassBuilder.h"

// Only device RGB exists here; the object is what the phone's calls pass around.
class CGColorSpace : public Object {
    TW_OBJECT(CGColorSpace)
protected:
    CGColorSpace() = default;
};

using CGColorSpaceRef = CGColorSpace*;

// Owned by the caller: balance with CGColorSpaceRelease.
CGColorSpaceRef CGColorSpaceCreateDeviceRGB();
void CGColorSpaceRelease(CGColorSpaceRef);
