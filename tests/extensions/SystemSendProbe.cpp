// A test extension for both hosts: replaces the system methods extensions most often hook
// where the system used to go around the runtime (or never sent them), instance and class
// methods alike, and
// says once per method that the system's own send reached the replacement and that the
// original still ran, with what it answered. Its own sends are never counted.
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/graphics/UIColor.h"
#include "platform/graphics/UIImage.h"
#include "platform/runtime/Substrate.h"
#include "platform/uikit/UIView.h"

#include <atomic>
#include <cstdio>
#include <mutex>
#include <set>
#include <string>

namespace {

// Process-wide rather than thread_local: a dlopen'ed library's thread_local used on the
// server's queue thread lands in dynamic TLS, which LeakSanitizer's exit scan can trip on.
// The probe's own sends run on the main thread and the publishes on the serial server queue.
std::atomic<bool> probeSending = false;
std::atomic<int> insideTwoArgumentPublish = 0;
std::atomic<int> insideRefresh = 0;

// Once per method and outcome, so a busy method does not flood the log.
void report(const std::string& method, const std::string& outcome)
{
    static auto* mutex = new std::mutex;
    static auto* said = new std::set<std::string>;
    if (probeSending)
        return;
    std::string line = "SystemSendProbe: " + method + " sent by the system; the original " + outcome;
    std::lock_guard lock(*mutex);
    if (!said->insert(line).second)
        return;
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

std::string describeColour(const Object* value)
{
    auto* colour = objectCast<const UIColor>(value);
    if (!colour)
        return "nil";
    char text[16];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", int(colour->red() * 255 + 0.5), int(colour->green() * 255 + 0.5), int(colour->blue() * 255 + 0.5));
    return text;
}

std::string describeText(const Object* value)
{
    auto* text = objectCast<const NSString>(value);
    return text ? "\"" + text->utf8() + "\"" : "nil";
}

std::string describeValue(const Object* value)
{
    if (auto* number = objectCast<const NSNumber>(value))
        return number->kind() == NSNumber::Kind::Real ? std::to_string(number->doubleValue()) : std::to_string(number->integerValue());
    return describeText(value);
}

std::string describeFormat(int format, double scale)
{
    char text[48];
    std::snprintf(text, sizeof text, "format %d, scale %g", format, scale);
    return text;
}

bool isKindOf(const Object* object, const char* className)
{
    Class cls = objc_getClass(className);
    return object && cls && object->isKindOfClass(cls);
}

void hookWhatExists();

// +[QFConfig newQFConfigWithBT:BA:FA:BT:DB:DC:LB:LC:style:]
Id (*originalNewConfig)(Class, SEL, long, long, long, long, long, long, long, long, long);
Id newConfig(Class cls, SEL sel, long bt, long ba, long fa, long bt2, long db, long dc, long lb, long lc, long style)
{
    auto record = originalNewConfig(cls, sel, bt, ba, fa, bt2, db, dc, lb, lc, style);
    bool filled = record && msgSend<long>(record.get(), SELECTOR("borderThiccness")) == bt && msgSend<long>(record.get(), SELECTOR("style")) == style;
    std::printf("SystemSendProbe: +[QFConfig newQFConfigWithBT:BA:FA:BT:DB:DC:LB:LC:style:] reached the replacement; the original %s\n",
        filled ? "answered a filled record" : "answered no filled record");
    std::fflush(stdout);
    return record;
}

// +[SparkColourPickerUtils colourWithString:]
Id (*originalColourWithString)(Class, SEL, id);
Id colourWithString(Class cls, SEL sel, id text)
{
    auto colour = originalColourWithString(cls, sel, text);
    report("+[SparkColourPickerUtils colourWithString:]", "answered " + describeColour(colour.get()) + " for " + describeText(text));
    return colour;
}

// +[SparkColourPickerUtils colourWithString:withFallback:]
Id (*originalColourWithFallback)(Class, SEL, id, id);
Id colourWithFallback(Class cls, SEL sel, id text, id fallback)
{
    auto colour = originalColourWithFallback(cls, sel, text, fallback);
    report("+[SparkColourPickerUtils colourWithString:withFallback:]", "answered " + describeColour(colour.get()) + " for " + describeText(text));
    return colour;
}

// +[NSDictionary dictionaryWithContentsOfFile:]
Id (*originalDictionaryWithContentsOfFile)(Class, SEL, id);
Id dictionaryWithContentsOfFile(Class cls, SEL sel, id path)
{
    auto dictionary = originalDictionaryWithContentsOfFile(cls, sel, path);
    // The Settings app loads the colour library with the settings bundle, after extensions;
    // a colour row reads its file before it converts a colour text, so hook the library now.
    hookWhatExists();
    auto* text = objectCast<NSString>(path);
    // Named by the file, so the colours file's read stands apart from the loader's.
    std::string name = text ? text->utf8().substr(text->utf8().rfind('/') + 1) : "nil";
    auto* read = objectCast<NSDictionary>(dictionary);
    report("+[NSDictionary dictionaryWithContentsOfFile:]", "answered " + (read ? std::to_string(read->count()) + " entries" : std::string("nil")) + " for " + name);
    return dictionary;
}

// +[NSNotificationCenter defaultCenter]
Id (*originalDefaultCenter)(Class, SEL);
Id defaultCenter(Class cls, SEL sel)
{
    auto center = originalDefaultCenter(cls, sel);
    bool same = center.get() == NSNotificationCenter::defaultCenter();
    report("+[NSNotificationCenter defaultCenter]", same ? "answered the process's centre" : "answered another object");
    return center;
}

// +[UIView animateWithDuration:animations:]
void (*originalAnimate)(Class, SEL, double, id);
void animate(Class cls, SEL sel, double duration, id animations)
{
    long before = UIView::animationCount();
    originalAnimate(cls, sel, duration, animations);
    bool ran = UIView::animationCount() == before + 1;
    report("+[UIView animateWithDuration:animations:]", ran ? "ran the animations for " + std::to_string(duration) + " s" : "did not animate");
}

// -[SBLockScreenManager isUILocked]
bool (*originalIsUILocked)(id, SEL);
bool isUILocked(id self, SEL sel)
{
    bool locked = originalIsUILocked(self, sel);
    report("-[SBLockScreenManager isUILocked]", locked ? "answered YES" : "answered NO");
    return locked;
}

// -[BBServer publishBulletin:destinations:] and the three-argument form it sends.
void (*originalPublishTwo)(id, SEL, id, unsigned long);
void publishTwo(id self, SEL sel, id bulletin, unsigned long destinations)
{
    ++insideTwoArgumentPublish;
    originalPublishTwo(self, sel, bulletin, destinations);
    --insideTwoArgumentPublish;
}

void (*originalPublishThree)(id, SEL, id, unsigned long, bool);
void publishThree(id self, SEL sel, id bulletin, unsigned long destinations, bool alwaysToLockScreen)
{
    originalPublishThree(self, sel, bulletin, destinations, alwaysToLockScreen);
    auto title = msgSendIfResponds<Id>(bulletin, SELECTOR("message"));
    std::string from = insideTwoArgumentPublish ? " from publishBulletin:destinations:" : "";
    report("-[BBServer publishBulletin:destinations:alwaysToLockScreen:]" + from, "published " + describeText(title.get()));
}

// +[UIImage _applicationIconImageForBundleIdentifier:format:scale:]: named by the app and
// the format, so each caller's request stands apart (widgets 0 at 3x, notification
// headers 0 at 2x, companion cells 1 at 2x).
Id (*originalApplicationIcon)(Class, SEL, id, int, double);
Id applicationIcon(Class cls, SEL sel, id identifier, int format, double scale)
{
    auto icon = originalApplicationIcon(cls, sel, identifier, format, scale);
    auto* image = objectCast<UIImage>(icon);
    std::string answer = image ? "answered an icon" : "answered nil";
    report("+[UIImage _applicationIconImageForBundleIdentifier:format:scale:]", answer + " for " + describeText(identifier) + ", " + describeFormat(format, scale));
    return icon;
}

// -[LSBundleProxy iconsDictionary]: only an icon lookup asks a record for its icons.
Id (*originalIconsDictionary)(id, SEL);
Id iconsDictionary(id self, SEL sel)
{
    auto icons = originalIconsDictionary(self, sel);
    auto identifier = msgSendIfResponds<Id>(self, SELECTOR("bundleIdentifier"));
    report("-[LSBundleProxy iconsDictionary]", std::string(icons ? "answered the icons" : "answered nil") + " of " + describeText(identifier.get()));
    return icons;
}

// -[UIView willMoveToWindow:] and -[UIView didMoveToWindow].
void (*originalWillMoveToWindow)(id, SEL, id);
void willMoveToWindow(id self, SEL sel, id window)
{
    bool before = msgSend<Id>(self, SELECTOR("window")).get() != nullptr;
    originalWillMoveToWindow(self, sel, window);
    report("-[UIView willMoveToWindow:]", std::string("ran as the view ") + (window ? (before ? "changes window" : "joins a window") : "leaves its window"));
}

void (*originalDidMoveToWindow)(id, SEL);
void didMoveToWindow(id self, SEL sel)
{
    originalDidMoveToWindow(self, sel);
    bool inWindow = msgSend<Id>(self, SELECTOR("window")).get() != nullptr;
    report("-[UIView didMoveToWindow]", std::string("ran with the view ") + (inWindow ? "in a window" : "in no window"));
}

// -[UIView initWithFrame:] as a table cell's initialiser reaches it.
Id (*originalInitWithFrame)(id, SEL, CGRect);
Id initWithFrame(id self, SEL sel, CGRect frame)
{
    auto view = originalInitWithFrame(self, sel, frame);
    if (isKindOf(view.get(), "UITableViewCell"))
        report("-[UIView initWithFrame:] for a table cell", std::string("answered a ") + view->className());
    return view;
}

// -[UITableViewCell initWithStyle:reuseIdentifier:], reached from a settings cell's own.
Id (*originalInitWithStyle)(id, SEL, long, id);
Id initWithStyle(id self, SEL sel, long style, id reuseIdentifier)
{
    auto cell = originalInitWithStyle(self, sel, style, reuseIdentifier);
    report("-[UITableViewCell initWithStyle:reuseIdentifier:]", std::string(cell ? "answered a " + std::string(cell->className()) : "answered nil") + " of style " + std::to_string(style));
    return cell;
}

// -[PSTableCell setValue:] outside the cell's refresh: what picking a choice sends.
void (*originalRefresh)(id, SEL, id);
void refresh(id self, SEL sel, id specifier)
{
    ++insideRefresh;
    originalRefresh(self, sel, specifier);
    --insideRefresh;
}

void (*originalSetValue)(id, SEL, id);
void setValue(id self, SEL sel, id value)
{
    originalSetValue(self, sel, value);
    if (insideRefresh)
        return;
    auto shown = msgSend<Id>(self, SELECTOR("value"));
    report("-[PSTableCell setValue:] outside a refresh", "shows " + describeValue(shown.get()));
}

// -[UIControl sendAction:to:forEvent:]: what a control sends for each of its targets.
void (*originalSendAction)(id, SEL, SEL, id, id);
void sendAction(id self, SEL sel, SEL action, id target, id event)
{
    originalSendAction(self, sel, action, target, event);
    report("-[UIControl sendAction:to:forEvent:]", std::string("sent ") + (action ? sel_getName(action) : "nothing") + " to a " + (target ? target->className() : "nil")
        + " for a " + self->className());
}

template<typename Replacement>
void hookClassMethod(const char* className, const char* selector, Replacement replacement, Replacement* slot)
{
    if (*slot)
        return;
    Class cls = objc_getClass(className);
    if (!cls)
        return;
    MSHookMessageEx(objc_getMetaClass(cls), sel_registerName(selector), replacement, slot);
}

template<typename Replacement>
void hookInstanceMethod(const char* className, const char* selector, Replacement replacement, Replacement* slot)
{
    if (*slot)
        return;
    MSHookMessageEx(objc_getClass(className), sel_registerName(selector), replacement, slot);
}

void hookWhatExists()
{
    hookClassMethod("SparkColourPickerUtils", "colourWithString:", &colourWithString, &originalColourWithString);
    hookClassMethod("SparkColourPickerUtils", "colourWithString:withFallback:", &colourWithFallback, &originalColourWithFallback);
    hookClassMethod("NSDictionary", "dictionaryWithContentsOfFile:", &dictionaryWithContentsOfFile, &originalDictionaryWithContentsOfFile);
    hookClassMethod("NSNotificationCenter", "defaultCenter", &defaultCenter, &originalDefaultCenter);
    hookClassMethod("UIView", "animateWithDuration:animations:", &animate, &originalAnimate);
    hookClassMethod("QFConfig", "newQFConfigWithBT:BA:FA:BT:DB:DC:LB:LC:style:", &newConfig, &originalNewConfig);
    hookInstanceMethod("SBLockScreenManager", "isUILocked", &isUILocked, &originalIsUILocked);
    hookInstanceMethod("BBServer", "publishBulletin:destinations:", &publishTwo, &originalPublishTwo);
    hookInstanceMethod("BBServer", "publishBulletin:destinations:alwaysToLockScreen:", &publishThree, &originalPublishThree);
    hookClassMethod("UIImage", "_applicationIconImageForBundleIdentifier:format:scale:", &applicationIcon, &originalApplicationIcon);
    hookInstanceMethod("LSBundleProxy", "iconsDictionary", &iconsDictionary, &originalIconsDictionary);
    hookInstanceMethod("UIView", "willMoveToWindow:", &willMoveToWindow, &originalWillMoveToWindow);
    hookInstanceMethod("UIView", "didMoveToWindow", &didMoveToWindow, &originalDidMoveToWindow);
    hookInstanceMethod("UIView", "initWithFrame:", &initWithFrame, &originalInitWithFrame);
    hookInstanceMethod("UITableViewCell", "initWithStyle:reuseIdentifier:", &initWithStyle, &originalInitWithStyle);
    hookInstanceMethod("PSTableCell", "refreshCellContentsWithSpecifier:", &refresh, &originalRefresh);
    hookInstanceMethod("PSTableCell", "setValue:", &setValue, &originalSetValue);
    hookInstanceMethod("UIControl", "sendAction:to:forEvent:", &sendAction, &originalSendAction);
}

// Extensions load in name order, so Tintwell's classes (and the colour library it brings)
// exist only once the home screen has finished launching.
void (*originalDidFinishLaunching)(id, SEL, id);
void didFinishLaunching(id self, SEL sel, id application)
{
    originalDidFinishLaunching(self, sel, application);
    hookWhatExists();
    // Nothing in either host makes a style record with the factory; the probe sends it
    // once, to show that it answers as a message and that a replacement sees the send.
    if (Class config = objc_getClass("QFConfig")) {
        probeSending = true;
        msgSendClass<Id>(config, SELECTOR("newQFConfigWithBT:BA:FA:BT:DB:DC:LB:LC:style:"), 1L, 2L, 3L, 4L, 5L, 6L, 7L, 8L, 9L);
        probeSending = false;
    }
}

__attribute__((constructor)) void installSystemSendProbe()
{
    hookWhatExists();
    hookInstanceMethod("SpringBoard", "applicationDidFinishLaunching:", &didFinishLaunching, &originalDidFinishLaunching);
    std::printf("SystemSendProbe: loaded\n");
    std::fflush(stdout);
}

} // namespace
