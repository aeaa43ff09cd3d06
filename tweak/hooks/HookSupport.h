#pragma once

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSObjCRuntime.h"
#include "platform/foundation/NSString.h"
#include "platform/graphics/UIColor.h"
#include "platform/graphics/UIImage.h"
#include "platform/runtime/RememberedClass.h"
#include "platform/runtime/Runtime.h"

#include <cstdint>
#include <string_view>
#include <type_traits>

// What the hook files share: classes and variables by name, kind tests, the trait-style
// test and its repaint delay, the colours file, the system icon and the notification colour.
namespace Hooks {

inline bool isKindOf(const Object* object, Class cls) { return object && cls && object->isKindOfClass(cls); }

template<ClassName name>
bool isKindOfClassNamed(const Object* object) { return object && isKindOf(object, classNamed<name>()); }

// A system view's instance variable by name; nil when the object or the variable is missing.
template<ClassName name>
Id ivarNamed(const Object* object)
{
    if (!object)
        return nullptr;
    return object_getIvar(const_cast<Object*>(object), instanceVariableNamed<name>(object->isa()));
}

inline Id superviewOf(const Object* view) { return msgSendIfResponds<Id>(view, SELECTOR("superview")); }

inline RefPtr<NSArray> subviewsOf(const Object* view) { return objectCast<NSArray>(msgSendIfResponds<Id>(view, SELECTOR("subviews"))); }

// An absent collection counts as unspecified (0).
inline long userInterfaceStyleOf(const Object* traits) { return msgSendIfResponds<long>(traits, SELECTOR("userInterfaceStyle")); }

inline bool styleChanged(const Object* view, const Object* previousTraitCollection)
{
    auto current = msgSend<Id>(view, SELECTOR("traitCollection"));
    return userInterfaceStyleOf(current.get()) != userInterfaceStyleOf(previousTraitCollection);
}

// A style change repaints this long after it, once the system has settled the new colours.
inline constexpr double styleChangeDelay = 0.2;

// From a hooked traitCollectionDidChange:: when light and dark changed places, sends the
// repaint after the delay (the receiver is retained until then).
inline void repaintAfterStyleChange(const Object* view, const Object* previousTraitCollection, SEL repaint)
{
    if (!styleChanged(view, previousTraitCollection))
        return;
    msgSend<void>(view, SELECTOR("performSelector:withObject:afterDelay:"), repaint, nullptr, styleChangeDelay);
}

// Changes that can alter what a short-look platter shows without its own request
// changing: a view moving in or out of a superview, shown or hidden, given another
// background or border, a cell or platter given another controller or request, an
// appearance change. The hooks that see one count it; a platter painted at the current
// count, with the same style record, needs no second look.
uint64_t viewChangeCount();
void noteViewChange();

// A hook that runs the original, then counts a change: `&ChangeAfter<&previous>::hook`,
// with `previous` holding the original.
template<auto previous>
struct ChangeAfter;
template<typename... Args, void (**previous)(id, SEL, Args...)>
struct ChangeAfter<previous> {
    static void hook(id self, SEL sel, Args... args)
    {
        (*previous)(self, sel, args...);
        noteViewChange();
    }
};

// A setter hook for a value that layout passes set again and again: the original runs, and
// only a real change counts. `previous` holds the original.
template<ClassName getter, typename Value, auto* previous>
void noteChangingSetter(id self, SEL sel, Value value)
{
    static const SEL read = sel_registerName(getter.text);
    bool changes;
    if constexpr (std::is_same_v<Value, id>)
        changes = msgSend<Id>(self, read).get() != value;
    else
        changes = msgSend<Value>(self, read) != value;
    (*previous)(self, sel, value);
    if (changes)
        noteViewChange();
}

// A colour the settings pages wrote into the colours file, read afresh at each call: nil
// when the entry is missing or no colour text.
RefPtr<UIColor> coloursFileColour(std::string_view entry);
// The same, with a colour text to use when the entry is missing or unreadable.
RefPtr<UIColor> coloursFileColour(std::string_view entry, std::string_view fallback);
// The user's custom notification colour, read afresh.
RefPtr<UIColor> customNotificationColour();

// The system's own icon for an app, when the platform answers
// +[UIImage _applicationIconImageForBundleIdentifier:format:scale:].
RefPtr<UIImage> systemIconImage(const NSString* bundleID);

// Sections whose notifications carry no app icon of their own.
enum class IconlessSections {
    // Painted in the custom notification colour (platters).
    CustomColour,
    // Painted in the App Store's colour (companion app cells).
    AppStoreIcon,
};

// The colour of a notification section not cached yet, by "NotifImageCalc" and the surface's
// colour mode; ownIcon gives the icon the surface itself shows, asked only when needed.
// Nil when the chosen source gives none.
RefPtr<UIColor> notificationColour(const NSString* key, long colourMode, IconlessSections,
    const Object* view, RefPtr<UIImage> (*ownIcon)(const Object* view));

} // namespace Hooks
