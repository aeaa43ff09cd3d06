#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/graphics/UIColor.h"
#include "platform/graphics/UIImage.h"
#include "tweak/colour/QFColorManager.h"
#include "tweak/colour/UIImage+Tintwell.h"
#include "tweak/hooks/HookRows.h"
#include "tweak/hooks/media/AppCellPattern.h"
#include "tweak/hooks/RuntimeLookups.h"
#include "tweak/settings/SettingsGlobals.h"

// Tints Dayn's container with the colour of the notification it decorates.
namespace DaynContainerHooks {

namespace {

Class shortLookClass()
{
    static Class cls = objc_getClass("NCNotificationShortLookViewController");
    return cls;
}

RefPtr<NSString> containerKey(const Object* container)
{
    auto delegate = ivarNamed(container, "_delegate");
    if (!delegate || !shortLookClass() || !delegate->isKindOfClass(shortLookClass()))
        return nullptr;
    auto request = msgSend<Id>(delegate.get(), SELECTOR("notificationRequest"));
    auto bulletin = msgSendIfResponds<Id>(request.get(), SELECTOR("bulletin"));
    return objectAs<NSString>(msgSendIfResponds<Id>(bulletin.get(), SELECTOR("sectionID")).get());
}

void (*previousDidMoveToSuperview)(id, SEL);
void didMoveToSuperview(id self, SEL sel)
{
    previousDidMoveToSuperview(self, sel);
    auto key = containerKey(self);
    if (!key)
        return;
    auto cache = QFColorManager::sharedManager()->daynColors();
    if (!cache->objectForKey(key.get())) {
        auto image = daynImageCalc == 0 ? stockImgForID(key.get()) : AppCellPattern::systemIconImage(key.get());
        if (!image)
            return;
        if (auto colour = colorForModeWithBundleID(image.get(), daynColorCalc, key.get()))
            cache->setObject(colour.get(), key.get());
    }
    auto colour = objectAs<UIColor>(cache->objectForKey(key.get()).get());
    msgSend<void>(self, SELECTOR("setColorWithQFConfig:color:"), static_cast<Object*>(DaynConfig.get()), static_cast<Object*>(colour.get()));
}

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("DaynContainer", "didMoveToSuperview", &didMoveToSuperview, &previousDidMoveToSuperview),
    };
}

} // namespace DaynContainerHooks
