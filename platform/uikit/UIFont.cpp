#include "platform/uikit/UIFont.h"

Class UIFont::classObject()
{
    static Class cls = ClassBuilder<UIFont>("UIFont", Object::classObject())
                           .method<&UIFont::pointSize>("pointSize")
                           .method<&UIFont::weight>("weight")
                           .build();
    return cls;
}

RefPtr<UIFont> UIFont::systemFontOfSize(double size, double weight)
{
    auto font = make<UIFont>();
    font->m_pointSize = size;
    font->m_weight = weight;
    return font;
}
