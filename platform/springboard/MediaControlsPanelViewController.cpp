#include "platform/springboard/MediaControlsPanelViewController.h"

#include "platform/uikit/UITraitCollection.h"

#include <algorithm>

namespace {

constexpr double inset = 8;
constexpr double timeControlHeight = 36;
constexpr double transportHeight = 52;

RefPtr<UILabel> smallLabel(std::string_view text, long alignment)
{
    auto label = UILabel::create();
    label->setFont(UIFont::systemFontOfSize(11).get());
    label->setText(text);
    label->setTextAlignment(alignment);
    return label;
}

} // namespace

Class MediaControlsPanelViewController::classObject()
{
    static Class cls = ClassBuilder<MediaControlsPanelViewController>("MediaControlsPanelViewController", UIViewController::classObject())
                           .method<&MediaControlsPanelViewController::loadViewImpl>("loadView")
                           .method<&MediaControlsPanelViewController::viewDidLayoutSubviewsImpl>("viewDidLayoutSubviews")
                           .method<&MediaControlsPanelViewController::headerViewImpl>("headerView")
                           .ivar<&MediaControlsPanelViewController::m_backgroundMaterialView>("_backgroundMaterialView")
                           .ivar<&MediaControlsPanelViewController::m_transportMaterialView>("_transportMaterialView")
                           .ivar<&MediaControlsPanelViewController::m_contentView>("_contentView")
                           .ivar<&MediaControlsPanelViewController::m_containerView>("_containerView")
                           .ivar<&MediaControlsPanelViewController::m_stackView>("_stackView")
                           .ivar<&MediaControlsPanelViewController::m_headerContainerView>("_headerContainerView")
                           .ivar<&MediaControlsPanelViewController::m_headerView>("_headerView")
                           .ivar<&MediaControlsPanelViewController::m_timeControl>("_timeControl")
                           .ivar<&MediaControlsPanelViewController::m_transportStackView>("_transportStackView")
                           .build();
    return cls;
}

void MediaControlsPanelViewController::loadViewImpl()
{
    auto root = UIView::create(CGRectMake(0, 0, 0, height));
    m_backgroundMaterialView = MTMaterialView::create(MTMaterialView::RecipePlatter);
    root->addSubview(m_backgroundMaterialView.get());
    if (m_layout == Layout::SingleMaterial) {
        m_transportPlainView = UIView::create();
        m_transportPlainView->setBackgroundColor(UIColor::colorWithWhite(0.5, 0.25).get());
        m_transportPlainView->layer()->setCornerRadius(13);
        root->addSubview(m_transportPlainView.get());
    } else {
        m_transportMaterialView = MTMaterialView::create(MTMaterialView::RecipeControl);
        root->addSubview(m_transportMaterialView.get());
    }
    m_contentView = UIView::create();
    root->addSubview(m_contentView.get());
    m_containerView = UIView::create();
    m_contentView->addSubview(m_containerView.get());
    m_stackView = UIStackView::create();
    m_stackView->setAxis(UILayoutConstraintAxisVertical);
    m_containerView->addSubview(m_stackView.get());
    m_headerView = MediaControlsHeaderView::create();
    if (m_layout == Layout::Flat) {
        m_stackView->addArrangedSubview(m_headerView.get());
    } else {
        m_headerContainerView = UIView::create(CGRectMake(0, 0, 0, MediaControlsHeaderView::height));
        m_stackView->addArrangedSubview(m_headerContainerView.get());
        m_headerContainerView->addSubview(m_headerView.get());
    }
    m_timeControl = makeTimeControl();
    m_stackView->addArrangedSubview(m_timeControl.get());
    m_transportStackView = makeTransport();
    m_stackView->addArrangedSubview(m_transportStackView.get());
    setView(root.get());
}

RefPtr<UIView> MediaControlsPanelViewController::makeTimeControl()
{
    auto control = UIView::create(CGRectMake(0, 0, 0, timeControlHeight));
    auto track = UIView::create();
    track->layer()->setCornerRadius(2);
    control->addSubview(track.get());
    auto elapsed = UIView::create();
    elapsed->layer()->setCornerRadius(2);
    control->addSubview(elapsed.get());
    control->addSubview(smallLabel("0:00", NSTextAlignmentLeft).get());
    control->addSubview(smallLabel("-3:41", NSTextAlignmentRight).get());
    return control;
}

RefPtr<UIStackView> MediaControlsPanelViewController::makeTransport()
{
    auto transport = UIStackView::create(CGRectMake(0, 0, 0, transportHeight));
    transport->setDistribution(UIStackViewDistributionFillEqually);
    for (auto* glyph : { "\u25C0\u25C0", "\u275A\u275A", "\u25B6\u25B6" }) {
        auto button = UIButton::create();
        button->setTitle(NSString::string(glyph).get());
        transport->addArrangedSubview(button.get());
    }
    return transport;
}

RefPtr<MediaControlsHeaderView> MediaControlsPanelViewController::headerView()
{
    view();
    return m_headerView;
}

void MediaControlsPanelViewController::setNowPlaying(std::string_view title, std::string_view artist, UIImage* artwork)
{
    auto header = headerView();
    header->setPrimaryString(NSString::string(title).get());
    header->setSecondaryString(NSString::string(artist).get());
    header->artworkView()->setImage(artwork);
    header->setNeedsLayout();
}

void MediaControlsPanelViewController::viewDidLayoutSubviewsImpl()
{
    auto root = viewIfLoaded();
    if (!root)
        return;
    CGRect bounds = root->bounds();
    double width = bounds.size.width;
    m_backgroundMaterialView->setFrame(bounds);
    CGRect transportFrame = CGRectMake(inset, bounds.size.height - inset - transportHeight, std::max(0.0, width - 2 * inset), transportHeight);
    if (m_transportMaterialView)
        m_transportMaterialView->setFrame(transportFrame);
    if (m_transportPlainView)
        m_transportPlainView->setFrame(transportFrame);
    m_contentView->setFrame(bounds);
    CGRect inner = CGRectMake(inset, inset, std::max(0.0, width - 2 * inset), std::max(0.0, bounds.size.height - 2 * inset));
    m_containerView->setFrame(inner);
    m_stackView->setFrame(CGRectMake(0, 0, inner.size.width, inner.size.height));
    // The stack keeps each row's own height, so the rows are sized here.
    if (m_headerContainerView)
        m_headerContainerView->setFrame(CGRectMake(0, 0, inner.size.width, MediaControlsHeaderView::height));
    m_headerView->setFrame(CGRectMake(0, 0, inner.size.width, MediaControlsHeaderView::height));
    m_timeControl->setFrame(CGRectMake(0, 0, inner.size.width, timeControlHeight));
    m_transportStackView->setFrame(CGRectMake(0, 0, inner.size.width, transportHeight));

    bool dark = root->effectiveUserInterfaceStyle() == UIUserInterfaceStyleDark;
    auto ink = dark ? UIColor::whiteColor() : UIColor::blackColor();
    auto& parts = m_timeControl->subviewList();
    double barWidth = std::max(0.0, inner.size.width - 2 * 12);
    parts[0]->setFrame(CGRectMake(12, 8, barWidth, 4));
    parts[0]->setBackgroundColor(UIColor::colorWithWhite(dark ? 1 : 0, 0.2).get());
    parts[1]->setFrame(CGRectMake(12, 8, barWidth * 0.3, 4));
    parts[1]->setBackgroundColor(ink.get());
    parts[2]->setFrame(CGRectMake(12, 16, 60, 14));
    parts[3]->setFrame(CGRectMake(std::max(0.0, inner.size.width - 72), 16, 60, 14));
    for (size_t index : { 2, 3 })
        objectCast<UILabel>(parts[index])->setTextColor(UIColor::colorWithWhite(dark ? 0.75 : 0.35, 1).get());
    for (auto& button : m_transportStackView->arrangedSubviewList())
        objectCast<UIButton>(button)->setTitleColor(ink.get());
}
