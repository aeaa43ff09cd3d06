#include "platform/uikit/UITraitCollection.h"

Class UITraitCollection::classObject()
{
    static Class cls = ClassBuilder<UITraitCollection>("UITraitCollection", Object::classObject())
                           .method<&UITraitCollection::userInterfaceStyle>("userInterfaceStyle")
                           .method<&UITraitCollection::isEqualImpl>("isEqual:")
                           .method<&UITraitCollection::hashImpl>("hash")
                           .ivar<&UITraitCollection::m_userInterfaceStyle>("_userInterfaceStyle")
                           .build();
    return cls;
}

RefPtr<UITraitCollection> UITraitCollection::traitCollectionWithUserInterfaceStyle(long style)
{
    auto collection = make<UITraitCollection>();
    collection->m_userInterfaceStyle = style;
    return collection;
}

bool UITraitCollection::isEqual(const Object* other) const
{
    auto* traits = objectCast<const UITraitCollection>(other);
    return traits && traits->m_userInterfaceStyle == m_userInterfaceStyle;
}
