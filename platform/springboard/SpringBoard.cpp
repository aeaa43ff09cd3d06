#include "platform/springboard/SpringBoard.h"

Class SpringBoard::classObject()
{
    static Class cls = ClassBuilder<SpringBoard>("SpringBoard", Object::classObject())
        .method<&SpringBoard::applicationDidFinishLaunchingImpl>("applicationDidFinishLaunching:")
        .build();
    return cls;
}

RefPtr<SpringBoard> SpringBoard::sharedApplication()
{
    // Lives as long as the process, like the phone's application object.
    static SpringBoard* application = make<SpringBoard>().leakRef();
    return application;
}

void SpringBoard::applicationDidFinishLaunchingImpl(Object*)
{
    m_launched = true;
}
