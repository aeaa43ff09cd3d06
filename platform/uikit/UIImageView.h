#pragma once

#include "platform/graphics/UIImage.h"
#include "platform/uikit/UIView.h"

// A view that shows an image, scaled by its contentMode.
class UIImageView : public UIView {
    TW_OBJECT(UIImageView)
public:
    static RefPtr<UIImageView> create(CGRect frame = CGRectZero) { return UIView::create<UIImageView>(frame); }
    // -[UIImageView initWithImage:]: the frame takes the image's size in points.
    static RefPtr<UIImageView> createWithImage(UIImage* image);

    RefPtr<UIImage> image() const { return m_image; }
    void setImage(UIImage* image) { msgSend<void>(this, SELECTOR("setImage:"), image); }

    ~UIImageView() override;

protected:
    UIImageView();

private:
    Id initWithImageImpl(RefPtr<UIImage> image);
    void setImageImpl(RefPtr<UIImage> image) { m_image = std::move(image); }

    RefPtr<UIImage> m_image;
};
