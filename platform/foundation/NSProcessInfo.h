#pragma once

#include "platform/foundation/NSObjCRuntime.h"

#include <string>

class NSString;

class NSProcessInfo : public Object {
    TW_OBJECT(NSProcessInfo)
public:
    static RefPtr<NSProcessInfo> processInfo();

    // A new UUID-shaped text on every call ("68753A44-4D6F-1226-9C60-0050E4C00067").
    RefPtr<NSString> globallyUniqueString() const;
    int processIdentifier() const;

protected:
    NSProcessInfo() = default;
};
