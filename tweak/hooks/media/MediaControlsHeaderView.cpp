#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSString.h"
#include "platform/graphics/UIColor.h"
#include "platform/graphics/UIImage.h"
#include "tweak/colour/UIImage+Tintwell.h"
#include "tweak/hooks/HookRows.h"
#include "tweak/hooks/HookSupport.h"
#include "tweak/settings/SettingsGlobals.h"

// Tints the media controls from the artwork; hides the routing button and label.
namespace MediaControlsHeaderViewHooks {

using namespace Hooks;

namespace {

// The header sits this many levels below the panel whose material backgrounds are painted.
constexpr int panelDepth = 5;

char calcedColorKey;

Id calcedColor(id self, SEL) { return objc_getAssociatedObject(self, &calcedColorKey); }
void setCalcedColor(id self, SEL, id value) { objc_setAssociatedObject(self, &calcedColorKey, value, OBJC_ASSOCIATION_RETAIN_NONATOMIC); }

RefPtr<UIColor> customMusicColour() { return coloursFileColour("MusicCustomHEX", "#ffffff"); }

RefPtr<UIColor> artworkColour(const Object* header)
{
    auto artworkView = ivarNamed<"_artworkView">(header);
    RefPtr<UIImage> artwork = objectCast<UIImage>(msgSendIfResponds<Id>(artworkView.get(), SELECTOR("image")));
    return mergedColor(artwork.get());
}

template<ClassName name>
void hideIvarView(const Object* header)
{
    auto view = ivarNamed<name>(header);
    msgSendIfResponds<void>(view.get(), SELECTOR("setHidden:"), true);
}

void (*previousLayoutSubviews)(id, SEL);
void layoutSubviews(id self, SEL sel)
{
    previousLayoutSubviews(self, sel);
    if (noMusicRouting)
        hideIvarView<"_routingButton">(self);
    if (noMusicRoutingLabel)
        hideIvarView<"_routeLabel">(self);
    if (!enabledMusic)
        return;
    // Worked out on every pass so a new track's artwork is followed.
    auto colour = musicColorCalc != 0 ? customMusicColour() : artworkColour(self);
    msgSend<void>(self, SELECTOR("setCalcedColor:"), colour);

    Id panel = self;
    for (int level = 0; level < panelDepth && panel; ++level)
        panel = msgSend<Id>(panel.get(), SELECTOR("superview"));
    RefPtr<NSArray> subviews = objectCast<NSArray>(msgSend<Id>(panel.get(), SELECTOR("subviews")));
    Class materialClass = classNamed<"MTMaterialView">();
    if (!subviews || !materialClass)
        return;
    auto calced = msgSend<Id>(self, SELECTOR("calcedColor"));
    for (size_t index = 0; index < subviews->count(); ++index) {
        auto subview = subviews->objectAtIndex(index);
        if (!isKindOf(subview.get(), materialClass))
            continue;
        msgSend<void>(subview.get(), SELECTOR("setColorWithQFConfig:color:"), MusicConfig, calced);
    }
}

} // namespace

InstallationRows rows()
{
    return {
        addPropertyRow("MediaControlsHeaderView", "calcedColor", "@\"UIColor\"", &calcedColor, &setCalcedColor),
        replaceRow("MediaControlsHeaderView", "layoutSubviews", &layoutSubviews, &previousLayoutSubviews),
    };
}

} // namespace MediaControlsHeaderViewHooks
