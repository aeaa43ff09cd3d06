#include "tweak/styling/QFConfig.h"

#include "platform/runtime/Substrate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<long> fields(const QFConfig& record)
{
    return { record.borderThiccness(), record.borderAlpha(), record.fullAlpha(), record.bothThickness(), record.darkBackgroundAlpha(),
        record.darkCornerAlpha(), record.lightBackgroundAlpha(), record.lightCornerAlpha(), record.style() };
}

TEST(QFConfig, FreshRecordHoldsZeros)
{
    auto record = QFConfig::makeNew();
    ASSERT_TRUE(record);
    EXPECT_EQ(fields(*record), std::vector<long>(9, 0));
}

TEST(QFConfig, SetterMessageFillsFieldsInArgumentOrder)
{
    auto record = QFConfig::makeNew();
    msgSend<void>(record, SELECTOR("setQFConfigWithBT:BA:FA:BT:DB:DC:LB:LC:style:"), 1L, 2L, 3L, 4L, 5L, 6L, 7L, 8L, 9L);
    EXPECT_EQ(fields(*record), (std::vector<long> { 1, 2, 3, 4, 5, 6, 7, 8, 9 }));
    EXPECT_EQ(msgSend<long>(record, SELECTOR("darkCornerAlpha")), 6);
    EXPECT_EQ(msgSend<long>(record, SELECTOR("style")), 9);
}

Id (*originalFactory)(Class, SEL, long, long, long, long, long, long, long, long, long);
long factoryHookCalls = 0;
Id countedFactory(Class cls, SEL sel, long a, long b, long c, long d, long e, long f, long g, long h, long i)
{
    ++factoryHookCalls;
    return originalFactory(cls, sel, a, b, c, d, e, f, g, h, i);
}

TEST(QFConfig, FactoryAnswersAClassMessageThatAHookSees)
{
    SEL factory = SELECTOR("newQFConfigWithBT:BA:FA:BT:DB:DC:LB:LC:style:");
    ASSERT_TRUE(class_respondsToClassSelector(QFConfig::classObject(), factory));
    auto sent = msgSendClass<RefPtr<QFConfig>>(objc_getClass("QFConfig"), factory, 1L, 2L, 3L, 4L, 5L, 6L, 7L, 8L, 9L);
    ASSERT_TRUE(sent);
    EXPECT_EQ(fields(*sent), (std::vector<long> { 1, 2, 3, 4, 5, 6, 7, 8, 9 }));

    MSHookMessageEx(objc_getMetaClass(QFConfig::classObject()), factory, &countedFactory, &originalFactory);
    auto hooked = msgSendClass<RefPtr<QFConfig>>(QFConfig::classObject(), factory, 9L, 8L, 7L, 6L, 5L, 4L, 3L, 2L, 1L);
    decltype(originalFactory) replaced = nullptr;
    MSHookMessageEx(objc_getMetaClass(QFConfig::classObject()), factory, originalFactory, &replaced);
    EXPECT_EQ(factoryHookCalls, 1);
    ASSERT_TRUE(hooked);
    EXPECT_NE(hooked.get(), sent.get());
    EXPECT_EQ(fields(*hooked), (std::vector<long> { 9, 8, 7, 6, 5, 4, 3, 2, 1 }));
}

TEST(QFConfig, FactoryBuildsADistinctEqualRecordEachCall)
{
    auto first = QFConfig::newQFConfigWithBTBAFABTDBDCLBLCstyle(1, 2, 3, 4, 5, 6, 7, 8, 9);
    auto second = QFConfig::newQFConfigWithBTBAFABTDBDCLBLCstyle(1, 2, 3, 4, 5, 6, 7, 8, 9);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first.get(), second.get());
    EXPECT_EQ(fields(*first), fields(*second));
    EXPECT_EQ(fields(*first), (std::vector<long> { 1, 2, 3, 4, 5, 6, 7, 8, 9 }));
    EXPECT_EQ(first->retainCount(), 1u) << "owned by the caller alone";
}

std::vector<std::string> setterCalls;
void (*previousSetStyle)(id, SEL, long);
void (*previousSetBorderThiccness)(id, SEL, long);
void (*previousSetLightCornerAlpha)(id, SEL, long);
void recordingSetStyle(id self, SEL sel, long value)
{
    setterCalls.push_back("style");
    previousSetStyle(self, sel, value);
}
void recordingSetBorderThiccness(id self, SEL sel, long value)
{
    setterCalls.push_back("borderThiccness");
    previousSetBorderThiccness(self, sel, value);
}
void recordingSetLightCornerAlpha(id self, SEL sel, long value)
{
    setterCalls.push_back("lightCornerAlpha");
    previousSetLightCornerAlpha(self, sel, value + 100);
}

TEST(QFConfig, FillGoesThroughThePropertySettersInOrder)
{
    Class cls = QFConfig::classObject();
    MSHookMessageEx(cls, SELECTOR("setStyle:"), &recordingSetStyle, &previousSetStyle);
    MSHookMessageEx(cls, SELECTOR("setBorderThiccness:"), &recordingSetBorderThiccness, &previousSetBorderThiccness);
    MSHookMessageEx(cls, SELECTOR("setLightCornerAlpha:"), &recordingSetLightCornerAlpha, &previousSetLightCornerAlpha);
    auto record = QFConfig::makeNew();
    record->setQFConfigWithBTBAFABTDBDCLBLCstyle(1, 2, 3, 4, 5, 6, 7, 8, 9);
    EXPECT_EQ(setterCalls, (std::vector<std::string> { "borderThiccness", "lightCornerAlpha", "style" }));
    EXPECT_EQ(record->lightCornerAlpha(), 108) << "the replaced setter decided the stored value";
    MSHookMessageEx(cls, SELECTOR("setStyle:"), previousSetStyle, &previousSetStyle);
    MSHookMessageEx(cls, SELECTOR("setBorderThiccness:"), previousSetBorderThiccness, &previousSetBorderThiccness);
    MSHookMessageEx(cls, SELECTOR("setLightCornerAlpha:"), previousSetLightCornerAlpha, &previousSetLightCornerAlpha);
}

TEST(QFConfig, DeclaresItsNineIntegerProperties)
{
    for (const char* name : { "borderThiccness", "borderAlpha", "fullAlpha", "bothThickness", "darkBackgroundAlpha",
             "darkCornerAlpha", "lightBackgroundAlpha", "lightCornerAlpha", "style" }) {
        objc_property_t property = class_getProperty(QFConfig::classObject(), name);
        ASSERT_TRUE(property) << name;
        EXPECT_EQ(std::string(property_getAttributes(property)).substr(0, 5), "Tq,N,") << name;
    }
}

} // namespace
