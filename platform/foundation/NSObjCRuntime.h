#pragma once

#include "platform/runtime/ClassBuilder.h"

#include <climits>

using NSInteger = long;
using NSUInteger = unsigned long;
using NSTimeInterval = double;

inline constexpr NSUInteger NSNotFound = LONG_MAX;

enum NSComparisonResult : long {
    NSOrderedAscending = -1,
    NSOrderedSame = 0,
    NSOrderedDescending = 1,
};

// The object as a T, or nil when it is absent or of another class.
template<typename T>
RefPtr<T> objectAs(const Object* object)
{
    return RefPtr<T>(objectCast<T>(object));
}

// The same for a reference the caller gives up, e.g. a message's result.
template<typename T>
RefPtr<T> objectAs(Id&& object)
{
    return adoptCast<T>(std::move(object));
}
