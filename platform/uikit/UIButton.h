#pragma once

#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"

#include <map>

enum UIControlState : unsigned long {
    UIControlStateNormal = 0,
    UIControlStateHighlighted = 1,
    UIControlStateDisabled = 2,
    UIControlStateSelected = 4,
};

enum UIControlEvents : unsigned long {
    UIControlEventTouchUpInside = 1 << 6,
    UIControlEventValueChanged = 1 << 12,
};

// A tappable view with a title label and an image view as subviews (made when first
// given a title or image, laid out in layoutSubviews: the image at the left, the title
// in the rest). Only the normal state is shown.
// Registered: buttonType, titleLabel, imageView, setTitle:forState:, titleForState:,
// setImage:forState:, imageForState:, setTitleColor:forState:, titleColorForState:,
// addTarget:action:forControlEvents:, sendActionsForControlEvents:, layoutSubviews.
class UIButton : public UIView {
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

    void addTarget(id target, SEL action, unsigned long events) { msgSend<void>(this, SELECTOR("addTarget:action:forControlEvents:"), target, action, events); }
    // Sends each matching action to its target with the button as argument.
    void sendActionsForControlEvents(unsigned long events) { msgSend<void>(this, SELECTOR("sendActionsForControlEvents:"), events); }

    ~UIButton() override;

protected:
    UIButton();

private:
    struct Action {
        WeakId target;
        SEL action;
        unsigned long events;
    };

    Id titleLabelImpl() { return titleLabel(); }
    Id imageViewImpl() { return imageView(); }
    void setTitleImpl(RefPtr<NSString> title, unsigned long state);
    Id titleForStateImpl(unsigned long state) const { return titleForState(state); }
    void setImageImpl(RefPtr<UIImage> image, unsigned long state);
    Id imageForStateImpl(unsigned long state) const { return imageForState(state); }
    void setTitleColorImpl(RefPtr<UIColor> color, unsigned long state);
    Id titleColorForStateImpl(unsigned long state) const;
    void addTargetImpl(id target, SEL action, unsigned long events);
    void sendActionsForControlEventsImpl(unsigned long events);
    void layoutSubviewsImpl();

    long m_buttonType { 0 };
    RefPtr<UILabel> m_titleLabel;
    RefPtr<UIImageView> m_imageView;
    std::map<unsigned long, RefPtr<NSString>> m_titles;
    std::map<unsigned long, RefPtr<UIImage>> m_images;
    std::map<unsigned long, RefPtr<UIColor>> m_titleColors;
    std::vector<Action> m_actions;
};
