// Loads Tintwell.dylib the way the home-screen host does, in a process of its own (the
// library's start-up runs once per process), and reports what the load left behind as
// one JSON line; with "await-reload" it reports again from inside the next reload.
#include "ExpectedSettings.h"

#include "platform/foundation/CFNotificationCenter.h"
#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/foundation/NSString.h"
#include "platform/runtime/ClassBuilder.h"

#include <dlfcn.h>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <string>

namespace {

void* library = nullptr;

// Stand-ins for system classes that the table names, registered before the load as the host does.
void doNothing(id, SEL) { }
void doNothingWithObject(id, SEL, id) { }
void doNothingWithBool(id, SEL, bool) { }
void doNothingAtIndex(id, SEL, unsigned long, bool) { }

struct StandIn {
    const char* className;
    const char* selector;
};

const StandIn standIns[] = {
    { "NCNotificationShortLookViewController", "viewDidLayoutSubviews" },
    { "NCNotificationShortLookViewController", "traitCollectionDidChange:" },
    { "NCNotificationListView", "layoutSubviews" },
    { "NCNotificationListView", "insertViewAtIndex:animated:" },
    { "NCNotificationListCellActionButtonsView", "layoutSubviews" },
    { "MediaControlsHeaderView", "layoutSubviews" },
    { "AXNAppCell", "setSelected:" },
    { "DaynContainer", "didMoveToSuperview" },
};

std::map<std::string, IMP> originalImplementations;

bool implementedByTintwell(Class cls, const char* selector)
{
    IMP imp = class_getMethodImplementation(cls, sel_registerName(selector));
    Dl_info info {};
    return imp && dladdr(reinterpret_cast<void*>(imp), &info) && info.dli_fname
        && std::string_view(info.dli_fname).ends_with("/Tintwell.dylib");
}

Class standInClass(const char* name)
{
    if (Class existing = objc_getClass(name))
        return existing;
    Class cls = objc_allocateClassPair(Object::classObject(), name);
    objc_registerClassPair(cls);
    return cls;
}

void registerStandIns()
{
    for (auto& standIn : standIns) {
        Class cls = standInClass(standIn.className);
        SEL sel = sel_registerName(standIn.selector);
        std::string name = standIn.selector;
        if (name == "traitCollectionDidChange:")
            class_addMethod(cls, sel, &doNothingWithObject);
        else if (name == "setSelected:")
            class_addMethod(cls, sel, &doNothingWithBool);
        else if (name == "insertViewAtIndex:animated:")
            class_addMethod(cls, sel, &doNothingAtIndex);
        else
            class_addMethod(cls, sel, &doNothing);
        originalImplementations[std::string(standIn.className) + " " + name] = class_getMethodImplementation(cls, sel);
    }
}

template<typename T>
T* symbol(std::string_view name)
{
    return static_cast<T*>(dlsym(library, std::string(name).c_str()));
}

nlohmann::json recordState(const char* name)
{
    auto* record = symbol<RefPtr<Object>>(name);
    if (!record)
        return "missing symbol";
    if (!*record)
        return nullptr;
    nlohmann::json fields;
    for (const char* field : { "borderThiccness", "borderAlpha", "fullAlpha", "bothThickness", "darkBackgroundAlpha",
             "darkCornerAlpha", "lightBackgroundAlpha", "lightCornerAlpha", "style" })
        fields[field] = msgSend<long>(record->get(), sel_registerName(field));
    fields["identity"] = reinterpret_cast<uintptr_t>(record->get());
    return fields;
}

nlohmann::json propertyState(const char* className, const char* property, const char* setter)
{
    Class cls = objc_getClass(className);
    objc_property_t declared = class_getProperty(cls, property);
    nlohmann::json state;
    state["attributes"] = declared ? property_getAttributes(declared) : "";
    if (!class_respondsToSelector(cls, sel_registerName(property)))
        return state;
    state["getter"] = method_getTypeEncoding(class_getInstanceMethod(cls, sel_registerName(property)));
    state["setter"] = method_getTypeEncoding(class_getInstanceMethod(cls, sel_registerName(setter)));
    // The value lives with the object: stored, read back, and released with it.
    auto instance = class_createInstance(cls);
    {
        RefPtr<NSString> value = NSString::string("com.example.app");
        WeakPtr<NSString> weakValue(value);
        msgSend<void>(instance, sel_registerName(setter), value);
        state["readBack"] = msgSend<RefPtr<NSString>>(instance, sel_registerName(property)).get() == value.get();
        value = nullptr;
        state["retained"] = static_cast<bool>(weakValue.get());
        instance = nullptr;
        state["releasedWithObject"] = !weakValue.get();
    }
    return state;
}

nlohmann::json state()
{
    nlohmann::json report;
    for (auto& setting : expectedSettings) {
        switch (setting.kind) {
        case ExpectedSetting::Kind::Bool:
            if (auto* value = symbol<bool>(setting.global))
                report["globals"][std::string(setting.global)] = *value;
            break;
        case ExpectedSetting::Kind::Integer:
            if (auto* value = symbol<long>(setting.global))
                report["globals"][std::string(setting.global)] = *value;
            break;
        case ExpectedSetting::Kind::Object:
            if (auto* value = symbol<RefPtr<NSString>>(setting.global))
                report["globals"][std::string(setting.global)] = *value ? nlohmann::json((*value)->utf8()) : nlohmann::json(nullptr);
            break;
        }
    }
    for (const char* record : { "NotifsConfig", "WidgetsConfig", "MusicConfig", "AxonConfig", "GrupiConfig", "DaynConfig" })
        report["records"][record] = recordState(record);
    for (const char* flag : { "axon", "grupi", "dayn" })
        report["companions"][flag] = symbol<bool>(flag) ? nlohmann::json(*symbol<bool>(flag)) : nlohmann::json("missing symbol");
    for (auto& [name, original] : originalImplementations) {
        auto space = name.find(' ');
        Class cls = objc_getClass(name.substr(0, space).c_str());
        IMP now = class_getMethodImplementation(cls, sel_registerName(name.substr(space + 1).c_str()));
        report["replaced"][name] = now != original && implementedByTintwell(cls, name.substr(space + 1).c_str());
    }
    report["grupiClassLoaded"] = objc_getClass("GRPAppCell") != nullptr;
    report["grupiCellHooked"] = implementedByTintwell(objc_getClass("GRPAppCell"), "setSelected:");
    report["addedMethods"]["TWLsetNotificationColor"] = class_respondsToSelector(objc_getClass("NCNotificationShortLookViewController"), sel_registerName("TWLsetNotificationColor"));
    report["addedMethods"]["TWLbundleIdForFirstNotification"] = class_respondsToSelector(objc_getClass("NCNotificationListView"), sel_registerName("TWLbundleIdForFirstNotification"));
    report["properties"]["bundleID"] = propertyState("NCNotificationListCellActionButtonsView", "bundleID", "setBundleID:");
    report["properties"]["calcedColor"] = propertyState("MediaControlsHeaderView", "calcedColor", "setCalcedColor:");
    auto* preferences = symbol<RefPtr<Object>>("pfs");
    report["pfs"] = preferences && *preferences ? (*preferences)->className() : "";
    report["darwinObservations"] = CFNotificationCenterGetDarwinNotifyCenter()->observationCount();
    return report;
}

bool reported = false;

void reportFromReload(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef)
{
    std::cout << state().dump() << std::endl;
    reported = true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: " << argv[0] << " <device root> <dylib> [await-reload]\n";
        return 2;
    }
    DeviceRoot::set(argv[1]);
    NSRunLoop::mainRunLoop();
    registerStandIns();
    library = dlopen(argv[2], RTLD_NOW);
    if (!library) {
        std::cerr << dlerror() << "\n";
        return 1;
    }
    bool awaitReload = argc > 3 && std::string(argv[3]) == "await-reload";
    int observer = 0;
    // Added after the library's own observers, so it runs after TWLreloadPrefs.
    if (awaitReload)
        CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), &observer, &reportFromReload, CFSTR("com.quillfen.tintwellprefs/ReloadPrefs"), nullptr, 0);
    std::cout << state().dump() << std::endl;
    if (!awaitReload)
        return 0;
    return NSRunLoop::mainRunLoop().runUntil([] { return reported; }, 20) ? 0 : 3;
}
