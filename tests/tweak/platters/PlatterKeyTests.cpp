// Whose colour a platter shows depends on where it sits: alone, in a list whose first
// notification decides, in another tweak's cell, or somewhere unknown.
#include "PlatterTestSupport.h"

#include "platform/springboard/BBBulletin.h"
#include "platform/springboard/NCNotificationListView.h"

using namespace platters;

namespace {

constexpr const char* music = "com.apple.Music";
constexpr const char* mail = "com.apple.mobilemail";

RefPtr<UIColor> stockColour(const std::string& bundleID) { return colourForMode(stockIcon(bundleID).get(), 0, bundleID); }

RefPtr<NCNotificationShortLookViewController> platterFor(const std::string& sectionID)
{
    static int serial = 0;
    auto bulletin = BBBulletin::create();
    bulletin->setSectionID(NSString::string(sectionID).get());
    bulletin->setBulletinID(NSString::string("placed-" + std::to_string(++serial)).get());
    auto request = NCNotificationRequest::notificationRequestForBulletin(bulletin.get());
    return NCNotificationShortLookViewController::createForRequest(request.get());
}

RefPtr<MTMaterialView> backgroundOf(const NCNotificationShortLookViewController* controller) { return controller->lookView()->backgroundView(); }

// The platter three levels down: third ancestor, second ancestor, parent, platter.
RefPtr<NCNotificationShortLookViewController> placeThreeDeep(SBHomeScreen& home, const std::string& sectionID, UIView* secondAncestor, long siblings)
{
    auto third = UIView::create(CGRectMake(0, 0, 390, 400));
    third->addSubview(secondAncestor);
    for (long index = 0; index < siblings; ++index)
        third->addSubview(UIView::create(CGRectMake(0, 0, 10, 10)).get());
    auto parent = UIView::create(CGRectMake(0, 0, 374, 120));
    secondAncestor->setFrame(CGRectMake(0, 0, 374, 120));
    secondAncestor->addSubview(parent.get());
    auto controller = platterFor(sectionID);
    controller->view()->setFrame(parent->bounds());
    parent->addSubview(controller->view().get());
    home.window()->addSubview(third.get());
    home.layoutNow();
    return controller;
}

Class miNotificationCellClass;

void registerMINotificationCell()
{
    miNotificationCellClass = objc_allocateClassPair(UIView::classObject(), "MINotificationCell");
    objc_registerClassPair(miNotificationCellClass);
}

} // namespace

TEST(PlatterKey, LoneNotificationAndBannerUseTheirOwnSection)
{
    inFreshHomeScreen([](TweakedHomeScreen& device) {
        auto& home = device.home();
        auto lone = home.publishBulletin(music, "Music", "Alone");
        ASSERT_LE(shortLook(home, lone)->view()->superview()->superview()->superview()->subviews()->count(), 2u);
        EXPECT_TRUE(tintedWith(platterBackground(home, lone).get(), stockColour(music).get()));

        home.publishBulletin(mail, "Mail", "Banner", SBHomeScreen::destinationBanner);
        auto presentable = home.bannerView();
        ASSERT_TRUE(presentable && presentable->subviews()->count() == 1);
        RefPtr<NCNotificationShortLookView> bannerPlatter = objectCast<NCNotificationShortLookView>(presentable->subviews()->firstObject());
        ASSERT_TRUE(bannerPlatter);
        EXPECT_TRUE(tintedWith(bannerPlatter->backgroundView().get(), stockColour(mail).get()));
    });
}

TEST(PlatterKey, PlatterInAnAppGroupTakesTheColourOfTheGroupsFirstNotification)
{
    inFreshHomeScreen([](TweakedHomeScreen& device) {
        auto& home = device.home();
        auto first = home.publishBulletin(music, "Music", "One");
        auto second = home.publishBulletin(music, "Music", "Two");
        ASSERT_GT(shortLook(home, second)->view()->superview()->superview()->superview()->subviews()->count(), 2u);
        EXPECT_TRUE(tintedWith(platterBackground(home, first).get(), stockColour(music).get()));
        EXPECT_TRUE(tintedWith(platterBackground(home, second).get(), stockColour(music).get()));
    });
}

TEST(PlatterKey, PlatterInAListOfSeveralAppsKeepsItsOwnAppsColour)
{
    inFreshHomeScreen([](TweakedHomeScreen& device) {
        auto& home = device.home();
        auto list = NCNotificationListView::create(CGRectMake(0, 0, 390, 600));
        std::vector<RefPtr<NCNotificationShortLookViewController>> platters;
        for (const char* section : { music, mail, mail }) {
            auto controller = platterFor(section);
            auto cell = NCNotificationListCell::create();
            cell->setContentViewController(controller.get());
            list->insertView(cell.get(), controller->notificationRequest()->notificationIdentifier().get(), list->count(), false);
            platters.push_back(controller);
        }
        home.window()->addSubview(list.get());
        home.layoutNow();
        // The list's first notification is Music's; the two Mail platters are still Mail's.
        EXPECT_TRUE(tintedWith(backgroundOf(platters[0].get()).get(), stockColour(music).get()));
        for (auto& platter : { platters[1], platters[2] })
            EXPECT_TRUE(tintedWith(backgroundOf(platter.get()).get(), stockColour(mail).get()));
        EXPECT_TRUE(cachedNotificationColour(mail));
    });
}

TEST(PlatterKey, PlatterInAnUnknownStructureIsLeftUnpainted)
{
    inFreshHomeScreen([](TweakedHomeScreen& device) {
        auto& home = device.home();
        auto controller = placeThreeDeep(home, music, UIView::create().get(), 2);
        EXPECT_TRUE(showsSystemMaterial(backgroundOf(controller.get()).get()));
        EXPECT_FALSE(cachedNotificationColour(music));

        // Two subviews of the third ancestor count as a lone platter.
        auto alone = placeThreeDeep(home, mail, UIView::create().get(), 1);
        EXPECT_TRUE(tintedWith(backgroundOf(alone.get()).get(), stockColour(mail).get()));
    });
}

TEST(PlatterKey, PlatterInAnotherTweaksCellUsesItsOwnSection)
{
    DeviceSetup setup { .beforeLoad = registerMINotificationCell };
    inFreshHomeScreen(setup, [](TweakedHomeScreen& device) {
        auto& home = device.home();
        auto cell = UIView::createWithClass(miNotificationCellClass);
        auto controller = placeThreeDeep(home, music, cell.get(), 2);
        EXPECT_TRUE(tintedWith(backgroundOf(controller.get()).get(), stockColour(music).get()));
    });
}

TEST(PlatterKey, ListsFirstNotificationFollowsInsertionsRemovalsAndWhatIsShown)
{
    inFreshHomeScreen([](TweakedHomeScreen& device) {
        auto& home = device.home();
        auto list = NCNotificationListView::create(CGRectMake(0, 0, 390, 600));
        home.window()->addSubview(list.get());
        auto firstApp = [&] {
            RefPtr<NSString> key = objectCast<NSString>(msgSend<Id>(list, SELECTOR("TWLbundleIdForFirstNotification")));
            return key ? key->utf8() : std::string("none");
        };
        std::vector<RefPtr<NCNotificationShortLookViewController>> platters;
        auto insert = [&](const char* section, unsigned long index) {
            auto controller = platterFor(section);
            auto cell = NCNotificationListCell::create();
            cell->setContentViewController(controller.get());
            list->insertView(cell.get(), controller->notificationRequest()->notificationIdentifier().get(), index, false);
            platters.push_back(controller);
            return cell;
        };

        EXPECT_EQ(firstApp(), "none");
        insert(music, 0);
        EXPECT_EQ(firstApp(), music);
        insert(mail, 0);
        EXPECT_EQ(firstApp(), mail) << "an insertion before the first view";
        list->removeViewAtIndex(0, false);
        EXPECT_EQ(firstApp(), music) << "the removal of the first view";
        // One view swapped for another: as many views as before, none hidden.
        list->removeViewAtIndex(0, false);
        insert(mail, 0);
        EXPECT_EQ(firstApp(), mail);
        list->removeViewAtIndex(0, false);
        insert(music, 0);
        EXPECT_EQ(firstApp(), music);

        // A grouped list shows its newest three: the oldest is no longer among the shown views.
        for (int index = 0; index < 3; ++index)
            insert(mail, list->count());
        list->setGrouped(true);
        list->layoutIfNeeded();
        EXPECT_EQ(firstApp(), mail);
        list->setGrouped(false);
        list->layoutIfNeeded();
        EXPECT_EQ(firstApp(), music);

        // Hidden by anyone, not only by the list's own layout.
        list->entries().front().view->setHidden(true);
        EXPECT_EQ(firstApp(), mail);
        list->entries().front().view->setHidden(false);
        EXPECT_EQ(firstApp(), music);
    });
}
