#include "platform/uikit/UIBarButtonItem.h"

#include "platform/uikit/UIControl.h"

Class UIBarButtonItem::classObject()
{
    static Class cls = ClassBuilder<UIBarButtonItem>("UIBarButtonItem", Object::classObject())
                           .method<&UIBarButtonItem::initWithTitleImpl>("initWithTitle:style:target:action:")
                           .method<&UIBarButtonItem::titleImpl>("title")
                           .method<&UIBarButtonItem::setTitleImpl>("setTitle:")
                           .method<&UIBarButtonItem::style>("style")
                           .method<&UIBarButtonItem::targetImpl>("target")
                           .method<&UIBarButtonItem::action>("action")
                           .method<&UIBarButtonItem::tintColor>("tintColor")
                           .method<&UIBarButtonItem::setTintColorImpl>("setTintColor:")
                           .build();
    return cls;
}

RefPtr<UIBarButtonItem> UIBarButtonItem::create(NSString* title, long style, id target, SEL action)
{
    auto object = class_createInstance(classObject());
    return msgSend<RefPtr<UIBarButtonItem>>(object, SELECTOR("initWithTitle:style:target:action:"), title, style, target, action);
}

Id UIBarButtonItem::initWithTitleImpl(RefPtr<NSString> title, long style, id target, SEL action)
{
    m_title = std::move(title);
    m_style = style;
    m_target = target;
    m_action = action;
    return Id(this);
}

bool UIBarButtonItem::press()
{
    RefPtr<UIBarButtonItem> protect(this);
    return UIControl::sendAction(m_target.get().get(), m_action, this);
}
