#include "platform/foundation/NSBlock.h"

Class NSBlock::classObject()
{
    static Class cls = ClassBuilder<NSBlock>("NSBlock", Object::classObject())
                           .method<&NSBlock::invokeImpl>("invoke")
                           .build();
    return cls;
}

RefPtr<NSBlock> NSBlock::create(std::function<void()> body)
{
    return make<NSBlock>(std::move(body));
}

void NSBlock::invokeImpl() const
{
    if (m_body)
        m_body();
}
