#include "platform/uikit/UIAlertAction.h"

Class UIAlertAction::classObject()
{
    static Class cls = ClassBuilder<UIAlertAction>("UIAlertAction", Object::classObject())
                           .classMethod<&UIAlertAction::actionWithTitleImpl>("actionWithTitle:style:handler:")
                           .method<&UIAlertAction::titleImpl>("title")
                           .method<&UIAlertAction::style>("style")
                           .method<&UIAlertAction::isEnabled>("isEnabled")
                           .method<&UIAlertAction::setEnabledImpl>("setEnabled:")
                           .build();
    return cls;
}

RefPtr<UIAlertAction> UIAlertAction::actionWithTitle(NSString* title, long style, id handler)
{
    auto action = make<UIAlertAction>();
    action->m_title = title;
    action->m_style = style;
    action->m_handler = Id(handler);
    return action;
}
