#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSCountedSet.h"
#include "platform/graphics/CGGeometry.h"
#include "platform/graphics/UIColor.h"
#include "platform/graphics/UIImage.h"

#include <gtest/gtest.h>

TEST(UIColorValues, AlphaAboveOneIsHeldAtOneOtherComponentsAsGiven)
{
    auto color = UIColor::colorWithRed(1.2, -0.1, 0.5, 255);
    double r = 0, g = 0, b = 0, a = 0;
    ASSERT_TRUE(msgSend<bool>(color, SELECTOR("getRed:green:blue:alpha:"), &r, &g, &b, &a));
    EXPECT_EQ(r, 1.2);
    EXPECT_EQ(g, -0.1);
    EXPECT_EQ(b, 0.5);
    EXPECT_EQ(a, 1.0);
    EXPECT_EQ(UIColor::colorWithRed(0, 0, 0, 0.25)->alpha(), 0.25);

    auto made = msgSend<RefPtr<UIColor>>(class_createInstance(UIColor::classObject()), SELECTOR("initWithRed:green:blue:alpha:"), 0.1, 0.2, 0.3, 7.0);
    ASSERT_TRUE(made);
    EXPECT_EQ(made->alpha(), 1.0);
    EXPECT_EQ(made->blue(), 0.3);
}

TEST(UIColorValues, EqualityAndHashWorkAsCollectionKeys)
{
    auto white = UIColor::whiteColor();
    auto alsoWhite = UIColor::colorWithRed(1, 1, 1, 1);
    auto translucentWhite = UIColor::colorWithWhite(1, 0.5);
    EXPECT_TRUE(msgSend<bool>(white, SELECTOR("isEqual:"), alsoWhite));
    EXPECT_EQ(msgSend<unsigned long>(white, SELECTOR("hash")), msgSend<unsigned long>(alsoWhite, SELECTOR("hash")));
    EXPECT_FALSE(msgSend<bool>(white, SELECTOR("isEqual:"), translucentWhite));
    EXPECT_FALSE(msgSend<bool>(white, SELECTOR("isEqual:"), UIImage::imageWithCGImage(nullptr)));
    EXPECT_FALSE(white->isEqual(nullptr));

    auto zero = UIColor::colorWithRed(0.0, 0, 0, 1);
    auto negativeZero = UIColor::colorWithRed(-0.0, 0, 0, 1);
    EXPECT_TRUE(zero->isEqual(negativeZero.get()));
    EXPECT_EQ(zero->hash(), negativeZero->hash());

    auto samples = NSArray::arrayWithObjects({ white, alsoWhite, translucentWhite, UIColor::colorWithWhite(1, 1), zero });
    auto counts = NSCountedSet::setWithArray(samples.get());
    EXPECT_EQ(counts->countForObject(UIColor::whiteColor().get()), 3u);
    EXPECT_EQ(counts->countForObject(UIColor::colorWithWhite(1, 0.5).get()), 1u);
    EXPECT_EQ(counts->countForObject(UIColor::redColor().get()), 0u);
}

TEST(UIColorValues, CGColorKeepsAlphaAndAbsenceStaysAbsent)
{
    auto color = UIColor::colorWithRed(1, 0, 0, 0.8);
    auto cgColor = msgSend<RefPtr<CGColor>>(color, SELECTOR("CGColor"));
    ASSERT_TRUE(cgColor);
    EXPECT_EQ(CGColorGetAlpha(cgColor.get()), 0.8);
    EXPECT_EQ(CGColorGetComponents(cgColor.get())[0], 1.0);
    EXPECT_TRUE(UIColor::colorWithCGColor(cgColor.get())->isEqual(color.get()));
    EXPECT_TRUE(CGColorEqualToColor(cgColor.get(), UIColor::colorWithRed(1, 0, 0, 0.8)->CGColor().get()));
    EXPECT_FALSE(CGColorEqualToColor(cgColor.get(), UIColor::redColor()->CGColor().get()));

    EXPECT_FALSE(msgSend<RefPtr<CGColor>>(nullptr, SELECTOR("CGColor")));
    EXPECT_FALSE(UIColor::colorWithCGColor(nullptr));
    EXPECT_EQ(CGColorGetComponents(nullptr), nullptr);
}

TEST(UIColorValues, HexTextRoundsEachComponentToAByte)
{
    EXPECT_EQ(UIColor::colorWithRed(1, 0, 0.5, 0.8)->hexString(), "#FF0080CC");
    EXPECT_EQ(UIColor::clearColor()->hexString(), "#00000000");
    EXPECT_EQ(UIColor::colorWithRed(1.5, -1, 0.2, 1)->hexString(), "#FF0033FF");
}

TEST(Geometry, ValuesCrossMessageSends)
{
    auto bitmap = CGImage::create(30, 20);
    auto image = UIImage::imageWithCGImage(bitmap, 2);
    EXPECT_EQ(msgSend<CGSize>(image, SELECTOR("size")), CGSizeMake(15, 10));
    EXPECT_EQ(msgSend<double>(image, SELECTOR("scale")), 2.0);
    EXPECT_EQ(msgSend<RefPtr<CGImage>>(image, SELECTOR("CGImage")).get(), bitmap.get());
    EXPECT_EQ(msgSend<CGSize>(nullptr, SELECTOR("size")), CGSizeZero);
    EXPECT_TRUE(CGRectEqualToRect(CGRectMake(10, 10, -5, -5), CGRectMake(5, 5, 5, 5)));
    EXPECT_EQ(UIEdgeInsetsInsetRect(CGRectMake(0, 0, 100, 50), UIEdgeInsetsMake(1, 2, 3, 4)), CGRectMake(2, 1, 94, 46));
}
