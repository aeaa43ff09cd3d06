#pragma once

#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSString.h"

#include <functional>
#include <mutex>
#include <vector>

// Cephei's preferences binding: reads the domain file
// "/var/mobile/Library/Preferences/<identifier>.plist" and keeps registered variables
// equal to the stored value of their key (or its default when none is stored). On the
// Darwin notification "<identifier>/ReloadPrefs" it re-reads the file and rewrites every
// bound variable; it subscribes in initWithIdentifier:, so it runs before any observer
// of that name added later in the process.
class HBPreferences : public Object {
    TW_OBJECT(HBPreferences)
public:
    // alloc + initWithIdentifier:.
    static RefPtr<HBPreferences> preferencesForIdentifier(const NSString* identifier);

    RefPtr<HBPreferences> initWithIdentifier(const NSString* identifier);
    RefPtr<NSString> identifier() const { return m_identifier; }

    // Each sets *variable at once and after every reload.
    void registerBooldefaultforKey(bool* variable, bool defaultValue, const NSString* key);
    void registerIntegerdefaultforKey(NSInteger* variable, NSInteger defaultValue, const NSString* key);
    // A stored value that is not a string leaves the default in place.
    void registerObjectdefaultforKey(RefPtr<NSString>* variable, const NSString* defaultValue, const NSString* key);

    // The stored value, else the registered default, else nil.
    Id objectForKey(const NSString* key) const;
    bool boolForKey(const NSString* key) const;
    NSInteger integerForKey(const NSString* key) const;

    // Re-reads the domain and rewrites every bound variable.
    void reloadPreferences();

    // How a stored value of another type reads, as the phone's framework converts it.
    // Numbers: reals truncate toward zero (NaN reads 0, out-of-range saturates). Strings: the
    // leading decimal number (0 when none). Dates, data, arrays, dictionaries: 0.
    static NSInteger integerFromValue(const Object*);
    // Numbers: non-zero. Strings: YES when they start with Y, y, T, t or a digit 1–9
    // (after blanks, a sign and leading zeros). Anything else: NO.
    static bool boolFromValue(const Object*);

protected:
    HBPreferences() = default;

private:
    struct Binding {
        RefPtr<NSString> key;
        Id defaultValue;
        std::function<void(const Object* storedOrNil)> assign;
    };

    void dealloc();
    void bind(Binding);
    Id storedValue(const NSString* key) const;
    Id defaultValue(const NSString* key) const;

    Id initWithIdentifierImp(NSString* identifier) { return initWithIdentifier(identifier); }
    Id objectForKeyImp(NSString* key) const { return objectForKey(key); }
    bool boolForKeyImp(NSString* key) const { return boolForKey(key); }
    NSInteger integerForKeyImp(NSString* key) const { return integerForKey(key); }
    void registerBoolImp(void* variable, bool defaultValue, NSString* key) { registerBooldefaultforKey(static_cast<bool*>(variable), defaultValue, key); }
    void registerIntegerImp(void* variable, NSInteger defaultValue, NSString* key) { registerIntegerdefaultforKey(static_cast<NSInteger*>(variable), defaultValue, key); }
    void registerObjectImp(void* variable, NSString* defaultValue, NSString* key) { registerObjectdefaultforKey(static_cast<RefPtr<NSString>*>(variable), defaultValue, key); }

    mutable std::mutex m_mutex;
    RefPtr<NSString> m_identifier;
    RefPtr<NSDictionary> m_values;
    std::vector<Binding> m_bindings;
    bool m_observing { false };
};
