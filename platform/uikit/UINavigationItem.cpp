#include "platform/uikit/UINavigationItem.h"

#include "platform/foundation/NSString.h"
#include "platform/uikit/UIView.h"

Class UINavigationItem::classObject()
{
    static Class cls = ClassBuilder<UINavigationItem>("UINavigationItem", Object::classObject())
                           .method<&UINavigationItem::titleImpl>("title")
                           .method<&UINavigationItem::setTitleImpl>("setTitle:")
                           .method<&UINavigationItem::titleViewImpl>("titleView")
                           .method<&UINavigationItem::setTitleViewImpl>("setTitleView:")
                           .method<&UINavigationItem::rightBarButtonItem>("rightBarButtonItem")
                           .method<&UINavigationItem::setRightBarButtonItemImpl>("setRightBarButtonItem:")
                           .method<&UINavigationItem::leftBarButtonItem>("leftBarButtonItem")
                           .method<&UINavigationItem::setLeftBarButtonItemImpl>("setLeftBarButtonItem:")
                           .method<&UINavigationItem::largeTitleDisplayMode>("largeTitleDisplayMode")
                           .method<&UINavigationItem::setLargeTitleDisplayModeImpl>("setLargeTitleDisplayMode:")
                           .build();
    return cls;
}

UINavigationItem::UINavigationItem() = default;
UINavigationItem::~UINavigationItem() = default;

RefPtr<NSString> UINavigationItem::title() const { return objectCast<NSString>(m_title); }
Id UINavigationItem::titleImpl() const { return title(); }
void UINavigationItem::setTitleImpl(id title) { m_title = objectCast<NSString>(title); }
RefPtr<UIView> UINavigationItem::titleView() const { return objectCast<UIView>(m_titleView); }
Id UINavigationItem::titleViewImpl() const { return titleView(); }
void UINavigationItem::setTitleViewImpl(id view) { m_titleView = objectCast<UIView>(view); }
