#pragma once

#include "platform/foundation/NSString.h"
#include "platform/graphics/UIColor.h"

enum UIBarButtonItemStyle : long {
    UIBarButtonItemStylePlain = 0,
    UIBarButtonItemStyleDone = 2,
};

// A titled button of a navigation bar. A press sends its action to its target (weak) with
// the item as argument.
class UIBarButtonItem : public Object {
    TW_OBJECT(UIBarButtonItem)
public:
    // alloc + initWithTitle:style:target:action: through the runtime.
    static RefPtr<UIBarButtonItem> create(NSString* title, long style, id target, SEL action);

    RefPtr<NSString> title() const { return m_title; }
    void setTitle(NSString* title) { msgSend<void>(this, SELECTOR("setTitle:"), title); }
    long style() const { return m_style; }
    Id target() const { return m_target.get(); }
    SEL action() const { return m_action; }
    RefPtr<UIColor> tintColor() const { return m_tintColor; }
    void setTintColor(UIColor* color) { msgSend<void>(this, SELECTOR("setTintColor:"), color); }

    // A person's tap: false when there is no live target that implements the action.
    bool press();

protected:
    UIBarButtonItem() = default;

private:
    Id initWithTitleImpl(RefPtr<NSString> title, long style, id target, SEL action);
    Id titleImpl() const { return m_title; }
    void setTitleImpl(RefPtr<NSString> title) { m_title = std::move(title); }
    Id targetImpl() const { return target(); }
    void setTintColorImpl(RefPtr<UIColor> color) { m_tintColor = std::move(color); }

    RefPtr<NSString> m_title;
    long m_style { UIBarButtonItemStylePlain };
    WeakId m_target;
    SEL m_action { nullptr };
    RefPtr<UIColor> m_tintColor;
};
