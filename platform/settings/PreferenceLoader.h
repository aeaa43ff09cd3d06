#pragma once

#include "platform/foundation/NSArray.h"
#include "platform/settings/PSSpecifier.h"
#include "platform/uikit/UIViewController.h"

// How the Settings app finds settings bundles: one property list per entry in
// "/Library/PreferenceLoader/Preferences/", either with an "entry" dictionary or, in the
// older flat form, with the entry's keys at the top: "bundle" (the bundle's name),
// "cell" ("PSLinkCell"), "label", "icon" (an image file of the bundle). The bundle is
// "/Library/PreferenceBundles/<bundle>.bundle/"; its page is its principal class
// (NSPrincipalClass), created with alloc/init and given setSpecifier: with the entry.
// On a rootless device both folders are under "/var/jb" (DeviceRoot::installPrefix).
// Problems (unreadable entries, missing bundles, principal classes that are not pages)
// go to PreferencesAppController::reportProblem.
class PreferenceLoader {
public:
    static constexpr const char* entriesFolder = "/Library/PreferenceLoader/Preferences";
    static constexpr const char* bundlesFolder = "/Library/PreferenceBundles";

    // Link specifiers of the entries, sorted by label; property "bundle" names the bundle,
    // "iconImage" holds the loaded icon.
    static RefPtr<NSArray> entrySpecifiers(id target);
    // Nil (with a problem reported) when the entry's bundle cannot give a page.
    static RefPtr<UIViewController> controllerForEntry(PSSpecifier* entry);
};
