#pragma once

#include "platform/uikit/UIControl.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"

#include <map>

// A tappable view with a title label and an image view as subviews (made when first given a
// title or image, laid out in layoutSubviews: the image at the left, the title in the
// rest). Only the normal state is shown. A control, as on the phone: its targets and
// actions are UIControl's.
class UIButton : public UIControl {
    TW_OBJECT(UIButton)
public:
    // +[UIButton buttonWithType:]
    static RefPtr<UIButton> buttonWithType(long type);
    static RefPtr<UIButton> create(CGRect frame = CGRectZero) { return UIView::create<UIButton>(frame); }

    long buttonType() const { return m_buttonType; }
    RefPtr<UILabel> titleLabel();
    RefPtr<UIImageView> imageView();

    void setTitle(NSString* title, unsigned long state = UIControlStateNormal) { msgSend<void>(this, SELECTOR("setTitle:forState:"), title, state); }
    RefPtr<NSString> titleForState(unsigned long state = UIControlStateNormal) const;
    void setImage(UIImage* image, unsigned long state = UIControlStateNormal) { msgSend<void>(this, SELECTOR("setImage:forState:"), image, state); }
    RefPtr<UIImage> imageForState(unsigned long state = UIControlStateNormal) const;
    void setTitleColor(UIColor* color, unsigned long state = UIControlStateNormal) { msgSend<void>(this, SELECTOR("setTitleColor:forState:"), color, state); }

    ~UIButton() override;

protected:
    UIButton();

private:
    Id titleLabelImpl() { return titleLabel(); }
    Id imageViewImpl() { return imageView(); }
    void setTitleImpl(RefPtr<NSString> title, unsigned long state);
    Id titleForStateImpl(unsigned long state) const { return titleForState(state); }
    void setImageImpl(RefPtr<UIImage> image, unsigned long state);
    Id imageForStateImpl(unsigned long state) const { return imageForState(state); }
    void setTitleColorImpl(RefPtr<UIColor> color, unsigned long state);
    Id titleColorForStateImpl(unsigned long state) const;
    void layoutSubviewsImpl();

    long m_buttonType { 0 };
    RefPtr<UILabel> m_titleLabel;
    RefPtr<UIImageView> m_imageView;
    std::map<unsigned long, RefPtr<NSString>> m_titles;
    std::map<unsigned long, RefPtr<UIImage>> m_images;
    std::map<unsigned long, RefPtr<UIColor>> m_titleColors;
};
