#pragma once

#include "platform/runtime/ClassBuilder.h"

#include <array>

// A device-RGB colour value with alpha, as a layer keeps it for its border.
class CGColor : public Object {
    TW_OBJECT(CGColor)
public:
    static RefPtr<CGColor> create(double red, double green, double blue, double alpha);

    const std::array<double, 4>& components() const { return m_components; }
    double alpha() const { return m_components[3]; }
    bool equals(const CGColor& other) const { return m_components == other.m_components; }

protected:
    CGColor() = default;

private:
    std::array<double, 4> m_components {};
};

using CGColorRef = CGColor*;

bool CGColorEqualToColor(CGColorRef, CGColorRef);
double CGColorGetAlpha(CGColorRef);
// Red, green, blue, alpha; null for a missing colour.
const double* CGColorGetComponents(CGColorRef);
size_t CGColorGetNumberOfComponents(CGColorRef);
