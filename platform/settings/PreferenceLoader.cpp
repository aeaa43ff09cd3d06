#include "platform/settings/PreferenceLoader.h"

#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSFileManager.h"
#include "platform/foundation/NSMutableArray.h"
#include "platform/foundation/PropertyList.h"
#include "platform/graphics/UIImage.h"
#include "platform/settings/PreferencesAppController.h"

#include <algorithm>

namespace {

std::string bundleFolder(std::string_view name)
{
    return DeviceRoot::installPrefix() + PreferenceLoader::bundlesFolder + "/" + std::string(name) + ".bundle";
}

RefPtr<PSSpecifier> entrySpecifier(const std::string& file, id target)
{
    std::string path = DeviceRoot::installPrefix() + PreferenceLoader::entriesFolder + "/" + file;
    RefPtr<NSDictionary> root = objectCast<NSDictionary>(PropertyList::readFile(path));
    if (!root) {
        PreferencesAppController::reportProblem(path + ": not a readable property list, skipped");
        return nullptr;
    }
    RefPtr<NSDictionary> entry = objectCast<NSDictionary>(root->objectForStringKey("entry"));
    if (!entry)
        entry = root;
    RefPtr<NSString> label = objectCast<NSString>(entry->objectForStringKey("label"));
    RefPtr<NSString> bundle = objectCast<NSString>(entry->objectForStringKey("bundle"));
    if (!label || !bundle) {
        PreferencesAppController::reportProblem(path + ": an entry needs a \"label\" and a \"bundle\", skipped");
        return nullptr;
    }
    if (RefPtr<NSString> cell = objectCast<NSString>(entry->objectForStringKey("cell")); cell && cell->view() != "PSLinkCell") {
        PreferencesAppController::reportProblem(path + ": an entry's cell must be PSLinkCell, skipped");
        return nullptr;
    }
    auto specifier = PSSpecifier::preferenceSpecifierNamed(label.get(), target, nullptr, nullptr, nullptr, PSLinkCell, 0);
    for (auto& item : *entry) {
        if (RefPtr<NSString> key = objectCast<NSString>(item.key))
            specifier->setProperty(item.value.get(), key.get());
    }
    if (RefPtr<NSString> icon = objectCast<NSString>(entry->objectForStringKey("icon"))) {
        if (auto image = UIImage::imageWithContentsOfFile(bundleFolder(bundle->view()) + "/" + icon->utf8()))
            specifier->setProperty(image.get(), "iconImage");
    }
    return specifier;
}

} // namespace

RefPtr<NSArray> PreferenceLoader::entrySpecifiers(id target)
{
    auto files = NSFileManager::defaultManager()->contentsOfDirectoryAtPath(DeviceRoot::installPrefix() + entriesFolder);
    std::vector<std::string> names;
    if (files) {
        for (auto& object : *files) {
            RefPtr<NSString> name = objectCast<NSString>(object);
            if (name && name->hasSuffix(".plist"))
                names.push_back(name->utf8());
        }
    }
    std::sort(names.begin(), names.end());
    std::vector<RefPtr<PSSpecifier>> entries;
    for (auto& name : names) {
        if (auto specifier = entrySpecifier(name, target))
            entries.push_back(specifier);
    }
    std::stable_sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a->name()->utf8() < b->name()->utf8(); });
    auto result = NSMutableArray::array();
    for (auto& entry : entries)
        result->addObject(entry.get());
    return result;
}

RefPtr<UIViewController> PreferenceLoader::controllerForEntry(PSSpecifier* entry)
{
    if (!entry)
        return nullptr;
    auto name = entry->stringProperty("bundle");
    std::string label = entry->name() ? entry->name()->utf8() : "";
    if (!name) {
        PreferencesAppController::reportProblem(label + ": the entry names no bundle");
        return nullptr;
    }
    std::string folder = bundleFolder(*name);
    bool isFolder = false;
    auto bundle = NSFileManager::defaultManager()->fileExistsAtPath(folder, &isFolder) && isFolder ? NSBundle::bundleWithPath(folder) : nullptr;
    if (!bundle) {
        PreferencesAppController::reportProblem(label + ": no bundle at " + folder);
        return nullptr;
    }
    if (!bundle->load()) {
        PreferencesAppController::reportProblem(label + ": the bundle " + folder + " cannot be loaded");
        return nullptr;
    }
    Class principal = bundle->principalClass();
    if (!principal) {
        PreferencesAppController::reportProblem(label + ": the bundle " + folder + " has no principal class");
        return nullptr;
    }
    if (!class_isSubclassOf(principal, UIViewController::classObject())) {
        PreferencesAppController::reportProblem(label + ": the principal class " + class_getName(principal) + " is not a page");
        return nullptr;
    }
    auto controller = UIViewController::createWithClass(principal);
    if (!controller) {
        PreferencesAppController::reportProblem(label + ": " + class_getName(principal) + " answered nothing to init");
        return nullptr;
    }
    msgSendIfResponds<void>(controller.get(), SELECTOR("setSpecifier:"), entry);
    return controller;
}
