#include "platform/foundation/NSArray.h"
#include "platform/settings/SettingsClasses.h"
#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UIWindow.h"

#include <gtest/gtest.h>

// What settings pages build their title view and banner with: anchors pinned to a
// container the bar or the table sizes.
namespace {

void pinEdges(UIView* view, UIView* container)
{
    msgSend<void>(view, SELECTOR("setTranslatesAutoresizingMaskIntoConstraints:"), false);
    std::vector<Id> constraints;
    for (auto anchor : { "topAnchor", "leadingAnchor", "trailingAnchor", "bottomAnchor" }) {
        auto mine = msgSend<RefPtr<NSLayoutAnchor>>(view, sel_registerName(anchor));
        auto theirs = msgSend<RefPtr<NSLayoutAnchor>>(container, sel_registerName(anchor));
        constraints.push_back(msgSend<Id>(mine, SELECTOR("constraintEqualToAnchor:"), theirs));
    }
    msgSendClass<void>(NSLayoutConstraint::classObject(), SELECTOR("activateConstraints:"), NSArray::arrayWithObjects(constraints));
}

} // namespace

TEST(SettingsLayout, TitleViewContentFollowsTheBarAndBannerFollowsTheTable)
{
    registerSettingsClasses();
    auto page = UIViewController::create();
    auto titleView = UIView::create();
    auto label = UILabel::create(CGRectMake(0, 0, 10, 10));
    titleView->addSubview(label.get());
    pinEdges(label.get(), titleView.get());
    EXPECT_FALSE(msgSend<bool>(label, SELECTOR("translatesAutoresizingMaskIntoConstraints")));
    page->navigationItem()->setTitleView(titleView.get());

    auto navigation = UINavigationController::createWithRoot(page.get());
    auto window = UIWindow::create(CGRectMake(0, 0, 375, 667));
    window->setRootViewController(navigation.get());
    window->layoutTreeNow();
    ASSERT_EQ(titleView->superview().get(), navigation->navigationBar().get());
    EXPECT_GT(titleView->frame().size.width, 10);
    EXPECT_TRUE(CGRectEqualToRect(label->frame(), titleView->bounds()));

    auto table = UITableView::create(CGRectMake(0, 0, 320, 500), UITableViewStyleGrouped);
    auto header = UIView::create(CGRectMake(0, 0, 200, 200));
    auto banner = UIView::create(CGRectMake(0, 0, 200, 200));
    header->addSubview(banner.get());
    pinEdges(banner.get(), header.get());
    table->setTableHeaderView(header.get());
    table->loadAndLayoutNow();
    EXPECT_EQ(header->frame().size.width, 320);
    EXPECT_TRUE(CGRectEqualToRect(banner->frame(), CGRectMake(0, 0, 320, 200)));
    // A frame set by hand stays until the container resizes the header again.
    banner->setFrame(CGRectMake(0, -50, 320, 250));
    table->loadAndLayoutNow();
    EXPECT_TRUE(CGRectEqualToRect(banner->frame(), CGRectMake(0, -50, 320, 250)));
}
