#include "platform/uikit/UIScrollView.h"

Class UIScrollView::classObject()
{
    static Class cls = ClassBuilder<UIScrollView>("UIScrollView", UIView::classObject())
                           .method<&UIScrollView::contentOffset>("contentOffset")
                           .method<&UIScrollView::setContentOffsetImpl>("setContentOffset:")
                           .method<&UIScrollView::contentSize>("contentSize")
                           .method<&UIScrollView::setContentSizeImpl>("setContentSize:")
                           .method<&UIScrollView::delegate>("delegate")
                           .method<&UIScrollView::setDelegateImpl>("setDelegate:")
                           .ivar<&UIScrollView::m_delegate>("_delegate")
                           .build();
    return cls;
}

UIScrollView::UIScrollView() = default;
UIScrollView::~UIScrollView() = default;

void UIScrollView::setContentOffsetImpl(CGPoint offset)
{
    if (CGPointEqualToPoint(offset, contentOffset()))
        return;
    CGRect moved = bounds();
    moved.origin = offset;
    setBounds(moved);
    RefPtr<UIScrollView> protect(this);
    msgSendIfResponds<void>(m_delegate.get().get(), SELECTOR("scrollViewDidScroll:"), this);
}
