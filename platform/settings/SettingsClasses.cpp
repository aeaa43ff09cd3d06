#include "platform/settings/SettingsClasses.h"

#include "platform/settings/NSTask.h"
#include "platform/settings/PSListController.h"
#include "platform/settings/PSSpecifier.h"
#include "platform/settings/PSTableCell.h"
#include "platform/settings/PSUIPrefsListController.h"
#include "platform/settings/PreferencesAppController.h"
#include "platform/uikit/UIKitClasses.h"

void registerSettingsClasses()
{
    registerUIKitClasses();
    PSSpecifier::classObject();
    PSTableCell::classObject();
    PSListController::classObject();
    PSUIPrefsListController::classObject();
    PreferencesAppController::classObject();
    NSTask::classObject();
}
