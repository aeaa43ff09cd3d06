// Class methods a tweak hooks answer as messages, and the system's callers send them.
#include "tests/support/TemporaryDevice.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/NSString.h"
#include "platform/runtime/Substrate.h"

#include <string>
#include <vector>

namespace {

class ClassMessages : public TemporaryDevice { };

constexpr std::string_view twoEntries = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
                                        "<key>A</key><string>one</string><key>B</key><integer>2</integer></dict></plist>\n";

Id readBySend(Class cls, std::string_view devicePath)
{
    return msgSendClass<Id>(cls, SELECTOR("dictionaryWithContentsOfFile:"), NSString::string(devicePath).get());
}

TEST_F(ClassMessages, DictionaryWithContentsOfFileAnswersTheKindItWasSentTo)
{
    writeDeviceFile("/var/mobile/two.plist", twoEntries);
    writeDeviceFile("/var/mobile/array.plist", "<?xml version=\"1.0\"?><plist version=\"1.0\"><array/></plist>");

    auto plain = readBySend(NSDictionary::classObject(), "/var/mobile/two.plist");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->isa(), NSDictionary::classObject());
    EXPECT_EQ(objectCast<NSDictionary>(plain)->count(), 2u);
    // Inherited by the mutable class, it answers a mutable dictionary, as on the phone.
    RefPtr<NSMutableDictionary> mutableOne = objectCast<NSMutableDictionary>(readBySend(NSMutableDictionary::classObject(), "/var/mobile/two.plist"));
    ASSERT_TRUE(mutableOne);
    mutableOne->setObject(NSString::string("three").get(), NSString::string("C").get());
    EXPECT_EQ(mutableOne->count(), 3u);

    EXPECT_FALSE(readBySend(NSDictionary::classObject(), "/var/mobile/missing.plist"));
    EXPECT_FALSE(readBySend(NSDictionary::classObject(), "/var/mobile/array.plist"));
    EXPECT_FALSE(msgSendClass<Id>(NSDictionary::classObject(), SELECTOR("dictionaryWithContentsOfFile:"), nullptr));
    // A path that is not a string is no path.
    EXPECT_FALSE(msgSendClass<Id>(NSDictionary::classObject(), SELECTOR("dictionaryWithContentsOfFile:"), plain.get()));
}

Id (*originalRead)(Class, SEL, id);
std::vector<std::string> readPaths;
Id recordingRead(Class cls, SEL sel, id path)
{
    readPaths.push_back(objectCast<NSString>(path) ? objectCast<NSString>(path)->utf8() : "nil");
    return originalRead(cls, sel, path);
}

Id (*originalDefaultCenter)(Class, SEL);
int defaultCenterCalls = 0;
Id countedDefaultCenter(Class cls, SEL sel)
{
    ++defaultCenterCalls;
    return originalDefaultCenter(cls, sel);
}

TEST_F(ClassMessages, HooksOnTheClassMethodsSeeTheCallersSends)
{
    writeDeviceFile("/var/mobile/two.plist", twoEntries);
    Class dictionaryMeta = objc_getMetaClass(NSDictionary::classObject());
    Class centerMeta = objc_getMetaClass(NSNotificationCenter::classObject());
    MSHookMessageEx(dictionaryMeta, SELECTOR("dictionaryWithContentsOfFile:"), &recordingRead, &originalRead);
    MSHookMessageEx(centerMeta, SELECTOR("defaultCenter"), &countedDefaultCenter, &originalDefaultCenter);

    auto read = NSDictionary::sendDictionaryWithContentsOfFile("/var/mobile/two.plist");
    auto center = NSNotificationCenter::sendDefaultCenter();

    decltype(originalRead) replacedRead = nullptr;
    decltype(originalDefaultCenter) replacedCenter = nullptr;
    MSHookMessageEx(dictionaryMeta, SELECTOR("dictionaryWithContentsOfFile:"), originalRead, &replacedRead);
    MSHookMessageEx(centerMeta, SELECTOR("defaultCenter"), originalDefaultCenter, &replacedCenter);

    EXPECT_EQ(readPaths, std::vector<std::string> { "/var/mobile/two.plist" });
    ASSERT_TRUE(read);
    EXPECT_EQ(read->count(), 2u);
    EXPECT_EQ(defaultCenterCalls, 1);
    EXPECT_EQ(center.get(), NSNotificationCenter::defaultCenter());
}

} // namespace
