#include "outside/sparkcolourpicker/SparkColourPickerUtils.h"

#include "platform/foundation/NSString.h"
#include "platform/graphics/UIColor.h"
#include "platform/runtime/Substrate.h"

#include <gtest/gtest.h>

namespace {

using Components = SparkColourPickerUtils::Components;

std::optional<Components> parse(std::string_view text) { return SparkColourPickerUtils::componentsWithString(text); }

void expectComponents(std::string_view text, double red, double green, double blue, double alpha)
{
    auto components = parse(text);
    ASSERT_TRUE(components) << text;
    EXPECT_NEAR(components->red, red, 1e-9) << text;
    EXPECT_NEAR(components->green, green, 1e-9) << text;
    EXPECT_NEAR(components->blue, blue, 1e-9) << text;
    EXPECT_NEAR(components->alpha, alpha, 1e-9) << text;
}

TEST(ColourText, ReadsThePickersHexWithAlpha)
{
    expectComponents("#1A2B3C:1.00", 0x1A / 255.0, 0x2B / 255.0, 0x3C / 255.0, 1);
    expectComponents("#FF8000:0.25", 1, 0x80 / 255.0, 0, 0.25);
    expectComponents("#ffffff", 1, 1, 1, 1);
    expectComponents("#000000:0", 0, 0, 0, 0);
    expectComponents("  #0000ff  ", 0, 0, 1, 1);
}

TEST(ColourText, KeepsThePickersHexConventions)
{
    // No short form: the digits are one number.
    expectComponents("#FFF", 0, 0x0F / 255.0, 1, 1);
    // Every "#" goes before the digits are read.
    expectComponents("##12#3456", 0x12 / 255.0, 0x34 / 255.0, 0x56 / 255.0, 1);
    expectComponents("123456", 0x12 / 255.0, 0x34 / 255.0, 0x56 / 255.0, 1);
    // Alpha above 1 is held at 1.
    expectComponents("#102030:7.5", 0x10 / 255.0, 0x20 / 255.0, 0x30 / 255.0, 1);
}

TEST(ColourText, ReadsFunctionalFormsAndNames)
{
    expectComponents("rgb(255, 0, 51)", 1, 0, 0.2, 1);
    expectComponents("rgba(0, 255, 0, 0.5)", 0, 1, 0, 0.5);
    expectComponents("RGB( 10 ,20,30 )", 10 / 255.0, 20 / 255.0, 30 / 255.0, 1);
    expectComponents("rgb(300, -5, 0)", 1, 0, 0, 1);
    expectComponents("transparent", 0, 0, 0, 0);
    expectComponents("red", 1, 0, 0, 1);
    expectComponents("White", 1, 1, 1, 1);
    expectComponents("black", 0, 0, 0, 1);
}

TEST(ColourText, UnreadableTextsGiveNothing)
{
    for (std::string_view text : { "", "   ", "#", "##", "#GG0000", "#1234567", "#12345678", "#123456:", "#123456:abc",
             "#123456:nan", "#123456:inf", "0x123456", "rgb(1, 2)", "rgb(1, 2, 3, 4)", "rgba(1, 2, 3)", "rgb(a, b, c)",
             "rgb(1, 2, 3", "rgb 1 2 3", "chartreuse-ish", "-123", "+12" })
        EXPECT_FALSE(parse(text)) << '"' << text << '"';
}

TEST(ColourText, ColourWithStringAndFallback)
{
    auto white = SparkColourPickerUtils::colourWithString(NSString::string("#ffffff").get());
    ASSERT_TRUE(white);
    EXPECT_TRUE(white->isEqual(UIColor::colorWithRed(1, 1, 1, 1).get()));

    EXPECT_FALSE(SparkColourPickerUtils::colourWithString(nullptr));
    EXPECT_FALSE(SparkColourPickerUtils::colourWithString(NSString::string("nonsense").get()));

    auto fallback = NSString::string("#ffffff");
    auto fromMissing = SparkColourPickerUtils::colourWithStringwithFallback(nullptr, fallback.get());
    auto fromUnreadable = SparkColourPickerUtils::colourWithStringwithFallback(NSString::string("#XYZ").get(), fallback.get());
    auto fromReadable = SparkColourPickerUtils::colourWithStringwithFallback(NSString::string("#FF0000:0.50").get(), fallback.get());
    ASSERT_TRUE(fromMissing && fromUnreadable && fromReadable);
    EXPECT_TRUE(fromMissing->isEqual(white.get()));
    EXPECT_TRUE(fromUnreadable->isEqual(white.get()));
    EXPECT_TRUE(fromReadable->isEqual(UIColor::colorWithRed(1, 0, 0, 0.5).get()));
    EXPECT_FALSE(SparkColourPickerUtils::colourWithStringwithFallback(nullptr, nullptr));
}

TEST(ColourText, WriterRoundsComponentsAndReadsBack)
{
    EXPECT_EQ(SparkColourPickerUtils::hexStringFromComponents({ 0x1A / 255.0, 0x2B / 255.0, 0x3C / 255.0, 1 }), "#1A2B3C:1.00");
    // 0.5 × 255 = 127.5 rounds up.
    EXPECT_EQ(SparkColourPickerUtils::hexStringFromComponents({ 0.5, 0.002, 1, 0.256 }), "#8001FF:0.26");
    EXPECT_EQ(SparkColourPickerUtils::hexStringFromComponents({ 1.5, -1, 0, 2 }), "#FF0000:1.00");

    auto colour = UIColor::colorWithRed(0.2, 0.4, 0.6, 0.75);
    auto text = SparkColourPickerUtils::hexStringFromColour(colour.get());
    ASSERT_TRUE(text);
    EXPECT_EQ(text->utf8(), "#336699:0.75");
    auto back = SparkColourPickerUtils::colourWithString(text.get());
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->isEqual(colour.get()));
    EXPECT_FALSE(SparkColourPickerUtils::hexStringFromColour(nullptr));
}

Id (*originalColourWithString)(Class, SEL, id);
std::vector<std::string> seenTexts;
Id recordingColourWithString(Class cls, SEL sel, id text)
{
    auto* string = objectCast<NSString>(text);
    seenTexts.push_back(string ? string->utf8() : "nil");
    return originalColourWithString(cls, sel, text);
}

// Callers reach the conversions as messages to the class, so a hook on either runs.
TEST(ColourText, ConversionsAnswerAsClassMessagesThatAHookSees)
{
    Class utils = objc_getClass("SparkColourPickerUtils");
    ASSERT_TRUE(utils);
    auto red = msgSendClass<RefPtr<UIColor>>(utils, SELECTOR("colourWithString:"), NSString::string("#FF0000").get());
    ASSERT_TRUE(red);
    EXPECT_EQ(red->red(), 1);
    auto fallback = NSString::string("#ffffff");
    auto white = msgSendClass<RefPtr<UIColor>>(utils, SELECTOR("colourWithString:withFallback:"), static_cast<NSString*>(nullptr), fallback.get());
    ASSERT_TRUE(white);
    EXPECT_EQ(white->green(), 1);
    EXPECT_FALSE(msgSendClass<RefPtr<UIColor>>(utils, SELECTOR("colourWithString:"), NSString::string("#XYZ").get()));

    MSHookMessageEx(objc_getMetaClass(utils), SELECTOR("colourWithString:"), &recordingColourWithString, &originalColourWithString);
    auto sent = SparkColourPickerUtils::sendColourWithString(NSString::string("#00FF00").get());
    // The fallback form is its own method: a hook on the plain one does not see it.
    SparkColourPickerUtils::sendColourWithStringWithFallback(nullptr, fallback.get());
    decltype(originalColourWithString) replaced = nullptr;
    MSHookMessageEx(objc_getMetaClass(utils), SELECTOR("colourWithString:"), originalColourWithString, &replaced);
    EXPECT_EQ(seenTexts, std::vector<std::string> { "#00FF00" });
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->green(), 1);
}

} // namespace
