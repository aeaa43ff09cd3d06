#include "tweak/hooks/testing/TestNotifications.h"

#include "platform/foundation/Dispatch.h"
#include "platform/foundation/DynamicLoader.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSProcessInfo.h"
#include "platform/foundation/NSString.h"
#include "platform/runtime/WeakPtr.h"
#include "tweak/hooks/testing/BBServer.h"

#include <atomic>
#include <optional>
#include <string>

namespace {

constexpr int lockSourceUser = 1;
constexpr int64_t sampleDelayNanoseconds = 1'000'000'000;
constexpr unsigned long allDestinations = 15;
constexpr unsigned long lockScreenDestination = 4;
constexpr int sampleCount = 15;

// The process exports the queue as a weak variable; the result holds one reference.
OS_dispatch_queue* lookUpServerQueue()
{
    void* image = dlopenDevice(nullptr, RTLD_GLOBAL);
    if (!image)
        return nullptr;
    OS_dispatch_queue* queue = nullptr;
    if (auto* variable = static_cast<WeakId*>(dlsym(image, "__BBServerQueue"))) {
        Id found = objc_loadWeakRetained(variable);
        if (auto* foundQueue = objectCast<OS_dispatch_queue>(found))
            queue = RefPtr<OS_dispatch_queue>(foundQueue).leakRef();
    }
    dlclose(image);
    return queue;
}

// Found once, then kept for the life of the process; looked for again while it is missing.
OS_dispatch_queue* serverQueue()
{
    static std::atomic<OS_dispatch_queue*> kept { nullptr };
    if (auto* queue = kept.load(std::memory_order_acquire))
        return queue;
    auto* queue = lookUpServerQueue();
    if (!queue)
        return nullptr;
    OS_dispatch_queue* earlier = nullptr;
    if (kept.compare_exchange_strong(earlier, queue, std::memory_order_acq_rel))
        return queue;
    // Another thread kept one first.
    queue->release();
    return earlier;
}

bool answers(const Object* server, SEL selector)
{
    return msgSend<bool>(server, SELECTOR("respondsToSelector:"), selector);
}

struct PublishCall {
    SEL selector { nullptr };
    unsigned long destinations { 0 };
    // Set only for publishBulletin:destinations:alwaysToLockScreen:.
    std::optional<bool> alwaysToLockScreen;
};

PublishCall choosePublishCall(const Object* server, bool banner)
{
    SEL withDestinations = sel_registerName("publishBulletin:destinations:");
    SEL withLockScreen = sel_registerName("publishBulletin:destinations:alwaysToLockScreen:");
    PublishCall first = banner ? PublishCall { withDestinations, allDestinations, std::nullopt } : PublishCall { withLockScreen, lockScreenDestination, true };
    PublishCall fallback = banner ? PublishCall { withLockScreen, allDestinations, false } : PublishCall { withDestinations, lockScreenDestination, std::nullopt };
    if (answers(server, first.selector))
        return first;
    if (answers(server, fallback.selector))
        return fallback;
    return {};
}

void send(const Object* server, const PublishCall& call, Object* bulletin)
{
    // The server may have been replaced since the choice; one that cannot take the call is skipped.
    if (!answers(server, call.selector))
        return;
    if (call.alwaysToLockScreen)
        msgSend<void>(server, call.selector, bulletin, call.destinations, *call.alwaysToLockScreen);
    else
        msgSend<void>(server, call.selector, bulletin, call.destinations);
}

Id makeTestBulletin(NSString* sectionID, NSDate* date, NSString* message)
{
    auto bulletin = msgSend<Id>(class_createInstance(objc_getClass("BBBulletin")), SELECTOR("init"));
    if (!bulletin)
        return nullptr;
    auto processInfo = NSProcessInfo::processInfo();
    msgSend<void>(bulletin, SELECTOR("setTitle:"), NSString::string("Tintwell").get());
    msgSend<void>(bulletin, SELECTOR("setMessage:"), message);
    msgSend<void>(bulletin, SELECTOR("setSectionID:"), sectionID);
    msgSend<void>(bulletin, SELECTOR("setBulletinID:"), processInfo->globallyUniqueString().get());
    msgSend<void>(bulletin, SELECTOR("setRecordID:"), processInfo->globallyUniqueString().get());
    msgSend<void>(bulletin, SELECTOR("setPublisherBulletinID:"), processInfo->globallyUniqueString().get());
    msgSend<void>(bulletin, SELECTOR("setDate:"), date);
    id noBlock = nullptr;
    auto action = msgSendClass<Id>(objc_getClass("BBAction"), SELECTOR("actionWithLaunchBundleID:callblock:"), static_cast<id>(sectionID), noBlock);
    msgSend<void>(bulletin, SELECTOR("setDefaultAction:"), action.get());
    msgSend<void>(bulletin, SELECTOR("setClearable:"), true);
    msgSend<void>(bulletin, SELECTOR("setShowsMessagePreview:"), true);
    msgSend<void>(bulletin, SELECTOR("setPublicationDate:"), date);
    msgSend<void>(bulletin, SELECTOR("setLastInterruptDate:"), date);
    return bulletin;
}

std::string sampleSection(int number)
{
    if (number <= 13)
        return "com.apple.MobileSMS";
    return number == 14 ? "com.apple.Music" : "com.apple.AppStore";
}

void publishSamples()
{
    for (int number = 1; number <= sampleCount; ++number) {
        auto message = NSString::string("Test notification " + std::to_string(number) + "!");
        TWLPublishTestBulletin(NSString::string(sampleSection(number)).get(), NSDate::date().get(), message.get(), false);
    }
}

} // namespace

void TWLPublishTestBulletin(NSString* sectionID, NSDate* date, NSString* message, bool banner)
{
    auto bulletin = makeTestBulletin(sectionID, date, message);
    PublishCall call = choosePublishCall(BBServerHooks::capturedServer().get(), banner);
    if (!call.selector)
        return;
    // Without the server's own queue the bulletin is dropped rather than raced onto the server.
    auto* queue = serverQueue();
    if (!queue)
        return;
    dispatch_sync(queue, [&] {
        send(BBServerHooks::capturedServer().get(), call, bulletin.get());
    });
}

void TWLTestNotifications()
{
    auto manager = msgSendClass<Id>(objc_getClass("SBLockScreenManager"), SELECTOR("sharedInstance"));
    id noOptions = nullptr;
    msgSend<void>(manager, SELECTOR("lockUIFromSource:withOptions:"), lockSourceUser, noOptions);
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, sampleDelayNanoseconds), dispatch_get_main_queue(), publishSamples);
}

void TWLTestBanner()
{
    TWLPublishTestBulletin(NSString::string("com.apple.MobileSMS").get(), NSDate::date().get(), NSString::string("Test banner!").get(), true);
}
