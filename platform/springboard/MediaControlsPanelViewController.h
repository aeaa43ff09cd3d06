#pragma once

#include "platform/springboard/MTMaterialView.h"
#include "platform/springboard/MediaControlsHeaderView.h"
#include "platform/uikit/UIStackView.h"
#include "platform/uikit/UIViewController.h"

// The lock screen's media controls. Its root view holds, back to front, the two material
// backgrounds (the platter's and the transport strip's) and the content view; the header
// sits five levels below the root:
//   root > content view > container > stack > header container > MediaControlsHeaderView
// The stack also holds the time control and the transport buttons.
class MediaControlsPanelViewController : public UIViewController {
    TW_OBJECT(MediaControlsPanelViewController)
public:
    static constexpr double height = 176;

    // How the panel is built; system versions and places differ in what sits five levels
    // above the header.
    enum class Layout {
        // As above: the header's fifth ancestor is the root, holding two materials.
        LockScreen,
        // The transport strip is a plain view, not a material: the root holds one material
        // among its three subviews.
        SingleMaterial,
        // The header sits in the stack itself, without a header container: its fifth
        // ancestor is whatever holds the panel's root.
        Flat,
    };

    static RefPtr<MediaControlsPanelViewController> create(Layout layout = Layout::LockScreen)
    {
        auto panel = UIViewController::create<MediaControlsPanelViewController>();
        if (panel)
            panel->m_layout = layout;
        return panel;
    }
    Layout layout() const { return m_layout; }

    // Shows the track; a nil artwork shows none.
    void setNowPlaying(std::string_view title, std::string_view artist, UIImage* artwork);

    RefPtr<MediaControlsHeaderView> headerView();
    RefPtr<MTMaterialView> backgroundMaterialView() const { return m_backgroundMaterialView; }
    RefPtr<MTMaterialView> transportMaterialView() const { return m_transportMaterialView; }

protected:
    MediaControlsPanelViewController() = default;

private:
    void loadViewImpl();
    void viewDidLayoutSubviewsImpl();
    Id headerViewImpl() { return headerView(); }
    RefPtr<UIView> makeTimeControl();
    RefPtr<UIStackView> makeTransport();

    RefPtr<MTMaterialView> m_backgroundMaterialView;
    RefPtr<MTMaterialView> m_transportMaterialView;
    // In place of the transport material in the single-material layout.
    RefPtr<UIView> m_transportPlainView;
    Layout m_layout { Layout::LockScreen };
    RefPtr<UIView> m_contentView;
    RefPtr<UIView> m_containerView;
    RefPtr<UIStackView> m_stackView;
    RefPtr<UIView> m_headerContainerView;
    RefPtr<MediaControlsHeaderView> m_headerView;
    RefPtr<UIView> m_timeControl;
    RefPtr<UIStackView> m_transportStackView;
};
