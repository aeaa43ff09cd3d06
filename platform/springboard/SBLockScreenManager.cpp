#include "platform/springboard/SBLockScreenManager.h"

Class SBLockScreenManager::classObject()
{
    static Class cls = ClassBuilder<SBLockScreenManager>("SBLockScreenManager", Object::classObject())
                           .classFunction("sharedInstance", &SBLockScreenManager::sharedInstanceImpl)
                           .method<&SBLockScreenManager::lockUIFromSourceImpl>("lockUIFromSource:withOptions:")
                           .method<&SBLockScreenManager::unlockUIFromSourceImpl>("unlockUIFromSource:withOptions:")
                           .method<&SBLockScreenManager::isUILockedImpl>("isUILocked")
                           .build();
    return cls;
}

RefPtr<SBLockScreenManager> SBLockScreenManager::sharedInstance()
{
    static SBLockScreenManager* instance = make<SBLockScreenManager>().leakRef();
    return instance;
}

void SBLockScreenManager::lockUIFromSourceImpl(int source, Object*)
{
    m_lastLockSource = source;
    m_locked = true;
}
