#include "platform/foundation/NSArray.h"

#include "platform/foundation/NSMutableArray.h"
#include "platform/foundation/ObjectEquality.h"
#include "platform/foundation/PropertyList.h"

#include <algorithm>

Class NSArray::classObject()
{
    static Class cls = ClassBuilder<NSArray>("NSArray", Object::classObject())
                           .method<&NSArray::isEqualImpl>("isEqual:")
                           .method<&NSArray::hash>("hash")
                           .method<&NSArray::count>("count")
                           .method<&NSArray::objectAtIndexImpl>("objectAtIndex:")
                           .method<&NSArray::objectAtIndexImpl>("objectAtIndexedSubscript:")
                           .method<&NSArray::firstObject>("firstObject")
                           .method<&NSArray::lastObject>("lastObject")
                           .method<&NSArray::containsObjectImpl>("containsObject:")
                           .method<&NSArray::indexOfObjectImpl>("indexOfObject:")
                           .build();
    return cls;
}

RefPtr<NSArray> NSArray::array()
{
    return make<NSArray>();
}

RefPtr<NSArray> NSArray::arrayWithObjects(std::vector<Id> objects)
{
    std::erase(objects, nullptr);
    return make<NSArray>(std::move(objects));
}

RefPtr<NSArray> NSArray::arrayWithObjects(std::initializer_list<Id> objects)
{
    return arrayWithObjects(std::vector<Id>(objects));
}

RefPtr<NSArray> NSArray::arrayWithContentsOfFile(std::string_view devicePath)
{
    return objectCast<NSArray>(PropertyList::readFile(devicePath));
}

Id NSArray::objectAtIndex(NSUInteger index) const
{
    if (index >= m_objects.size())
        return nullptr;
    return m_objects[index];
}

Id NSArray::firstObject() const
{
    return m_objects.empty() ? nullptr : m_objects.front();
}

Id NSArray::lastObject() const
{
    return m_objects.empty() ? nullptr : m_objects.back();
}

bool NSArray::containsObject(const Object* object) const
{
    return indexOfObject(object) != NSNotFound;
}

NSUInteger NSArray::indexOfObject(const Object* object) const
{
    if (!object)
        return NSNotFound;
    for (size_t i = 0; i < m_objects.size(); ++i) {
        if (ObjectEquality::isEqual(m_objects[i].get(), object))
            return i;
    }
    return NSNotFound;
}

RefPtr<NSArray> NSArray::sortedArrayUsingComparator(const std::function<NSComparisonResult(id, id)>& comparator) const
{
    auto sorted = m_objects;
    std::stable_sort(sorted.begin(), sorted.end(), [&](const Id& a, const Id& b) {
        return comparator(a.get(), b.get()) == NSOrderedAscending;
    });
    return make<NSArray>(std::move(sorted));
}

RefPtr<NSArray> NSArray::copy() const
{
    return make<NSArray>(m_objects);
}

RefPtr<NSMutableArray> NSArray::mutableCopy() const
{
    return NSMutableArray::arrayWithArray(this);
}

bool NSArray::isEqualToArray(const NSArray* other) const
{
    if (!other || other->m_objects.size() != m_objects.size())
        return false;
    for (size_t i = 0; i < m_objects.size(); ++i) {
        if (!ObjectEquality::isEqual(m_objects[i].get(), other->m_objects[i].get()))
            return false;
    }
    return true;
}

bool NSArray::isEqual(const Object* other) const
{
    return other == this || isEqualToArray(objectCast<const NSArray>(other));
}

bool NSArray::writeToFile(std::string_view devicePath, bool atomically) const
{
    return PropertyList::writeFile(this, devicePath, PropertyList::Format::XML, atomically);
}
