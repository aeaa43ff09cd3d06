#include "platform/uikit/NSIndexPath.h"

Class NSIndexPath::classObject()
{
    static Class cls = ClassBuilder<NSIndexPath>("NSIndexPath", Object::classObject())
                           .classMethod<&NSIndexPath::indexPathForRow>("indexPathForRow:inSection:")
                           .method<&NSIndexPath::row>("row")
                           .method<&NSIndexPath::section>("section")
                           .method<&NSIndexPath::isEqualImpl>("isEqual:")
                           .build();
    return cls;
}

RefPtr<NSIndexPath> NSIndexPath::indexPathForRow(NSInteger row, NSInteger section)
{
    auto path = make<NSIndexPath>();
    path->m_row = row;
    path->m_section = section;
    return path;
}

bool NSIndexPath::isEqual(const Object* other) const
{
    auto* path = objectCast<const NSIndexPath>(other);
    return path && path->m_row == m_row && path->m_section == m_section;
}
