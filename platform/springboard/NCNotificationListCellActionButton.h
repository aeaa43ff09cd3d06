#pragma once

#include "platform/springboard/MTMaterialView.h"
#include "platform/uikit/UIButton.h"

// One button of a cell's swipe actions ("Manage", "View", "Clear") on a material
// background. Buttons differ in their layer's corner radius, as on the phone: some are
// square-cornered (0) and let their background round itself.
class NCNotificationListCellActionButton : public UIButton {
    TW_OBJECT(NCNotificationListCellActionButton)
public:
    static RefPtr<NCNotificationListCellActionButton> create(std::string_view title, double cornerRadius);

    RefPtr<MTMaterialView> backgroundView() const { return m_backgroundView; }

protected:
    NCNotificationListCellActionButton() = default;

private:
    Id initWithFrameImpl(CGRect frame);
    void layoutSubviewsImpl();

    RefPtr<MTMaterialView> m_backgroundView;
};
