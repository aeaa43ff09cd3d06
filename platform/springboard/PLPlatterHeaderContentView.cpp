#include "platform/springboard/PLPlatterHeaderContentView.h"

#include "platform/graphics/UIImage.h"
#include "platform/uikit/UIFont.h"

#include <cmath>

namespace {

constexpr double margin = 12;
constexpr double iconSide = 20;
constexpr double dateWidth = 70;

} // namespace

Class PLPlatterHeaderContentView::classObject()
{
    static Class cls = ClassBuilder<PLPlatterHeaderContentView>("PLPlatterHeaderContentView", UIView::classObject())
                           .method<&PLPlatterHeaderContentView::initWithFrameImpl>("initWithFrame:")
                           .method<&PLPlatterHeaderContentView::title>("title")
                           .method<&PLPlatterHeaderContentView::setTitleImpl>("setTitle:")
                           .method<&PLPlatterHeaderContentView::icons>("icons")
                           .method<&PLPlatterHeaderContentView::setIconsImpl>("setIcons:")
                           .method<&PLPlatterHeaderContentView::date>("date")
                           .method<&PLPlatterHeaderContentView::setDateImpl>("setDate:")
                           .method<&PLPlatterHeaderContentView::layoutSubviewsImpl>("layoutSubviews")
                           .method<&PLPlatterHeaderContentView::layoutTitleLabelWithScaleImpl>("_layoutTitleLabelWithScale:")
                           .method<&PLPlatterHeaderContentView::layoutDateLabelWithScaleImpl>("_layoutDateLabelWithScale:")
                           .ivar<&PLPlatterHeaderContentView::m_iconImageView>("_iconImageView")
                           .ivar<&PLPlatterHeaderContentView::m_titleLabel>("_titleLabel")
                           .ivar<&PLPlatterHeaderContentView::m_dateLabel>("_dateLabel")
                           .ivar<&PLPlatterHeaderContentView::m_title>("_title")
                           .ivar<&PLPlatterHeaderContentView::m_icons>("_icons")
                           .ivar<&PLPlatterHeaderContentView::m_date>("_date")
                           .build();
    return cls;
}

Id PLPlatterHeaderContentView::initWithFrameImpl(CGRect frame)
{
    Id self = msgSendSuper<Id>(this, classObject(), SELECTOR("initWithFrame:"), frame);
    if (!self)
        return nullptr;
    m_iconImageView = UIImageView::create();
    m_iconImageView->setContentMode(UIViewContentModeScaleAspectFit);
    m_iconImageView->layer()->setCornerRadius(4.5);
    m_iconImageView->setClipsToBounds(true);
    addSubview(m_iconImageView.get());
    m_titleLabel = UILabel::create();
    m_titleLabel->setFont(UIFont::systemFontOfSize(13).get());
    m_titleLabel->setTextColor(UIColor::colorWithWhite(0.35, 1).get());
    addSubview(m_titleLabel.get());
    m_dateLabel = UILabel::create();
    m_dateLabel->setFont(UIFont::systemFontOfSize(13).get());
    m_dateLabel->setTextColor(UIColor::colorWithWhite(0.35, 1).get());
    m_dateLabel->setTextAlignment(NSTextAlignmentRight);
    addSubview(m_dateLabel.get());
    return self;
}

void PLPlatterHeaderContentView::setTitleImpl(RefPtr<NSString> title)
{
    m_title = std::move(title);
    m_titleLabel->setText(m_title.get());
    setNeedsLayout();
}

void PLPlatterHeaderContentView::setIconsImpl(RefPtr<NSArray> icons)
{
    m_icons = std::move(icons);
    auto first = m_icons ? objectCast<UIImage>(m_icons->firstObject()) : nullptr;
    m_iconImageView->setImage(first.get());
    setNeedsLayout();
}

void PLPlatterHeaderContentView::setDateImpl(RefPtr<NSDate> date)
{
    m_date = std::move(date);
    setNeedsLayout();
}

void PLPlatterHeaderContentView::layoutSubviewsImpl()
{
    // With no icon the title takes its place, as the phone draws an icon-less header.
    bool hasIcon = static_cast<bool>(m_iconImageView->image());
    m_iconImageView->setHidden(!hasIcon);
    m_iconImageView->setFrame(CGRectMake(margin, (height - iconSide) / 2, iconSide, iconSide));
    msgSend<void>(this, SELECTOR("_layoutTitleLabelWithScale:"), displayScale);
    msgSend<void>(this, SELECTOR("_layoutDateLabelWithScale:"), displayScale);
}

void PLPlatterHeaderContentView::layoutTitleLabelWithScaleImpl(double scale)
{
    double x = m_iconImageView->isHidden() ? margin : margin + iconSide + 8;
    double width = std::max(0.0, bounds().size.width - x - dateWidth - margin);
    // Snapped to whole pixels of the scale, as text is on the phone.
    double snappedWidth = scale > 0 ? std::floor(width * scale) / scale : width;
    m_titleLabel->setFrame(CGRectMake(x, (height - 18) / 2, snappedWidth, 18));
}

void PLPlatterHeaderContentView::layoutDateLabelWithScaleImpl(double)
{
    m_dateLabel->setText(relativeDateText(m_date.get()));
    m_dateLabel->setFrame(CGRectMake(std::max(0.0, bounds().size.width - dateWidth - margin), (height - 18) / 2, dateWidth, 18));
}

std::string PLPlatterHeaderContentView::relativeDateText(const NSDate* date)
{
    if (!date)
        return {};
    double age = NSDate::date()->timeIntervalSinceDate(date);
    if (!(age >= 60))
        return "now";
    if (age < 3600)
        return std::to_string(long(age / 60)) + "m ago";
    if (age < 86400)
        return std::to_string(long(age / 3600)) + "h ago";
    return std::to_string(long(age / 86400)) + "d ago";
}
