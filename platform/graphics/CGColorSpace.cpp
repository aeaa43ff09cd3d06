#include "platform/graphics/CGColorSpace.h"

Class CGColorSpace::classObject()
{
    static Class cls = ClassBuilder<CGColorSpace>("CGColorSpace", Object::classObject()).build();
    return cls;
}

CGColorSpaceRef CGColorSpaceCreateDeviceRGB() { return make<CGColorSpace>().leakRef(); }

void CGColorSpaceRelease(CGColorSpaceRef space)
{
    if (space)
        space->release();
}
