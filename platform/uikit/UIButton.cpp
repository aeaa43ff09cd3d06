#include "platform/uikit/UIButton.h"

#include "platform/foundation/NSString.h"

#include <algorithm>

Class UIButton::classObject()
{
    static Class cls = ClassBuilder<UIButton>("UIButton", UIControl::classObject())
                           .method<&UIButton::buttonType>("buttonType")
                           .method<&UIButton::titleLabelImpl>("titleLabel")
                           .method<&UIButton::imageViewImpl>("imageView")
                           .method<&UIButton::setTitleImpl>("setTitle:forState:")
                           .method<&UIButton::titleForStateImpl>("titleForState:")
                           .method<&UIButton::setImageImpl>("setImage:forState:")
                           .method<&UIButton::imageForStateImpl>("imageForState:")
                           .method<&UIButton::setTitleColorImpl>("setTitleColor:forState:")
                           .method<&UIButton::titleColorForStateImpl>("titleColorForState:")
                           .method<&UIButton::layoutSubviewsImpl>("layoutSubviews")
                           .ivar<&UIButton::m_titleLabel>("_titleView")
                           .ivar<&UIButton::m_imageView>("_imageView")
                           .build();
    return cls;
}

UIButton::UIButton() = default;
UIButton::~UIButton() = default;

RefPtr<UIButton> UIButton::buttonWithType(long type)
{
    auto button = create();
    if (button)
        button->m_buttonType = type;
    return button;
}

RefPtr<UILabel> UIButton::titleLabel()
{
    if (!m_titleLabel) {
        m_titleLabel = UILabel::create();
        m_titleLabel->setTextAlignment(NSTextAlignmentCenter);
        m_titleLabel->setTextColor(UIColor::colorWithRed(0, 0.48, 1, 1).get());
        addSubview(m_titleLabel.get());
    }
    return m_titleLabel;
}

RefPtr<UIImageView> UIButton::imageView()
{
    if (!m_imageView) {
        m_imageView = UIImageView::create();
        m_imageView->setContentMode(UIViewContentModeScaleAspectFit);
        addSubview(m_imageView.get());
    }
    return m_imageView;
}

template<typename T>
static RefPtr<T> valueForState(const std::map<unsigned long, RefPtr<T>>& values, unsigned long state)
{
    // A state without its own value shows the normal one, as on the phone.
    if (auto it = values.find(state); it != values.end() && it->second)
        return it->second;
    if (auto it = values.find(UIControlStateNormal); it != values.end())
        return it->second;
    return nullptr;
}

RefPtr<NSString> UIButton::titleForState(unsigned long state) const { return valueForState(m_titles, state); }
RefPtr<UIImage> UIButton::imageForState(unsigned long state) const { return valueForState(m_images, state); }
Id UIButton::titleColorForStateImpl(unsigned long state) const { return valueForState(m_titleColors, state); }

void UIButton::setTitleImpl(RefPtr<NSString> title, unsigned long state)
{
    m_titles[state] = title;
    if (state != UIControlStateNormal)
        return;
    titleLabel()->setText(title.get());
    setNeedsLayout();
}

void UIButton::setImageImpl(RefPtr<UIImage> image, unsigned long state)
{
    m_images[state] = image;
    if (state != UIControlStateNormal)
        return;
    imageView()->setImage(image.get());
    setNeedsLayout();
}

void UIButton::setTitleColorImpl(RefPtr<UIColor> color, unsigned long state)
{
    m_titleColors[state] = color;
    if (state == UIControlStateNormal && color)
        titleLabel()->setTextColor(color.get());
}

void UIButton::layoutSubviewsImpl()
{
    msgSendSuper<void>(this, classObject(), SELECTOR("layoutSubviews"));
    CGRect area = bounds();
    bool hasImage = m_imageView && m_imageView->image();
    bool hasTitle = m_titleLabel && m_titleLabel->text();
    if (hasImage && hasTitle) {
        double side = std::min(area.size.width, area.size.height);
        m_imageView->setFrame(CGRectMake(area.origin.x, area.origin.y, side, area.size.height));
        m_titleLabel->setFrame(CGRectMake(area.origin.x + side, area.origin.y, area.size.width - side, area.size.height));
        return;
    }
    if (hasImage)
        m_imageView->setFrame(area);
    if (hasTitle)
        m_titleLabel->setFrame(area);
}
