#include "platform/uikit/UIUserInterfaceStyleArbiter.h"

#include "platform/uikit/UIWindow.h"

Class UIUserInterfaceStyleArbiter::classObject()
{
    static Class cls = ClassBuilder<UIUserInterfaceStyleArbiter>("UIUserInterfaceStyleArbiter", Object::classObject())
                           .classMethod<&UIUserInterfaceStyleArbiter::sharedInstance>("sharedInstance")
                           .method<&UIUserInterfaceStyleArbiter::sharedInstanceImpl>("sharedInstance")
                           .method<&UIUserInterfaceStyleArbiter::currentStyle>("currentStyle")
                           .method<&UIUserInterfaceStyleArbiter::setCurrentStyleImpl>("setCurrentStyle:")
                           .ivar<&UIUserInterfaceStyleArbiter::m_currentStyle>("_currentStyle")
                           .build();
    return cls;
}

RefPtr<UIUserInterfaceStyleArbiter> UIUserInterfaceStyleArbiter::sharedInstance()
{
    // Never released, like the phone's singleton.
    static UIUserInterfaceStyleArbiter* instance = make<UIUserInterfaceStyleArbiter>().leakRef();
    return instance;
}

void UIUserInterfaceStyleArbiter::setCurrentStyleImpl(long style)
{
    if (style == m_currentStyle)
        return;
    m_currentStyle = style;
    UIWindow::systemAppearanceDidChange();
}
