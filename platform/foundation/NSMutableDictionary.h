#pragma once

#include "platform/foundation/NSDictionary.h"

class NSMutableDictionary : public NSDictionary {
    TW_OBJECT(NSMutableDictionary)
public:
    static RefPtr<NSMutableDictionary> dictionary();
    static RefPtr<NSMutableDictionary> dictionaryWithDictionary(const NSDictionary* dictionary);
    // Nil when the file is missing or unreadable, or its root is not a dictionary.
    static RefPtr<NSMutableDictionary> dictionaryWithContentsOfFile(std::string_view devicePath);

    // A new key goes last; an existing key keeps its place. Nil key or value: ignored.
    void setObject(Object* object, Object* key);
    // As setObject, except that a nil value removes the key.
    void setValue(Object* value, Object* key);
    void setObjectForStringKey(Object* object, std::string_view key);
    void removeObjectForKey(const Object* key);
    void removeAllObjects() { m_map.clear(); }
    void addEntriesFromDictionary(const NSDictionary* other);

protected:
    NSMutableDictionary() = default;

private:
    void removeObjectForKeyImpl(Object* key) { removeObjectForKey(key); }
};
