#pragma once

#include "platform/runtime/ClassBuilder.h"

// Cephei's home-screen restart.
// Registered class methods: respring, respringAndReturnTo:.
class HBRespringController : public Object {
    TW_OBJECT(HBRespringController)
public:
    // Restarts the home screen (the restart tool "/usr/bin/sbreload").
    static void respring();
    // Restarts the home screen, then reopens the Settings app at the address, e.g.
    // "prefs:root=Tintwell". The address is an NSURL or an NSString (the platform's
    // NSURL holds file URLs only, so a "prefs:" address travels as a string).
    static void respringAndReturnTo(Object* address);

protected:
    HBRespringController() = default;
};
