#include "platform/foundation/NSNotificationCenter.h"

#include "platform/foundation/NSObject+NSDelayedPerforming.h"

#include <algorithm>
#include <atomic>

struct NSNotificationCenter::Registration {
    // Identity for removal: a deallocating observer can no longer be loaded weakly.
    const Object* observerKey;
    WeakId observer;
    SEL selector;
    std::optional<std::string> name;
    const Object* objectKey;
    WeakId object;
    std::atomic<bool> active { true };

    bool matches(std::string_view postedName, const Object* postedObject) const
    {
        if (name && *name != postedName)
            return false;
        return !objectKey || objectKey == postedObject;
    }
};

namespace {

std::optional<std::string> nameOf(const NSString* name)
{
    if (!name)
        return std::nullopt;
    return name->utf8();
}

} // namespace

Class NSNotificationCenter::classObject()
{
    static Class cls = ClassBuilder<NSNotificationCenter>("NSNotificationCenter", Object::classObject())
                           .method<&NSNotificationCenter::addObserverImpl>("addObserver:selector:name:object:")
                           .method<&NSNotificationCenter::removeObserverImpl>("removeObserver:")
                           .method<&NSNotificationCenter::removeObserverNameObjectImpl>("removeObserver:name:object:")
                           .method<&NSNotificationCenter::postNotificationImpl>("postNotification:")
                           .method<&NSNotificationCenter::postNotificationNameImpl>("postNotificationName:object:")
                           .method<&NSNotificationCenter::postNotificationNameUserInfoImpl>("postNotificationName:object:userInfo:")
                           .classMethod<&NSNotificationCenter::defaultCenterImpl>("defaultCenter")
                           .build();
    return cls;
}

NSNotificationCenter* NSNotificationCenter::defaultCenter()
{
    static NSNotificationCenter* center = make<NSNotificationCenter>().leakRef();
    return center;
}

RefPtr<NSNotificationCenter> NSNotificationCenter::sendDefaultCenter()
{
    return msgSendClass<RefPtr<NSNotificationCenter>>(classObject(), SELECTOR("defaultCenter"));
}

void NSNotificationCenter::addObserver(id observer, SEL selector, const NSString* name, id object)
{
    add(observer, selector, nameOf(name), object);
}

void NSNotificationCenter::addObserver(id observer, SEL selector, std::string_view name, id object)
{
    add(observer, selector, std::string(name), object);
}

void NSNotificationCenter::add(id observer, SEL selector, std::optional<std::string> name, id object)
{
    if (!observer || !selector)
        return;
    auto registration = std::make_shared<Registration>();
    registration->observerKey = observer;
    registration->observer = observer;
    registration->selector = selector;
    registration->name = std::move(name);
    registration->objectKey = object;
    registration->object = object;
    std::lock_guard lock(m_mutex);
    m_registrations.push_back(std::move(registration));
}

void NSNotificationCenter::removeObserver(id observer)
{
    remove(observer, std::nullopt, nullptr);
}

void NSNotificationCenter::removeObserver(id observer, const NSString* name, id object)
{
    remove(observer, nameOf(name), object);
}

void NSNotificationCenter::removeObserver(id observer, std::string_view name, id object)
{
    remove(observer, std::string(name), object);
}

void NSNotificationCenter::remove(id observer, const std::optional<std::string>& name, id object)
{
    if (!observer)
        return;
    std::lock_guard lock(m_mutex);
    std::erase_if(m_registrations, [&](const std::shared_ptr<Registration>& registration) {
        if (registration->observerKey != observer)
            return false;
        if (name && registration->name != name)
            return false;
        if (object && registration->objectKey != object)
            return false;
        // A post already under way must skip it too.
        registration->active = false;
        return true;
    });
}

void NSNotificationCenter::postNotificationName(std::string_view name, id object, const NSDictionary* userInfo)
{
    postNotification(NSNotification::notificationWithName(name, object, userInfo).get());
}

void NSNotificationCenter::postNotificationName(const NSString* name, id object, const NSDictionary* userInfo)
{
    if (!name)
        return;
    postNotificationName(name->view(), object, userInfo);
}

void NSNotificationCenter::postNotification(NSNotification* notification)
{
    if (!notification)
        return;
    RefPtr<NSNotification> protect(notification);
    auto name = notification->name();
    std::string_view postedName = name ? name->view() : std::string_view {};
    Id postedObject = notification->object();

    // Declared before the lock so the references it drops are released after unlocking:
    // a release may dealloc an observer that unregisters itself.
    std::vector<Id> loaded;
    std::vector<std::shared_ptr<Registration>> matching;
    {
        std::lock_guard lock(m_mutex);
        std::erase_if(m_registrations, [&](const std::shared_ptr<Registration>& registration) {
            Id observer = registration->observer.get();
            Id object = registration->objectKey ? registration->object.get() : nullptr;
            bool dead = !observer || (registration->objectKey && !object);
            if (!observer)
                registration->active = false;
            loaded.push_back(std::move(observer));
            loaded.push_back(std::move(object));
            return dead;
        });
        for (auto& registration : m_registrations) {
            if (registration->matches(postedName, postedObject.get()))
                matching.push_back(registration);
        }
    }
    loaded.clear();

    for (auto& registration : matching) {
        if (!registration->active)
            continue;
        Id observer = registration->observer.get();
        if (!observer)
            continue;
        performSelectorWithObject(observer.get(), registration->selector, notification);
    }
}

size_t NSNotificationCenter::observerCount() const
{
    std::vector<Id> loaded;
    std::lock_guard lock(m_mutex);
    size_t count = 0;
    for (auto& registration : m_registrations) {
        Id observer = registration->observer.get();
        if (observer)
            ++count;
        loaded.push_back(std::move(observer));
    }
    return count;
}
