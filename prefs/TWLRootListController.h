#pragma once

#include "outside/cephei/HBRootListController.h"
#include "platform/foundation/rootless.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"

// Tintwell's root settings page: a tinted bar whose title swaps from the name to the
// icon once the banner header has scrolled away, a banner that stretches when pulled
// down, a confirmed restart and the two test requests to the running tweak.
// Registered: init, specifiers, viewDidLoad, viewWillAppear:, viewDidAppear:,
// viewWillDisappear:, scrollViewDidScroll:, tableView:cellForRowAtIndexPath:,
// testNotifications:, testBanner:, respring, cepheiRespring, respringUtil, and the
// accessors of respringButton, headerView, headerImageView, titleLabel, iconView.
class TWLRootListController : public HBRootListController {
    TW_OBJECT(TWLRootListController)
public:
    static constexpr const char* iconPath = ROOT_PATH("/Library/PreferenceBundles/TintwellPrefs.bundle/Icons/Notifs-icon@2x.png");
    static constexpr const char* bannerPath = ROOT_PATH("/Library/PreferenceBundles/TintwellPrefs.bundle/Icons/Notifs-Banner.png");
    static constexpr const char* sbreloadPath = ROOT_PATH("/usr/bin/sbreload");
    static constexpr double headerHeight = 200.0;

    RefPtr<UIBarButtonItem> respringButton() const { return m_respringButton; }
    RefPtr<UIView> headerView() const { return m_headerView; }
    RefPtr<UIImageView> headerImageView() const { return m_headerImageView; }
    RefPtr<UILabel> titleLabel() const { return m_titleLabel; }
    RefPtr<UIImageView> iconView() const { return m_iconView; }

protected:
    TWLRootListController() = default;

private:
    Id initImpl();
    Id specifiersImpl();
    void viewDidLoadImpl();
    void viewWillAppearImpl(bool animated);
    void viewDidAppearImpl(bool animated);
    void viewWillDisappearImpl(bool animated);
    void scrollViewDidScrollImpl(UIScrollView* scrollView);
    Id cellForRowImpl(UITableView* tableView, NSIndexPath* indexPath);
    void testNotificationsImpl(Object*);
    void testBannerImpl(Object*);
    void respringImpl();
    void cepheiRespringImpl();
    void respringUtilImpl();

    Id respringButtonImpl() const { return m_respringButton; }
    void setRespringButtonImpl(RefPtr<UIBarButtonItem> value) { m_respringButton = std::move(value); }
    Id headerViewImpl() const { return m_headerView; }
    void setHeaderViewImpl(RefPtr<UIView> value) { m_headerView = std::move(value); }
    Id headerImageViewImpl() const { return m_headerImageView; }
    void setHeaderImageViewImpl(RefPtr<UIImageView> value) { m_headerImageView = std::move(value); }
    Id titleLabelImpl() const { return m_titleLabel; }
    void setTitleLabelImpl(RefPtr<UILabel> value) { m_titleLabel = std::move(value); }
    Id iconViewImpl() const { return m_iconView; }
    void setIconViewImpl(RefPtr<UIImageView> value) { m_iconView = std::move(value); }

    void setOuterTitleColour(UIColor* colour);

    RefPtr<UIBarButtonItem> m_respringButton;
    RefPtr<UIView> m_headerView;
    RefPtr<UIImageView> m_headerImageView;
    RefPtr<UILabel> m_titleLabel;
    RefPtr<UIImageView> m_iconView;
};
