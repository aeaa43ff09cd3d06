#include "outside/cephei/HBPreferences.h"

#include "platform/foundation/CFNotificationCenter.h"
#include "platform/foundation/CFPreferences.h"
#include "platform/foundation/NSNumber.h"

#include <cmath>
#include <limits>

namespace {

void reloadNotification(CFNotificationCenterRef, void* observer, CFStringRef, const void*, CFDictionaryRef)
{
    static_cast<HBPreferences*>(observer)->reloadPreferences();
}

NSInteger truncated(double value)
{
    if (std::isnan(value))
        return 0;
    // Saturate rather than overflow: a slider can store anything a real can hold.
    if (value >= static_cast<double>(std::numeric_limits<NSInteger>::max()))
        return std::numeric_limits<NSInteger>::max();
    if (value <= static_cast<double>(std::numeric_limits<NSInteger>::min()))
        return std::numeric_limits<NSInteger>::min();
    return static_cast<NSInteger>(value);
}

} // namespace

Class HBPreferences::classObject()
{
    static Class cls = ClassBuilder<HBPreferences>("HBPreferences", Object::classObject())
                           .method<&HBPreferences::initWithIdentifierImp>("initWithIdentifier:")
                           .method<&HBPreferences::registerBoolImp>("registerBool:default:forKey:")
                           .method<&HBPreferences::registerIntegerImp>("registerInteger:default:forKey:")
                           .method<&HBPreferences::registerObjectImp>("registerObject:default:forKey:")
                           .method<&HBPreferences::objectForKeyImp>("objectForKey:")
                           .method<&HBPreferences::boolForKeyImp>("boolForKey:")
                           .method<&HBPreferences::integerForKeyImp>("integerForKey:")
                           .method<&HBPreferences::dealloc>("dealloc")
                           .build();
    return cls;
}

RefPtr<HBPreferences> HBPreferences::preferencesForIdentifier(const NSString* identifier)
{
    auto preferences = class_createInstance(classObject());
    return msgSend<RefPtr<HBPreferences>>(preferences, SELECTOR("initWithIdentifier:"), identifier);
}

RefPtr<HBPreferences> HBPreferences::initWithIdentifier(const NSString* identifier)
{
    if (!identifier)
        return nullptr;
    {
        std::lock_guard lock(m_mutex);
        m_identifier = NSString::string(identifier->view());
        m_values = CFPreferences::copyDomain(identifier->view());
    }
    // Subscribing now puts this observer ahead of every later one for the same name.
    auto name = NSString::string(identifier->utf8() + "/ReloadPrefs");
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), this, &reloadNotification, name.get(), nullptr, 0);
    m_observing = true;
    return RefPtr<HBPreferences>(this);
}

void HBPreferences::dealloc()
{
    if (m_observing)
        CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetDarwinNotifyCenter(), this);
    msgSendSuper<void>(this, classObject(), SELECTOR("dealloc"));
}

NSInteger HBPreferences::integerFromValue(const Object* value)
{
    if (RefPtr<NSNumber> number = objectCast<NSNumber>(value)) {
        if (number->kind() == NSNumber::Kind::Real)
            return truncated(number->doubleValue());
        return number->integerValue();
    }
    if (RefPtr<NSString> text = objectCast<NSString>(value))
        return text->integerValue();
    return 0;
}

bool HBPreferences::boolFromValue(const Object* value)
{
    if (RefPtr<NSNumber> number = objectCast<NSNumber>(value)) {
        if (number->kind() == NSNumber::Kind::Real)
            return number->doubleValue() != 0 && !std::isnan(number->doubleValue());
        return number->integerValue() != 0;
    }
    if (RefPtr<NSString> text = objectCast<NSString>(value))
        return text->boolValue();
    return false;
}

void HBPreferences::bind(Binding binding)
{
    std::lock_guard lock(m_mutex);
    Id stored = m_values ? m_values->objectForKey(binding.key.get()) : nullptr;
    binding.assign(stored.get());
    m_bindings.push_back(std::move(binding));
}

void HBPreferences::registerBooldefaultforKey(bool* variable, bool defaultValue, const NSString* key)
{
    if (!variable || !key)
        return;
    bind({ NSString::string(key->view()), NSNumber::numberWithBool(defaultValue), [variable, defaultValue](const Object* stored) {
              *variable = stored ? boolFromValue(stored) : defaultValue;
          } });
}

void HBPreferences::registerIntegerdefaultforKey(NSInteger* variable, NSInteger defaultValue, const NSString* key)
{
    if (!variable || !key)
        return;
    bind({ NSString::string(key->view()), NSNumber::numberWithInteger(defaultValue), [variable, defaultValue](const Object* stored) {
              *variable = stored ? integerFromValue(stored) : defaultValue;
          } });
}

void HBPreferences::registerObjectdefaultforKey(RefPtr<NSString>* variable, const NSString* defaultValue, const NSString* key)
{
    if (!variable || !key)
        return;
    RefPtr<NSString> fallback;
    if (defaultValue)
        fallback = NSString::string(defaultValue->view());
    bind({ NSString::string(key->view()), fallback, [variable, fallback](const Object* stored) {
              // The phone hands any stored object on as a string and crashes its reader; keep the default instead.
              RefPtr<NSString> text = objectCast<NSString>(stored);
              *variable = text ? text : fallback;
          } });
}

Id HBPreferences::storedValue(const NSString* key) const
{
    return m_values && key ? m_values->objectForKey(key) : nullptr;
}

Id HBPreferences::defaultValue(const NSString* key) const
{
    if (!key)
        return nullptr;
    for (auto& binding : m_bindings) {
        if (binding.key->isEqualToString(key))
            return binding.defaultValue;
    }
    return nullptr;
}

Id HBPreferences::objectForKey(const NSString* key) const
{
    std::lock_guard lock(m_mutex);
    if (Id stored = storedValue(key))
        return stored;
    return defaultValue(key);
}

bool HBPreferences::boolForKey(const NSString* key) const { return boolFromValue(objectForKey(key).get()); }
NSInteger HBPreferences::integerForKey(const NSString* key) const { return integerFromValue(objectForKey(key).get()); }

void HBPreferences::reloadPreferences()
{
    std::lock_guard lock(m_mutex);
    if (!m_identifier)
        return;
    m_values = CFPreferences::copyDomain(m_identifier->view());
    for (auto& binding : m_bindings) {
        Id stored = storedValue(binding.key.get());
        binding.assign(stored.get());
    }
}

// A framework's classes are known by name as soon as it is loaded.
__attribute__((constructor)) static void registerPreferencesClass()
{
    HBPreferences::classObject();
}
