#include "ColourTestSupport.h"

#include "platform/foundation/NSArray.h"
#include "tweak/colour/UIColor+Tintwell.h"

using namespace colourtest;

namespace {

using ColourPrimitives = ColourTest;

RefPtr<UIColor> closest(std::initializer_list<Id> colors, const RefPtr<UIColor>& target)
{
    return msgSendClass<RefPtr<UIColor>>(UIColor::classObject(), SELECTOR("closestColorFromArray:ToColor:"),
        NSArray::arrayWithObjects(colors), target);
}

// A colour that has no red, green and blue to give, like a pattern colour.
Class patternColourClass()
{
    static Class cls = [] {
        Class made = objc_allocateClassPair(UIColor::classObject(), "TWLTestPatternColor");
        class_addMethod(made, sel_registerName("getRed:green:blue:alpha:"),
            +[](id, SEL, double*, double*, double*, double*) { return false; });
        objc_registerClassPair(made);
        return made;
    }();
    return cls;
}

TEST_F(ColourPrimitives, MakeColorWithAlphaReplacesTheAlphaByPercent)
{
    auto red = rgb(1, 0, 0, 0.3);
    EXPECT_TRUE(sameColour(msgSend<RefPtr<UIColor>>(red, SELECTOR("makeColorWithAlpha:"), long(50)).get(), rgb(1, 0, 0, 0.5).get()));
    EXPECT_TRUE(sameColour(makeColorWithAlpha(red.get(), 0).get(), rgb(1, 0, 0, 0).get()));
    EXPECT_TRUE(sameColour(makeColorWithAlpha(red.get(), 100).get(), rgb(1, 0, 0, 1).get()));
    EXPECT_EQ(makeColorWithAlpha(red.get(), 250)->alpha(), 1.0);

    EXPECT_FALSE(makeColorWithAlpha(nullptr, 50));
    auto pattern = class_createInstance(patternColourClass());
    EXPECT_FALSE(msgSend<RefPtr<UIColor>>(pattern, SELECTOR("makeColorWithAlpha:"), long(50)));
    EXPECT_EQ(msgSend<double>(pattern, SELECTOR("getRGBComponent:"), long(1)), 0.0);
}

TEST_F(ColourPrimitives, GetRGBComponentReadsRedUnlessGreenOrBlueIsAsked)
{
    auto color = rgb(0.2, 0.4, 0.6, 0.8);
    for (long index : { 0L, 1L, 4L, -1L })
        EXPECT_EQ(msgSend<double>(color, SELECTOR("getRGBComponent:"), index), 0.2 * 255.0) << index;
    EXPECT_EQ(getRGBComponent(color.get(), 2), 0.4 * 255.0);
    EXPECT_EQ(getRGBComponent(color.get(), 3), 0.6 * 255.0);
    EXPECT_EQ(getRGBComponent(nullptr, 1), 0.0);
}

TEST_F(ColourPrimitives, ClosestColourPrefersTheWindowThenSearchesEverything)
{
    auto white = rgb(1, 1, 1);
    auto red = rgb(0.6, 0.2, 0.2);
    // White is nearer to light grey but its sum 4.0 lies outside [1.2, 3.8].
    EXPECT_EQ(closest({ white, red }, rgb(0.9, 0.9, 0.9)), red);

    auto black = rgb(0, 0, 0);
    auto nearWhite = rgb(0.95, 0.95, 0.95);
    EXPECT_EQ(closest({ black, nearWhite }, white), nearWhite);

    // Both window edges are inside.
    auto lowEdge = rgb(0.1, 0.1, 0, 1);
    auto highEdge = rgb(1, 1, 0.8, 1);
    EXPECT_EQ(closest({ black, lowEdge }, black), lowEdge);
    EXPECT_EQ(closest({ white, highEdge }, white), highEdge);
}

TEST_F(ColourPrimitives, ClosestColourKeepsTheEarlierOfEqualDistancesAndTheSmallestDistance)
{
    auto target = rgb(0.5, 0.5, 0.5);
    auto lighter = rgb(0.6, 0.5, 0.5);
    auto darker = rgb(0.4, 0.5, 0.5);
    EXPECT_EQ(closest({ lighter, darker }, target), lighter);
    EXPECT_EQ(closest({ darker, lighter }, target), darker);

    auto far = rgb(0.8, 0.8, 0.8); // 0.9 away
    auto near = rgb(0.5, 0.5, 0.6); // 0.1 away
    EXPECT_EQ(closest({ far, near }, target), near);
}

TEST_F(ColourPrimitives, ClosestColourFallsBackWhenEveryColourIsAsFarAsCanBe)
{
    auto transparentBlack = rgb(0, 0, 0, 0);
    auto otherTransparentBlack = rgb(0, 0, 0, 0);
    auto white = rgb(1, 1, 1);
    // Distance exactly 4.0 is never strictly less than the starting distance.
    EXPECT_EQ(closest({ transparentBlack, otherTransparentBlack }, white), otherTransparentBlack);
    EXPECT_EQ(closest({ transparentBlack }, white), transparentBlack);

    EXPECT_FALSE(closest({}, white));
    EXPECT_FALSE(closest({ white }, nullptr));
    EXPECT_FALSE(closestColorFromArrayToColor(nullptr, white.get()));
}

} // namespace
