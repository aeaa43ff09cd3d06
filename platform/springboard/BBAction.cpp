#include "platform/springboard/BBAction.h"

Class BBAction::classObject()
{
    static Class cls = ClassBuilder<BBAction>("BBAction", Object::classObject())
                           .classFunction("actionWithLaunchBundleID:callblock:", &BBAction::actionWithLaunchBundleIDImpl)
                           .method<&BBAction::launchBundleID>("launchBundleID")
                           .method<&BBAction::callblock>("callblock")
                           .ivar<&BBAction::m_launchBundleID>("_launchBundleID")
                           .build();
    return cls;
}

RefPtr<BBAction> BBAction::actionWithLaunchBundleID(NSString* bundleID, Object* callblock)
{
    auto action = make<BBAction>();
    action->m_launchBundleID = bundleID;
    action->m_callblock = callblock;
    return action;
}

Id BBAction::actionWithLaunchBundleIDImpl(Class, SEL, id bundleID, id callblock)
{
    return actionWithLaunchBundleID(objectCast<NSString>(bundleID), callblock);
}
