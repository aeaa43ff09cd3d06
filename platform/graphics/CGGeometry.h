#pragma once

#include "platform/runtime/TypeEncoding.h"

#include <algorithm>
#include <cmath>

// The phone's geometry values, in points; they cross message sends by value.

struct CGPoint {
    double x { 0 };
    double y { 0 };
    friend bool operator==(const CGPoint&, const CGPoint&) = default;
};

struct CGSize {
    double width { 0 };
    double height { 0 };
    friend bool operator==(const CGSize&, const CGSize&) = default;
};

struct CGRect {
    CGPoint origin;
    CGSize size;
    friend bool operator==(const CGRect&, const CGRect&) = default;
};

struct UIEdgeInsets {
    double top { 0 };
    double left { 0 };
    double bottom { 0 };
    double right { 0 };
    friend bool operator==(const UIEdgeInsets&, const UIEdgeInsets&) = default;
};

inline constexpr CGPoint CGPointZero {};
inline constexpr CGSize CGSizeZero {};
inline constexpr CGRect CGRectZero {};
inline constexpr UIEdgeInsets UIEdgeInsetsZero {};

constexpr CGPoint CGPointMake(double x, double y) { return { x, y }; }
constexpr CGSize CGSizeMake(double width, double height) { return { width, height }; }
constexpr CGRect CGRectMake(double x, double y, double width, double height) { return { { x, y }, { width, height } }; }
constexpr UIEdgeInsets UIEdgeInsetsMake(double top, double left, double bottom, double right) { return { top, left, bottom, right }; }

inline double CGRectGetMinX(CGRect r) { return std::min(r.origin.x, r.origin.x + r.size.width); }
inline double CGRectGetMaxX(CGRect r) { return std::max(r.origin.x, r.origin.x + r.size.width); }
inline double CGRectGetMinY(CGRect r) { return std::min(r.origin.y, r.origin.y + r.size.height); }
inline double CGRectGetMaxY(CGRect r) { return std::max(r.origin.y, r.origin.y + r.size.height); }
inline double CGRectGetMidX(CGRect r) { return (CGRectGetMinX(r) + CGRectGetMaxX(r)) / 2; }
inline double CGRectGetMidY(CGRect r) { return (CGRectGetMinY(r) + CGRectGetMaxY(r)) / 2; }
inline double CGRectGetWidth(CGRect r) { return std::abs(r.size.width); }
inline double CGRectGetHeight(CGRect r) { return std::abs(r.size.height); }

// Negative sizes describe the same rectangle from its other corner, as on the phone.
inline CGRect CGRectStandardize(CGRect r) { return CGRectMake(CGRectGetMinX(r), CGRectGetMinY(r), CGRectGetWidth(r), CGRectGetHeight(r)); }
inline bool CGRectIsEmpty(CGRect r) { return r.size.width == 0 || r.size.height == 0; }
inline bool CGRectEqualToRect(CGRect a, CGRect b) { return CGRectStandardize(a) == CGRectStandardize(b); }
inline bool CGPointEqualToPoint(CGPoint a, CGPoint b) { return a == b; }
inline bool CGSizeEqualToSize(CGSize a, CGSize b) { return a == b; }
inline bool CGRectContainsPoint(CGRect r, CGPoint p)
{
    return p.x >= CGRectGetMinX(r) && p.x < CGRectGetMaxX(r) && p.y >= CGRectGetMinY(r) && p.y < CGRectGetMaxY(r);
}
inline CGRect CGRectInset(CGRect r, double dx, double dy)
{
    r = CGRectStandardize(r);
    return CGRectMake(r.origin.x + dx, r.origin.y + dy, r.size.width - 2 * dx, r.size.height - 2 * dy);
}
inline CGRect UIEdgeInsetsInsetRect(CGRect r, UIEdgeInsets insets)
{
    return CGRectMake(r.origin.x + insets.left, r.origin.y + insets.top,
        r.size.width - insets.left - insets.right, r.size.height - insets.top - insets.bottom);
}

template<>
struct TypeEncoding<CGPoint> {
    static constexpr const char* value = "{CGPoint=dd}";
};
template<>
struct TypeEncoding<CGSize> {
    static constexpr const char* value = "{CGSize=dd}";
};
template<>
struct TypeEncoding<CGRect> {
    static constexpr const char* value = "{CGRect={CGPoint=dd}{CGSize=dd}}";
};
template<>
struct TypeEncoding<UIEdgeInsets> {
    static constexpr const char* value = "{UIEdgeInsets=dddd}";
};
