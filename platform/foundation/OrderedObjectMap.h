#pragma once

#include "platform/foundation/ObjectEquality.h"

#include <optional>
#include <unordered_map>
#include <vector>

// Object keys in insertion order, found by hash and isEqual:. Replacing a value keeps
// its key's position; removing a key closes the gap.
template<typename Value>
class OrderedObjectMap {
public:
    struct Entry {
        Id key;
        Value value;
        NSUInteger hash;
    };

    size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    const std::vector<Entry>& entries() const { return m_entries; }
    auto begin() const { return m_entries.begin(); }
    auto end() const { return m_entries.end(); }

    const Entry* find(const Object* key) const
    {
        auto index = indexOf(key, ObjectEquality::hash(key));
        return index ? &m_entries[*index] : nullptr;
    }

    Entry* find(const Object* key)
    {
        auto index = indexOf(key, ObjectEquality::hash(key));
        return index ? &m_entries[*index] : nullptr;
    }

    // The entry of the key, added at the end with a default value when new.
    Entry& findOrInsert(Object* key)
    {
        auto hash = ObjectEquality::hash(key);
        if (auto index = indexOf(key, hash))
            return m_entries[*index];
        m_index.emplace(hash, m_entries.size());
        m_entries.push_back(Entry { Id(key), Value {}, hash });
        return m_entries.back();
    }

    bool remove(const Object* key)
    {
        auto index = indexOf(key, ObjectEquality::hash(key));
        if (!index)
            return false;
        m_entries.erase(m_entries.begin() + *index);
        rebuildIndex();
        return true;
    }

    void clear()
    {
        m_entries.clear();
        m_index.clear();
    }

private:
    std::optional<size_t> indexOf(const Object* key, NSUInteger hash) const
    {
        if (!key)
            return std::nullopt;
        auto [first, last] = m_index.equal_range(hash);
        for (auto it = first; it != last; ++it) {
            if (ObjectEquality::isEqual(m_entries[it->second].key.get(), key))
                return it->second;
        }
        return std::nullopt;
    }

    void rebuildIndex()
    {
        m_index.clear();
        for (size_t i = 0; i < m_entries.size(); ++i)
            m_index.emplace(m_entries[i].hash, i);
    }

    std::vector<Entry> m_entries;
    std::unordered_multimap<NSUInteger, size_t> m_index;
};
