#include "tweak/entry/Startup.h"

#include "platform/foundation/CFNotificationCenter.h"
#include "platform/foundation/DynamicLoader.h"
#include "platform/foundation/NSFileManager.h"
#include "tweak/entry/TintwellMethods.h"
#include "tweak/entry/InstallationTable.h"
#include "tweak/settings/SettingsGlobals.h"
#include "tweak/settings/SettingsStore.h"
#include "tweak/hooks/testing/TestNotifications.h"

namespace {

template<void (*Function)()>
void darwinCallback(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef)
{
    Function();
}

} // namespace

void Startup::run()
{
    pfs = HBPreferences::preferencesForIdentifier(NSString::string(SettingsStore::domain).get());
    if (!pfs || !SettingsStore::registerEnabled(*pfs))
        return;
    // The hooks send the category methods by selector; they must exist before any hook runs.
    registerTintwellMethods();
    SettingsStore::registerRemaining(*pfs);

    SettingsStore::createStyleRecords();
    TWLreloadPrefs();

    detectCompanions();
    InstallationTable::install(InstallationTable::bulletinServerRows());
    subscribeToDarwinNotifications();
    InstallationTable::install(InstallationTable::systemRows());
    installCompanionHooks();
}

void Startup::detectCompanions()
{
    auto fileManager = NSFileManager::defaultManager();
    for (auto& companion : InstallationTable::companions())
        *companion.installed = fileManager->fileExistsAtPath(companion.libraryPath);
}

void Startup::subscribeToDarwinNotifications()
{
    auto center = CFNotificationCenterGetDarwinNotifyCenter();
    CFNotificationCenterAddObserver(center, nullptr, &darwinCallback<TWLTestNotifications>, CFSTR("com.quillfen.tintwell/TestNotifications"), nullptr, 0);
    CFNotificationCenterAddObserver(center, nullptr, &darwinCallback<TWLTestBanner>, CFSTR("com.quillfen.tintwell/TestBanner"), nullptr, 0);
    CFNotificationCenterAddObserver(center, nullptr, &darwinCallback<TWLreloadPrefs>, CFSTR("com.quillfen.tintwellprefs/ReloadPrefs"), nullptr, 0);
}

void Startup::installCompanionHooks()
{
    for (auto& companion : InstallationTable::companions()) {
        if (!*companion.coloring || !*companion.installed)
            continue;
        // The result is not inspected: a library that fails to load leaves its class missing.
        if (companion.loadsLibrary)
            dlopenDevice(companion.libraryPath, RTLD_NOW);
        InstallationTable::install(companion.rows());
    }
}

__attribute__((constructor)) static void tintwellConstructor()
{
    Startup::run();
}
