#pragma once

#include "platform/foundation/NSObjCRuntime.h"

class NSString;
class UIView;

enum UINavigationItemLargeTitleDisplayMode : long {
    UINavigationItemLargeTitleDisplayModeAutomatic = 0,
    UINavigationItemLargeTitleDisplayModeAlways = 1,
    UINavigationItemLargeTitleDisplayModeNever = 2,
};

// What a navigation bar shows for a controller. Bar button items are kept as plain objects
// so the navigation classes can supply their own.
class UINavigationItem : public Object {
    TW_OBJECT(UINavigationItem)
public:
    static RefPtr<UINavigationItem> create() { return make<UINavigationItem>(); }

    RefPtr<NSString> title() const;
    void setTitle(NSString* title) { msgSend<void>(this, SELECTOR("setTitle:"), title); }
    RefPtr<UIView> titleView() const;
    void setTitleView(UIView* view) { msgSend<void>(this, SELECTOR("setTitleView:"), view); }
    Id rightBarButtonItem() const { return m_rightBarButtonItem; }
    void setRightBarButtonItem(id item) { msgSend<void>(this, SELECTOR("setRightBarButtonItem:"), item); }
    Id leftBarButtonItem() const { return m_leftBarButtonItem; }
    void setLeftBarButtonItem(id item) { msgSend<void>(this, SELECTOR("setLeftBarButtonItem:"), item); }
    long largeTitleDisplayMode() const { return m_largeTitleDisplayMode; }
    void setLargeTitleDisplayMode(long mode) { msgSend<void>(this, SELECTOR("setLargeTitleDisplayMode:"), mode); }

    ~UINavigationItem() override;

protected:
    UINavigationItem();

private:
    Id titleImpl() const;
    void setTitleImpl(id title);
    Id titleViewImpl() const;
    void setTitleViewImpl(id view);
    void setRightBarButtonItemImpl(id item) { m_rightBarButtonItem = Id(item); }
    void setLeftBarButtonItemImpl(id item) { m_leftBarButtonItem = Id(item); }
    void setLargeTitleDisplayModeImpl(long mode) { m_largeTitleDisplayMode = mode; }

    RefPtr<Object> m_title;
    RefPtr<Object> m_titleView;
    Id m_rightBarButtonItem;
    Id m_leftBarButtonItem;
    long m_largeTitleDisplayMode { UINavigationItemLargeTitleDisplayModeAutomatic };
};
