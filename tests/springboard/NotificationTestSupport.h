#pragma once

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/SBHomeScreen.h"
#include "platform/uikit/UIUserInterfaceStyleArbiter.h"
#include "platform/uikit/UIView.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Sends a no-argument message that answers an object, the way an extension asks.
inline Id ask(const Object* object, const char* selector)
{
    return msgSend<Id>(object, sel_registerName(selector));
}

inline Id ivar(const Object* object, const char* name)
{
    return object ? object_getIvar(const_cast<Object*>(object), class_getInstanceVariable(object->isa(), name)) : nullptr;
}

inline bool isKind(const Object* object, const char* className)
{
    Class cls = objc_getClass(className);
    return object && cls && object->isKindOfClass(cls);
}

inline RefPtr<UIView> ancestor(const UIView* view, int depth)
{
    RefPtr<UIView> current(const_cast<UIView*>(view));
    for (int step = 0; step < depth && current; ++step)
        current = current->superview();
    return current;
}

inline std::vector<std::string> keyTexts(const NSDictionary* dictionary)
{
    std::vector<std::string> keys;
    if (!dictionary)
        return keys;
    auto allKeys = dictionary->allKeys();
    for (auto& key : *allKeys)
        keys.push_back(objectCast<NSString>(key)->utf8());
    return keys;
}

// Every test starts and ends in the light appearance with a fresh home screen.
class HomeScreenTest : public ::testing::Test {
protected:
    void SetUp() override { UIUserInterfaceStyleArbiter::sharedInstance()->setCurrentStyle(UIUserInterfaceStyleLight); }
    void TearDown() override { UIUserInterfaceStyleArbiter::sharedInstance()->setCurrentStyle(UIUserInterfaceStyleLight); }

    // The sample set: thirteen messages, then one from Music and one from the App Store.
    std::vector<std::string> publishFifteen(SBHomeScreen& home)
    {
        std::vector<std::string> identifiers;
        for (int index = 1; index <= 15; ++index) {
            std::string section = index <= 13 ? "com.apple.MobileSMS" : index == 14 ? "com.apple.Music" : "com.apple.AppStore";
            identifiers.push_back(home.publishBulletin(section, "Tintwell", "Test notification " + std::to_string(index) + "!"));
        }
        return identifiers;
    }
};
