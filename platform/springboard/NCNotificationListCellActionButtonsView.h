#pragma once

#include "platform/springboard/NCNotificationListCellActionButton.h"
#include "platform/uikit/UIStackView.h"

// The buttons a swiped cell shows beside its platter, in a horizontal stack: "Manage"
// (corner radius 8), "View" (the open action, 0) and "Clear" (8). The system configures it
// with configureOpenActionButtonForNotificationRequest:cell: and then
// configureCellActionButtonsForNotificationRequest:sectionSettings:cell:, and lays it out.
class NCNotificationListCellActionButtonsView : public UIView {
    TW_OBJECT(NCNotificationListCellActionButtonsView)
public:
    static constexpr double buttonWidth = 80;
    static constexpr double roundedCornerRadius = 8;

    RefPtr<UIStackView> buttonsStackView() const { return m_buttonsStackView; }
    Id notificationRequest() const { return m_notificationRequest; }

    void configureOpenActionButton(Object* request, Object* cell)
    {
        msgSend<void>(this, SELECTOR("configureOpenActionButtonForNotificationRequest:cell:"), request, cell);
    }
    void configureCellActionButtons(Object* request, Object* sectionSettings, Object* cell)
    {
        msgSend<void>(this, SELECTOR("configureCellActionButtonsForNotificationRequest:sectionSettings:cell:"), request, sectionSettings, cell);
    }

    // The width the configured buttons take.
    double preferredWidth() const;

protected:
    NCNotificationListCellActionButtonsView() = default;

private:
    Id initWithFrameImpl(CGRect frame);
    void configureOpenActionButtonImpl(Object* request, Object* cell);
    void configureCellActionButtonsImpl(Object* request, Object* sectionSettings, Object* cell);
    void layoutSubviewsImpl();

    RefPtr<UIStackView> m_buttonsStackView;
    RefPtr<NCNotificationListCellActionButton> m_manageButton;
    RefPtr<NCNotificationListCellActionButton> m_openButton;
    RefPtr<NCNotificationListCellActionButton> m_clearButton;
    Id m_notificationRequest;
};
