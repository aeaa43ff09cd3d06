#pragma once

#include "platform/foundation/NSObjCRuntime.h"

#include <mutex>
#include <string>
#include <string_view>

class NSDictionary;
class NSString;
class NSURL;

// A bundle folder on the device: an app, a framework or a preference bundle, described
// by its Info.plist. Opening the same folder twice answers the same bundle.
class NSBundle : public Object {
    TW_OBJECT(NSBundle)
public:
    // Nil when the folder does not exist.
    static RefPtr<NSBundle> bundleWithPath(std::string_view devicePath);
    static RefPtr<NSBundle> bundleWithURL(const NSURL* url);
    // Among the bundles already opened, then the system's frameworks, the apps and the
    // preference bundles; nil when none declares the identifier.
    static RefPtr<NSBundle> bundleWithIdentifier(std::string_view identifier);

    // Device paths.
    const std::string& path() const { return m_devicePath; }
    RefPtr<NSString> bundlePath() const;
    RefPtr<NSURL> bundleURL() const;
    RefPtr<NSString> bundleIdentifier() const;

    // Empty (never nil) when Info.plist is missing or not a dictionary.
    RefPtr<NSDictionary> infoDictionary() const { return m_infoDictionary; }
    Id objectForInfoDictionaryKey(std::string_view key) const;

    // The device path of "name.type" inside the bundle, nil when absent or outside it.
    RefPtr<NSString> pathForResource(std::string_view name, std::string_view type) const;
    // From CFBundleExecutable; nil when the bundle names none.
    RefPtr<NSString> executablePath() const;

    // Opens the executable (RTLD_NOW | RTLD_GLOBAL); true once loaded.
    bool load();
    bool isLoaded() const;
    // The class named by NSPrincipalClass, after loading; nil when unnamed or unknown.
    Class principalClass();

protected:
    NSBundle() = default;
    NSBundle(std::string devicePath, RefPtr<NSDictionary> infoDictionary);

private:
    Id objectForInfoDictionaryKeyImpl(NSString* key) const;
    RefPtr<NSString> pathForResourceImpl(NSString* name, NSString* type) const;

    std::string m_devicePath;
    RefPtr<NSDictionary> m_infoDictionary;
    mutable std::mutex m_loadMutex;
    void* m_handle { nullptr };
};
