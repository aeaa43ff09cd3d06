#include "platform/uikit/CALayer.h"

Class CALayer::classObject()
{
    static Class cls = ClassBuilder<CALayer>("CALayer", Object::classObject())
                           .method<&CALayer::borderWidth>("borderWidth")
                           .method<&CALayer::setBorderWidthImpl>("setBorderWidth:")
                           .method<&CALayer::borderColor>("borderColor")
                           .method<&CALayer::setBorderColorImpl>("setBorderColor:")
                           .method<&CALayer::cornerRadius>("cornerRadius")
                           .method<&CALayer::setCornerRadiusImpl>("setCornerRadius:")
                           .method<&CALayer::masksToBounds>("masksToBounds")
                           .method<&CALayer::setMasksToBoundsImpl>("setMasksToBounds:")
                           .ivar<&CALayer::m_borderWidth>("_borderWidth")
                           .ivar<&CALayer::m_borderColor>("_borderColor")
                           .ivar<&CALayer::m_cornerRadius>("_cornerRadius")
                           .build();
    return cls;
}
