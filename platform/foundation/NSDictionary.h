#pragma once

#include "platform/foundation/NSObjCRuntime.h"
#include "platform/foundation/OrderedObjectMap.h"

#include <atomic>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

class NSArray;
class NSMutableDictionary;

// A map from objects to objects that keeps its own key order: keys answer in the order
// they were first added (or the order of the property-list file they were read from).
class NSDictionary : public Object {
    TW_OBJECT(NSDictionary)
public:
    using Map = OrderedObjectMap<Id>;

    static RefPtr<NSDictionary> dictionary();
    // Pairs of key and value, in order; pairs with a nil key or value are skipped.
    static RefPtr<NSDictionary> dictionaryWithPairs(const std::vector<std::pair<Id, Id>>& pairs);
    // Nil when the file is missing or unreadable, or its root is not a dictionary.
    static RefPtr<NSDictionary> dictionaryWithContentsOfFile(std::string_view devicePath);
    // +[NSDictionary dictionaryWithContentsOfFile:] as a caller on the phone makes it: a send
    // to the class, so a replacement of the method runs.
    static RefPtr<NSDictionary> sendDictionaryWithContentsOfFile(std::string_view devicePath);

    NSUInteger count() const { return m_map.size(); }
    Id objectForKey(const Object* key) const;
    // Convenience for the common string key.
    Id objectForStringKey(std::string_view key) const;
    Id valueForKey(const Object* key) const { return objectForKey(key); }

    RefPtr<NSArray> allKeys() const;
    RefPtr<NSArray> allValues() const;
    // Keys ordered by their values under the comparator; stable, so ties keep key order.
    RefPtr<NSArray> keysSortedByValueUsingComparator(const std::function<NSComparisonResult(id, id)>& comparator) const;

    // Entries in key order, each with .key and .value.
    const Map& entries() const { return m_map; }
    auto begin() const { return m_map.begin(); }
    auto end() const { return m_map.end(); }

    RefPtr<NSDictionary> copy() const;
    RefPtr<NSMutableDictionary> mutableCopy() const;

    // Same keys with equal values, whatever the order.
    bool isEqualToDictionary(const NSDictionary* other) const;
    bool isEqual(const Object* other) const;
    NSUInteger hash() const { return m_map.size(); }

    // A property list; false when a key is not a string, a value is not a property-list
    // object, or the write fails.
    bool writeToFile(std::string_view devicePath, bool atomically) const;

    ~NSDictionary() override;

protected:
    NSDictionary() = default;

    Map m_map;

private:
    // An immutable dictionary's key list, made on the first allKeys; retained.
    mutable std::atomic<NSArray*> m_keyList { nullptr };

    Id objectForKeyImpl(Object* key) const { return objectForKey(key); }
    static Id dictionaryWithContentsOfFileImpl(Class, SEL, id path);
    bool isEqualImpl(Object* other) const { return isEqual(other); }
};
