#pragma once

#include "platform/foundation/NSObjCRuntime.h"

// Equality and hashing of arbitrary objects, sent as isEqual: and hash so that any class
// (and any replacement of those methods) decides; plain strings take a direct path.
class ObjectEquality {
public:
    static bool isEqual(const Object* a, const Object* b);
    static unsigned long hash(const Object*);
};
