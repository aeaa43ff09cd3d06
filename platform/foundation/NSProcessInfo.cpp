#include "platform/foundation/NSProcessInfo.h"

#include "platform/foundation/NSString.h"

#include <cstdio>
#include <mutex>
#include <random>
#include <unistd.h>

Class NSProcessInfo::classObject()
{
    static Class cls = ClassBuilder<NSProcessInfo>("NSProcessInfo", Object::classObject())
                           .method<&NSProcessInfo::globallyUniqueString>("globallyUniqueString")
                           .build();
    return cls;
}

RefPtr<NSProcessInfo> NSProcessInfo::processInfo()
{
    static NSProcessInfo* info = make<NSProcessInfo>().leakRef();
    return info;
}

RefPtr<NSString> NSProcessInfo::globallyUniqueString() const
{
    static std::mutex mutex;
    static std::mt19937_64 generator;
    static pid_t seededFor = 0;
    uint64_t high;
    uint64_t low;
    {
        std::lock_guard lock(mutex);
        // A forked child must not repeat its parent's sequence.
        if (seededFor != ::getpid()) {
            seededFor = ::getpid();
            generator.seed(std::random_device {}() ^ (static_cast<uint64_t>(seededFor) << 32));
        }
        high = generator();
        low = generator();
    }
    // Version 4, RFC 4122 variant.
    high = (high & ~0xF000ull) | 0x4000ull;
    low = (low & ~(0xC000ull << 48)) | (0x8000ull << 48);
    char text[37];
    std::snprintf(text, sizeof text, "%08llX-%04llX-%04llX-%04llX-%012llX",
        static_cast<unsigned long long>(high >> 32), static_cast<unsigned long long>((high >> 16) & 0xFFFF),
        static_cast<unsigned long long>(high & 0xFFFF), static_cast<unsigned long long>(low >> 48),
        static_cast<unsigned long long>(low & 0xFFFFFFFFFFFFull));
    return NSString::string(text);
}

int NSProcessInfo::processIdentifier() const
{
    return static_cast<int>(::getpid());
}
