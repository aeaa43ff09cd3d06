#include "platform/springboard/SBMediaController.h"

#include "platform/springboard/SBHomeScreen.h"

Class SBMediaController::classObject()
{
    static Class cls = ClassBuilder<SBMediaController>("SBMediaController", Object::classObject())
                           .method<&SBMediaController::isPlaying>("isPlaying")
                           .build();
    return cls;
}

RefPtr<SBMediaController> SBMediaController::create(SBHomeScreen& homeScreen)
{
    auto controller = make<SBMediaController>();
    controller->m_homeScreen = &homeScreen;
    return controller;
}

void SBMediaController::play(Track track, MediaControlsPanelViewController::Layout layout)
{
    if (m_panel && m_panel->layout() != layout) {
        if (m_playing)
            m_homeScreen->setMediaControlsView(nullptr);
        m_playing = false;
        m_panel = nullptr;
    }
    if (!m_panel)
        m_panel = MediaControlsPanelViewController::create(layout);
    bool wasPlaying = m_playing;
    m_playing = true;
    m_panel->setNowPlaying(track.title, track.artist, track.artwork.get());
    if (!wasPlaying)
        m_homeScreen->setMediaControlsView(m_panel->view());
    m_homeScreen->layoutNow();
}

void SBMediaController::changeTrack(Track track)
{
    if (!m_playing)
        return;
    m_panel->setNowPlaying(track.title, track.artist, track.artwork.get());
    m_homeScreen->layoutNow();
}

void SBMediaController::stop()
{
    if (!m_playing)
        return;
    m_playing = false;
    m_homeScreen->setMediaControlsView(nullptr);
    m_homeScreen->layoutNow();
}
