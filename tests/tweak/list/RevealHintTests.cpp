#include "TweakedHomeScreen.h"

#include "platform/springboard/NCNotificationStructuredListViewController.h"

using namespace tweaktest;

namespace {

RefPtr<SBUILegibilityLabel> revealedHint(Phone& phone)
{
    auto& home = phone.home();
    home.publishBulletin("com.apple.MobileSMS", "Anna", "Lunch?");
    home.revealHistory();
    home.layoutNow();
    auto hintView = home.listController()->revealHintView();
    return hintView ? hintView->revealHintTitle() : nullptr;
}

} // namespace

TEST(RevealHint, NoHintHidesItAndLeavesTheTextEvenWithACustomOne)
{
    TweakDevice device({ { "NoHint", true }, { "UseCustomHint", true }, { "CustomHint", std::string("All caught up") } });
    inForkedProcess([&] {
        Phone phone(device);
        auto hint = revealedHint(phone);
        ASSERT_TRUE(hint);
        EXPECT_TRUE(hint->isHidden());
        EXPECT_EQ(hint->string()->view(), NCNotificationListSectionRevealHintView::defaultHint);

        // Switching it off again does not bring the label back; only the system would.
        phone.changeSettings({ { "NoHint", false }, { "UseCustomHint", false } });
        phone.home().listController()->revealHintView()->setNeedsLayout();
        phone.home().layoutNow();
        EXPECT_TRUE(hint->isHidden());
    });
}

TEST(RevealHint, CustomHintReplacesTheTextCentred)
{
    TweakDevice device({ { "UseCustomHint", true }, { "CustomHint", std::string("All caught up") } });
    inForkedProcess([&] {
        Phone phone(device);
        auto hint = revealedHint(phone);
        ASSERT_TRUE(hint);
        EXPECT_FALSE(hint->isHidden());
        EXPECT_EQ(hint->string()->view(), "All caught up");
        EXPECT_EQ(hint->textAlignment(), NSTextAlignmentCenter);
    });
}

TEST(RevealHint, EmptyCustomHintShowsEmptyTextAndTheDefaultReadsNoOlderNotifications)
{
    TweakDevice device({ { "UseCustomHint", true }, { "CustomHint", std::string("") } });
    inForkedProcess([&] {
        Phone phone(device);
        auto hint = revealedHint(phone);
        ASSERT_TRUE(hint);
        EXPECT_FALSE(hint->isHidden());
        EXPECT_EQ(hint->string()->view(), "");

        // The stored value gone, the default takes over at the next layout.
        phone.changeSettings({ { "CustomHint", 0L } });
        phone.home().listController()->revealHintView()->setNeedsLayout();
        phone.home().layoutNow();
        EXPECT_EQ(hint->string()->view(), "No older notifications");
    });
}

TEST(RevealHint, BothSwitchesOffLeaveTheSystemsHint)
{
    TweakDevice device({ { "CustomHint", std::string("All caught up") } });
    inForkedProcess([&] {
        Phone phone(device);
        auto hint = revealedHint(phone);
        ASSERT_TRUE(hint);
        EXPECT_FALSE(hint->isHidden());
        EXPECT_EQ(hint->string()->view(), NCNotificationListSectionRevealHintView::defaultHint);
        EXPECT_EQ(hint->textAlignment(), NSTextAlignmentNatural);
    });
}
