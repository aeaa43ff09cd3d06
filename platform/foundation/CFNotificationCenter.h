#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

class NSString;
class NSDictionary;
class CFNotificationCenter;

using CFNotificationCenterRef = CFNotificationCenter*;
using CFStringRef = const NSString*;
using CFDictionaryRef = const NSDictionary*;
using CFNotificationCallback = void (*)(CFNotificationCenterRef center, void* observer, CFStringRef name, const void* object, CFDictionaryRef userInfo);
using CFNotificationSuspensionBehavior = long;
inline constexpr CFNotificationSuspensionBehavior CFNotificationSuspensionBehaviorDrop = 1;
inline constexpr CFNotificationSuspensionBehavior CFNotificationSuspensionBehaviorCoalesce = 2;
inline constexpr CFNotificationSuspensionBehavior CFNotificationSuspensionBehaviorHold = 3;
inline constexpr CFNotificationSuspensionBehavior CFNotificationSuspensionBehaviorDeliverImmediately = 4;

// The system-wide (Darwin) notify centre. A post reaches every process of the device that
// observes the name, this one included: each observing process binds one UNIX datagram
// socket in "<device root>/private/var/run/notify/", a post sends the bare name to every
// live socket there (removing those of dead processes), and each process hands what it
// receives to its observers on its main run loop. Objects and user info do not travel.
class CFNotificationCenter {
public:
    static CFNotificationCenter& darwinNotifyCenter();

    // One observation per observer and name; adding it again replaces the callback.
    void addObserver(const void* observer, CFNotificationCallback, std::string_view name);
    // An empty name removes every name of the observer.
    void removeObserver(const void* observer, std::string_view name);
    size_t observationCount() const;

    // The name reaches observers only once their run loops service the notify socket.
    static void post(std::string_view name);

private:
    CFNotificationCenter() = default;
    ~CFNotificationCenter() = delete;

    struct Observation {
        uint64_t id;
        const void* observer;
        CFNotificationCallback callback;
        std::string name;
    };

    void ensureSocketLocked();
    void closeSocketLocked();
    void receive();
    void deliver(const std::string& name);
    static void unlinkOwnSocket();

    mutable std::mutex m_mutex;
    std::vector<Observation> m_observations;
    uint64_t m_nextId { 1 };
    int m_socket { -1 };
    int m_socketPid { 0 };
    std::string m_socketPath;
};

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter();
// A string that lives for the whole process, like the phone's constant strings.
CFStringRef CFSTR(const char* text);
void CFNotificationCenterAddObserver(CFNotificationCenterRef, const void* observer, CFNotificationCallback, CFStringRef name, const void* object, CFNotificationSuspensionBehavior);
// A nil name removes every observation of the observer.
void CFNotificationCenterRemoveObserver(CFNotificationCenterRef, const void* observer, CFStringRef name, const void* object);
void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef, const void* observer);
void CFNotificationCenterPostNotification(CFNotificationCenterRef, CFStringRef name, const void* object, CFDictionaryRef userInfo, bool deliverImmediately);

// The same post for tools and hosts that have no run loop of their own.
void postDarwinNotification(std::string_view name);
