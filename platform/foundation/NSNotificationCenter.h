#pragma once

#include "platform/foundation/NSNotification.h"
#include "platform/runtime/WeakPtr.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The in-process notification centre. A post is synchronous: every matching observer
// gets its selector (with the NSNotification, or nothing for "v@:") on the posting thread
// before the post returns. Observers and filter objects are held weakly: a destroyed
// observer is never called, whether or not it unregistered.
//
// Runtime methods: addObserver:selector:name:object:, removeObserver:,
// removeObserver:name:object:, postNotification:, postNotificationName:object:,
// postNotificationName:object:userInfo: (names as NSString, nil meaning any); the class
// method +defaultCenter.
class NSNotificationCenter : public Object {
    TW_OBJECT(NSNotificationCenter)
public:
    static NSNotificationCenter* defaultCenter();
    // +[NSNotificationCenter defaultCenter] as a caller on the phone asks it: a send to the
    // class, so a replacement of the method runs.
    static RefPtr<NSNotificationCenter> sendDefaultCenter();

    // A nil name observes every name; a nil object observes every poster.
    void addObserver(id observer, SEL selector, const NSString* name, id object);
    void addObserver(id observer, SEL selector, std::string_view name, id object);
    void removeObserver(id observer);
    // Nil name or nil object widen the removal to every name or object.
    void removeObserver(id observer, const NSString* name, id object);
    void removeObserver(id observer, std::string_view name, id object);

    void postNotification(NSNotification*);
    void postNotificationName(std::string_view name, id object, const NSDictionary* userInfo = nullptr);
    void postNotificationName(const NSString* name, id object, const NSDictionary* userInfo = nullptr);

    // Registrations whose observer is still alive.
    size_t observerCount() const;

protected:
    NSNotificationCenter() = default;

private:
    struct Registration;

    void add(id observer, SEL, std::optional<std::string> name, id object);
    void remove(id observer, const std::optional<std::string>& name, id object);
    static RefPtr<NSNotificationCenter> defaultCenterImpl() { return defaultCenter(); }
    void postNotificationImpl(NSNotification* notification) { postNotification(notification); }
    void postNotificationNameImpl(NSString* name, id object) { postNotificationName(name, object); }
    void postNotificationNameUserInfoImpl(NSString* name, id object, NSDictionary* userInfo) { postNotificationName(name, object, userInfo); }
    void addObserverImpl(id observer, SEL selector, NSString* name, id object) { addObserver(observer, selector, name, object); }
    void removeObserverImpl(id observer) { removeObserver(observer); }
    void removeObserverNameObjectImpl(id observer, NSString* name, id object) { removeObserver(observer, name, object); }

    mutable std::mutex m_mutex;
    std::vector<std::shared_ptr<Registration>> m_registrations;
};
