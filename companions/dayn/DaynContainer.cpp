#include "companions/dayn/DaynContainer.h"

Class DaynContainer::classObject()
{
    static Class cls = ClassBuilder<DaynContainer>("DaynContainer", UIView::classObject())
                           .method<&DaynContainer::delegate>("delegate")
                           .method<&DaynContainer::setDelegateImpl>("setDelegate:")
                           .method<&DaynContainer::didMoveToSuperviewImpl>("didMoveToSuperview")
                           .ivar<&DaynContainer::m_delegate>("_delegate")
                           .build();
    return cls;
}

void DaynContainer::didMoveToSuperviewImpl()
{
    msgSendSuper<void>(this, classObject(), SELECTOR("didMoveToSuperview"));
    // Dayn sizes itself to the platter it joins.
    if (auto parent = superview())
        setFrame(CGRectMake(0, 0, 6, parent->bounds().size.height));
}

// Dayn's classes exist once its library is loaded, as on the phone.
__attribute__((constructor)) static void registerDaynClasses()
{
    DaynContainer::classObject();
}
