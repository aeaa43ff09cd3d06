#include "platform/uikit/UIStackView.h"

#include "platform/foundation/NSArray.h"

#include <algorithm>

Class UIStackView::classObject()
{
    static Class cls = ClassBuilder<UIStackView>("UIStackView", UIView::classObject())
                           .method<&UIStackView::arrangedSubviewsImpl>("arrangedSubviews")
                           .method<&UIStackView::addArrangedSubviewImpl>("addArrangedSubview:")
                           .method<&UIStackView::insertArrangedSubviewAtIndexImpl>("insertArrangedSubview:atIndex:")
                           .method<&UIStackView::removeArrangedSubviewImpl>("removeArrangedSubview:")
                           .method<&UIStackView::axis>("axis")
                           .method<&UIStackView::setAxisImpl>("setAxis:")
                           .method<&UIStackView::spacing>("spacing")
                           .method<&UIStackView::setSpacingImpl>("setSpacing:")
                           .method<&UIStackView::distribution>("distribution")
                           .method<&UIStackView::setDistributionImpl>("setDistribution:")
                           .method<&UIStackView::willRemoveSubviewImpl>("willRemoveSubview:")
                           .method<&UIStackView::layoutSubviewsImpl>("layoutSubviews")
                           .build();
    return cls;
}

UIStackView::UIStackView() = default;
UIStackView::~UIStackView() = default;

RefPtr<NSArray> UIStackView::arrangedSubviews() const
{
    return NSArray::arrayWithObjects(std::vector<Id>(m_arrangedSubviews.begin(), m_arrangedSubviews.end()));
}

Id UIStackView::arrangedSubviewsImpl() const { return arrangedSubviews(); }

void UIStackView::insertArrangedSubviewAtIndexImpl(UIView* view, unsigned long index)
{
    if (!view)
        return;
    RefPtr<UIView> protect(view);
    std::erase_if(m_arrangedSubviews, [&](auto& arranged) { return arranged.get() == view; });
    if (view->superview().get() != this)
        addSubview(view);
    index = std::min<unsigned long>(index, m_arrangedSubviews.size());
    m_arrangedSubviews.insert(m_arrangedSubviews.begin() + static_cast<long>(index), protect);
    setNeedsLayout();
}

void UIStackView::removeArrangedSubviewImpl(UIView* view)
{
    std::erase_if(m_arrangedSubviews, [&](auto& arranged) { return arranged.get() == view; });
    setNeedsLayout();
}

void UIStackView::willRemoveSubviewImpl(UIView* view)
{
    msgSendSuper<void>(this, classObject(), SELECTOR("willRemoveSubview:"), view);
    // A subview that leaves the stack is no longer arranged, as on the phone.
    std::erase_if(m_arrangedSubviews, [&](auto& arranged) { return arranged.get() == view; });
}

void UIStackView::setAxisImpl(long axis)
{
    m_axis = axis;
    setNeedsLayout();
}

void UIStackView::setSpacingImpl(double spacing)
{
    m_spacing = spacing;
    setNeedsLayout();
}

void UIStackView::setDistributionImpl(long distribution)
{
    m_distribution = distribution;
    setNeedsLayout();
}

void UIStackView::layoutSubviewsImpl()
{
    msgSendSuper<void>(this, classObject(), SELECTOR("layoutSubviews"));
    std::vector<UIView*> shown;
    for (auto& view : m_arrangedSubviews) {
        if (!view->isHidden())
            shown.push_back(view.get());
    }
    if (shown.empty())
        return;
    bool vertical = m_axis == UILayoutConstraintAxisVertical;
    CGRect area = bounds();
    double available = vertical ? area.size.height : area.size.width;
    double equalShare = (available - m_spacing * static_cast<double>(shown.size() - 1)) / static_cast<double>(shown.size());
    double position = vertical ? area.origin.y : area.origin.x;
    for (UIView* view : shown) {
        CGSize own = view->frame().size;
        double length = m_distribution == UIStackViewDistributionFillEqually ? equalShare : (vertical ? own.height : own.width);
        if (vertical)
            view->setFrame(CGRectMake(area.origin.x, position, area.size.width, length));
        else
            view->setFrame(CGRectMake(position, area.origin.y, length, area.size.height));
        position += length + m_spacing;
    }
}
