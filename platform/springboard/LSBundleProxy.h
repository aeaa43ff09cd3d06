#pragma once

#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSObjCRuntime.h"

#include <string>
#include <string_view>

class NSString;
class NSURL;

// The system's record of an installed app, read from the app's Info.plist (XML or binary)
// in "/Applications/*.app" or "/var/containers/Bundle/Application/*/*.app", answered from
// the AppIndex.
class LSBundleProxy : public Object {
    TW_OBJECT(LSBundleProxy)
public:
    // +[LSBundleProxy bundleProxyForIdentifier:]; nil when no installed app declares it.
    static RefPtr<LSBundleProxy> bundleProxyForIdentifier(std::string_view identifier);

    // The Info.plist's "CFBundleIcons"; nil when absent or not a dictionary.
    RefPtr<NSDictionary> iconsDictionary() const;
    // The .app folder.
    RefPtr<NSURL> bundleURL() const;
    RefPtr<NSString> bundleIdentifier() const;
    // CFBundleDisplayName, else CFBundleName; nil when neither is a string.
    RefPtr<NSString> localizedName() const;

    const std::string& devicePath() const { return m_devicePath; }

protected:
    LSBundleProxy() = default;
    LSBundleProxy(std::string devicePath, RefPtr<NSDictionary> info);

private:
    static Id bundleProxyForIdentifierImpl(Class, SEL, id identifier);
    RefPtr<NSString> stringForKey(std::string_view key) const;

    std::string m_devicePath;
    RefPtr<NSDictionary> m_info;
};
