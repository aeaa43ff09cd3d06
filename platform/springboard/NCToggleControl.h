#pragma once

#include "platform/springboard/MTMaterialView.h"
#include "platform/uikit/UIButton.h"

// A small rounded button on a material background: the list's clear buttons, the app
// groups' "Show Less" / "Clear" toggles and the long look's dismiss control. The material
// is its first direct subview.
class NCToggleControl : public UIButton {
    TW_OBJECT(NCToggleControl)
public:
    static RefPtr<NCToggleControl> create(std::string_view title);

    RefPtr<MTMaterialView> backgroundMaterialView() const { return m_backgroundMaterialView; }

protected:
    NCToggleControl() = default;

private:
    Id initWithFrameImpl(CGRect frame);
    void layoutSubviewsImpl();

    RefPtr<MTMaterialView> m_backgroundMaterialView;
};
