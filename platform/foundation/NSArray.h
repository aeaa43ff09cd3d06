#pragma once

#include "platform/foundation/NSObjCRuntime.h"

#include <functional>
#include <initializer_list>
#include <string_view>
#include <vector>

class NSMutableArray;

// An ordered list of objects. Reading past the end answers nil instead of raising.
class NSArray : public Object {
    TW_OBJECT(NSArray)
public:
    static RefPtr<NSArray> array();
    static RefPtr<NSArray> arrayWithObjects(std::vector<Id> objects);
    static RefPtr<NSArray> arrayWithObjects(std::initializer_list<Id> objects);
    // Nil when the file is missing or unreadable, or its root is not an array.
    static RefPtr<NSArray> arrayWithContentsOfFile(std::string_view devicePath);

    NSUInteger count() const { return m_objects.size(); }
    Id objectAtIndex(NSUInteger index) const;
    Id objectAtIndexedSubscript(NSUInteger index) const { return objectAtIndex(index); }
    Id firstObject() const;
    Id lastObject() const;
    bool containsObject(const Object* object) const;
    // NSNotFound when absent.
    NSUInteger indexOfObject(const Object* object) const;

    const std::vector<Id>& objects() const { return m_objects; }
    auto begin() const { return m_objects.begin(); }
    auto end() const { return m_objects.end(); }

    // Stable: equal elements keep their order.
    RefPtr<NSArray> sortedArrayUsingComparator(const std::function<NSComparisonResult(id, id)>& comparator) const;

    RefPtr<NSArray> copy() const;
    RefPtr<NSMutableArray> mutableCopy() const;

    bool isEqualToArray(const NSArray* other) const;
    bool isEqual(const Object* other) const;
    NSUInteger hash() const { return m_objects.size(); }

    // A property list; false when an element is not a property-list object or the write fails.
    bool writeToFile(std::string_view devicePath, bool atomically) const;

protected:
    NSArray() = default;
    explicit NSArray(std::vector<Id> objects)
        : m_objects(std::move(objects))
    {
    }

    std::vector<Id> m_objects;

private:
    Id objectAtIndexImpl(NSUInteger index) const { return objectAtIndex(index); }
    bool containsObjectImpl(Object* object) const { return containsObject(object); }
    NSUInteger indexOfObjectImpl(Object* object) const { return indexOfObject(object); }
    bool isEqualImpl(Object* other) const { return isEqual(other); }
};
