// A swiped cell's action buttons take their app's cached colour and rounded backgrounds.
#include "PlatterTestSupport.h"

using namespace platters;

namespace {

constexpr const char* music = "com.apple.Music";
constexpr const char* mail = "com.apple.mobilemail";

std::vector<RefPtr<NCNotificationListCellActionButton>> buttonsOf(SBHomeScreen& home, const std::string& identifier)
{
    std::vector<RefPtr<NCNotificationListCellActionButton>> buttons;
    auto cell = home.cellForNotification(identifier);
    auto row = cell ? cell->cellActionButtonsView() : nullptr;
    if (!row)
        return buttons;
    for (auto& view : row->buttonsStackView()->arrangedSubviewList())
        buttons.push_back(objectCast<NCNotificationListCellActionButton>(view));
    return buttons;
}

Id rowBundleID(SBHomeScreen& home, const std::string& identifier)
{
    return msgSend<Id>(home.cellForNotification(identifier)->cellActionButtonsView(), sel_registerName("bundleID"));
}

} // namespace

TEST(ActionButtons, BackgroundsTakeTheButtonsCornerRadiusOrThirteenAndTheAppsColour)
{
    inFreshHomeScreen([](TweakedHomeScreen& device) {
        auto& home = device.home();
        auto musicNote = home.publishBulletin(music, "Music", "Now playing");
        auto mailNote = home.publishBulletin(mail, "Mail", "Inbox");
        ASSERT_TRUE(home.swipeCell(musicNote));
        ASSERT_TRUE(home.swipeCell(mailNote));

        for (auto [identifier, app] : { std::pair { musicNote, music }, std::pair { mailNote, mail } }) {
            SCOPED_TRACE(app);
            auto buttons = buttonsOf(home, identifier);
            ASSERT_EQ(buttons.size(), 3u);
            auto colour = cachedNotificationColour(app);
            for (auto& button : buttons) {
                double radius = button->layer()->cornerRadius();
                EXPECT_EQ(button->backgroundView()->layer()->cornerRadius(), radius > 0 ? radius : 13.0) << "button radius " << radius;
                EXPECT_TRUE(tintedWith(button->backgroundView().get(), colour.get()));
            }
            RefPtr<NSString> bundleID = objectCast<NSString>(rowBundleID(home, identifier));
            ASSERT_TRUE(bundleID);
            EXPECT_EQ(bundleID->view(), app);
        }
        EXPECT_FALSE(cachedNotificationColour(music)->isEqual(cachedNotificationColour(mail).get()));
    });
}

TEST(ActionButtons, SwitchedOffRowsAreLeftAloneAndKeepNoApp)
{
    DeviceSetup setup { .preferences = boolEntry("ActionColor", false) };
    inFreshHomeScreen(setup, [](TweakedHomeScreen& device) {
        auto& home = device.home();
        auto notification = home.publishBulletin(music, "Music", "Now playing");
        ASSERT_TRUE(home.swipeCell(notification));
        auto buttons = buttonsOf(home, notification);
        ASSERT_FALSE(buttons.empty());
        for (auto& button : buttons) {
            EXPECT_EQ(button->backgroundView()->layer()->cornerRadius(), 0.0);
            EXPECT_TRUE(showsSystemMaterial(button->backgroundView().get()));
        }
        EXPECT_FALSE(rowBundleID(home, notification));

        // Switched on later, the row is painted with the app it never learnt: no colour.
        device.changePreferences(boolEntry("ActionColor", true));
        home.layoutNow();
        for (auto& button : buttons) {
            EXPECT_FALSE(button->backgroundView()->backgroundColor());
            EXPECT_EQ(button->backgroundView()->layer()->borderWidth(), 3.0);
        }
    });
}
