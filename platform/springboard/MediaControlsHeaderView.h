#pragma once

#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"

// The header of the media controls: the artwork of what is playing, its title and artist,
// the route label naming where it plays and the routing button. The system lays it out with
// layoutSubviews through the runtime whenever the track changes or the screen is laid out.
class MediaControlsHeaderView : public UIView {
    TW_OBJECT(MediaControlsHeaderView)
public:
    static constexpr double height = 72;

    static RefPtr<MediaControlsHeaderView> create(CGRect frame = CGRectZero) { return UIView::create<MediaControlsHeaderView>(frame); }

    RefPtr<NSString> primaryString() const;
    void setPrimaryString(NSString* text) { msgSend<void>(this, SELECTOR("setPrimaryString:"), text); }
    RefPtr<NSString> secondaryString() const;
    void setSecondaryString(NSString* text) { msgSend<void>(this, SELECTOR("setSecondaryString:"), text); }

    // Its image is the artwork, nil when there is none.
    RefPtr<UIImageView> artworkView() const { return m_artworkView; }
    RefPtr<UILabel> routeLabel() const { return m_routeLabel; }
    RefPtr<UIButton> routingButton() const { return m_routingButton; }

protected:
    MediaControlsHeaderView() = default;

private:
    Id initWithFrameImpl(CGRect frame);
    void layoutSubviewsImpl();
    void setPrimaryStringImpl(RefPtr<NSString> text);
    void setSecondaryStringImpl(RefPtr<NSString> text);

    RefPtr<UIImageView> m_artworkView;
    RefPtr<UILabel> m_primaryLabel;
    RefPtr<UILabel> m_secondaryLabel;
    RefPtr<UILabel> m_routeLabel;
    RefPtr<UIButton> m_routingButton;
};
