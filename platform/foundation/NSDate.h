#pragma once

#include "platform/foundation/NSObjCRuntime.h"

// A moment, as seconds since 2001-01-01 00:00:00 UTC.
class NSDate : public Object {
    TW_OBJECT(NSDate)
public:
    using ClockSource = double (*)();

    // Now, as told by the process clock.
    static RefPtr<NSDate> date();
    static RefPtr<NSDate> dateWithTimeIntervalSinceReferenceDate(NSTimeInterval seconds);
    static RefPtr<NSDate> dateWithTimeIntervalSinceNow(NSTimeInterval seconds);

    // The process clock answers seconds since the reference date; null restores system time.
    static void setClockSource(ClockSource);
    static NSTimeInterval currentTime();
    static NSTimeInterval systemTime();

    NSTimeInterval timeIntervalSinceReferenceDate() const { return m_seconds; }
    NSTimeInterval timeIntervalSinceDate(const NSDate* other) const;
    NSTimeInterval timeIntervalSince1970() const;

    NSComparisonResult compare(const NSDate* other) const;
    bool isEqual(const Object* other) const;
    NSUInteger hash() const;

protected:
    NSDate() = default;
    explicit NSDate(NSTimeInterval seconds)
        : m_seconds(seconds)
    {
    }

private:
    bool isEqualImpl(Object* other) const { return isEqual(other); }
    long compareImpl(NSDate* other) const { return compare(other); }

    NSTimeInterval m_seconds { 0 };
};

// Seconds between 1970-01-01 and 2001-01-01.
inline constexpr NSTimeInterval NSTimeIntervalSince1970 = 978307200.0;
