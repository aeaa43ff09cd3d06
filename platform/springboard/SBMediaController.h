#pragma once

#include "platform/springboard/MediaControlsPanelViewController.h"

#include <string>

class SBHomeScreen;

// What is playing, and the media controls that show it on the lock screen: playing installs
// the controls in the home screen's media slot, stopping takes them out.
class SBMediaController : public Object {
    TW_OBJECT(SBMediaController)
public:
    struct Track {
        std::string title;
        std::string artist;
        // Nil: no artwork.
        RefPtr<UIImage> artwork;
    };

    // The controls go into this home screen, which must outlive the controller.
    static RefPtr<SBMediaController> create(SBHomeScreen&);

    // Shows the track and installs the controls when they are not shown yet; controls of
    // another layout are replaced by new ones.
    void play(Track, MediaControlsPanelViewController::Layout = MediaControlsPanelViewController::Layout::LockScreen);
    // A track change with nothing playing is ignored, as no player is there to change.
    void changeTrack(Track);
    void stop();
    bool isPlaying() const { return m_playing; }

    // Made on first play; kept across stops so a later play reuses the same views.
    RefPtr<MediaControlsPanelViewController> panelViewController() const { return m_panel; }

protected:
    SBMediaController() = default;

private:
    SBHomeScreen* m_homeScreen { nullptr };
    RefPtr<MediaControlsPanelViewController> m_panel;
    bool m_playing { false };
};
