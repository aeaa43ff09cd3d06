#include "platform/springboard/NCNotificationListSectionRevealHintView.h"

#include "platform/uikit/UIFont.h"

Class NCNotificationListSectionRevealHintView::classObject()
{
    static Class cls = ClassBuilder<NCNotificationListSectionRevealHintView>("NCNotificationListSectionRevealHintView", UIView::classObject())
                           .method<&NCNotificationListSectionRevealHintView::initWithFrameImpl>("initWithFrame:")
                           .method<&NCNotificationListSectionRevealHintView::layoutSubviewsImpl>("layoutSubviews")
                           .method<&NCNotificationListSectionRevealHintView::layoutRevealHintTitleImpl>("_layoutRevealHintTitle")
                           .method<&NCNotificationListSectionRevealHintView::revealHintTitle>("revealHintTitle")
                           .ivar<&NCNotificationListSectionRevealHintView::m_revealHintTitle>("_revealHintTitle")
                           .build();
    return cls;
}

Id NCNotificationListSectionRevealHintView::initWithFrameImpl(CGRect frame)
{
    Id self = msgSendSuper<Id>(this, classObject(), SELECTOR("initWithFrame:"), frame);
    if (!self)
        return nullptr;
    m_revealHintTitle = UIView::create<SBUILegibilityLabel>();
    m_revealHintTitle->setFont(UIFont::systemFontOfSize(15).get());
    m_revealHintTitle->setTextColor(UIColor::colorWithWhite(0.4, 1).get());
    m_revealHintTitle->setTextAlignment(NSTextAlignmentNatural);
    m_revealHintTitle->setString(NSString::string(defaultHint).get());
    addSubview(m_revealHintTitle.get());
    return self;
}

void NCNotificationListSectionRevealHintView::layoutSubviewsImpl()
{
    msgSend<void>(this, SELECTOR("_layoutRevealHintTitle"));
}

void NCNotificationListSectionRevealHintView::layoutRevealHintTitleImpl()
{
    m_revealHintTitle->setFrame(CGRectMake(16, 12, std::max(0.0, bounds().size.width - 32), 20));
}
