#include "outside/sparkcolourpicker/SparkColourPickerUtils.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/graphics/UIColor.h"
#include "platform/graphics/UIImage.h"
#include "tweak/colour/UIImage+Tintwell.h"
#include "tweak/hooks/HookRows.h"
#include "tweak/hooks/RuntimeLookups.h"
#include "tweak/settings/SettingsGlobals.h"

#include <string_view>

// Tints the media controls from the artwork; hides the routing button and label.
namespace MediaControlsHeaderViewHooks {

namespace {

constexpr std::string_view coloursFilePath = "/var/mobile/Library/Preferences/com.quillfen.tintwellprefs.colors.plist";
// The header sits this many levels below the panel whose material backgrounds are painted.
constexpr int panelDepth = 5;

char calcedColorKey;

Id calcedColor(id self, SEL) { return objc_getAssociatedObject(self, &calcedColorKey); }
void setCalcedColor(id self, SEL, id value) { objc_setAssociatedObject(self, &calcedColorKey, value, OBJC_ASSOCIATION_RETAIN_NONATOMIC); }

Class materialViewClass()
{
    static Class cls = objc_getClass("MTMaterialView");
    return cls;
}

RefPtr<UIColor> customMusicColour()
{
    static NSString* entry = NSString::string("MusicCustomHEX").leakRef();
    static NSString* fallback = NSString::string("#ffffff").leakRef();
    auto colours = NSDictionary::sendDictionaryWithContentsOfFile(coloursFilePath);
    auto text = colours ? objectAs<NSString>(colours->objectForKey(entry).get()) : nullptr;
    return SparkColourPickerUtils::sendColourWithStringWithFallback(text.get(), fallback);
}

RefPtr<UIColor> artworkColour(const Object* header)
{
    auto artworkView = ivarNamed(header, "_artworkView");
    auto artwork = objectAs<UIImage>(msgSendIfResponds<Id>(artworkView.get(), SELECTOR("image")).get());
    return mergedColor(artwork.get());
}

void hideIvarView(const Object* header, const char* name)
{
    auto view = ivarNamed(header, name);
    msgSendIfResponds<void>(view.get(), SELECTOR("setHidden:"), true);
}

void (*previousLayoutSubviews)(id, SEL);
void layoutSubviews(id self, SEL sel)
{
    previousLayoutSubviews(self, sel);
    if (noMusicRouting)
        hideIvarView(self, "_routingButton");
    if (noMusicRoutingLabel)
        hideIvarView(self, "_routeLabel");
    if (!enabledMusic)
        return;
    // Worked out on every pass so a new track's artwork is followed.
    auto colour = musicColorCalc != 0 ? customMusicColour() : artworkColour(self);
    msgSend<void>(self, SELECTOR("setCalcedColor:"), static_cast<Object*>(colour.get()));

    Id panel = self;
    for (int level = 0; level < panelDepth && panel; ++level)
        panel = msgSend<Id>(panel.get(), SELECTOR("superview"));
    auto subviews = objectAs<NSArray>(msgSend<Id>(panel.get(), SELECTOR("subviews")).get());
    if (!subviews || !materialViewClass())
        return;
    auto calced = msgSend<Id>(self, SELECTOR("calcedColor"));
    for (size_t index = 0; index < subviews->count(); ++index) {
        auto subview = subviews->objectAtIndex(index);
        if (!subview || !subview->isKindOfClass(materialViewClass()))
            continue;
        msgSend<void>(subview.get(), SELECTOR("setColorWithQFConfig:color:"), static_cast<Object*>(MusicConfig.get()), static_cast<Object*>(calced.get()));
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
