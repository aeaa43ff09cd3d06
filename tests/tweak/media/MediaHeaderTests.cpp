#include "tests/tweak/media/CompanionTestSupport.h"

namespace media {
namespace {

SBMediaController::Track track(const std::string& title, const std::string& artworkOf)
{
    return { title, "Artist", artworkOf.empty() ? nullptr : stockIcon(artworkOf) };
}

RefPtr<MediaControlsHeaderView> header(CompanionHomeScreen& screen) { return screen.media().panelViewController()->headerView(); }

RefPtr<UIColor> calcedColour(CompanionHomeScreen& screen) { return msgSend<RefPtr<UIColor>>(header(screen).get(), sel_registerName("calcedColor")); }

// Every material view around the controls carries the colour; the other subview does not.
void expectPanelPainted(CompanionHomeScreen& screen, const UIColor* colour)
{
    auto panel = screen.media().panelViewController();
    EXPECT_TRUE(filledWith(panel->backgroundMaterialView().get(), colour));
    EXPECT_TRUE(filledWith(panel->transportMaterialView().get(), colour));
}

TEST(MediaHeaderHiding, RoutingButtonAndLabelFollowTheirSwitchesWhateverEnabledMusicSays)
{
    for (bool music : { false, true }) {
        inCompanionHomeScreen(boolEntry("EnabledMusic", music) + boolEntry("NoMusicRouting", true) + boolEntry("NoMusicRoutingLabel", false), {},
            [&](CompanionHomeScreen& screen) {
                screen.media().play(track("One", "com.apple.Music"));
                screen.home().layoutNow();
                EXPECT_TRUE(header(screen)->routingButton()->isHidden()) << "EnabledMusic " << music;
                EXPECT_FALSE(header(screen)->routeLabel()->isHidden()) << "EnabledMusic " << music;
                auto panel = screen.media().panelViewController();
                EXPECT_EQ(showsSystemMaterial(panel->backgroundMaterialView().get()), !music);
            });
        inCompanionHomeScreen(boolEntry("EnabledMusic", music) + boolEntry("NoMusicRouting", false) + boolEntry("NoMusicRoutingLabel", true), {},
            [&](CompanionHomeScreen& screen) {
                screen.media().play(track("One", "com.apple.Music"));
                screen.home().layoutNow();
                EXPECT_FALSE(header(screen)->routingButton()->isHidden()) << "EnabledMusic " << music;
                EXPECT_TRUE(header(screen)->routeLabel()->isHidden()) << "EnabledMusic " << music;
            });
    }
}

TEST(MediaHeaderColour, ArtworkMergedColourPaintsExactlyTheMaterialViewsAndFollowsANewTrack)
{
    inCompanionHomeScreen(fullFill("Music"), {}, [](CompanionHomeScreen& screen) {
        screen.media().play(track("One", "com.apple.Music"));
        auto root = screen.media().panelViewController()->view();
        ASSERT_EQ(root->subviewList().size(), 3u);
        auto contentFill = root->subviewList()[2]->backgroundColor();
        screen.home().layoutNow();

        auto musicColour = mergedColourOf(stockIcon("com.apple.Music").get());
        ASSERT_TRUE(calcedColour(screen));
        EXPECT_TRUE(calcedColour(screen)->isEqual(musicColour.get()));
        expectPanelPainted(screen, musicColour.get());
        EXPECT_EQ(root->subviewList()[2]->backgroundColor(), contentFill) << "the content view is no material view";

        screen.media().changeTrack(track("Two", "com.apple.AppStore"));
        screen.home().layoutNow();
        auto storeColour = mergedColourOf(stockIcon("com.apple.AppStore").get());
        ASSERT_FALSE(storeColour->isEqual(musicColour.get()));
        expectPanelPainted(screen, storeColour.get());
    });
}

TEST(MediaHeaderColour, NoArtworkClearsTheColour)
{
    inCompanionHomeScreen(fullFill("Music"), {}, [](CompanionHomeScreen& screen) {
        screen.media().play(track("One", "com.apple.Music"));
        screen.home().layoutNow();
        ASSERT_TRUE(calcedColour(screen));
        screen.media().changeTrack(track("Radio", ""));
        screen.home().layoutNow();
        EXPECT_FALSE(calcedColour(screen));
        EXPECT_FALSE(screen.media().panelViewController()->backgroundMaterialView()->backgroundColor());
    });
}

TEST(MediaHeaderColour, CustomColourFromTheColoursFileOrWhite)
{
    inCompanionHomeScreen(fullFill("Music") + integerEntry("MusicColorCalc", 1), {}, [](CompanionHomeScreen& screen) {
        screen.media().play(track("One", "com.apple.Music"));
        screen.home().layoutNow();
        expectPanelPainted(screen, UIColor::whiteColor().get());

        // Read afresh on every pass.
        screen.writeColours(stringEntry("MusicCustomHEX", "#3366cc"));
        screen.home().layoutNow();
        expectPanelPainted(screen, colourFromText("#3366cc").get());
    });
}

} // namespace
} // namespace media
