#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/graphics/UIColor.h"
#include "platform/graphics/UIImage.h"
#include "tweak/colour/QFColorManager.h"
#include "tweak/colour/UIImage+Tintwell.h"
#include "tweak/hooks/HookRows.h"
#include "tweak/hooks/HookSupport.h"
#include "tweak/settings/SettingsGlobals.h"

// Tints the expanded (long-look) platter.
namespace NCNotificationLongLookViewHooks {

using namespace Hooks;

namespace {

RefPtr<NSString> longLookKey(id lookView)
{
    // Scroll view, the controller's view, then the controller.
    Id controller = msgSend<Id>(lookView, SELECTOR("nextResponder"));
    controller = msgSend<Id>(controller, SELECTOR("nextResponder"));
    controller = msgSend<Id>(controller, SELECTOR("nextResponder"));
    if (!isKindOfClassNamed<"NCNotificationLongLookViewController">(controller.get()))
        return nullptr;
    auto request = msgSendIfResponds<Id>(controller.get(), SELECTOR("notificationRequest"));
    auto bulletin = msgSendIfResponds<Id>(request.get(), SELECTOR("bulletin"));
    return objectCast<NSString>(msgSendIfResponds<Id>(bulletin.get(), SELECTOR("sectionID")));
}

// The short look's cached colour, else this pass's colour of the long look's own header icon.
RefPtr<UIColor> longLookColour(id lookView)
{
    auto key = longLookKey(lookView);
    auto cache = QFColorManager::sharedManager()->notificationColors();
    if (key && cache) {
        if (RefPtr<UIColor> cached = objectCast<UIColor>(cache->objectForKey(key.get())))
            return cached;
    }
    auto header = ivarNamed<"_headerContentView">(lookView);
    RefPtr<NSArray> icons = objectCast<NSArray>(msgSendIfResponds<Id>(header.get(), SELECTOR("icons")));
    RefPtr<UIImage> icon = icons ? objectCast<UIImage>(icons->firstObject()) : nullptr;
    return mergedColor(icon.get());
}

void (*previousUpdateTopMargin)(id, SEL);
void updateTopMargin(id self, SEL sel)
{
    previousUpdateTopMargin(self, sel);
    if (!longLookColoring || !enabledNotifs)
        return;
    auto colour = longLookColour(self);
    if (!colour)
        return;
    auto content = ivarNamed<"_notificationContentView">(self);
    if (!content)
        content = ivarNamed<"_customContentView">(self);
    auto headerTint = ivarNamed<"_headerTintView">(self);
    auto dismissControl = msgSendIfResponds<Id>(self, SELECTOR("dismissControl"));
    auto dismissBackground = msgSendIfResponds<Id>(dismissControl.get(), SELECTOR("_backgroundMaterialView"));
    auto actionsBackground = ivarNamed<"_actionsBackgroundView">(self);

    msgSendIfResponds<void>(headerTint.get(), SELECTOR("setAlpha:"), 1.0);
    for (const Id& view : { content, headerTint, dismissBackground, actionsBackground }) {
        if (!view)
            return;
        msgSendIfResponds<void>(view.get(), SELECTOR("setColorWithQFConfig:color:"),
            NotifsConfig, colour);
    }
}

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("NCNotificationLongLookView", "_updateTopMargin", &updateTopMargin, &previousUpdateTopMargin),
    };
}

} // namespace NCNotificationLongLookViewHooks
