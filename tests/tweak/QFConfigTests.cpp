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
