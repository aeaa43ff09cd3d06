#include "platform/springboard/NCNotificationListCellActionButtonsView.h"

Class NCNotificationListCellActionButtonsView::classObject()
{
    static Class cls = ClassBuilder<NCNotificationListCellActionButtonsView>("NCNotificationListCellActionButtonsView", UIView::classObject())
                           .method<&NCNotificationListCellActionButtonsView::initWithFrameImpl>("initWithFrame:")
                           .method<&NCNotificationListCellActionButtonsView::buttonsStackView>("buttonsStackView")
                           .method<&NCNotificationListCellActionButtonsView::notificationRequest>("notificationRequest")
                           .method<&NCNotificationListCellActionButtonsView::configureOpenActionButtonImpl>("configureOpenActionButtonForNotificationRequest:cell:")
                           .method<&NCNotificationListCellActionButtonsView::configureCellActionButtonsImpl>("configureCellActionButtonsForNotificationRequest:sectionSettings:cell:")
                           .method<&NCNotificationListCellActionButtonsView::layoutSubviewsImpl>("layoutSubviews")
                           .ivar<&NCNotificationListCellActionButtonsView::m_buttonsStackView>("_buttonsStackView")
                           .build();
    return cls;
}

Id NCNotificationListCellActionButtonsView::initWithFrameImpl(CGRect frame)
{
    Id self = msgSendSuper<Id>(this, classObject(), SELECTOR("initWithFrame:"), frame);
    if (!self)
        return nullptr;
    m_buttonsStackView = UIStackView::create();
    m_buttonsStackView->setAxis(UILayoutConstraintAxisHorizontal);
    m_buttonsStackView->setSpacing(8);
    addSubview(m_buttonsStackView.get());
    return self;
}

void NCNotificationListCellActionButtonsView::configureOpenActionButtonImpl(Object* request, Object*)
{
    m_notificationRequest = request;
    if (m_openButton)
        return;
    m_openButton = NCNotificationListCellActionButton::create("View", 0);
    m_buttonsStackView->addArrangedSubview(m_openButton.get());
    setNeedsLayout();
}

void NCNotificationListCellActionButtonsView::configureCellActionButtonsImpl(Object* request, Object*, Object*)
{
    m_notificationRequest = request;
    if (!m_manageButton) {
        m_manageButton = NCNotificationListCellActionButton::create("Manage", roundedCornerRadius);
        m_buttonsStackView->insertArrangedSubviewAtIndex(m_manageButton.get(), 0);
    }
    if (!m_clearButton) {
        m_clearButton = NCNotificationListCellActionButton::create("Clear", roundedCornerRadius);
        m_buttonsStackView->addArrangedSubview(m_clearButton.get());
    }
    setNeedsLayout();
}

double NCNotificationListCellActionButtonsView::preferredWidth() const
{
    size_t count = m_buttonsStackView->arrangedSubviewList().size();
    if (!count)
        return 0;
    return buttonWidth * double(count) + m_buttonsStackView->spacing() * double(count - 1);
}

void NCNotificationListCellActionButtonsView::layoutSubviewsImpl()
{
    for (auto& button : m_buttonsStackView->arrangedSubviewList())
        button->setFrame(CGRectMake(button->frame().origin.x, 0, buttonWidth, bounds().size.height));
    m_buttonsStackView->setFrame(bounds());
}
