#pragma once

#include "platform/foundation/NSObjCRuntime.h"

#include <string_view>

class NSArray;
class NSString;

// File operations on device paths.
class NSFileManager : public Object {
    TW_OBJECT(NSFileManager)
public:
    static RefPtr<NSFileManager> defaultManager();

    bool fileExistsAtPath(std::string_view devicePath) const;
    bool fileExistsAtPath(std::string_view devicePath, bool* isDirectory) const;
    // Names (not paths) sorted bytewise; nil when the folder cannot be listed.
    RefPtr<NSArray> contentsOfDirectoryAtPath(std::string_view devicePath) const;
    bool createDirectoryAtPath(std::string_view devicePath, bool withIntermediateDirectories) const;
    // Files and whole folders; false when nothing was there.
    bool removeItemAtPath(std::string_view devicePath) const;

protected:
    NSFileManager() = default;

private:
    bool fileExistsAtPathImpl(NSString* path) const;
    RefPtr<NSArray> contentsOfDirectoryAtPathImpl(NSString* path) const;
    bool removeItemAtPathImpl(NSString* path) const;
};
