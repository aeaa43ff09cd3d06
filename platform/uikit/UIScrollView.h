#pragma once

#include "platform/uikit/UIView.h"

// A view whose bounds origin is its content offset. Changing the offset sends
// scrollViewDidScroll: to the delegate through the runtime when it implements it.
class UIScrollView : public UIView {
    TW_OBJECT(UIScrollView)
public:
    static RefPtr<UIScrollView> create(CGRect frame = CGRectZero) { return UIView::create<UIScrollView>(frame); }

    CGPoint contentOffset() const { return bounds().origin; }
    void setContentOffset(CGPoint offset) { msgSend<void>(this, SELECTOR("setContentOffset:"), offset); }
    CGSize contentSize() const { return m_contentSize; }
    void setContentSize(CGSize size) { msgSend<void>(this, SELECTOR("setContentSize:"), size); }
    // Weak, as on the phone.
    Id delegate() const { return m_delegate.get(); }
    void setDelegate(id delegate) { msgSend<void>(this, SELECTOR("setDelegate:"), delegate); }

    ~UIScrollView() override;

protected:
    UIScrollView();

private:
    void setContentOffsetImpl(CGPoint offset);
    void setContentSizeImpl(CGSize size) { m_contentSize = size; }
    void setDelegateImpl(id delegate) { m_delegate = delegate; }

    CGSize m_contentSize {};
    WeakId m_delegate;
};
