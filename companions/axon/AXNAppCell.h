#pragma once

#include "platform/foundation/NSString.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIView.h"

// Axon's cell for one app in the row above the notification list: the app's icon, and
// selected while the list shows only that app's notifications.
// Registered: initWithFrame:, bundleIdentifier, setBundleIdentifier:, iconView,
// isSelected, setSelected:. Ivars: "_bundleIdentifier", "_iconView".
class AXNAppCell : public UIView {
    TW_OBJECT(AXNAppCell)
public:
    static constexpr double side = 56;

    static RefPtr<AXNAppCell> create(CGRect frame = CGRectMake(0, 0, side, side)) { return UIView::create<AXNAppCell>(frame); }

    RefPtr<NSString> bundleIdentifier() const { return m_bundleIdentifier; }
    void setBundleIdentifier(NSString* identifier) { msgSend<void>(this, SELECTOR("setBundleIdentifier:"), identifier); }
    RefPtr<UIImageView> iconView() const { return m_iconView; }
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected) { msgSend<void>(this, SELECTOR("setSelected:"), selected); }

protected:
    AXNAppCell() = default;

private:
    Id initWithFrameImpl(CGRect frame);
    void setBundleIdentifierImpl(RefPtr<NSString> identifier) { m_bundleIdentifier = std::move(identifier); }
    void setSelectedImpl(bool selected);

    RefPtr<NSString> m_bundleIdentifier;
    RefPtr<UIImageView> m_iconView;
    bool m_selected { false };
};
