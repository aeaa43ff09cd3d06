#include "platform/foundation/NSDictionary.h"

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"

#include <algorithm>

Class NSDictionary::classObject()
{
    static Class cls = ClassBuilder<NSDictionary>("NSDictionary", Object::classObject())
                           .method<&NSDictionary::isEqualImpl>("isEqual:")
                           .method<&NSDictionary::hash>("hash")
                           .method<&NSDictionary::count>("count")
                           .method<&NSDictionary::objectForKeyImpl>("objectForKey:")
                           .method<&NSDictionary::objectForKeyImpl>("valueForKey:")
                           .method<&NSDictionary::allKeys>("allKeys")
                           .method<&NSDictionary::allValues>("allValues")
                           .classFunction("dictionaryWithContentsOfFile:", &NSDictionary::dictionaryWithContentsOfFileImpl)
                           .build();
    return cls;
}

RefPtr<NSDictionary> NSDictionary::dictionary()
{
    return make<NSDictionary>();
}

RefPtr<NSDictionary> NSDictionary::dictionaryWithPairs(const std::vector<std::pair<Id, Id>>& pairs)
{
    auto dictionary = make<NSDictionary>();
    for (auto& [key, value] : pairs) {
        if (key && value)
            dictionary->m_map.findOrInsert(key.get()).value = value;
    }
    return dictionary;
}

RefPtr<NSDictionary> NSDictionary::dictionaryWithContentsOfFile(std::string_view devicePath)
{
    RefPtr<NSDictionary> dictionary = objectCast<NSDictionary>(PropertyList::readFile(devicePath));
    if (!dictionary)
        return nullptr;
    return dictionary->copy();
}

Id NSDictionary::dictionaryWithContentsOfFileImpl(Class cls, SEL, id path)
{
    RefPtr<NSString> text = objectCast<NSString>(path);
    if (!text)
        return nullptr;
    // Sent to NSMutableDictionary (inherited), it answers a mutable one, as on the phone.
    if (class_isSubclassOf(cls, NSMutableDictionary::classObject()))
        return NSMutableDictionary::dictionaryWithContentsOfFile(text->view());
    return dictionaryWithContentsOfFile(text->view());
}

RefPtr<NSDictionary> NSDictionary::sendDictionaryWithContentsOfFile(std::string_view devicePath)
{
    auto path = NSString::string(devicePath);
    return msgSendClass<RefPtr<NSDictionary>>(classObject(), SELECTOR("dictionaryWithContentsOfFile:"), path.get());
}

Id NSDictionary::objectForKey(const Object* key) const
{
    auto* entry = m_map.find(key);
    return entry ? entry->value : nullptr;
}

Id NSDictionary::objectForStringKey(std::string_view key) const
{
    return objectForKey(NSString::string(key).get());
}

NSDictionary::~NSDictionary()
{
    if (auto* keys = m_keyList.load(std::memory_order_acquire))
        keys->release();
}

RefPtr<NSArray> NSDictionary::allKeys() const
{
    if (auto* keys = m_keyList.load(std::memory_order_acquire))
        return keys;
    std::vector<Id> keys;
    keys.reserve(m_map.size());
    for (auto& entry : m_map)
        keys.push_back(entry.key);
    auto list = NSArray::arrayWithObjects(std::move(keys));
    // Only a dictionary that can never change may hand out one list for good; layout
    // passes ask the same dictionaries for their keys over and over.
    if (isa() != classObject())
        return list;
    NSArray* expected = nullptr;
    if (m_keyList.compare_exchange_strong(expected, list.get(), std::memory_order_acq_rel))
        list->retain();
    else
        return expected;
    return list;
}

RefPtr<NSArray> NSDictionary::allValues() const
{
    std::vector<Id> values;
    values.reserve(m_map.size());
    for (auto& entry : m_map)
        values.push_back(entry.value);
    return NSArray::arrayWithObjects(std::move(values));
}

RefPtr<NSArray> NSDictionary::keysSortedByValueUsingComparator(const std::function<NSComparisonResult(id, id)>& comparator) const
{
    std::vector<const Map::Entry*> sorted;
    sorted.reserve(m_map.size());
    for (auto& entry : m_map)
        sorted.push_back(&entry);
    std::stable_sort(sorted.begin(), sorted.end(), [&](const Map::Entry* a, const Map::Entry* b) {
        return comparator(a->value.get(), b->value.get()) == NSOrderedAscending;
    });
    std::vector<Id> keys;
    keys.reserve(sorted.size());
    for (auto* entry : sorted)
        keys.push_back(entry->key);
    return NSArray::arrayWithObjects(std::move(keys));
}

RefPtr<NSDictionary> NSDictionary::copy() const
{
    auto copy = make<NSDictionary>();
    copy->m_map = m_map;
    return copy;
}

RefPtr<NSMutableDictionary> NSDictionary::mutableCopy() const
{
    return NSMutableDictionary::dictionaryWithDictionary(this);
}

bool NSDictionary::isEqualToDictionary(const NSDictionary* other) const
{
    if (!other || other->count() != count())
        return false;
    for (auto& entry : m_map) {
        auto* match = other->m_map.find(entry.key.get());
        if (!match || !ObjectEquality::isEqual(entry.value.get(), match->value.get()))
            return false;
    }
    return true;
}

bool NSDictionary::isEqual(const Object* other) const
{
    return other == this || isEqualToDictionary(objectCast<const NSDictionary>(other));
}

bool NSDictionary::writeToFile(std::string_view devicePath, bool atomically) const
{
    return PropertyList::writeFile(this, devicePath, PropertyList::Format::XML, atomically);
}
