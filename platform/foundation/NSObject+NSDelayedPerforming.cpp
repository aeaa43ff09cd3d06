#include "platform/foundation/NSObject+NSDelayedPerforming.h"

#include "platform/foundation/NSRunLoop.h"
#include "platform/foundation/RunLoopClasses.h"
#include "platform/runtime/MessageSend.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <list>
#include <mutex>
#include <string>

namespace {

struct PendingRequest {
    uint64_t id;
    NSRunLoop::Token token;
    const Object* target;
    SEL selector;
    const Object* argument;
};

std::mutex& pendingMutex()
{
    static auto* mutex = new std::mutex;
    return *mutex;
}

std::list<PendingRequest>& pendingRequests()
{
    static auto* requests = new std::list<PendingRequest>;
    return *requests;
}

// Type encodings may carry frame offsets ("v24@0:8@16"); only the types matter here.
std::string typesOnly(const char* encoding)
{
    std::string types;
    for (const char* c = encoding; c && *c; ++c) {
        if (!std::isdigit(static_cast<unsigned char>(*c)))
            types += *c;
    }
    return types;
}

bool forgetRequest(uint64_t id)
{
    std::lock_guard lock(pendingMutex());
    auto& requests = pendingRequests();
    auto request = std::find_if(requests.begin(), requests.end(), [&](auto& r) { return r.id == id; });
    if (request == requests.end())
        return false;
    requests.erase(request);
    return true;
}

template<typename Matches>
void cancelMatching(Matches matches)
{
    std::vector<NSRunLoop::Token> tokens;
    {
        std::lock_guard lock(pendingMutex());
        auto& requests = pendingRequests();
        for (auto request = requests.begin(); request != requests.end();) {
            if (matches(*request)) {
                tokens.push_back(request->token);
                request = requests.erase(request);
            } else {
                ++request;
            }
        }
    }
    // Outside the lock: dropping the requests may dealloc their targets.
    for (auto token : tokens)
        NSRunLoop::mainRunLoop().cancel(token);
}

Id performSelectorWithObjectMethod(id self, SEL, SEL selector, id argument)
{
    return performSelectorWithObject(self, selector, argument);
}

void performSelectorAfterDelayMethod(id self, SEL, SEL selector, id argument, double delay)
{
    performSelectorAfterDelay(self, selector, argument, delay);
}

} // namespace

Id performSelectorWithObject(id target, SEL selector, id argument)
{
    if (!target || !selector)
        return nullptr;
    Method method = lookupMethod(target->isa(), selector);
    if (!method)
        objc_unrecognizedSelector(target, selector);
    std::string types = typesOnly(method_getTypeEncoding(method));
    if (types == "v@:@")
        msgSend<void>(target, selector, argument);
    else if (types == "v@:")
        msgSend<void>(target, selector);
    else if (types == "@@:@")
        return msgSend<Id>(target, selector, argument);
    else if (types == "@@:")
        return msgSend<Id>(target, selector);
    return nullptr;
}

void performSelectorAfterDelay(id target, SEL selector, id argument, double delay)
{
    if (!target || !selector)
        return;
    static std::atomic<uint64_t> nextId { 1 };
    uint64_t id = nextId++;
    auto& loop = NSRunLoop::mainRunLoop();
    // Held across scheduling so the request is listed before its work can run on the main thread.
    std::lock_guard lock(pendingMutex());
    auto token = loop.performAfter(delay, [id, target = Id(target), selector, argument = Id(argument)] {
        // Cancelled from another thread after the run loop took it: nothing to send.
        if (!forgetRequest(id))
            return;
        performSelectorWithObject(target.get(), selector, argument.get());
    });
    pendingRequests().push_back({ id, token, target, selector, argument });
}

void cancelPreviousPerformRequestsWithTarget(id target)
{
    if (!target)
        return;
    cancelMatching([&](const PendingRequest& request) { return request.target == target; });
}

void cancelPreviousPerformRequestsWithTarget(id target, SEL selector, id argument)
{
    if (!target)
        return;
    cancelMatching([&](const PendingRequest& request) {
        return request.target == target && request.selector == selector && request.argument == argument;
    });
}

void registerDelayedPerforming()
{
    Class cls = Object::classObject();
    class_addMethod(cls, sel_registerName("performSelector:withObject:"), &performSelectorWithObjectMethod);
    class_addMethod(cls, sel_registerName("performSelector:withObject:afterDelay:"), &performSelectorAfterDelayMethod);
}
