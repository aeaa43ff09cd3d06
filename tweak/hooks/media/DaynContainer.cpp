#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/graphics/UIColor.h"
#include "platform/graphics/UIImage.h"
#include "tweak/colour/QFColorManager.h"
#include "tweak/colour/UIImage+Tintwell.h"
#include "tweak/hooks/HookRows.h"
#include "tweak/hooks/media/AppCellPattern.h"
#include "tweak/hooks/HookSupport.h"
#include "tweak/settings/SettingsGlobals.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

// Tints Dayn's container with the colour of the notification it decorates, in the
// containers "Coloured Cells" picks: every one (0), those of the selected app (1), none (2).
// The selected app is the one whose cell is selected in Axon's or Grupi's row; a device
// showing neither row has no selection to narrow by, so every container counts.
namespace DaynContainerHooks {

using namespace Hooks;

namespace {

enum ColourStyle : long { EveryCell = 0, SelectedCell = 1 };

// Per row class, the app of its selected cell (empty when the row has none). A row appears
// here with the first setSelected: of one of its cells.
std::map<Class, std::string>& rowSelections()
{
    static auto* selections = new std::map<Class, std::string>;
    return *selections;
}

// Containers on screen, to repaint when a row's selection moves.
std::vector<WeakId>& liveContainers()
{
    static auto* containers = new std::vector<WeakId>;
    return *containers;
}

bool isSelectedApp(const NSString* key)
{
    auto& selections = rowSelections();
    if (selections.empty())
        return true;
    return std::any_of(selections.begin(), selections.end(), [&](auto& entry) { return entry.second == key->view(); });
}

RefPtr<NSString> containerKey(const Object* container)
{
    auto delegate = ivarNamed<"_delegate">(container);
    if (!isKindOfClassNamed<"NCNotificationShortLookViewController">(delegate.get()))
        return nullptr;
    auto request = msgSend<Id>(delegate.get(), SELECTOR("notificationRequest"));
    auto bulletin = msgSendIfResponds<Id>(request.get(), SELECTOR("bulletin"));
    return objectCast<NSString>(msgSendIfResponds<Id>(bulletin.get(), SELECTOR("sectionID")));
}

void paint(Object* self)
{
    auto key = containerKey(self);
    if (!key)
        return;
    if (daynColorStyle != EveryCell && !(daynColorStyle == SelectedCell && isSelectedApp(key.get()))) {
        AppCellPattern::clear(self);
        return;
    }
    auto cache = QFColorManager::sharedManager()->daynColors();
    if (!cache->objectForKey(key.get())) {
        auto image = daynImageCalc == 0 ? stockImgForID(key.get()) : systemIconImage(key.get());
        if (!image)
            return;
        if (auto colour = colorForModeWithBundleID(image.get(), daynColorCalc, key.get()))
            cache->setObject(colour.get(), key.get());
    }
    RefPtr<UIColor> colour = objectCast<UIColor>(cache->objectForKey(key.get()));
    msgSend<void>(self, SELECTOR("setColorWithQFConfig:color:"), DaynConfig, colour);
}

void remember(Object* container)
{
    auto& containers = liveContainers();
    std::erase_if(containers, [](auto& weak) { return !weak; });
    bool known = std::any_of(containers.begin(), containers.end(), [&](auto& weak) { return weak.get().get() == container; });
    if (!known)
        containers.emplace_back(RefPtr<Object>(container));
}

void (*previousDidMoveToSuperview)(id, SEL);
void didMoveToSuperview(id self, SEL sel)
{
    previousDidMoveToSuperview(self, sel);
    remember(self);
    paint(self);
}

void noteSelection(id cell, bool selected)
{
    RefPtr<NSString> app = objectCast<NSString>(msgSendIfResponds<Id>(cell, SELECTOR("bundleIdentifier")));
    auto& selection = rowSelections()[cell->isa()];
    if (selected && app)
        selection = app->utf8();
    else if (!selected && app && selection == app->view())
        selection.clear();
    if (daynColorStyle != SelectedCell)
        return;
    // Copied: painting may lay out and bring containers in or out.
    auto containers = liveContainers();
    for (auto& weak : containers) {
        if (auto container = weak.get())
            paint(container.get());
    }
}

void (*previousAxonSetSelected)(id, SEL, bool);
void axonSetSelected(id self, SEL sel, bool selected)
{
    previousAxonSetSelected(self, sel, selected);
    noteSelection(self, selected);
}

void (*previousGrupiSetSelected)(id, SEL, bool);
void grupiSetSelected(id self, SEL sel, bool selected)
{
    previousGrupiSetSelected(self, sel, selected);
    noteSelection(self, selected);
}

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("DaynContainer", "didMoveToSuperview", &didMoveToSuperview, &previousDidMoveToSuperview),
        // The rows' selections decide which containers "Selected Cell" tints.
        replaceRow("AXNAppCell", "setSelected:", &axonSetSelected, &previousAxonSetSelected),
        replaceRow("GRPAppCell", "setSelected:", &grupiSetSelected, &previousGrupiSetSelected),
    };
}

} // namespace DaynContainerHooks
