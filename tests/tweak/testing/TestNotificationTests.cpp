// The test requests inside the simulated home screen with the real Tintwell.dylib: what
// reaches the bulletin server, when, and what the list and the banner then show.
#include "TestNotificationSupport.h"

#include "platform/foundation/NSRunLoop.h"
#include "platform/graphics/UIColor.h"
#include "platform/springboard/BBAction.h"
#include "platform/springboard/NCNotificationListCell.h"
#include "platform/springboard/NCNotificationShortLookView.h"
#include "platform/springboard/NCNotificationShortLookViewController.h"
#include "platform/springboard/SBLockScreenManager.h"
#include "platform/uikit/CALayer.h"
#include "platform/uikit/UIWindow.h"

#include <set>

namespace {

using namespace testnotifications;

constexpr const char* withDestinations = "publishBulletin:destinations:";
constexpr const char* withLockScreen = "publishBulletin:destinations:alwaysToLockScreen:";
constexpr int64_t oneSecond = 1'000'000'000;
constexpr int64_t oneMillisecond = 1'000'000;

class TestNotifications : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_device = new TweakDevice; }
    static void TearDownTestSuite() { delete std::exchange(s_device, nullptr); }
    void SetUp() override { ASSERT_TRUE(s_device->ready()); }

    static const TweakDevice& device() { return *s_device; }

    // Posts from another process, as the settings page does, and serves the notify socket
    // until the request has done its immediate part.
    static void postFromAnotherProcess(const char* name, const std::function<bool()>& done)
    {
        ASSERT_EQ(runProgram({ TINTWELL_NOTIFY_EXECUTABLE, "--root", device().root().string(), name }), 0);
        ASSERT_TRUE(NSRunLoop::mainRunLoop().runUntil(done, 30)) << name << " never arrived";
    }

private:
    static inline TweakDevice* s_device = nullptr;
};

std::string sampleSection(size_t index)
{
    return index < 13 ? "com.apple.MobileSMS" : index == 13 ? "com.apple.Music" : "com.apple.AppStore";
}

RefPtr<MTMaterialView> platterBackground(const NCNotificationShortLookViewController* controller)
{
    auto look = controller ? controller->lookView() : nullptr;
    return look ? look->backgroundView() : nullptr;
}

RefPtr<MTMaterialView> listedPlatterBackground(SBHomeScreen& home, const std::string& identifier)
{
    auto cell = home.cellForNotification(identifier);
    return platterBackground(cell ? cell->contentViewController().get() : nullptr);
}

// The extension's default style: a 3-point outline and a 70 % fill in the app's colour,
// where the system's material is white at 78 % without an outline.
void expectTinted(const UIView* background, const std::string& what)
{
    ASSERT_TRUE(background) << what;
    auto colour = background->backgroundColor();
    ASSERT_TRUE(colour) << what;
    EXPECT_DOUBLE_EQ(colour->alpha(), 0.7) << what;
    EXPECT_EQ(background->layer()->borderWidth(), 3) << what;
}

bool sameColour(const UIView* a, const UIView* b)
{
    auto first = a ? a->backgroundColor() : nullptr;
    auto second = b ? b->backgroundColor() : nullptr;
    return first && second && first->isEqual(second.get());
}

TEST_F(TestNotifications, RequestFromAnotherProcessLocksThenPublishesFifteenOneSecondLater)
{
    inForkedProcess([] {
        Phone phone(device());
        ASSERT_TRUE(phone.tweakLoaded());
        SBHomeScreen home;
        Recorder::shared().setServerQueue(home.serverQueue());

        postFromAnotherProcess(testNotificationsName, [] { return !Recorder::shared().locks().empty(); });

        auto locks = Recorder::shared().locks();
        ASSERT_EQ(locks.size(), 1u);
        EXPECT_EQ(locks[0].source, 1);
        EXPECT_FALSE(locks[0].withOptions);
        EXPECT_TRUE(home.isLocked());
        EXPECT_TRUE(Recorder::shared().publishes().empty()) << "published before the delay";

        // A millisecond short of the second, nothing; the second itself, everything.
        int64_t due = locks[0].uptime + oneSecond;
        NSRunLoop::mainRunLoop().advanceBy(double(due - oneMillisecond - HostClock::uptimeNanoseconds()) / 1e9);
        EXPECT_TRUE(Recorder::shared().publishes().empty()) << "published before one second had passed";
        home.advanceTime(0.05);

        auto publishes = Recorder::shared().publishes();
        ASSERT_EQ(publishes.size(), 15u);
        std::set<std::string> identifiers;
        double previousDate = 0;
        for (size_t index = 0; index < publishes.size(); ++index) {
            auto& publish = publishes[index];
            std::string which = "bulletin " + std::to_string(index + 1);
            EXPECT_EQ(publish.selector, withLockScreen) << which;
            EXPECT_EQ(publish.destinations, 4u) << which;
            EXPECT_TRUE(publish.alwaysToLockScreen) << which;
            EXPECT_EQ(publish.server, home.server().get()) << which;
            EXPECT_TRUE(publish.onServerQueue) << which;
            EXPECT_GE(publish.uptime, due) << which;

            auto& bulletin = publish.bulletin;
            ASSERT_TRUE(bulletin) << which;
            EXPECT_EQ(text(bulletin->title().get()), "Tintwell") << which;
            EXPECT_EQ(text(bulletin->message().get()), "Test notification " + std::to_string(index + 1) + "!");
            EXPECT_EQ(text(bulletin->sectionID().get()), sampleSection(index)) << which;
            for (auto& identifier : { bulletin->bulletinID(), bulletin->recordID(), bulletin->publisherBulletinID() }) {
                ASSERT_TRUE(identifier) << which;
                EXPECT_TRUE(identifiers.insert(identifier->utf8()).second) << which << ": " << identifier->utf8() << " used twice";
            }
            ASSERT_TRUE(bulletin->date()) << which;
            EXPECT_TRUE(bulletin->date()->isEqual(bulletin->publicationDate().get())) << which;
            EXPECT_TRUE(bulletin->date()->isEqual(bulletin->lastInterruptDate().get())) << which;
            EXPECT_GE(bulletin->date()->timeIntervalSinceReferenceDate(), previousDate) << which;
            previousDate = bulletin->date()->timeIntervalSinceReferenceDate();
            auto action = bulletin->defaultAction();
            ASSERT_TRUE(action) << which;
            EXPECT_EQ(text(action->launchBundleID().get()), sampleSection(index)) << which;
            EXPECT_FALSE(action->callblock()) << which;
            EXPECT_TRUE(bulletin->clearable()) << which;
            EXPECT_TRUE(bulletin->showsMessagePreview()) << which;
        }

        // The list holds them in publishing order, coloured by their apps' icons.
        std::vector<std::string> expected;
        for (auto& publish : publishes)
            expected.push_back(publish.bulletin->bulletinID()->utf8());
        EXPECT_EQ(home.notificationIdentifiers(), expected);
        // The thirteen messages are stacked: the front one, the newest, is on screen.
        auto messages = listedPlatterBackground(home, expected[12]);
        auto music = listedPlatterBackground(home, expected[13]);
        auto appStore = listedPlatterBackground(home, expected[14]);
        expectTinted(messages.get(), "Messages");
        expectTinted(music.get(), "Music");
        expectTinted(appStore.get(), "App Store");
        EXPECT_FALSE(sameColour(messages.get(), music.get()));
        EXPECT_FALSE(sameColour(messages.get(), appStore.get()));
        EXPECT_FALSE(sameColour(music.get(), appStore.get()));
        for (size_t index = 0; index < 12; ++index) {
            auto background = listedPlatterBackground(home, expected[index]);
            if (!background)
                continue;
            EXPECT_TRUE(sameColour(background.get(), messages.get())) << "message " << index + 1;
        }
        EXPECT_FALSE(home.bannerView());
    });
}

TEST_F(TestNotifications, BannerFromAnotherProcessPublishesAtOnceWithoutLocking)
{
    inForkedProcess([] {
        Phone phone(device());
        ASSERT_TRUE(phone.tweakLoaded());
        SBHomeScreen home;
        Recorder::shared().setServerQueue(home.serverQueue());

        postFromAnotherProcess(testBannerName, [] { return !Recorder::shared().publishes().empty(); });
        home.drainMainQueue();
        home.layoutNow();

        auto publishes = Recorder::shared().publishes();
        ASSERT_EQ(publishes.size(), 1u);
        EXPECT_EQ(publishes[0].selector, withDestinations);
        EXPECT_EQ(publishes[0].destinations, 15u);
        EXPECT_TRUE(publishes[0].onServerQueue);
        auto& bulletin = publishes[0].bulletin;
        ASSERT_TRUE(bulletin);
        EXPECT_EQ(text(bulletin->title().get()), "Tintwell");
        EXPECT_EQ(text(bulletin->message().get()), "Test banner!");
        EXPECT_EQ(text(bulletin->sectionID().get()), "com.apple.MobileSMS");
        EXPECT_TRUE(Recorder::shared().locks().empty());
        EXPECT_FALSE(home.isLocked());

        // Every destination: a banner at the top of the screen, and the lock screen's list.
        auto banner = home.bannerView();
        ASSERT_TRUE(banner);
        ASSERT_EQ(banner->subviewList().size(), 1u);
        auto platter = objectCast<NCNotificationShortLookView>(banner->subviewList()[0]);
        ASSERT_TRUE(platter);
        EXPECT_EQ(platter->window(), home.window());
        EXPECT_LT(platter->convertRectToView(platter->bounds(), nullptr).origin.y, 100);
        expectTinted(platter->backgroundView().get(), "banner");
        EXPECT_EQ(home.notificationIdentifiers(), std::vector<std::string> { bulletin->bulletinID()->utf8() });
        EXPECT_TRUE(sameColour(platter->backgroundView().get(), listedPlatterBackground(home, bulletin->bulletinID()->utf8()).get()));

        // Nothing waits on the clock.
        home.advanceTime(2);
        EXPECT_EQ(Recorder::shared().publishes().size(), 1u);
    });
}

// Servers that differ from the system's only in what they answer to respondsToSelector:.
bool denies(std::string_view denied, SEL asked)
{
    std::string_view name = sel_getName(asked);
    return denied == "both" ? name.starts_with("publishBulletin:") : name == denied;
}

template<const char* Denied>
bool respondsExcept(id self, SEL, SEL asked)
{
    return !denies(Denied, asked) && self->respondsToSelector(asked);
}

constexpr char denyLockScreenCall[] = "publishBulletin:destinations:alwaysToLockScreen:";
constexpr char denyDestinationsCall[] = "publishBulletin:destinations:";
constexpr char denyBoth[] = "both";

template<const char* Denied>
Class serverClass(const char* name)
{
    if (Class existing = objc_getClass(name))
        return existing;
    Class cls = objc_allocateClassPair(objc_getClass("BBServer"), name);
    class_addMethod(cls, sel_registerName("respondsToSelector:"), &respondsExcept<Denied>);
    objc_registerClassPair(cls);
    return cls;
}

struct Variant {
    Class serverClass;
    const char* bannerSelector;
    bool bannerAlways;
    const char* notificationSelector;
};

// Each request against a server of the class; answers what reached it.
std::vector<Publish> requestBoth(Class cls)
{
    SBHomeScreen home(cls);
    Recorder::shared().clear();
    callExported("TWLTestBanner");
    callExported("TWLTestNotifications");
    home.advanceTime(1.01);
    for (auto& publish : Recorder::shared().publishes())
        EXPECT_EQ(publish.server, home.server().get());
    home.unlock();
    return Recorder::shared().publishes();
}

TEST_F(TestNotifications, PublishCallFollowsWhatTheServerAnswers)
{
    inForkedProcess([] {
        Phone phone(device());
        ASSERT_TRUE(phone.tweakLoaded());

        auto both = requestBoth(nullptr);
        ASSERT_EQ(both.size(), 16u);
        EXPECT_EQ(both[0].selector, withDestinations);
        EXPECT_EQ(both[0].destinations, 15u);
        EXPECT_EQ(both[1].selector, withLockScreen);
        EXPECT_EQ(both[1].destinations, 4u);
        EXPECT_TRUE(both[1].alwaysToLockScreen);

        auto destinationsOnly = requestBoth(serverClass<denyLockScreenCall>("TWTDestinationsOnlyServer"));
        ASSERT_EQ(destinationsOnly.size(), 16u);
        for (auto& publish : destinationsOnly)
            EXPECT_EQ(publish.selector, withDestinations);
        EXPECT_EQ(destinationsOnly[0].destinations, 15u);
        EXPECT_EQ(destinationsOnly[1].destinations, 4u);
        EXPECT_EQ(destinationsOnly[15].destinations, 4u);

        auto lockScreenOnly = requestBoth(serverClass<denyDestinationsCall>("TWTLockScreenOnlyServer"));
        ASSERT_EQ(lockScreenOnly.size(), 16u);
        for (auto& publish : lockScreenOnly)
            EXPECT_EQ(publish.selector, withLockScreen);
        EXPECT_EQ(lockScreenOnly[0].destinations, 15u);
        EXPECT_FALSE(lockScreenOnly[0].alwaysToLockScreen);
        EXPECT_EQ(lockScreenOnly[1].destinations, 4u);
        EXPECT_TRUE(lockScreenOnly[1].alwaysToLockScreen);

        EXPECT_TRUE(requestBoth(serverClass<denyBoth>("TWTSilentServer")).empty());
    });
}

TEST_F(TestNotifications, ReplacedServerTakesTheRequestsAndTheOldOneGoes)
{
    inForkedProcess([] {
        Phone phone(device());
        ASSERT_TRUE(phone.tweakLoaded());
        // Before any server exists a request has nowhere to go.
        callExported("TWLTestBanner");
        EXPECT_TRUE(Recorder::shared().publishes().empty());

        WeakId firstServer;
        {
            SBHomeScreen first;
            firstServer = first.server().get();
            callExported("TWLTestBanner");
            ASSERT_EQ(Recorder::shared().publishes().size(), 1u);
            EXPECT_EQ(Recorder::shared().publishes()[0].server, first.server().get());
        }
        Recorder::shared().clear();

        SBHomeScreen second;
        // The capture of the second released the first; its dealloc must not forget the second.
        EXPECT_FALSE(firstServer.get());
        callExported("TWLTestBanner");
        auto publishes = Recorder::shared().publishes();
        ASSERT_EQ(publishes.size(), 1u);
        EXPECT_EQ(publishes[0].server, second.server().get());
        second.drainMainQueue();
        EXPECT_EQ(second.notificationIdentifiers().size(), 1u);
        EXPECT_TRUE(second.bannerView());
    });
}

TEST_F(TestNotifications, ManyRequestsInARowKeepTheirOrder)
{
    inForkedProcess([] {
        Phone phone(device());
        ASSERT_TRUE(phone.tweakLoaded());
        SBHomeScreen home;
        callExported("TWLTestNotifications");
        home.advanceTime(0.5);
        callExported("TWLTestNotifications");
        callExported("TWLTestBanner");
        home.advanceTime(1);

        // The banner at once, then each delayed set of fifteen as its second comes.
        auto publishes = Recorder::shared().publishes();
        ASSERT_EQ(publishes.size(), 31u);
        EXPECT_EQ(text(publishes[0].bulletin->message().get()), "Test banner!");
        for (size_t index = 1; index < publishes.size(); ++index)
            EXPECT_EQ(text(publishes[index].bulletin->message().get()), "Test notification " + std::to_string((index - 1) % 15 + 1) + "!");
        EXPECT_EQ(home.notificationIdentifiers().size(), 31u);
        EXPECT_EQ(Recorder::shared().locks().size(), 2u);
    });
}

} // namespace
