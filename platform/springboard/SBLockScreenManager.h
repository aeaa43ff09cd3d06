#pragma once

#include "platform/runtime/ClassBuilder.h"

#include <atomic>

// The lock screen's state.
class SBLockScreenManager : public Object {
    TW_OBJECT(SBLockScreenManager)
public:
    // Lives for the whole process.
    static RefPtr<SBLockScreenManager> sharedInstance();

    void lockUIFromSource(int source, Object* options) { msgSend<void>(this, SELECTOR("lockUIFromSource:withOptions:"), source, options); }
    void unlockUIFromSource(int source, Object* options) { msgSend<void>(this, SELECTOR("unlockUIFromSource:withOptions:"), source, options); }
    // Through the runtime, as the home screen asks it: a hook on isUILocked sees every read.
    bool isUILocked() const { return msgSend<bool>(this, SELECTOR("isUILocked")); }
    // Where the last lock came from; 0 before any.
    int lastLockSource() const { return m_lastLockSource.load(); }

protected:
    SBLockScreenManager() = default;

private:
    static Id sharedInstanceImpl(Class, SEL) { return sharedInstance(); }
    void lockUIFromSourceImpl(int source, Object*);
    void unlockUIFromSourceImpl(int, Object*) { m_locked = false; }
    bool isUILockedImpl() const { return m_locked.load(); }

    std::atomic<bool> m_locked { false };
    std::atomic<int> m_lastLockSource { 0 };
};
