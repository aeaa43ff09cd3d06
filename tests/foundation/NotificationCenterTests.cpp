#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/NSRunLoop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class NotificationObserver : public Object {
    TW_OBJECT(NotificationObserver)
public:
    void update(NSNotification* notification)
    {
        received.push_back(notification);
        if (onUpdate)
            onUpdate();
    }
    void refresh() { ++refreshes; }
    void deallocImpl()
    {
        // The way system views unregister themselves on the way out.
        NSNotificationCenter::defaultCenter()->removeObserver(this, "Test-selfRemoving", nullptr);
        msgSendSuper<void>(this, classObject(), SELECTOR("dealloc"));
    }

    std::vector<RefPtr<NSNotification>> received;
    std::function<void()> onUpdate;
    int refreshes { 0 };

protected:
    NotificationObserver() = default;
};

Class NotificationObserver::classObject()
{
    static Class cls = ClassBuilder<NotificationObserver>("NotificationTestObserver", Object::classObject())
                           .method<&NotificationObserver::update>("update:")
                           .method<&NotificationObserver::refresh>("refresh")
                           .method<&NotificationObserver::deallocImpl>("dealloc")
                           .build();
    return cls;
}

class NotificationCenterTest : public ::testing::Test {
protected:
    void SetUp() override { NSRunLoop::mainRunLoop(); }
    static NSNotificationCenter* center() { return NSNotificationCenter::defaultCenter(); }
};

} // namespace

TEST_F(NotificationCenterTest, PostReachesEveryMatchingObserverBeforeItReturns)
{
    auto named = make<NotificationObserver>();
    auto anyName = make<NotificationObserver>();
    auto otherName = make<NotificationObserver>();
    auto onlyFromSender = make<NotificationObserver>();
    auto sender = make<NotificationObserver>();
    center()->addObserver(named.get(), SELECTOR("update:"), "Test-post", nullptr);
    center()->addObserver(anyName.get(), SELECTOR("update:"), static_cast<const NSString*>(nullptr), nullptr);
    center()->addObserver(otherName.get(), SELECTOR("update:"), "Test-other", nullptr);
    center()->addObserver(onlyFromSender.get(), SELECTOR("update:"), "Test-post", sender.get());

    auto info = NSDictionary::dictionaryWithPairs({ { NSString::string("key"), NSString::string("value") } });
    center()->postNotificationName("Test-post", nullptr, info.get());
    ASSERT_EQ(named->received.size(), 1u);
    EXPECT_EQ(named->received[0]->name()->utf8(), "Test-post");
    EXPECT_EQ(named->received[0]->object().get(), nullptr);
    EXPECT_EQ(named->received[0]->userInfo().get(), info.get());
    EXPECT_EQ(anyName->received.size(), 1u);
    EXPECT_TRUE(otherName->received.empty());
    EXPECT_TRUE(onlyFromSender->received.empty());

    center()->postNotificationName("Test-post", sender.get());
    EXPECT_EQ(named->received.size(), 2u);
    ASSERT_EQ(onlyFromSender->received.size(), 1u);
    EXPECT_EQ(onlyFromSender->received[0]->object().get(), sender.get());

    for (auto* observer : { named.get(), anyName.get(), otherName.get(), onlyFromSender.get() })
        center()->removeObserver(observer);
}

TEST_F(NotificationCenterTest, ObserverDestroyedWhileRegisteredIsNeverCalled)
{
    size_t before = center()->observerCount();
    auto survivor = make<NotificationObserver>();
    {
        auto doomed = make<NotificationObserver>();
        center()->addObserver(doomed.get(), SELECTOR("update:"), "Test-dead", nullptr);
    }
    center()->addObserver(survivor.get(), SELECTOR("update:"), "Test-dead", nullptr);
    center()->postNotificationName("Test-dead", nullptr);
    EXPECT_EQ(survivor->received.size(), 1u);
    EXPECT_EQ(center()->observerCount(), before + 1);
    center()->removeObserver(survivor.get());
    EXPECT_EQ(center()->observerCount(), before);
}

TEST_F(NotificationCenterTest, ObserverRemovedOrDestroyedByAnEarlierOneDuringAPostIsSkipped)
{
    auto first = make<NotificationObserver>();
    auto removed = make<NotificationObserver>();
    RefPtr<NotificationObserver> destroyed = make<NotificationObserver>();
    auto last = make<NotificationObserver>();
    first->onUpdate = [&] {
        center()->removeObserver(removed.get(), "Test-reentrant", nullptr);
        destroyed = nullptr;
    };
    for (auto* observer : { first.get(), removed.get(), destroyed.get(), last.get() })
        center()->addObserver(observer, SELECTOR("update:"), "Test-reentrant", nullptr);

    center()->postNotificationName("Test-reentrant", nullptr);
    EXPECT_EQ(first->received.size(), 1u);
    EXPECT_TRUE(removed->received.empty());
    EXPECT_EQ(last->received.size(), 1u);
    center()->removeObserver(first.get());
    center()->removeObserver(last.get());
}

TEST_F(NotificationCenterTest, RemovalIsNarrowedByNameAndObject)
{
    auto observer = make<NotificationObserver>();
    auto sender = make<NotificationObserver>();
    center()->addObserver(observer.get(), SELECTOR("update:"), "Test-a", nullptr);
    center()->addObserver(observer.get(), SELECTOR("update:"), "Test-b", sender.get());
    center()->addObserver(observer.get(), SELECTOR("refresh"), "Test-b", nullptr);

    center()->removeObserver(observer.get(), "Test-b", sender.get());
    center()->postNotificationName("Test-b", sender.get());
    EXPECT_TRUE(observer->received.empty());
    EXPECT_EQ(observer->refreshes, 1);

    center()->removeObserver(observer.get(), static_cast<const NSString*>(nullptr), nullptr);
    center()->postNotificationName("Test-a", nullptr);
    center()->postNotificationName("Test-b", nullptr);
    EXPECT_TRUE(observer->received.empty());
    EXPECT_EQ(observer->refreshes, 1);
}

TEST_F(NotificationCenterTest, ObserverMayUnregisterFromItsOwnDealloc)
{
    size_t before = center()->observerCount();
    RefPtr<NotificationObserver> observer = make<NotificationObserver>();
    center()->addObserver(observer.get(), SELECTOR("update:"), "Test-selfRemoving", nullptr);
    observer = nullptr;
    EXPECT_EQ(center()->observerCount(), before);
    center()->postNotificationName("Test-selfRemoving", nullptr);
}

TEST_F(NotificationCenterTest, TheRuntimeInterfaceTakesStringObjects)
{
    auto observer = make<NotificationObserver>();
    auto name = NSString::string("Test-runtime");
    Id centerObject(center());
    msgSend<void>(centerObject, SELECTOR("addObserver:selector:name:object:"), observer.get(), SELECTOR("update:"), name.get(), nullptr);
    msgSend<void>(centerObject, SELECTOR("postNotificationName:object:"), name.get(), nullptr);
    msgSend<void>(centerObject, SELECTOR("postNotificationName:object:"), nullptr, nullptr);
    EXPECT_EQ(observer->received.size(), 1u);
    msgSend<void>(centerObject, SELECTOR("removeObserver:name:object:"), observer.get(), name.get(), nullptr);
    msgSend<void>(centerObject, SELECTOR("postNotificationName:object:"), name.get(), nullptr);
    EXPECT_EQ(observer->received.size(), 1u);
}
