#include "platform/foundation/NSFileManager.h"

#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSString.h"

#include <algorithm>

Class NSFileManager::classObject()
{
    static Class cls = ClassBuilder<NSFileManager>("NSFileManager", Object::classObject())
                           .method<&NSFileManager::fileExistsAtPathImpl>("fileExistsAtPath:")
                           .method<&NSFileManager::contentsOfDirectoryAtPathImpl>("contentsOfDirectoryAtPath:")
                           .method<&NSFileManager::removeItemAtPathImpl>("removeItemAtPath:")
                           .build();
    return cls;
}

RefPtr<NSFileManager> NSFileManager::defaultManager()
{
    // Lives for the process, like the phone's.
    static NSFileManager* manager = make<NSFileManager>().leakRef();
    return manager;
}

bool NSFileManager::fileExistsAtPath(std::string_view devicePath) const
{
    return fileExistsAtPath(devicePath, nullptr);
}

bool NSFileManager::fileExistsAtPath(std::string_view devicePath, bool* isDirectory) const
{
    if (isDirectory)
        *isDirectory = false;
    auto hostPath = DeviceRoot::resolve(devicePath);
    if (!hostPath)
        return false;
    std::error_code error;
    auto status = std::filesystem::status(*hostPath, error);
    if (error || !std::filesystem::exists(status))
        return false;
    if (isDirectory)
        *isDirectory = std::filesystem::is_directory(status);
    return true;
}

RefPtr<NSArray> NSFileManager::contentsOfDirectoryAtPath(std::string_view devicePath) const
{
    auto hostPath = DeviceRoot::resolve(devicePath);
    if (!hostPath)
        return nullptr;
    std::error_code error;
    std::vector<std::string> names;
    for (auto it = std::filesystem::directory_iterator(*hostPath, error); !error && it != std::filesystem::directory_iterator(); it.increment(error))
        names.push_back(it->path().filename().string());
    if (error)
        return nullptr;
    std::sort(names.begin(), names.end());
    std::vector<Id> strings;
    strings.reserve(names.size());
    for (auto& name : names)
        strings.push_back(NSString::string(name));
    return NSArray::arrayWithObjects(std::move(strings));
}

bool NSFileManager::createDirectoryAtPath(std::string_view devicePath, bool withIntermediateDirectories) const
{
    auto hostPath = DeviceRoot::resolve(devicePath);
    if (!hostPath)
        return false;
    std::error_code error;
    if (withIntermediateDirectories) {
        std::filesystem::create_directories(*hostPath, error);
        return !error && std::filesystem::is_directory(*hostPath, error);
    }
    return std::filesystem::create_directory(*hostPath, error) && !error;
}

bool NSFileManager::removeItemAtPath(std::string_view devicePath) const
{
    auto hostPath = DeviceRoot::resolve(devicePath);
    // The device's "/" itself is never removed.
    if (!hostPath || *hostPath == DeviceRoot::get())
        return false;
    std::error_code error;
    auto removed = std::filesystem::remove_all(*hostPath, error);
    return !error && removed > 0;
}

bool NSFileManager::fileExistsAtPathImpl(NSString* path) const
{
    return path && fileExistsAtPath(path->view());
}

RefPtr<NSArray> NSFileManager::contentsOfDirectoryAtPathImpl(NSString* path) const
{
    return path ? contentsOfDirectoryAtPath(path->view()) : nullptr;
}

bool NSFileManager::removeItemAtPathImpl(NSString* path) const
{
    return path && removeItemAtPath(path->view());
}
