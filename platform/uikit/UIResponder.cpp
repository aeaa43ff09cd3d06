#include "platform/uikit/UIResponder.h"

Class UIResponder::classObject()
{
    static Class cls = ClassBuilder<UIResponder>("UIResponder", Object::classObject())
                           .method<&UIResponder::nextResponderImpl>("nextResponder")
                           .build();
    return cls;
}

void UIResponder::deliverUserInterfaceStyle(long style)
{
    if (m_deliveredUserInterfaceStyle == style)
        return;
    RefPtr<UITraitCollection> previous;
    if (m_deliveredUserInterfaceStyle)
        previous = UITraitCollection::traitCollectionWithUserInterfaceStyle(*m_deliveredUserInterfaceStyle);
    m_deliveredUserInterfaceStyle = style;
    traitCollectionDidChange(previous.get());
}
