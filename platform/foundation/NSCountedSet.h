#pragma once

#include "platform/foundation/NSObjCRuntime.h"
#include "platform/foundation/OrderedObjectMap.h"

class NSArray;

// Distinct objects (by isEqual: and hash) with how often each was added.
class NSCountedSet : public Object {
    TW_OBJECT(NSCountedSet)
public:
    static RefPtr<NSCountedSet> set();
    static RefPtr<NSCountedSet> setWithArray(const NSArray* array);

    void initWithArray(const NSArray* array);
    void addObject(Object* object);
    // Lowers the count by one, forgetting the object at zero.
    void removeObject(const Object* object);

    NSUInteger countForObject(const Object* object) const;
    // Distinct objects.
    NSUInteger count() const { return m_counts.size(); }
    // Distinct objects in the order each was first added.
    RefPtr<NSArray> allObjects() const;
    bool containsObject(const Object* object) const { return m_counts.find(object); }

protected:
    NSCountedSet() = default;

private:
    void initWithArrayImpl(NSArray* array) { initWithArray(array); }
    NSUInteger countForObjectImpl(Object* object) const { return countForObject(object); }

    OrderedObjectMap<NSUInteger> m_counts;
};
