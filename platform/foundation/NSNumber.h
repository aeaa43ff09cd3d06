#pragma once

#include "platform/foundation/NSObjCRuntime.h"

#include <cstdint>

// A boolean, a 64-bit integer (signed, or unsigned above the signed range) or a double; the
// kind is kept so a property list written back holds the same element type it was read with.
class NSNumber : public Object {
    TW_OBJECT(NSNumber)
public:
    enum class Kind { Bool, Integer, Real };

    static RefPtr<NSNumber> numberWithBool(bool);
    static RefPtr<NSNumber> numberWithInteger(NSInteger);
    static RefPtr<NSNumber> numberWithUnsignedInteger(uint64_t);
    static RefPtr<NSNumber> numberWithDouble(double);

    Kind kind() const { return m_kind; }
    // Saturated for an unsigned value above the signed range.
    NSInteger integerValue() const;
    uint64_t unsignedIntegerValue() const;
    // An integer above the signed range, which only the unsigned accessor holds exactly.
    bool isUnsigned() const { return m_unsigned; }
    double doubleValue() const;
    bool boolValue() const;

    // By value across kinds: @1, @1.0 and @YES are equal.
    NSComparisonResult compare(const NSNumber* other) const;
    bool isEqualToNumber(const NSNumber* other) const;
    bool isEqual(const Object* other) const;
    NSUInteger hash() const;

protected:
    NSNumber() = default;
    NSNumber(Kind kind, NSInteger integer, double real)
        : m_kind(kind)
        , m_integer(integer)
        , m_real(real)
    {
    }

private:
    long compareImpl(NSNumber* other) const { return compare(other); }
    bool isEqualImpl(Object* other) const { return isEqual(other); }

    Kind m_kind { Kind::Integer };
    bool m_unsigned { false };
    NSInteger m_integer { 0 };
    double m_real { 0 };
};
