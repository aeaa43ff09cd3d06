#pragma once

#include "outside/cephei/HBPreferences.h"

#include <span>
#include <variant>

// One preference key of the domain, its kind, default and the global it is bound to.
struct SettingKey {
    struct Bool {
        bool* global;
        bool defaultValue;
    };
    struct Integer {
        long* global;
        long defaultValue;
    };
    struct Object {
        RefPtr<NSString>* global;
        const char* defaultValue;
    };

    const char* key;
    std::variant<Bool, Integer, Object> binding;
};

// The ninety keys of "com.quillfen.tintwellprefs", bound to their globals in registration order.
class SettingsStore {
public:
    static constexpr const char* domain = "com.quillfen.tintwellprefs";
    static constexpr const char* colorsFile = "/var/mobile/Library/Preferences/com.quillfen.tintwellprefs.colors.plist";

    // All ninety, "Enabled" first.
    static std::span<const SettingKey> keys();

    static void registerKey(HBPreferences&, const SettingKey&);
    // "Enabled" alone; answers the bound value.
    static bool registerEnabled(HBPreferences&);
    // The other eighty-nine, in order.
    static void registerRemaining(HBPreferences&);
    // The six style records, made once at start-up; reloads refill them in place.
    static void createStyleRecords();
};

// Refills the six style records in place from the bound globals.
extern "C" void TWLreloadPrefs();
