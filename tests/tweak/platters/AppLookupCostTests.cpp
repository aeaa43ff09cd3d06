// Notifications from sections no installed app declares, in the home screen with Tintwell:
// every platter, header and mode asks for the app's icon, so a miss must not send the app
// index back to every Info.plist.
#include "PlatterTestSupport.h"

#include "platform/foundation/PropertyList.h"
#include "platform/springboard/AppIndex.h"

#include <chrono>
#include <fstream>
#include <thread>

using namespace platters;

namespace {

constexpr const char* music = "com.apple.Music";
constexpr const char* mail = "com.apple.mobilemail";
constexpr const char* lantern = "com.example.lantern";

RefPtr<UIColor> stockColour(const std::string& bundleID) { return colourForMode(stockIcon(bundleID).get(), 0, bundleID); }

bool sameColour(const UIColor* a, const UIColor* b) { return a && b && a->isEqual(const_cast<UIColor*>(b)); }

size_t sampleAppFolders() { return SampleDevice::apps().size(); }

// File times tick more coarsely than the clock; past this the index trusts what it saw, so
// the counts below are exact.
void settle() { std::this_thread::sleep_for(std::chrono::milliseconds(50)); }

// Music's bundle under another folder name, its Info.plist declaring `identifier`.
void installMusicAs(const fs::path& root, const std::string& folder, const std::string& identifier)
{
    fs::create_directories(root / folder);
    fs::copy(root / "Applications/Music.app", root / folder, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    auto original = objectCast<NSDictionary>(PropertyList::readHostFile(root / "Applications/Music.app/Info.plist"));
    ASSERT_TRUE(original);
    auto info = NSMutableDictionary::dictionary();
    info->setObjectForStringKey(NSString::string(identifier).get(), "CFBundleIdentifier");
    info->setObjectForStringKey(original->objectForStringKey("CFBundleIcons").get(), "CFBundleIcons");
    // In place, as a careless installer would: only the file's size and time change.
    ASSERT_TRUE(PropertyList::writeHostFile(info.get(), root / folder / "Info.plist", PropertyList::Format::Binary, false));
}

void breakInfoPlist(const fs::path& root, const std::string& folder)
{
    std::ofstream(root / folder / "Info.plist", std::ios::binary | std::ios::trunc) << "bplist00\x01\x02 not a property list";
}

} // namespace

TEST(AppLookupCost, NotificationsFromUnknownSectionsScanTheAppsOnce)
{
    DeviceSetup setup { .prepare = [](const fs::path& root) {
        fs::create_directories(root / "Applications/Garbage.app");
        std::ofstream(root / "Applications/Garbage.app/Info.plist") << "<plist><dict><key>CFBundleIdentifier</key>";
        settle();
    } };
    inFreshHomeScreen(setup, [](TweakedHomeScreen& device) {
        auto& home = device.home();
        auto first = home.publishBulletin(music, "Music", "Now playing");
        std::vector<std::string> unknown;
        for (int index = 0; index < 20; ++index)
            unknown.push_back(home.publishBulletin("com.example.nobody" + std::to_string(index), "Nobody", "Who sent this?"));
        auto last = home.publishBulletin(mail, "Mail", "Inbox");

        auto statistics = AppIndex::statistics();
        EXPECT_EQ(statistics.scans, 1u);
        EXPECT_EQ(statistics.infoPlistReads, sampleAppFolders() + 1);
        EXPECT_EQ(statistics.unreadable, 1u);
        // Unknown sections take the generic icon's colour; the apps around them keep theirs.
        auto generic = stockColour("com.example.nobody");
        // Twenty-two groups do not fit on screen: each is looked at where the list shows it.
        auto platterOf = [&](const std::string& notification) {
            home.scrollToNotification(notification);
            return platterBackground(home, notification);
        };
        for (auto& notification : unknown)
            EXPECT_TRUE(tintedWith(platterOf(notification).get(), generic.get()));
        EXPECT_TRUE(tintedWith(platterOf(first).get(), stockColour(music).get()));
        EXPECT_TRUE(tintedWith(platterOf(last).get(), stockColour(mail).get()));
        EXPECT_FALSE(sameColour(stockColour(music).get(), generic.get()));
        EXPECT_EQ(AppIndex::statistics().scans, 1u);
    });
}

TEST(AppLookupCost, AppInstalledAfterAMissIsFoundAtOnce)
{
    inFreshHomeScreen({ .prepare = [](const fs::path&) { settle(); } }, [](TweakedHomeScreen& device) {
        auto& home = device.home();
        auto early = home.publishBulletin("com.example.late", "Late", "Before the app");
        auto generic = stockColour("com.example.unknown");
        EXPECT_TRUE(tintedWith(platterBackground(home, early).get(), generic.get()));
        ASSERT_EQ(AppIndex::statistics().scans, 1u);

        installMusicAs(device.root(), "var/containers/Bundle/Application/9D3B7C1E/Late.app", "com.example.late");
        EXPECT_TRUE(sameColour(stockColour("com.example.late").get(), stockColour(music).get()));
        EXPECT_EQ(AppIndex::statistics().scans, 2u);
        EXPECT_EQ(AppIndex::statistics().infoPlistReads, sampleAppFolders() + 1);
        // Its colour was decided at the first notification and stays for the process.
        auto later = home.publishBulletin("com.example.late", "Late", "After the app");
        EXPECT_TRUE(tintedWith(platterBackground(home, later).get(), generic.get()));
        auto other = home.publishBulletin(lantern, "Lantern", "Light on");
        EXPECT_TRUE(tintedWith(platterBackground(home, other).get(), stockColour(lantern).get()));
    });
}

TEST(AppLookupCost, UnreadableInfoPlistIsReadOnceUntilItChanges)
{
    DeviceSetup setup { .prepare = [](const fs::path& root) {
        installMusicAs(root, "Applications/Broken.app", "com.example.broken");
        breakInfoPlist(root, "Applications/Broken.app");
        settle();
    } };
    inFreshHomeScreen(setup, [](TweakedHomeScreen& device) {
        auto& home = device.home();
        auto generic = stockColour("com.example.unknown");
        for (int index = 0; index < 10; ++index) {
            auto notification = home.publishBulletin(index % 2 ? "com.example.broken" : "com.example.other" + std::to_string(index), "Broken", "Unreadable");
            EXPECT_TRUE(tintedWith(platterBackground(home, notification).get(), generic.get()));
        }
        EXPECT_EQ(AppIndex::statistics().infoPlistReads, sampleAppFolders() + 1);
        EXPECT_EQ(AppIndex::statistics().unreadable, 1u);

        installMusicAs(device.root(), "Applications/Broken.app", "com.example.broken");
        EXPECT_TRUE(sameColour(stockColour("com.example.broken").get(), stockColour(music).get()));
        EXPECT_EQ(AppIndex::statistics().infoPlistReads, sampleAppFolders() + 2);
        EXPECT_EQ(AppIndex::statistics().unreadable, 0u);
        auto mended = home.publishBulletin(mail, "Mail", "Still here");
        EXPECT_TRUE(tintedWith(platterBackground(home, mended).get(), stockColour(mail).get()));
    });
}
