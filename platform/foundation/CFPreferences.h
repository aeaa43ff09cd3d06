#pragma once

#include "platform/foundation/NSDictionary.h"

#include <string>
#include <string_view>

class NSString;

// The preference domains of "/var/mobile/Library/Preferences", one property list each,
// served the way the phone's preferences daemon serves them. Every change of a domain is a
// read, change and replace made under that domain's lock, which every process on the device
// root shares (an flock on "/private/var/run/cfprefsd/DOMAIN.plist.lock"), so concurrent
// writers never lose each other's update; the replacement is an atomic rename, so readers see the old file or the
// new one, never part of one.
class CFPreferences {
public:
    enum class WriteResult {
        Written,
        // The domain file exists but is no readable dictionary: left as it is, change refused.
        Unreadable,
        Failed,
    };

    static constexpr std::string_view preferencesFolder = "/var/mobile/Library/Preferences/";

    // The domain's device path; empty for a name that is no domain (empty, hidden, a path).
    static std::string domainPath(std::string_view domain);

    // The domain's values, nil when it has none. A file that exists but cannot be read is
    // reported in one line on standard error (once, until it reads again) and reads as nil,
    // so the caller goes on with its defaults.
    static RefPtr<NSDictionary> copyDomain(std::string_view domain);

    // Sets the key, or removes it for a nil value, keeping every other value exactly.
    static WriteResult setAppValue(std::string_view domain, const NSString* key, Object* value);

    // What the caller reports when a write was not made.
    static std::string describe(WriteResult, std::string_view domain);
};
