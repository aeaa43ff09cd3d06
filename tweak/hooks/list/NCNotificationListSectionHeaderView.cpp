#include "platform/foundation/NSBlock.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSObjCRuntime.h"
#include "platform/graphics/CGGeometry.h"
#include "platform/graphics/UIColor.h"
#include "platform/uikit/UIView.h"
#include "tweak/colour/QFColorManager.h"
#include "tweak/hooks/HookRows.h"
#include "tweak/hooks/HookSupport.h"
#include "tweak/hooks/list/ListHookSupport.h"
#include "tweak/settings/SettingsGlobals.h"
#include "tweak/styling/UIView+Tintwell.h"

// The section header's title, and its clear button following the first notification's colour.
namespace NCNotificationListSectionHeaderViewHooks {

using namespace Hooks;
using namespace ListHooks;

namespace {

constexpr double recolourAnimationDuration = 0.2;

bool recolouringOn() { return enabledNotifs && headerColor; }

void (*previousSetTitle)(id, SEL, id);
void setTitle(id self, SEL sel, id title)
{
    static NSString* empty = NSString::string("").leakRef();
    if (noCenter)
        title = empty;
    else if (useCustomCenter)
        title = customCenter.get();
    previousSetTitle(self, sel, title);
}

Id (*previousInitWithFrame)(id, SEL, CGRect);
Id initWithFrame(id self, SEL sel, CGRect frame)
{
    if (recolouringOn()) {
        msgSend<void>(NSNotificationCenter::sendDefaultCenter(), SELECTOR("addObserver:selector:name:object:"), self,
            SELECTOR("updateHeaderColor:"), updateHeaderColorName(), nullptr);
    }
    return previousInitWithFrame(self, sel, frame);
}

// Unregisters whatever the switches say now: a header registered while they were on and
// destroyed after they went off must not stay behind in the centre.
void (*previousDealloc)(id, SEL);
void dealloc(id self, SEL sel)
{
    msgSend<void>(NSNotificationCenter::sendDefaultCenter(), SELECTOR("removeObserver:name:object:"), self, updateHeaderColorName(),
        nullptr);
    previousDealloc(self, sel);
}

void (*previousLayoutClearButton)(id, SEL);
void layoutClearButton(id self, SEL sel)
{
    previousLayoutClearButton(self, sel);
    if (recolouringOn())
        postUpdateHeaderColor();
}

void (*previousTraitCollectionDidChange)(id, SEL, id);
void traitCollectionDidChange(id self, SEL sel, id previousTraitCollection)
{
    previousTraitCollectionDidChange(self, sel, previousTraitCollection);
    if (recolouringOn())
        repaintAfterStyleChange(self, previousTraitCollection, SELECTOR("updateHeaderColor:"));
}

RefPtr<UIColor> firstNotificationColour(const Object* group)
{
    auto bundleID = msgSendIfResponds<Id>(group, SELECTOR("TWLbundleIdForFirstNotification"));
    if (!bundleID)
        return nullptr;
    auto cache = QFColorManager::sharedManager()->notificationColors();
    return cache ? objectCast<UIColor>(cache->objectForKey(bundleID.get())) : nullptr;
}

// The notification that triggered it, if any, is of no interest.
void updateHeaderColor(id self, SEL, id)
{
    auto list = superviewOf(self);
    if (!list)
        return;
    auto visibleViews = objectCast<NSDictionary>(msgSendIfResponds<Id>(list.get(), SELECTOR("visibleViews")));
    if (!visibleViews || !visibleViews->count())
        return;
    // The dictionary's own first key; held by the dictionary while it is used.
    const Object* firstView = visibleViews->begin()->value.get();
    if (!isKindOfClassNamed<"NCNotificationListView">(firstView))
        return;
    auto colour = firstNotificationColour(firstView);
    if (!colour)
        return;
    auto clearButton = ivarNamed<"_clearButton">(self);
    const auto* button = objectCast<const UIView>(clearButton);
    if (!button)
        return;
    Class materialClass = classNamed<"MTMaterialView">();
    // Read in place by index, each held while it is used: a post comes with every layout.
    for (size_t index = 0; index < button->subviewList().size(); ++index) {
        RefPtr<UIView> material = button->subviewList()[index];
        if (!isKindOf(material.get(), materialClass))
            continue;
        // The block holds the material and the colour until it has run.
        auto animations = NSBlock::create([material, colour] { setColorWithQFConfigcolor(material.get(), NotifsConfig.get(), colour.get()); });
        UIView::sendAnimateWithDuration(recolourAnimationDuration, animations.get());
    }
}

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("NCNotificationListSectionHeaderView", "setTitle:", &setTitle, &previousSetTitle),
        replaceRow("NCNotificationListSectionHeaderView", "initWithFrame:", &initWithFrame, &previousInitWithFrame),
        replaceRow("NCNotificationListSectionHeaderView", "dealloc", &dealloc, &previousDealloc),
        replaceRow("NCNotificationListSectionHeaderView", "_layoutClearButton", &layoutClearButton, &previousLayoutClearButton),
        replaceRow("NCNotificationListSectionHeaderView", "traitCollectionDidChange:", &traitCollectionDidChange, &previousTraitCollectionDidChange),
        addMethodRow("NCNotificationListSectionHeaderView", "updateHeaderColor:", &updateHeaderColor, "v@:@"),
    };
}

} // namespace NCNotificationListSectionHeaderViewHooks
