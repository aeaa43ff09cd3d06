#include "platform/foundation/NSNumber.h"

#include <bit>
#include <cmath>
#include <functional>

Class NSNumber::classObject()
{
    static Class cls = ClassBuilder<NSNumber>("NSNumber", Object::classObject())
                           .method<&NSNumber::isEqualImpl>("isEqual:")
                           .method<&NSNumber::hash>("hash")
                           .method<&NSNumber::integerValue>("integerValue")
                           .method<&NSNumber::doubleValue>("doubleValue")
                           .method<&NSNumber::boolValue>("boolValue")
                           .method<&NSNumber::compareImpl>("compare:")
                           .build();
    return cls;
}

RefPtr<NSNumber> NSNumber::numberWithBool(bool value)
{
    return make<NSNumber>(Kind::Bool, NSInteger(value), value ? 1.0 : 0.0);
}

RefPtr<NSNumber> NSNumber::numberWithInteger(NSInteger value)
{
    return make<NSNumber>(Kind::Integer, value, double(value));
}

RefPtr<NSNumber> NSNumber::numberWithUnsignedInteger(uint64_t value)
{
    auto number = make<NSNumber>(Kind::Integer, static_cast<NSInteger>(value), double(value));
    number->m_unsigned = value > static_cast<uint64_t>(LONG_MAX);
    return number;
}

RefPtr<NSNumber> NSNumber::numberWithDouble(double value)
{
    return make<NSNumber>(Kind::Real, 0, value);
}

namespace {

constexpr double twoToThe63 = 9223372036854775808.0;
constexpr double twoToThe64 = 18446744073709551616.0;

// Whether the double holds exactly an integer representable as NSInteger.
bool integralInRange(double value)
{
    return std::isfinite(value) && value == std::trunc(value) && value >= -twoToThe63 && value < twoToThe63;
}

NSComparisonResult compareIntegers(NSInteger a, NSInteger b)
{
    return a < b ? NSOrderedAscending : a > b ? NSOrderedDescending : NSOrderedSame;
}

NSComparisonResult compareDoubles(double a, double b)
{
    // NaN sorts before everything, and equals itself, so sorting stays consistent.
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b) ? NSOrderedSame : std::isnan(a) ? NSOrderedAscending : NSOrderedDescending;
    return a < b ? NSOrderedAscending : a > b ? NSOrderedDescending : NSOrderedSame;
}

// Exact comparison of an integer with a double, without rounding the integer.
NSComparisonResult compareIntegerWithDouble(NSInteger integer, double real)
{
    if (std::isnan(real))
        return NSOrderedDescending;
    if (real >= twoToThe63)
        return NSOrderedAscending;
    if (real < -twoToThe63)
        return NSOrderedDescending;
    double floor = std::floor(real);
    auto whole = static_cast<NSInteger>(floor);
    if (integer != whole)
        return compareIntegers(integer, whole);
    return real > floor ? NSOrderedAscending : NSOrderedSame;
}

NSComparisonResult compareUnsigned(uint64_t a, uint64_t b)
{
    return a < b ? NSOrderedAscending : a > b ? NSOrderedDescending : NSOrderedSame;
}

// The same for an unsigned integer above the signed range.
NSComparisonResult compareUnsignedWithDouble(uint64_t integer, double real)
{
    if (std::isnan(real))
        return NSOrderedDescending;
    if (real >= twoToThe64)
        return NSOrderedAscending;
    if (real < twoToThe63)
        return NSOrderedDescending;
    double floor = std::floor(real);
    auto whole = static_cast<uint64_t>(floor);
    if (integer != whole)
        return compareUnsigned(integer, whole);
    return real > floor ? NSOrderedAscending : NSOrderedSame;
}

NSComparisonResult reversed(NSComparisonResult result)
{
    return static_cast<NSComparisonResult>(-static_cast<long>(result));
}

} // namespace

NSInteger NSNumber::integerValue() const
{
    if (m_unsigned)
        return LONG_MAX;
    if (m_kind != Kind::Real)
        return m_integer;
    if (std::isnan(m_real))
        return 0;
    if (m_real >= twoToThe63)
        return LONG_MAX;
    if (m_real < -twoToThe63)
        return LONG_MIN;
    return static_cast<NSInteger>(m_real);
}

uint64_t NSNumber::unsignedIntegerValue() const
{
    if (m_kind != Kind::Real)
        return static_cast<uint64_t>(m_integer);
    if (std::isnan(m_real) || m_real <= 0)
        return 0;
    if (m_real >= twoToThe64)
        return UINT64_MAX;
    return static_cast<uint64_t>(m_real);
}

double NSNumber::doubleValue() const
{
    if (m_unsigned)
        return double(static_cast<uint64_t>(m_integer));
    return m_kind == Kind::Real ? m_real : double(m_integer);
}

bool NSNumber::boolValue() const
{
    return m_kind == Kind::Real ? m_real != 0 : m_integer != 0;
}

NSComparisonResult NSNumber::compare(const NSNumber* other) const
{
    // A missing number compares as zero, so sorts never see an invalid order.
    if (!other)
        return m_unsigned ? NSOrderedDescending : m_kind == Kind::Real ? compareDoubles(m_real, 0) : compareIntegers(m_integer, 0);
    const NSNumber& that = *other;
    if (m_unsigned || that.m_unsigned) {
        auto self = static_cast<uint64_t>(m_integer);
        auto theirs = static_cast<uint64_t>(that.m_integer);
        if (m_unsigned && that.m_unsigned)
            return compareUnsigned(self, theirs);
        if (m_unsigned)
            return that.m_kind == Kind::Real ? compareUnsignedWithDouble(self, that.m_real) : NSOrderedDescending;
        return m_kind == Kind::Real ? reversed(compareUnsignedWithDouble(theirs, m_real)) : NSOrderedAscending;
    }
    bool selfReal = m_kind == Kind::Real;
    bool thatReal = that.m_kind == Kind::Real;
    if (!selfReal && !thatReal)
        return compareIntegers(m_integer, that.m_integer);
    if (selfReal && thatReal)
        return compareDoubles(m_real, that.m_real);
    if (!selfReal)
        return compareIntegerWithDouble(m_integer, that.m_real);
    return reversed(compareIntegerWithDouble(that.m_integer, m_real));
}

bool NSNumber::isEqualToNumber(const NSNumber* other) const
{
    return other && compare(other) == NSOrderedSame;
}

bool NSNumber::isEqual(const Object* other) const
{
    return isEqualToNumber(objectCast<const NSNumber>(other));
}

NSUInteger NSNumber::hash() const
{
    // Equal numbers of different kinds must hash alike: integral values hash as integers.
    if (m_unsigned) {
        double real = double(static_cast<uint64_t>(m_integer));
        if (real < twoToThe64 && static_cast<uint64_t>(real) == static_cast<uint64_t>(m_integer))
            return std::hash<uint64_t> {}(std::bit_cast<uint64_t>(real));
        return std::hash<uint64_t> {}(static_cast<uint64_t>(m_integer));
    }
    if (m_kind != Kind::Real)
        return std::hash<NSInteger> {}(m_integer);
    if (integralInRange(m_real))
        return std::hash<NSInteger> {}(static_cast<NSInteger>(m_real));
    if (std::isnan(m_real))
        return 0x7ff8;
    return std::hash<uint64_t> {}(std::bit_cast<uint64_t>(m_real));
}
