#pragma once

#include "platform/runtime/Substrate.h"
#include "platform/uikit/UIUserInterfaceStyleArbiter.h"
#include "platform/uikit/UIWindow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// A new runtime subclass, so each test hooks a class no other test has touched.
inline Class freshSubclass(Class superclass, const char* stem)
{
    static int counter = 0;
    std::string name = std::string(stem) + std::to_string(++counter);
    Class cls = objc_allocateClassPair(superclass, name.c_str());
    objc_registerClassPair(cls);
    return cls;
}

// Every test starts and ends in the light appearance.
class UIKitTest : public ::testing::Test {
protected:
    void SetUp() override { UIUserInterfaceStyleArbiter::sharedInstance()->setCurrentStyle(UIUserInterfaceStyleLight); }
    void TearDown() override { UIUserInterfaceStyleArbiter::sharedInstance()->setCurrentStyle(UIUserInterfaceStyleLight); }
};
