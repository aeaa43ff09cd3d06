#include "platform/foundation/NSDate.h"

#include <atomic>
#include <chrono>
#include <functional>

namespace {

std::atomic<NSDate::ClockSource>& clockSource()
{
    static std::atomic<NSDate::ClockSource> source { &NSDate::systemTime };
    return source;
}

} // namespace

Class NSDate::classObject()
{
    static Class cls = ClassBuilder<NSDate>("NSDate", Object::classObject())
                           .method<&NSDate::isEqualImpl>("isEqual:")
                           .method<&NSDate::hash>("hash")
                           .method<&NSDate::timeIntervalSinceReferenceDate>("timeIntervalSinceReferenceDate")
                           .method<&NSDate::compareImpl>("compare:")
                           .build();
    return cls;
}

RefPtr<NSDate> NSDate::date()
{
    return make<NSDate>(currentTime());
}

RefPtr<NSDate> NSDate::dateWithTimeIntervalSinceReferenceDate(NSTimeInterval seconds)
{
    return make<NSDate>(seconds);
}

RefPtr<NSDate> NSDate::dateWithTimeIntervalSinceNow(NSTimeInterval seconds)
{
    return make<NSDate>(currentTime() + seconds);
}

void NSDate::setClockSource(ClockSource source)
{
    clockSource().store(source ? source : &NSDate::systemTime);
}

NSTimeInterval NSDate::currentTime()
{
    return clockSource().load()();
}

NSTimeInterval NSDate::systemTime()
{
    auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration<double>(sinceEpoch).count() - NSTimeIntervalSince1970;
}

NSTimeInterval NSDate::timeIntervalSinceDate(const NSDate* other) const
{
    return other ? m_seconds - other->m_seconds : m_seconds;
}

NSTimeInterval NSDate::timeIntervalSince1970() const
{
    return m_seconds + NSTimeIntervalSince1970;
}

NSComparisonResult NSDate::compare(const NSDate* other) const
{
    double that = other ? other->m_seconds : 0;
    return m_seconds < that ? NSOrderedAscending : m_seconds > that ? NSOrderedDescending : NSOrderedSame;
}

bool NSDate::isEqual(const Object* other) const
{
    auto* date = objectCast<const NSDate>(other);
    return date && date->m_seconds == m_seconds;
}

NSUInteger NSDate::hash() const
{
    return std::hash<double> {}(m_seconds);
}
