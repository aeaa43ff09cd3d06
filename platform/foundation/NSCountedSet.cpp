#include "platform/foundation/NSCountedSet.h"

#include "platform/foundation/NSArray.h"

Class NSCountedSet::classObject()
{
    static Class cls = ClassBuilder<NSCountedSet>("NSCountedSet", Object::classObject())
                           .method<&NSCountedSet::initWithArrayImpl>("initWithArray:")
                           .method<&NSCountedSet::addObject>("addObject:")
                           .method<&NSCountedSet::countForObjectImpl>("countForObject:")
                           .method<&NSCountedSet::count>("count")
                           .method<&NSCountedSet::allObjects>("allObjects")
                           .build();
    return cls;
}

RefPtr<NSCountedSet> NSCountedSet::set()
{
    return make<NSCountedSet>();
}

RefPtr<NSCountedSet> NSCountedSet::setWithArray(const NSArray* array)
{
    auto set = make<NSCountedSet>();
    set->initWithArray(array);
    return set;
}

void NSCountedSet::initWithArray(const NSArray* array)
{
    if (!array)
        return;
    for (auto& object : *array)
        addObject(object.get());
}

void NSCountedSet::addObject(Object* object)
{
    if (!object)
        return;
    ++m_counts.findOrInsert(object).value;
}

void NSCountedSet::removeObject(const Object* object)
{
    auto* entry = m_counts.find(object);
    if (!entry)
        return;
    if (--entry->value == 0)
        m_counts.remove(object);
}

NSUInteger NSCountedSet::countForObject(const Object* object) const
{
    auto* entry = m_counts.find(object);
    return entry ? entry->value : 0;
}

RefPtr<NSArray> NSCountedSet::allObjects() const
{
    std::vector<Id> objects;
    objects.reserve(m_counts.size());
    for (auto& entry : m_counts)
        objects.push_back(entry.key);
    return NSArray::arrayWithObjects(std::move(objects));
}
