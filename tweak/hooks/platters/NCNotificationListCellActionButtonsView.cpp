#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSString.h"
#include "tweak/colour/QFColorManager.h"
#include "tweak/hooks/HookRows.h"
#include "tweak/settings/SettingsGlobals.h"

// Tints the swipe action buttons with their notification's colour.
namespace NCNotificationListCellActionButtonsViewHooks {

namespace {

constexpr double defaultButtonCornerRadius = 13.0;

char bundleIDKey;

Id bundleID(id self, SEL) { return objc_getAssociatedObject(self, &bundleIDKey); }
void setBundleID(id self, SEL, id value) { objc_setAssociatedObject(self, &bundleIDKey, value, OBJC_ASSOCIATION_RETAIN_NONATOMIC); }

RefPtr<NSArray> buttonsOf(id row)
{
    auto stack = msgSendIfResponds<Id>(row, SELECTOR("buttonsStackView"));
    return objectCast<NSArray>(msgSendIfResponds<Id>(stack.get(), SELECTOR("arrangedSubviews")));
}

Id buttonBackground(const Id& button) { return msgSendIfResponds<Id>(button.get(), SELECTOR("backgroundView")); }

// Square-cornered buttons let their background round itself.
void roundButtonBackgrounds(id row)
{
    auto buttons = buttonsOf(row);
    if (!buttons)
        return;
    for (auto& button : *buttons) {
        double radius = msgSend<double>(msgSend<Id>(button, SELECTOR("layer")), SELECTOR("cornerRadius"));
        auto backgroundLayer = msgSend<Id>(buttonBackground(button), SELECTOR("layer"));
        msgSend<void>(backgroundLayer, SELECTOR("setCornerRadius:"), radius > 0 ? radius : defaultButtonCornerRadius);
    }
}

void rememberAppAndRound(id row, id request)
{
    if (!enabledNotifs || !actionColor)
        return;
    RefPtr<NSString> sectionIdentifier = objectCast<NSString>(msgSendIfResponds<Id>(request, SELECTOR("sectionIdentifier")));
    msgSend<void>(row, SELECTOR("setBundleID:"), sectionIdentifier);
    roundButtonBackgrounds(row);
}

void (*previousConfigureOpenActionButton)(id, SEL, id, id);
void configureOpenActionButton(id self, SEL sel, id request, id cell)
{
    previousConfigureOpenActionButton(self, sel, request, cell);
    rememberAppAndRound(self, request);
}

void (*previousConfigureCellActionButtons)(id, SEL, id, id, id);
void configureCellActionButtons(id self, SEL sel, id request, id sectionSettings, id cell)
{
    previousConfigureCellActionButtons(self, sel, request, sectionSettings, cell);
    rememberAppAndRound(self, request);
}

void (*previousLayoutSubviews)(id, SEL);
void layoutSubviews(id self, SEL sel)
{
    previousLayoutSubviews(self, sel);
    if (!enabledNotifs || !actionColor)
        return;
    auto buttons = buttonsOf(self);
    if (!buttons)
        return;
    auto key = msgSend<Id>(self, SELECTOR("bundleID"));
    auto cache = key ? QFColorManager::sharedManager()->notificationColors() : nullptr;
    auto colour = cache ? cache->objectForKey(key.get()) : nullptr;
    for (auto& button : *buttons) {
        msgSendIfResponds<void>(buttonBackground(button).get(), SELECTOR("setColorWithQFConfig:color:"),
            NotifsConfig, colour);
    }
}

} // namespace

InstallationRows rows()
{
    return {
        addPropertyRow("NCNotificationListCellActionButtonsView", "bundleID", "@\"NSString\"", &bundleID, &setBundleID),
        replaceRow("NCNotificationListCellActionButtonsView", "configureOpenActionButtonForNotificationRequest:cell:", &configureOpenActionButton, &previousConfigureOpenActionButton),
        replaceRow("NCNotificationListCellActionButtonsView", "configureCellActionButtonsForNotificationRequest:sectionSettings:cell:", &configureCellActionButtons, &previousConfigureCellActionButtons),
        replaceRow("NCNotificationListCellActionButtonsView", "layoutSubviews", &layoutSubviews, &previousLayoutSubviews),
    };
}

} // namespace NCNotificationListCellActionButtonsViewHooks
