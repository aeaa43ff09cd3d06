#pragma once

#include "platform/graphics/CGColor.h"

#include <string>

template<>
struct TypeEncoding<double*> {
    static constexpr const char* value = "^d";
};

// The phone's colour value: red, green, blue and alpha as doubles. Registered methods:
// getRed:green:blue:alpha:, isEqual:, hash, CGColor, initWithRed:green:blue:alpha:,
// initWithWhite:alpha:.
class UIColor : public Object {
    TW_OBJECT(UIColor)
public:
    // Alpha above 1 is held as 1; the other components are kept as given.
    static RefPtr<UIColor> colorWithRed(double red, double green, double blue, double alpha);
    static RefPtr<UIColor> colorWithWhite(double white, double alpha);
    static RefPtr<UIColor> colorWithCGColor(CGColorRef);

    static RefPtr<UIColor> blackColor();
    static RefPtr<UIColor> whiteColor();
    static RefPtr<UIColor> clearColor();
    static RefPtr<UIColor> redColor();
    static RefPtr<UIColor> greenColor();
    static RefPtr<UIColor> blueColor();
    static RefPtr<UIColor> grayColor();
    static RefPtr<UIColor> lightGrayColor();
    static RefPtr<UIColor> darkGrayColor();

    double red() const { return m_red; }
    double green() const { return m_green; }
    double blue() const { return m_blue; }
    double alpha() const { return m_alpha; }

    // Any out-argument may be null.
    bool getRed(double* red, double* green, double* blue, double* alpha) const;
    bool isEqual(id other) const;
    unsigned long hash() const;
    RefPtr<::CGColor> CGColor() const;

    // "#RRGGBBAA", each byte round(component × 255) after limiting to 0…1.
    std::string hexString() const;

protected:
    UIColor() = default;

private:
    Id initWithRed(double red, double green, double blue, double alpha);
    Id initWithWhite(double white, double alpha);
    void setComponents(double red, double green, double blue, double alpha);

    double m_red { 0 };
    double m_green { 0 };
    double m_blue { 0 };
    double m_alpha { 0 };
    mutable RefPtr<::CGColor> m_cgColor;
};
