#pragma once

#include "platform/runtime/ClassBuilder.h"

// The home screen's application object. The host sends it
// applicationDidFinishLaunching: through the runtime once the extensions are loaded,
// so a hook installed at load time sees the launch.
class SpringBoard : public Object {
    TW_OBJECT(SpringBoard)
public:
    static RefPtr<SpringBoard> sharedApplication();

    void applicationDidFinishLaunching(id application) { msgSend<void>(this, SELECTOR("applicationDidFinishLaunching:"), application); }
    bool isLaunched() const { return m_launched; }

protected:
    SpringBoard() = default;

private:
    void applicationDidFinishLaunchingImpl(Object* application);

    bool m_launched { false };
};
