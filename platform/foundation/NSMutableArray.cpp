#include "platform/foundation/NSMutableArray.h"

#include "platform/foundation/ObjectEquality.h"

Class NSMutableArray::classObject()
{
    static Class cls = ClassBuilder<NSMutableArray>("NSMutableArray", NSArray::classObject())
                           .method<&NSMutableArray::addObject>("addObject:")
                           .method<&NSMutableArray::insertObject>("insertObject:atIndex:")
                           .method<&NSMutableArray::removeObjectAtIndex>("removeObjectAtIndex:")
                           .method<&NSMutableArray::removeObjectImpl>("removeObject:")
                           .method<&NSMutableArray::removeAllObjects>("removeAllObjects")
                           .build();
    return cls;
}

RefPtr<NSMutableArray> NSMutableArray::array()
{
    return make<NSMutableArray>();
}

RefPtr<NSMutableArray> NSMutableArray::arrayWithArray(const NSArray* array)
{
    if (!array)
        return make<NSMutableArray>();
    return make<NSMutableArray>(array->objects());
}

void NSMutableArray::addObject(Object* object)
{
    if (!object)
        return;
    m_objects.emplace_back(object);
}

void NSMutableArray::addObjectsFromArray(const NSArray* array)
{
    if (!array)
        return;
    // A copy, because the array may be this one.
    auto objects = array->objects();
    m_objects.insert(m_objects.end(), objects.begin(), objects.end());
}

void NSMutableArray::insertObject(Object* object, NSUInteger index)
{
    if (!object || index > m_objects.size())
        return;
    m_objects.emplace(m_objects.begin() + index, object);
}

void NSMutableArray::removeObjectAtIndex(NSUInteger index)
{
    if (index >= m_objects.size())
        return;
    m_objects.erase(m_objects.begin() + index);
}

void NSMutableArray::replaceObjectAtIndex(NSUInteger index, Object* object)
{
    if (!object || index >= m_objects.size())
        return;
    m_objects[index] = object;
}

void NSMutableArray::removeObject(const Object* object)
{
    if (!object)
        return;
    // Held so that removing the last reference mid-scan cannot free the probe.
    Id keep(const_cast<Object*>(object));
    std::erase_if(m_objects, [&](const Id& element) { return ObjectEquality::isEqual(element.get(), object); });
}

void NSMutableArray::removeLastObject()
{
    if (!m_objects.empty())
        m_objects.pop_back();
}
