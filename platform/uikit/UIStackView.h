#pragma once

#include "platform/uikit/UIView.h"

enum UILayoutConstraintAxis : long {
    UILayoutConstraintAxisHorizontal = 0,
    UILayoutConstraintAxisVertical = 1,
};

enum UIStackViewDistribution : long {
    UIStackViewDistributionFill = 0,
    UIStackViewDistributionFillEqually = 1,
};

// Lines its arranged subviews up along an axis in layoutSubviews: each keeps its own length
// along the axis (or an equal share with FillEqually), fills the stack across it, and
// hidden ones take no room. Arranged subviews are also subviews.
class UIStackView : public UIView {
    TW_OBJECT(UIStackView)
public:
    static RefPtr<UIStackView> create(CGRect frame = CGRectZero) { return UIView::create<UIStackView>(frame); }

    RefPtr<NSArray> arrangedSubviews() const;
    const std::vector<RefPtr<UIView>>& arrangedSubviewList() const { return m_arrangedSubviews; }
    void addArrangedSubview(UIView* view) { msgSend<void>(this, SELECTOR("addArrangedSubview:"), view); }
    void insertArrangedSubviewAtIndex(UIView* view, unsigned long index) { msgSend<void>(this, SELECTOR("insertArrangedSubview:atIndex:"), view, index); }
    // The view stays a subview, as on the phone.
    void removeArrangedSubview(UIView* view) { msgSend<void>(this, SELECTOR("removeArrangedSubview:"), view); }

    long axis() const { return m_axis; }
    void setAxis(long axis) { msgSend<void>(this, SELECTOR("setAxis:"), axis); }
    double spacing() const { return m_spacing; }
    void setSpacing(double spacing) { msgSend<void>(this, SELECTOR("setSpacing:"), spacing); }
    long distribution() const { return m_distribution; }
    void setDistribution(long distribution) { msgSend<void>(this, SELECTOR("setDistribution:"), distribution); }

    ~UIStackView() override;

protected:
    UIStackView();

private:
    Id arrangedSubviewsImpl() const;
    void addArrangedSubviewImpl(UIView* view) { insertArrangedSubviewAtIndexImpl(view, m_arrangedSubviews.size()); }
    void insertArrangedSubviewAtIndexImpl(UIView* view, unsigned long index);
    void removeArrangedSubviewImpl(UIView* view);
    void setAxisImpl(long axis);
    void setSpacingImpl(double spacing);
    void setDistributionImpl(long distribution);
    void willRemoveSubviewImpl(UIView* view);
    void layoutSubviewsImpl();

    std::vector<RefPtr<UIView>> m_arrangedSubviews;
    long m_axis { UILayoutConstraintAxisHorizontal };
    double m_spacing { 0 };
    long m_distribution { UIStackViewDistributionFill };
};
