#include "platform/uikit/UIControl.h"

#include <algorithm>

Class UIControl::classObject()
{
    static Class cls = ClassBuilder<UIControl>("UIControl", UIView::classObject())
                           .method<&UIControl::addTargetImpl>("addTarget:action:forControlEvents:")
                           .method<&UIControl::removeTargetImpl>("removeTarget:action:forControlEvents:")
                           .method<&UIControl::sendActionsForControlEventsImpl>("sendActionsForControlEvents:")
                           .method<&UIControl::sendActionToForEventImpl>("sendAction:to:forEvent:")
                           .method<&UIControl::isEnabled>("isEnabled")
                           .method<&UIControl::setEnabledImpl>("setEnabled:")
                           .method<&UIControl::tintColor>("tintColor")
                           .method<&UIControl::setTintColorImpl>("setTintColor:")
                           .build();
    return cls;
}

UIControl::UIControl() = default;
UIControl::~UIControl() = default;

RefPtr<UIColor> UIControl::effectiveTintColor() const
{
    if (m_tintColor)
        return m_tintColor;
    return UIColor::colorWithRed(0, 0.48, 1, 1);
}

void UIControl::addTargetImpl(id target, SEL action, unsigned long events)
{
    if (!action || !events)
        return;
    m_actions.push_back({ WeakId(target), action, events });
}

void UIControl::removeTargetImpl(id target, SEL action, unsigned long events)
{
    std::erase_if(m_actions, [&](const Action& entry) {
        auto entryTarget = entry.target.get();
        return (!target || entryTarget.get() == target) && (!action || entry.action == action) && (entry.events & events);
    });
}

void UIControl::sendActionsForControlEventsImpl(unsigned long events)
{
    if (!m_enabled)
        return;
    RefPtr<UIControl> protect(this);
    auto actions = m_actions;
    for (auto& entry : actions) {
        if (!(entry.events & events))
            continue;
        auto target = entry.target.get();
        if (!target)
            continue;
        msgSend<void>(this, SELECTOR("sendAction:to:forEvent:"), entry.action, target, nullptr);
    }
}

bool UIControl::sendAction(id target, SEL action, id sender)
{
    if (!target || !action)
        return false;
    auto method = class_getInstanceMethod(target->isa(), action);
    if (!method)
        return false;
    RefPtr<Object> protect(target);
    std::string_view types = method_getTypeEncoding(method);
    if (types == "v@:@") {
        msgSend<void>(target, action, sender);
        return true;
    }
    if (types == "v@:") {
        msgSend<void>(target, action);
        return true;
    }
    return false;
}

void UIControl::setTintColorImpl(RefPtr<UIColor> color)
{
    m_tintColor = std::move(color);
    msgSend<void>(this, SELECTOR("tintColorDidChange"));
}
