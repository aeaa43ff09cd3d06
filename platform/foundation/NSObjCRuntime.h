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

