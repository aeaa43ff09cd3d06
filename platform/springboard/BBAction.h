#pragma once

#include "platform/foundation/NSString.h"

// What tapping a bulletin does: launch an app, or run a block.
class BBAction : public Object {
    TW_OBJECT(BBAction)
public:
    // The block may be nil.
    static RefPtr<BBAction> actionWithLaunchBundleID(NSString* bundleID, Object* callblock);

    RefPtr<NSString> launchBundleID() const { return m_launchBundleID; }
    Id callblock() const { return m_callblock; }

protected:
    BBAction() = default;

private:
    static Id actionWithLaunchBundleIDImpl(Class, SEL, id bundleID, id callblock);

    RefPtr<NSString> m_launchBundleID;
    Id m_callblock;
};
