#include "platform/springboard/NCNotificationListSectionHeaderView.h"

#include "platform/uikit/UIFont.h"

#include <algorithm>

namespace {

constexpr double clearButtonSide = 28;

} // namespace

Class NCNotificationListSectionHeaderView::classObject()
{
    static Class cls = ClassBuilder<NCNotificationListSectionHeaderView>("NCNotificationListSectionHeaderView", UIView::classObject())
                           .method<&NCNotificationListSectionHeaderView::initWithFrameImpl>("initWithFrame:")
                           .method<&NCNotificationListSectionHeaderView::deallocImpl>("dealloc")
                           .method<&NCNotificationListSectionHeaderView::titleImpl>("title")
                           .method<&NCNotificationListSectionHeaderView::setTitleImpl>("setTitle:")
                           .method<&NCNotificationListSectionHeaderView::layoutSubviewsImpl>("layoutSubviews")
                           .method<&NCNotificationListSectionHeaderView::layoutClearButtonImpl>("_layoutClearButton")
                           .method<&NCNotificationListSectionHeaderView::traitCollectionDidChangeImpl>("traitCollectionDidChange:")
                           .ivar<&NCNotificationListSectionHeaderView::m_titleLabel>("_titleLabel")
                           .ivar<&NCNotificationListSectionHeaderView::m_clearButton>("_clearButton")
                           .build();
    return cls;
}

Id NCNotificationListSectionHeaderView::initWithFrameImpl(CGRect frame)
{
    Id self = msgSendSuper<Id>(this, classObject(), SELECTOR("initWithFrame:"), frame);
    if (!self)
        return nullptr;
    m_titleLabel = UILabel::create();
    m_titleLabel->setFont(UIFont::boldSystemFontOfSize(20).get());
    addSubview(m_titleLabel.get());
    m_clearButton = NCToggleControl::create("\u00d7");
    addSubview(m_clearButton.get());
    return self;
}

void NCNotificationListSectionHeaderView::deallocImpl()
{
    msgSendSuper<void>(this, classObject(), SELECTOR("dealloc"));
}

void NCNotificationListSectionHeaderView::setTitleImpl(RefPtr<NSString> title)
{
    m_titleLabel->setText(title.get());
    setNeedsLayout();
}

void NCNotificationListSectionHeaderView::layoutSubviewsImpl()
{
    CGSize size = bounds().size;
    m_titleLabel->setFrame(CGRectMake(16, 0, std::max(0.0, size.width - 32 - clearButtonSide), size.height));
    msgSend<void>(this, SELECTOR("_layoutClearButton"));
}

void NCNotificationListSectionHeaderView::layoutClearButtonImpl()
{
    CGSize size = bounds().size;
    m_clearButton->setFrame(CGRectMake(std::max(0.0, size.width - 12 - clearButtonSide), (size.height - clearButtonSide) / 2, clearButtonSide, clearButtonSide));
}

void NCNotificationListSectionHeaderView::traitCollectionDidChangeImpl(UITraitCollection* previous)
{
    msgSendSuper<void>(this, classObject(), SELECTOR("traitCollectionDidChange:"), previous);
    bool dark = effectiveUserInterfaceStyle() == UIUserInterfaceStyleDark;
    m_titleLabel->setTextColor((dark ? UIColor::whiteColor() : UIColor::blackColor()).get());
}
