#include "platform/springboard/MediaControlsHeaderView.h"

#include "platform/uikit/UITraitCollection.h"

#include <algorithm>

namespace {

constexpr double margin = 12;
constexpr double artworkSide = 56;
constexpr double buttonSide = 32;

} // namespace

Class MediaControlsHeaderView::classObject()
{
    static Class cls = ClassBuilder<MediaControlsHeaderView>("MediaControlsHeaderView", UIView::classObject())
                           .method<&MediaControlsHeaderView::initWithFrameImpl>("initWithFrame:")
                           .method<&MediaControlsHeaderView::layoutSubviewsImpl>("layoutSubviews")
                           .method<&MediaControlsHeaderView::primaryString>("primaryString")
                           .method<&MediaControlsHeaderView::setPrimaryStringImpl>("setPrimaryString:")
                           .method<&MediaControlsHeaderView::secondaryString>("secondaryString")
                           .method<&MediaControlsHeaderView::setSecondaryStringImpl>("setSecondaryString:")
                           .method<&MediaControlsHeaderView::artworkView>("artworkView")
                           .method<&MediaControlsHeaderView::routeLabel>("routeLabel")
                           .method<&MediaControlsHeaderView::routingButton>("routingButton")
                           .ivar<&MediaControlsHeaderView::m_artworkView>("_artworkView")
                           .ivar<&MediaControlsHeaderView::m_primaryLabel>("_primaryLabel")
                           .ivar<&MediaControlsHeaderView::m_secondaryLabel>("_secondaryLabel")
                           .ivar<&MediaControlsHeaderView::m_routeLabel>("_routeLabel")
                           .ivar<&MediaControlsHeaderView::m_routingButton>("_routingButton")
                           .build();
    return cls;
}

Id MediaControlsHeaderView::initWithFrameImpl(CGRect frame)
{
    Id self = msgSendSuper<Id>(this, classObject(), SELECTOR("initWithFrame:"), frame);
    if (!self)
        return nullptr;
    m_artworkView = UIImageView::create();
    m_artworkView->setContentMode(UIViewContentModeScaleAspectFill);
    m_artworkView->layer()->setCornerRadius(6);
    m_artworkView->setClipsToBounds(true);
    // The empty slot stays visible when there is no artwork.
    m_artworkView->setBackgroundColor(UIColor::colorWithWhite(0.6, 0.35).get());
    addSubview(m_artworkView.get());
    m_primaryLabel = UILabel::create();
    m_primaryLabel->setFont(UIFont::boldSystemFontOfSize(15).get());
    addSubview(m_primaryLabel.get());
    m_secondaryLabel = UILabel::create();
    m_secondaryLabel->setFont(UIFont::systemFontOfSize(14).get());
    addSubview(m_secondaryLabel.get());
    m_routeLabel = UILabel::create();
    m_routeLabel->setFont(UIFont::systemFontOfSize(11).get());
    m_routeLabel->setText(std::string_view("iPhone"));
    addSubview(m_routeLabel.get());
    m_routingButton = UIButton::create();
    m_routingButton->setTitle(NSString::string("\u25CE").get());
    addSubview(m_routingButton.get());
    return self;
}

RefPtr<NSString> MediaControlsHeaderView::primaryString() const { return m_primaryLabel->text(); }

RefPtr<NSString> MediaControlsHeaderView::secondaryString() const { return m_secondaryLabel->text(); }

void MediaControlsHeaderView::setPrimaryStringImpl(RefPtr<NSString> text)
{
    m_primaryLabel->setText(text.get());
    setNeedsLayout();
}

void MediaControlsHeaderView::setSecondaryStringImpl(RefPtr<NSString> text)
{
    m_secondaryLabel->setText(text.get());
    setNeedsLayout();
}

void MediaControlsHeaderView::layoutSubviewsImpl()
{
    CGRect bounds = this->bounds();
    m_artworkView->setFrame(CGRectMake(margin, (bounds.size.height - artworkSide) / 2, artworkSide, artworkSide));
    double textX = margin + artworkSide + margin;
    double textWidth = std::max(0.0, bounds.size.width - textX - buttonSide - 2 * margin);
    m_primaryLabel->setFrame(CGRectMake(textX, 8, textWidth, 20));
    m_secondaryLabel->setFrame(CGRectMake(textX, 28, textWidth, 18));
    m_routeLabel->setFrame(CGRectMake(textX, 48, textWidth, 14));
    m_routingButton->setFrame(CGRectMake(bounds.size.width - margin - buttonSide, (bounds.size.height - buttonSide) / 2, buttonSide, buttonSide));

    bool dark = effectiveUserInterfaceStyle() == UIUserInterfaceStyleDark;
    m_primaryLabel->setTextColor(dark ? UIColor::whiteColor().get() : UIColor::blackColor().get());
    auto secondary = UIColor::colorWithWhite(dark ? 0.75 : 0.35, 1);
    m_secondaryLabel->setTextColor(secondary.get());
    m_routeLabel->setTextColor(secondary.get());
    m_routingButton->setTitleColor(dark ? UIColor::whiteColor().get() : UIColor::blackColor().get());
}
