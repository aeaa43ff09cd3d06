#include "platform/uikit/UIImageView.h"

Class UIImageView::classObject()
{
    static Class cls = ClassBuilder<UIImageView>("UIImageView", UIView::classObject())
                           .method<&UIImageView::initWithImageImpl>("initWithImage:")
                           .method<&UIImageView::image>("image")
                           .method<&UIImageView::setImageImpl>("setImage:")
                           .ivar<&UIImageView::m_image>("_image")
                           .build();
    return cls;
}

UIImageView::UIImageView() = default;
UIImageView::~UIImageView() = default;

RefPtr<UIImageView> UIImageView::createWithImage(UIImage* image)
{
    auto object = class_createInstance(classObject());
    return msgSend<RefPtr<UIImageView>>(object, SELECTOR("initWithImage:"), image);
}

Id UIImageView::initWithImageImpl(RefPtr<UIImage> image)
{
    CGSize size = image ? image->size() : CGSizeZero;
    Id self = msgSend<Id>(this, SELECTOR("initWithFrame:"), CGRectMake(0, 0, size.width, size.height));
    if (!self)
        return nullptr;
    setImage(image.get());
    return self;
}
