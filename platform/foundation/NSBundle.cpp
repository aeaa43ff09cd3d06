#include "platform/foundation/NSBundle.h"

#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/DynamicLoader.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSFileManager.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/PropertyList.h"

#include <map>

namespace {

// Bundles live for the process once opened, as on the phone. Keyed by host folder so a
// new device root never answers a bundle of the old one.
std::mutex& openedMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::map<std::filesystem::path, NSBundle*>& openedBundles()
{
    // Never destroyed, so the bundles stay reachable until the process ends.
    static auto* bundles = new std::map<std::filesystem::path, NSBundle*>;
    return *bundles;
}

std::optional<std::string> identifierInFolder(const std::string& devicePath)
{
    RefPtr<NSDictionary> info = objectCast<NSDictionary>(PropertyList::readFile(devicePath + "/Info.plist"));
    if (!info)
        return std::nullopt;
    RefPtr<NSString> identifier = objectCast<NSString>(info->objectForStringKey("CFBundleIdentifier"));
    if (!identifier)
        return std::nullopt;
    return identifier->utf8();
}

// Device paths of the folders that may hold bundles, in search order.
std::vector<std::string> searchFolders()
{
    std::vector<std::string> folders { "/System/Library/Frameworks", "/System/Library/PrivateFrameworks", "/Applications" };
    constexpr std::string_view containers = "/var/containers/Bundle/Application";
    if (auto uuids = NSFileManager::defaultManager()->contentsOfDirectoryAtPath(containers)) {
        for (auto& uuid : *uuids)
            folders.push_back(std::string(containers) + "/" + uncheckedObjectCast<NSString>(uuid)->utf8());
    }
    folders.push_back(DeviceRoot::installPrefix() + "/Library/PreferenceBundles");
    return folders;
}

} // namespace

Class NSBundle::classObject()
{
    static Class cls = ClassBuilder<NSBundle>("NSBundle", Object::classObject())
                           .method<&NSBundle::bundlePath>("bundlePath")
                           .method<&NSBundle::bundleURL>("bundleURL")
                           .method<&NSBundle::bundleIdentifier>("bundleIdentifier")
                           .method<&NSBundle::infoDictionary>("infoDictionary")
                           .method<&NSBundle::objectForInfoDictionaryKeyImpl>("objectForInfoDictionaryKey:")
                           .method<&NSBundle::pathForResourceImpl>("pathForResource:ofType:")
                           .method<&NSBundle::executablePath>("executablePath")
                           .method<&NSBundle::load>("load")
                           .method<&NSBundle::isLoaded>("isLoaded")
                           .method<&NSBundle::principalClass>("principalClass")
                           .build();
    return cls;
}

NSBundle::NSBundle(std::string devicePath, RefPtr<NSDictionary> infoDictionary)
    : m_devicePath(std::move(devicePath))
    , m_infoDictionary(std::move(infoDictionary))
{
}

RefPtr<NSBundle> NSBundle::bundleWithPath(std::string_view devicePath)
{
    auto normalized = DeviceRoot::normalize(devicePath);
    auto hostPath = DeviceRoot::resolve(devicePath);
    if (!normalized || !hostPath)
        return nullptr;
    // A bundle once opened is answered from the table, as the system does; only a path not
    // seen before is looked at on disk.
    std::lock_guard lock(openedMutex());
    auto& bundles = openedBundles();
    if (auto it = bundles.find(*hostPath); it != bundles.end())
        return it->second;
    std::error_code error;
    if (!std::filesystem::is_directory(*hostPath, error))
        return nullptr;
    auto info = objectCast<NSDictionary>(PropertyList::readHostFile(*hostPath / "Info.plist"));
    NSBundle* opened = make<NSBundle>(*normalized, info ? info : NSDictionary::dictionary()).leakRef();
    bundles.emplace(*hostPath, opened);
    return opened;
}

RefPtr<NSBundle> NSBundle::bundleWithURL(const NSURL* url)
{
    if (!url)
        return nullptr;
    return bundleWithPath(url->pathString());
}

RefPtr<NSBundle> NSBundle::bundleWithIdentifier(std::string_view identifier)
{
    if (identifier.empty())
        return nullptr;
    auto root = DeviceRoot::get();
    {
        std::lock_guard lock(openedMutex());
        for (auto& [hostPath, bundle] : openedBundles()) {
            auto own = bundle->bundleIdentifier();
            if (own && own->view() == identifier && DeviceRoot::devicePath(hostPath) == bundle->path())
                return bundle;
        }
    }
    auto manager = NSFileManager::defaultManager();
    for (auto& folder : searchFolders()) {
        auto names = manager->contentsOfDirectoryAtPath(folder);
        if (!names)
            continue;
        for (auto& name : *names) {
            auto candidate = folder + "/" + uncheckedObjectCast<NSString>(name)->utf8();
            if (identifierInFolder(candidate) == identifier)
                return bundleWithPath(candidate);
        }
    }
    return nullptr;
}

RefPtr<NSString> NSBundle::bundlePath() const
{
    return NSString::string(m_devicePath);
}

RefPtr<NSURL> NSBundle::bundleURL() const
{
    return NSURL::fileURLWithPath(m_devicePath);
}

RefPtr<NSString> NSBundle::bundleIdentifier() const
{
    return objectCast<NSString>(objectForInfoDictionaryKey("CFBundleIdentifier"));
}

Id NSBundle::objectForInfoDictionaryKey(std::string_view key) const
{
    return m_infoDictionary->objectForStringKey(key);
}

RefPtr<NSString> NSBundle::pathForResource(std::string_view name, std::string_view type) const
{
    if (name.empty())
        return nullptr;
    if (type.starts_with('.'))
        type.remove_prefix(1);
    std::string fileName(name);
    if (!type.empty())
        fileName += "." + std::string(type);
    auto candidate = DeviceRoot::normalize(m_devicePath + "/" + fileName);
    if (!candidate || !candidate->starts_with(m_devicePath == "/" ? "/" : m_devicePath + "/"))
        return nullptr;
    bool isDirectory = false;
    if (!NSFileManager::defaultManager()->fileExistsAtPath(*candidate, &isDirectory) || isDirectory)
        return nullptr;
    return NSString::string(*candidate);
}

RefPtr<NSString> NSBundle::executablePath() const
{
    RefPtr<NSString> name = objectCast<NSString>(objectForInfoDictionaryKey("CFBundleExecutable"));
    if (!name || name->utf8().empty() || name->utf8().find('/') != std::string::npos || name->utf8() == "..")
        return nullptr;
    return NSString::string(m_devicePath + "/" + name->utf8());
}

bool NSBundle::load()
{
    std::lock_guard lock(m_loadMutex);
    if (m_handle)
        return true;
    auto executable = executablePath();
    if (!executable)
        return false;
    m_handle = dlopenDevice(executable->UTF8String(), RTLD_NOW | RTLD_GLOBAL);
    return m_handle;
}

bool NSBundle::isLoaded() const
{
    std::lock_guard lock(m_loadMutex);
    return m_handle;
}

Class NSBundle::principalClass()
{
    load();
    RefPtr<NSString> name = objectCast<NSString>(objectForInfoDictionaryKey("NSPrincipalClass"));
    if (!name)
        return nullptr;
    return objc_getClass(name->UTF8String());
}

Id NSBundle::objectForInfoDictionaryKeyImpl(NSString* key) const
{
    return key ? objectForInfoDictionaryKey(key->view()) : nullptr;
}

RefPtr<NSString> NSBundle::pathForResourceImpl(NSString* name, NSString* type) const
{
    if (!name)
        return nullptr;
    return pathForResource(name->view(), type ? type->view() : std::string_view());
}
