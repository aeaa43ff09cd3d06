#include "UIKitTestSupport.h"

#include "platform/uikit/UIButton.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/UITableView.h"

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

std::vector<std::string> g_watchedActions;
void (*sendActionSlot)(id, SEL, SEL, id, id);
void watchAction(id self, SEL sel, SEL action, id target, id event)
{
    g_watchedActions.push_back(sel_getName(action));
    sendActionSlot(self, sel, action, target, event);
}

int g_tintChanges = 0;
void (*tintColorDidChangeSlot)(id, SEL);
void countTintChange(id self, SEL sel)
{
    ++g_tintChanges;
    tintColorDidChangeSlot(self, sel);
}

long g_selections = 0;
long oneSection(id, SEL, id) { return 1; }
long threeRows(id, SEL, id, long) { return 3; }
void countSelection(id, SEL, id, id) { ++g_selections; }

using Controls = UIKitTest;

TEST_F(Controls, ANewTintIsAnnouncedByMessageAndTheSliderFollowsIt)
{
    Class cls = freshSubclass(UISlider::classObject(), "TintedSlider");
    MSHookMessageEx(cls, SELECTOR("tintColorDidChange"), &countTintChange, &tintColorDidChangeSlot);
    auto slider = objectCast<UISlider>(UIView::createWithClass(cls, CGRectMake(0, 0, 200, 31)));
    ASSERT_TRUE(slider);
    g_tintChanges = 0;

    auto red = UIColor::colorWithRed(1, 0, 0, 1);
    slider->setTintColor(red.get());
    EXPECT_EQ(g_tintChanges, 1);
    // The minimum track, drawn above the maximum one, takes the tint.
    auto minimumTrack = slider->subviewList().at(1);
    ASSERT_TRUE(minimumTrack->backgroundColor());
    EXPECT_TRUE(minimumTrack->backgroundColor()->isEqual(red.get()));
}

TEST_F(Controls, OnlyATapOnARowTellsTheTablesDelegate)
{
    static Class source = [] {
        Class cls = objc_allocateClassPair(Object::classObject(), "SelectionCountingSource");
        class_addMethod(cls, sel_registerName("numberOfSectionsInTableView:"), &oneSection);
        class_addMethod(cls, sel_registerName("tableView:numberOfRowsInSection:"), &threeRows);
        class_addMethod(cls, sel_registerName("tableView:didSelectRowAtIndexPath:"), &countSelection);
        objc_registerClassPair(cls);
        return cls;
    }();
    auto delegate = class_createInstance(source);
    auto table = UITableView::create(CGRectMake(0, 0, 320, 400), UITableViewStyleGrouped);
    table->setDataSource(delegate.get());
    table->setDelegate(delegate.get());
    g_selections = 0;
    auto second = NSIndexPath::indexPathForRow(1, 0);

    // As on the phone, selecting in code does not notify the delegate.
    msgSend<void>(table, SELECTOR("selectRowAtIndexPath:animated:scrollPosition:"), second, false, 0L);
    EXPECT_EQ(g_selections, 0);
    auto selected = msgSend<RefPtr<NSIndexPath>>(table, SELECTOR("indexPathForSelectedRow"));
    ASSERT_TRUE(selected);
    EXPECT_EQ(selected->row(), 1);

    table->selectRow(NSIndexPath::indexPathForRow(2, 0).get());
    EXPECT_EQ(g_selections, 1);
    EXPECT_EQ(table->indexPathForSelectedRow()->row(), 2);

    // A row the table lacks clears the selection; a reload forgets it.
    msgSend<void>(table, SELECTOR("selectRowAtIndexPath:animated:scrollPosition:"), NSIndexPath::indexPathForRow(7, 0), false, 0L);
    EXPECT_FALSE(table->indexPathForSelectedRow());
    table->selectRow(second.get());
    table->reloadData();
    table->numberOfSections();
    EXPECT_FALSE(table->indexPathForSelectedRow());
}

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
    if (objectCast<UIButton>(sender))
        ++g_taps;
}

TEST_F(Controls, ButtonIsAControlWhoseActionsGoOutAsMessagesToLiveTargets)
{
    Class targetClass = freshSubclass(Object::classObject(), "TapTarget");
    class_addMethod(targetClass, SELECTOR("tapped:"), &countTap);
    Class buttonClass = freshSubclass(UIButton::classObject(), "WatchedButton");
    MSHookMessageEx(buttonClass, SELECTOR("sendAction:to:forEvent:"), &watchAction, &sendActionSlot);
    auto button = objectCast<UIButton>(UIView::createWithClass(buttonClass));
    ASSERT_TRUE(button);
    EXPECT_TRUE(button->isKindOfClass(UIControl::classObject()));
    g_taps = 0;
    g_watchedActions.clear();
    {
        auto target = class_createInstance(targetClass);
        button->addTarget(target.get(), SELECTOR("tapped:"), UIControlEventTouchUpInside);
        button->sendActionsForControlEvents(UIControlEventTouchUpInside);
        button->sendActionsForControlEvents(UIControlEventValueChanged);
        EXPECT_EQ(g_taps, 1);
        EXPECT_EQ(g_watchedActions, std::vector<std::string> { "tapped:" });
    }
    // The target is not kept alive by the button.
    button->sendActionsForControlEvents(UIControlEventTouchUpInside);
    EXPECT_EQ(g_taps, 1);
}

} // namespace
