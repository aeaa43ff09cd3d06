#pragma once

#include "platform/foundation/NSObjCRuntime.h"

// The phone's font weights (UIFontWeight...), from -1 (thinnest) to 1 (heaviest).
inline constexpr double UIFontWeightRegular = 0.0;
inline constexpr double UIFontWeightMedium = 0.23;
inline constexpr double UIFontWeightSemibold = 0.3;
inline constexpr double UIFontWeightBold = 0.4;

// A system font of a point size and weight.
class UIFont : public Object {
    TW_OBJECT(UIFont)
public:
    static RefPtr<UIFont> systemFontOfSize(double size, double weight = UIFontWeightRegular);
    static RefPtr<UIFont> boldSystemFontOfSize(double size) { return systemFontOfSize(size, UIFontWeightBold); }

    double pointSize() const { return m_pointSize; }
    double weight() const { return m_weight; }

protected:
    UIFont() = default;

private:
    double m_pointSize { 17 };
    double m_weight { UIFontWeightRegular };
};
