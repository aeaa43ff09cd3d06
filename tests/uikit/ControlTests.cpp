#include "UIKitTestSupport.h"

#include "platform/uikit/UIButton.h"

namespace {

RefPtr<UIImage> solidImage(size_t width, size_t height, double scale)
{
    auto bitmap = CGImage::create(width, height);
    for (size_t y = 0; y < height; ++y) {
        for (size_t x = 0; x < width; ++x)
            bitmap->setPixelAt(x, y, { 0, 0, 255, 255 });
    }
    return UIImage::imageWithCGImage(bitmap, scale);
}

using Controls = UIKitTest;

TEST_F(Controls, LabelPropertiesGoThroughTheRuntime)
{
    auto label = UILabel::create();
    EXPECT_EQ(label->textAlignment(), NSTextAlignmentNatural);
    EXPECT_EQ(label->text().get(), nullptr);
    msgSend<void>(label, SELECTOR("setText:"), NSString::string("Notification Center"));
    msgSend<void>(label, SELECTOR("setTextAlignment:"), long(NSTextAlignmentCenter));
    EXPECT_EQ(msgSend<RefPtr<NSString>>(label, SELECTOR("text"))->utf8(), "Notification Center");
    EXPECT_EQ(msgSend<long>(label, SELECTOR("textAlignment")), NSTextAlignmentCenter);
    label->setFont(UIFont::boldSystemFontOfSize(20).get());
    EXPECT_EQ(label->font()->pointSize(), 20);
    // Nil restores the defaults instead of leaving the label unable to draw.
    label->setFont(nullptr);
    label->setTextColor(nullptr);
    EXPECT_EQ(label->font()->pointSize(), 17);
    EXPECT_TRUE(label->textColor()->isEqual(UIColor::blackColor().get()));
}

TEST_F(Controls, ImageViewTakesTheImageSizeInPoints)
{
    auto imageView = UIImageView::createWithImage(solidImage(40, 20, 2).get());
    EXPECT_EQ(imageView->frame(), CGRectMake(0, 0, 20, 10));
    EXPECT_EQ(msgSend<RefPtr<UIImage>>(imageView, SELECTOR("image")).get(), imageView->image().get());
    imageView->setImage(nullptr);
    EXPECT_EQ(imageView->image().get(), nullptr);
}

TEST_F(Controls, ButtonShowsItsTitleAndImageAsSubviews)
{
    auto button = UIButton::buttonWithType(1);
    button->setFrame(CGRectMake(0, 0, 100, 30));
    button->setTitle(NSString::string("ReSpring").get());
    button->setImage(solidImage(4, 4, 1).get());
    button->layoutIfNeeded();
    EXPECT_EQ(button->subviewList().size(), 2u);
    EXPECT_EQ(button->titleLabel()->textString(), "ReSpring");
    EXPECT_EQ(button->imageView()->frame(), CGRectMake(0, 0, 30, 30));
    EXPECT_EQ(button->titleLabel()->frame(), CGRectMake(30, 0, 70, 30));
    // Another state without its own title shows the normal one.
    EXPECT_EQ(button->titleForState(UIControlStateHighlighted)->utf8(), "ReSpring");
}

int g_taps = 0;
void countTap(id, SEL, id sender)
{
    if (dynamic_cast<UIButton*>(sender))
        ++g_taps;
}

TEST_F(Controls, ButtonSendsActionsForMatchingEventsToLiveTargets)
{
    Class targetClass = freshSubclass(Object::classObject(), "TapTarget");
    class_addMethod(targetClass, SELECTOR("tapped:"), &countTap);
    auto button = UIButton::create();
    g_taps = 0;
    {
        auto target = class_createInstance(targetClass);
        button->addTarget(target.get(), SELECTOR("tapped:"), UIControlEventTouchUpInside);
        button->sendActionsForControlEvents(UIControlEventTouchUpInside);
        button->sendActionsForControlEvents(UIControlEventValueChanged);
        EXPECT_EQ(g_taps, 1);
    }
    // The target is not kept alive by the button.
    button->sendActionsForControlEvents(UIControlEventTouchUpInside);
    EXPECT_EQ(g_taps, 1);
}

} // namespace
