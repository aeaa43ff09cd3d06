#include "platform/springboard/LSBundleProxy.h"

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSFileManager.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/PropertyList.h"

#include <vector>

namespace {

constexpr std::string_view systemApplications = "/Applications";
constexpr std::string_view containerApplications = "/var/containers/Bundle/Application";

// Every "*.app" folder the system would install apps from, system apps first.
std::vector<std::string> applicationFolders()
{
    auto manager = NSFileManager::defaultManager();
    std::vector<std::string> parents { std::string(systemApplications) };
    if (auto containers = manager->contentsOfDirectoryAtPath(containerApplications)) {
        for (auto& name : *containers) {
            if (auto uuid = objectAs<NSString>(name.get()))
                parents.push_back(std::string(containerApplications) + "/" + uuid->utf8());
        }
    }
    std::vector<std::string> folders;
    for (auto& parent : parents) {
        auto names = manager->contentsOfDirectoryAtPath(parent);
        if (!names)
            continue;
        for (auto& name : *names) {
            auto app = objectAs<NSString>(name.get());
            if (!app || !app->hasSuffix(".app"))
                continue;
            bool isDirectory = false;
            auto folder = parent + "/" + app->utf8();
            if (manager->fileExistsAtPath(folder, &isDirectory) && isDirectory)
                folders.push_back(folder);
        }
    }
    return folders;
}

} // namespace

Class LSBundleProxy::classObject()
{
    static Class cls = ClassBuilder<LSBundleProxy>("LSBundleProxy", Object::classObject())
                           .classFunction("bundleProxyForIdentifier:", &LSBundleProxy::bundleProxyForIdentifierImpl)
                           .method<&LSBundleProxy::iconsDictionary>("iconsDictionary")
                           .method<&LSBundleProxy::bundleURL>("bundleURL")
                           .method<&LSBundleProxy::bundleIdentifier>("bundleIdentifier")
                           .method<&LSBundleProxy::localizedName>("localizedName")
                           .build();
    return cls;
}

LSBundleProxy::LSBundleProxy(std::string devicePath, RefPtr<NSDictionary> info)
    : m_devicePath(std::move(devicePath))
    , m_info(std::move(info))
{
}

RefPtr<LSBundleProxy> LSBundleProxy::bundleProxyForIdentifier(std::string_view identifier)
{
    if (identifier.empty())
        return nullptr;
    // Read afresh each time: apps come and go with the device root, and callers cache colours, not records.
    for (auto& folder : applicationFolders()) {
        auto info = objectAs<NSDictionary>(PropertyList::readFile(folder + "/Info.plist").get());
        if (!info)
            continue;
        auto declared = objectAs<NSString>(info->objectForStringKey("CFBundleIdentifier").get());
        if (declared && declared->view() == identifier)
            return make<LSBundleProxy>(folder, std::move(info));
    }
    return nullptr;
}

Id LSBundleProxy::bundleProxyForIdentifierImpl(Class, SEL, id identifier)
{
    auto* text = dynamic_cast<NSString*>(identifier);
    if (!text)
        return nullptr;
    return bundleProxyForIdentifier(text->view());
}

RefPtr<NSDictionary> LSBundleProxy::iconsDictionary() const
{
    if (!m_info)
        return nullptr;
    return objectAs<NSDictionary>(m_info->objectForStringKey("CFBundleIcons").get());
}

RefPtr<NSURL> LSBundleProxy::bundleURL() const
{
    return NSURL::fileURLWithPath(m_devicePath);
}

RefPtr<NSString> LSBundleProxy::bundleIdentifier() const
{
    return stringForKey("CFBundleIdentifier");
}

RefPtr<NSString> LSBundleProxy::localizedName() const
{
    if (auto name = stringForKey("CFBundleDisplayName"))
        return name;
    return stringForKey("CFBundleName");
}

RefPtr<NSString> LSBundleProxy::stringForKey(std::string_view key) const
{
    if (!m_info)
        return nullptr;
    return objectAs<NSString>(m_info->objectForStringKey(key).get());
}
