#include "platform/foundation/NSMutableDictionary.h"

#include "platform/foundation/NSString.h"

Class NSMutableDictionary::classObject()
{
    static Class cls = ClassBuilder<NSMutableDictionary>("NSMutableDictionary", NSDictionary::classObject())
                           .method<&NSMutableDictionary::setObject>("setObject:forKey:")
                           .method<&NSMutableDictionary::setValue>("setValue:forKey:")
                           .method<&NSMutableDictionary::removeObjectForKeyImpl>("removeObjectForKey:")
                           .method<&NSMutableDictionary::removeAllObjects>("removeAllObjects")
                           .build();
    return cls;
}

RefPtr<NSMutableDictionary> NSMutableDictionary::dictionary()
{
    return make<NSMutableDictionary>();
}

RefPtr<NSMutableDictionary> NSMutableDictionary::dictionaryWithDictionary(const NSDictionary* dictionary)
{
    auto copy = make<NSMutableDictionary>();
    if (dictionary)
        copy->m_map = dictionary->entries();
    return copy;
}

RefPtr<NSMutableDictionary> NSMutableDictionary::dictionaryWithContentsOfFile(std::string_view devicePath)
{
    auto dictionary = NSDictionary::dictionaryWithContentsOfFile(devicePath);
    if (!dictionary)
        return nullptr;
    return dictionaryWithDictionary(dictionary.get());
}

void NSMutableDictionary::setObject(Object* object, Object* key)
{
    if (!object || !key)
        return;
    // Held so a value replacing itself is not freed before it is stored.
    Id keep(object);
    m_map.findOrInsert(key).value = keep;
}

void NSMutableDictionary::setValue(Object* value, Object* key)
{
    if (!value) {
        removeObjectForKey(key);
        return;
    }
    setObject(value, key);
}

void NSMutableDictionary::setObjectForStringKey(Object* object, std::string_view key)
{
    setObject(object, NSString::string(key).get());
}

void NSMutableDictionary::removeObjectForKey(const Object* key)
{
    m_map.remove(key);
}

void NSMutableDictionary::addEntriesFromDictionary(const NSDictionary* other)
{
    if (!other)
        return;
    // A copy, because the dictionary may be this one.
    auto entries = other->entries();
    for (auto& entry : entries)
        setObject(entry.value.get(), entry.key.get());
}
