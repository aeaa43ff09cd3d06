#include "tests/support/TemporaryDevice.h"

#include "platform/foundation/CFNotificationCenter.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/foundation/NSString.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Delivery {
    void* observer;
    std::string name;
    bool onMainThread;
};

std::vector<Delivery> s_deliveries;

void recordDelivery(CFNotificationCenterRef, void* observer, CFStringRef name, const void*, CFDictionaryRef)
{
    s_deliveries.push_back({ observer, name ? name->utf8() : "", NSRunLoop::isMainThread() });
}

int s_firstObserver;
int s_secondObserver;

class DarwinNotifyTest : public TemporaryDevice {
protected:
    void SetUp() override
    {
        TemporaryDevice::SetUp();
        NSRunLoop::mainRunLoop();
        s_deliveries.clear();
    }
    void TearDown() override
    {
        CFNotificationCenterRemoveEveryObserver(center(), &s_firstObserver);
        CFNotificationCenterRemoveEveryObserver(center(), &s_secondObserver);
        CFNotificationCenterRemoveEveryObserver(center(), nullptr);
        TemporaryDevice::TearDown();
    }

    static CFNotificationCenterRef center() { return CFNotificationCenterGetDarwinNotifyCenter(); }

    static void observe(void* observer, const char* name)
    {
        CFNotificationCenterAddObserver(center(), observer, &recordDelivery, CFSTR(name), nullptr, 0);
    }

    // Runs `child` in a forked process that exits without any clean-up of its own.
    static void inChildProcess(const std::function<void()>& child)
    {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            child();
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    static std::map<std::string, int> countsByName()
    {
        std::map<std::string, int> counts;
        for (auto& delivery : s_deliveries)
            ++counts[delivery.name];
        return counts;
    }

    size_t socketCount() const
    {
        std::error_code error;
        size_t count = 0;
        for (auto& entry : std::filesystem::directory_iterator(host("/private/var/run/notify"), error))
            count += entry.is_socket();
        return count;
    }
};

} // namespace

TEST_F(DarwinNotifyTest, PostFromAnotherProcessReachesOnlyTheObservedNameOnTheRunLoop)
{
    observe(nullptr, "com.tintwell.test/Observed");
    inChildProcess([] {
        postDarwinNotification("com.tintwell.test/Unobserved");
        postDarwinNotification("com.tintwell.test/Observed");
    });
    EXPECT_TRUE(s_deliveries.empty());

    EXPECT_TRUE(NSRunLoop::mainRunLoop().runUntil([] { return !s_deliveries.empty(); }, 30));
    NSRunLoop::mainRunLoop().runUntilIdle();
    ASSERT_EQ(s_deliveries.size(), 1u);
    EXPECT_EQ(s_deliveries[0].name, "com.tintwell.test/Observed");
    EXPECT_EQ(s_deliveries[0].observer, nullptr);
    EXPECT_TRUE(s_deliveries[0].onMainThread);
}

TEST_F(DarwinNotifyTest, EachObserverOfANameGetsExactlyOneCallbackPerPost)
{
    observe(&s_firstObserver, "com.tintwell.test/Shared");
    observe(&s_secondObserver, "com.tintwell.test/Shared");
    observe(&s_secondObserver, "com.tintwell.test/Shared");
    CFNotificationCenterPostNotification(center(), CFSTR("com.tintwell.test/Shared"), nullptr, nullptr, true);
    CFNotificationCenterPostNotification(center(), CFSTR("com.tintwell.test/Shared"), nullptr, nullptr, true);
    NSRunLoop::mainRunLoop().runUntilIdle();
    EXPECT_EQ(countsByName()["com.tintwell.test/Shared"], 4);

    s_deliveries.clear();
    CFNotificationCenterRemoveObserver(center(), &s_firstObserver, CFSTR("com.tintwell.test/Shared"), nullptr);
    postDarwinNotification("com.tintwell.test/Shared");
    NSRunLoop::mainRunLoop().runUntilIdle();
    ASSERT_EQ(s_deliveries.size(), 1u);
    EXPECT_EQ(s_deliveries[0].observer, &s_secondObserver);
}

TEST_F(DarwinNotifyTest, ObservationsInOneProcessShareASocketThatDeadProcessesDoNotLeaveBehind)
{
    observe(nullptr, "com.tintwell.test/Any");
    inChildProcess([] { observe(nullptr, "com.tintwell.test/Any"); });
    EXPECT_EQ(socketCount(), 2u);

    postDarwinNotification("com.tintwell.test/Any");
    EXPECT_EQ(socketCount(), 1u);
    NSRunLoop::mainRunLoop().runUntilIdle();
    EXPECT_EQ(s_deliveries.size(), 1u);
}

TEST_F(DarwinNotifyTest, DeepDeviceRootsStillCarryNotifications)
{
    auto deep = m_root / std::string(120, 'd');
    std::filesystem::create_directories(deep);
    DeviceRoot::set(deep);
    observe(nullptr, "com.tintwell.test/Deep");
    inChildProcess([] { postDarwinNotification("com.tintwell.test/Deep"); });
    EXPECT_TRUE(NSRunLoop::mainRunLoop().runUntil([] { return !s_deliveries.empty(); }, 30));
    EXPECT_EQ(s_deliveries.size(), 1u);
}

TEST_F(DarwinNotifyTest, UnusableNamesAndCentresDoNothing)
{
    observe(nullptr, "com.tintwell.test/Real");
    CFNotificationCenterAddObserver(center(), nullptr, &recordDelivery, nullptr, nullptr, 0);
    CFNotificationCenterAddObserver(center(), nullptr, nullptr, CFSTR("com.tintwell.test/NoCallback"), nullptr, 0);
    CFNotificationCenterAddObserver(nullptr, nullptr, &recordDelivery, CFSTR("com.tintwell.test/NoCentre"), nullptr, 0);
    CFNotificationCenterRemoveObserver(center(), nullptr, CFSTR(""), nullptr);
    CFNotificationCenterPostNotification(center(), nullptr, nullptr, nullptr, true);
    CFNotificationCenterPostNotification(nullptr, CFSTR("com.tintwell.test/Real"), nullptr, nullptr, true);
    postDarwinNotification("");
    postDarwinNotification(std::string(100'000, 'x'));
    postDarwinNotification(std::string_view("com.tintwell.test/Real\0tail", 27));
    NSRunLoop::mainRunLoop().runUntilIdle();
    EXPECT_TRUE(s_deliveries.empty());
    EXPECT_EQ(CFNotificationCenterGetDarwinNotifyCenter()->observationCount(), 1u);
}
