#include "tests/tweak/media/CompanionTestSupport.h"

#include "platform/springboard/NCNotificationShortLookViewController.h"

namespace media {
namespace {

struct CellCompanion {
    std::string library;
    std::string cellClass;
    std::string prefix;
};

const CellCompanion cellCompanions[] = { { "Axon", "AXNAppCell", "Axon" }, { "Grupi", "GRPAppCell", "Grupi" } };

TEST(CompanionInstallation, EachIsColouredOnlyWithItsSwitchAndItsFileAtLoad)
{
    for (auto& companion : cellCompanions) {
        for (bool coloring : { false, true }) {
            inCompanionHomeScreen(fullFill(companion.prefix) + integerEntry(companion.prefix + "ColorStyle", 0) + boolEntry(companion.prefix + "Coloring", coloring),
                { companion.library }, [&](CompanionHomeScreen& screen) {
                    auto cell = makeAppCell(companion.cellClass, "com.apple.Music", screen.home());
                    ASSERT_TRUE(cell) << companion.library << " registers its cell when loaded";
                    select(cell.get(), true);
                    auto expected = colourForMode(stockIcon("com.apple.Music").get(), 0, "com.apple.Music");
                    if (coloring)
                        EXPECT_TRUE(filledWith(cell.get(), expected.get())) << companion.library;
                    else
                        EXPECT_FALSE(cell->backgroundColor()) << companion.library << " coloured with its switch off";
                });
        }
    }
    // Without the files the classes never exist, whatever the switches say.
    inCompanionHomeScreen("", {}, [](CompanionHomeScreen&) {
        EXPECT_FALSE(objc_getClass("AXNAppCell"));
        EXPECT_FALSE(objc_getClass("GRPAppCell"));
        EXPECT_FALSE(objc_getClass("DaynContainer"));
    });
}

TEST(CompanionCells, ColourStylesTintAlwaysTintWhenSelectedOrClear)
{
    for (auto& companion : cellCompanions) {
        for (long style : { 0L, 1L, 2L }) {
            inCompanionHomeScreen(fullFill(companion.prefix) + integerEntry(companion.prefix + "ColorStyle", style), { companion.library },
                [&](CompanionHomeScreen& screen) {
                    auto cell = makeAppCell(companion.cellClass, "com.apple.MobileSMS", screen.home());
                    ASSERT_TRUE(cell);
                    auto expected = colourForMode(stockIcon("com.apple.MobileSMS").get(), 0, "com.apple.MobileSMS");
                    select(cell.get(), true);
                    if (style == 2)
                        EXPECT_TRUE(isCleared(cell.get())) << companion.library << " style 2, selected";
                    else
                        EXPECT_TRUE(filledWith(cell.get(), expected.get())) << companion.library << " style " << style << ", selected";
                    select(cell.get(), false);
                    if (style == 0)
                        EXPECT_TRUE(filledWith(cell.get(), expected.get())) << companion.library << " style 0, deselected";
                    else
                        EXPECT_TRUE(isCleared(cell.get())) << companion.library << " style " << style << ", deselected";
                });
        }
    }
}

TEST(CompanionCells, SpecialSectionsTakeTheCellIconOrTheAppStoreIcon)
{
    for (auto& companion : cellCompanions) {
        inCompanionHomeScreen(fullFill(companion.prefix) + integerEntry(companion.prefix + "ColorStyle", 0), { companion.library },
            [&](CompanionHomeScreen& screen) {
                auto appStore = mergedColourOf(stockIcon("com.apple.AppStore").get());
                for (std::string section : { "com.apple.donotdisturb", "com.apple.springboard.SBUserNotificationAlert" }) {
                    auto cell = makeAppCell(companion.cellClass, section, screen.home());
                    select(cell.get(), false);
                    EXPECT_TRUE(filledWith(cell.get(), appStore.get())) << companion.library << " " << section;
                }
                auto icon = stockIcon("com.apple.tips");
                auto screenTime = makeAppCell(companion.cellClass, "com.apple.ScreenTimeNotifications", screen.home());
                setCellIcon(screenTime.get(), icon.get());
                select(screenTime.get(), true);
                auto iconColour = mergedColourOf(icon.get());
                ASSERT_FALSE(iconColour->isEqual(appStore.get()));
                EXPECT_TRUE(filledWith(screenTime.get(), iconColour.get())) << companion.library;
            });
    }
}

TEST(CompanionCells, CellsWithoutAnIconFallBackToTheCustomColour)
{
    // Image mode 2 finds no image for an ordinary app.
    inCompanionHomeScreen(fullFill("Axon") + integerEntry("AxonColorStyle", 0) + integerEntry("NotifImageCalc", 2), { "Axon" },
        [](CompanionHomeScreen& screen) {
            screen.writeColours(stringEntry("NotifCustomHEX", "#cc3300"));
            auto cell = makeAppCell("AXNAppCell", "com.example.harbor", screen.home());
            select(cell.get(), true);
            EXPECT_TRUE(filledWith(cell.get(), colourFromText("#cc3300").get()));
        });
}

RefPtr<UIView> attachDayn(CompanionHomeScreen& screen, Object* delegate, UIView* platter)
{
    auto container = UIView::createWithClass(objc_getClass("DaynContainer"));
    if (!container)
        return nullptr;
    msgSend<void>(container.get(), sel_registerName("setDelegate:"), delegate);
    platter->addSubview(container.get());
    return container;
}

TEST(DaynContainer, KeyFromItsDelegateAndTheCacheSurvivesAModeChange)
{
    inCompanionHomeScreen(fullFill("Dayn"), { "Dayn" }, [](CompanionHomeScreen& screen) {
        auto first = screen.home().publishBulletin("com.apple.mobilemail", "Mail", "One");
        auto controller = shortLook(screen.home(), first);
        ASSERT_TRUE(controller);
        auto platter = controller->view();
        auto expected = colourForMode(stockIcon("com.apple.mobilemail").get(), 0, "com.apple.mobilemail");

        auto container = attachDayn(screen, controller.get(), platter.get());
        ASSERT_TRUE(container);
        EXPECT_TRUE(filledWith(container.get(), expected.get()));

        // No short-look delegate: no key, left untouched.
        auto stray = attachDayn(screen, platter.get(), platter.get());
        EXPECT_FALSE(stray->backgroundColor());

        screen.changePreferences(fullFill("Dayn") + integerEntry("DaynColorCalc", 2));
        auto second = screen.home().publishBulletin("com.apple.mobilemail", "Mail", "Two");
        auto secondController = shortLook(screen.home(), second);
        ASSERT_TRUE(secondController);
        auto later = attachDayn(screen, secondController.get(), secondController->view().get());
        EXPECT_TRUE(filledWith(later.get(), expected.get())) << "the cached colour stays";
        EXPECT_FALSE(colourForMode(stockIcon("com.apple.mobilemail").get(), 2, "com.apple.mobilemail")->isEqual(expected.get())) << "mode 2 must differ for the cache to show";

        auto other = screen.home().publishBulletin("com.apple.mobilecal", "Calendar", "Three");
        auto otherController = shortLook(screen.home(), other);
        ASSERT_TRUE(otherController);
        auto fresh = attachDayn(screen, otherController.get(), otherController->view().get());
        auto calendar = colourForMode(stockIcon("com.apple.mobilecal").get(), 2, "com.apple.mobilecal");
        EXPECT_TRUE(filledWith(fresh.get(), calendar.get())) << "an uncached app takes the new mode";
    });
}

TEST(DaynContainer, AnyNonZeroImageModeTakesTheSystemIcon)
{
    for (long imageMode : { 1L, 2L }) {
        inCompanionHomeScreen(fullFill("Dayn") + integerEntry("DaynImageCalc", imageMode), { "Dayn" }, [&](CompanionHomeScreen& screen) {
            auto identifier = screen.home().publishBulletin("com.apple.stocks", "Stocks", "Up");
            auto controller = shortLook(screen.home(), identifier);
            ASSERT_TRUE(controller);
            auto systemIcon = msgSendClass<RefPtr<UIImage>>(UIImage::classObject(), sel_registerName("_applicationIconImageForBundleIdentifier:format:scale:"),
                NSString::string("com.apple.stocks"), 1, 2.0);
            ASSERT_TRUE(systemIcon);
            EXPECT_FALSE(mergedColourOf(systemIcon.get())->isEqual(mergedColourOf(stockIcon("com.apple.stocks").get()).get())) << "the stock icon would pass too";
            auto container = attachDayn(screen, controller.get(), controller->view().get());
            EXPECT_TRUE(filledWith(container.get(), mergedColourOf(systemIcon.get()).get())) << "DaynImageCalc " << imageMode;
        });
    }
}

} // namespace
} // namespace media
