#include "prefs/TWLRootListController.h"

#include "outside/cephei/HBRespringController.h"
#include "platform/foundation/CFNotificationCenter.h"
#include "platform/foundation/NSBlock.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/runtime/WeakPtr.h"
#include "platform/settings/NSTask.h"
#include "platform/uikit/NSAttributedString.h"
#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UINavigationController.h"
#include "prefs/TWLAppearanceSettings.h"

#include <algorithm>
#include <array>

Class TWLRootListController::classObject()
{
    static Class cls = ClassBuilder<TWLRootListController>("TWLRootListController", HBRootListController::classObject())
                           .method<&TWLRootListController::initImpl>("init")
                           .method<&TWLRootListController::specifiersImpl>("specifiers")
                           .method<&TWLRootListController::viewDidLoadImpl>("viewDidLoad")
                           .method<&TWLRootListController::viewWillAppearImpl>("viewWillAppear:")
                           .method<&TWLRootListController::viewDidAppearImpl>("viewDidAppear:")
                           .method<&TWLRootListController::viewWillDisappearImpl>("viewWillDisappear:")
                           .method<&TWLRootListController::scrollViewDidScrollImpl>("scrollViewDidScroll:")
                           .method<&TWLRootListController::cellForRowImpl>("tableView:cellForRowAtIndexPath:")
                           .method<&TWLRootListController::testNotificationsImpl>("testNotifications:")
                           .method<&TWLRootListController::testBannerImpl>("testBanner:")
                           .method<&TWLRootListController::respringImpl>("respring")
                           .method<&TWLRootListController::cepheiRespringImpl>("cepheiRespring")
                           .method<&TWLRootListController::respringUtilImpl>("respringUtil")
                           .method<&TWLRootListController::respringButtonImpl>("respringButton")
                           .method<&TWLRootListController::setRespringButtonImpl>("setRespringButton:")
                           .method<&TWLRootListController::headerViewImpl>("headerView")
                           .method<&TWLRootListController::setHeaderViewImpl>("setHeaderView:")
                           .method<&TWLRootListController::headerImageViewImpl>("headerImageView")
                           .method<&TWLRootListController::setHeaderImageViewImpl>("setHeaderImageView:")
                           .method<&TWLRootListController::titleLabelImpl>("titleLabel")
                           .method<&TWLRootListController::setTitleLabelImpl>("setTitleLabel:")
                           .method<&TWLRootListController::iconViewImpl>("iconView")
                           .method<&TWLRootListController::setIconViewImpl>("setIconView:")
                           .build();
    return cls;
}

namespace {

void postDarwin(const char* name)
{
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), CFSTR(name), nullptr, nullptr, true);
}

Id anchor(UIView* view, const char* name) { return msgSend<Id>(view, sel_registerName(name)); }

// Top, leading, trailing and bottom of `view` pinned to the same anchors of `container`.
void appendEdgeConstraints(std::vector<Id>& constraints, UIView* view, UIView* container)
{
    for (auto name : { "topAnchor", "leadingAnchor", "trailingAnchor", "bottomAnchor" }) {
        RefPtr<NSLayoutAnchor> own = objectCast<NSLayoutAnchor>(anchor(view, name));
        RefPtr<NSLayoutAnchor> other = objectCast<NSLayoutAnchor>(anchor(container, name));
        constraints.push_back(msgSend<Id>(own, SELECTOR("constraintEqualToAnchor:"), other));
    }
}

void stopAutoresizingConstraints(UIView* view)
{
    msgSend<void>(view, SELECTOR("setTranslatesAutoresizingMaskIntoConstraints:"), false);
}

// The Settings app shows the page inside its own navigation controller; the bar the
// user sees belongs to the one around that.
RefPtr<UINavigationController> outerNavigationController(UIViewController* page)
{
    auto own = page->navigationController();
    if (!own)
        return nullptr;
    return objectCast<UINavigationController>(own->navigationController());
}

} // namespace

Id TWLRootListController::initImpl()
{
    auto self = msgSendSuper<Id>(this, classObject(), SELECTOR("init"));
    if (!self)
        return nullptr;

    msgSend<void>(this, SELECTOR("hb_setAppearanceSettings:"), HBAppearanceSettings::createWithClass(TWLAppearanceSettings::classObject()));

    m_respringButton = UIBarButtonItem::create(NSString::string("ReSpring").get(), UIBarButtonItemStylePlain, this, SELECTOR("respring"));
    m_respringButton->setTintColor(UIColor::whiteColor().get());
    navigationItem()->setRightBarButtonItem(m_respringButton.get());

    auto titleView = UIView::create<UIView>();
    navigationItem()->setTitleView(titleView.get());

    m_titleLabel = UILabel::create(CGRectMake(0, 0, 10, 10));
    m_titleLabel->setFont(UIFont::boldSystemFontOfSize(17).get());
    stopAutoresizingConstraints(m_titleLabel.get());
    m_titleLabel->setText("Tintwell");
    m_titleLabel->setTextColor(UIColor::whiteColor().get());
    m_titleLabel->setTextAlignment(NSTextAlignmentCenter);
    titleView->addSubview(m_titleLabel.get());

    m_iconView = UIImageView::create(CGRectMake(0, 0, 10, 10));
    m_iconView->setContentMode(UIViewContentModeScaleAspectFit);
    m_iconView->setImage(UIImage::imageWithContentsOfFile(iconPath).get());
    stopAutoresizingConstraints(m_iconView.get());
    m_iconView->setAlpha(0.0);
    titleView->addSubview(m_iconView.get());

    std::vector<Id> constraints;
    appendEdgeConstraints(constraints, m_titleLabel.get(), titleView.get());
    appendEdgeConstraints(constraints, m_iconView.get(), titleView.get());
    NSLayoutConstraint::activateConstraints(NSArray::arrayWithObjects(std::move(constraints)).get());
    return self;
}

Id TWLRootListController::specifiersImpl()
{
    if (!m_specifiers)
        m_specifiers = loadSpecifiersFromPlistName("Root", this);
    return m_specifiers;
}

void TWLRootListController::viewDidLoadImpl()
{
    msgSendSuper<void>(this, classObject(), SELECTOR("viewDidLoad"));

    m_headerView = UIView::create<UIView>(CGRectMake(0, 0, headerHeight, headerHeight));
    m_headerImageView = UIImageView::create(CGRectMake(0, 0, headerHeight, headerHeight));
    m_headerImageView->setContentMode(UIViewContentModeScaleAspectFill);
    m_headerImageView->setClipsToBounds(true);
    msgSend<void>(m_headerImageView.get(), SELECTOR("setOpaque:"), true);
    m_headerImageView->setImage(UIImage::imageWithContentsOfFile(bannerPath).get());
    stopAutoresizingConstraints(m_headerImageView.get());
    m_headerView->addSubview(m_headerImageView.get());

    std::vector<Id> constraints;
    appendEdgeConstraints(constraints, m_headerImageView.get(), m_headerView.get());
    NSLayoutConstraint::activateConstraints(NSArray::arrayWithObjects(std::move(constraints)).get());

    if (auto table = this->table())
        table->setTableHeaderView(m_headerView.get());
}

Id TWLRootListController::cellForRowImpl(UITableView* tableView, NSIndexPath* indexPath)
{
    // The list machinery may rebuild the table's header; the banner must stay on top.
    if (tableView)
        tableView->setTableHeaderView(m_headerView.get());
    return msgSendSuper<Id>(this, classObject(), SELECTOR("tableView:cellForRowAtIndexPath:"), tableView, indexPath);
}

void TWLRootListController::viewWillAppearImpl(bool animated)
{
    msgSendSuper<void>(this, classObject(), SELECTOR("viewWillAppear:"), animated);
    auto outer = outerNavigationController(this);
    if (!outer)
        return;
    auto bar = outer->navigationBar();
    bar->setBarTintColor(UIColor::colorWithRed(0.64, 0.67, 1.0, 1.0).get());
    bar->setShadowImage(make<UIImage>().get());
    bar->setTintColor(UIColor::whiteColor().get());
    bar->setTranslucent(false);
    bar->setPrefersLargeTitles(false);
    outer->navigationItem()->setLargeTitleDisplayMode(2);
}

void TWLRootListController::setOuterTitleColour(UIColor* colour)
{
    auto outer = outerNavigationController(this);
    if (!outer)
        return;
    outer->navigationBar()->setTitleTextAttributes(NSDictionary::dictionaryWithPairs({ { Id(const_cast<NSString*>(NSForegroundColorAttributeName)), Id(colour) } }).get());
}

void TWLRootListController::viewDidAppearImpl(bool animated)
{
    msgSendSuper<void>(this, classObject(), SELECTOR("viewDidAppear:"), animated);
    setOuterTitleColour(UIColor::whiteColor().get());
}

void TWLRootListController::viewWillDisappearImpl(bool animated)
{
    msgSendSuper<void>(this, classObject(), SELECTOR("viewWillDisappear:"), animated);
    setOuterTitleColour(UIColor::blackColor().get());
}

void TWLRootListController::scrollViewDidScrollImpl(UIScrollView* scrollView)
{
    double y = scrollView ? scrollView->contentOffset().y : 0.0;
    bool headerGone = y > headerHeight;
    auto icon = m_iconView;
    auto label = m_titleLabel;
    UIView::sendAnimateWithDuration(0.2, NSBlock::create([icon, label, headerGone] {
        if (icon)
            icon->setAlpha(headerGone ? 1.0 : 0.0);
        if (label)
            label->setAlpha(headerGone ? 0.0 : 1.0);
    }).get());

    if (!m_headerImageView)
        return;
    double top = std::min(y, 0.0);
    double width = m_headerView ? m_headerView->frame().size.width : 0.0;
    m_headerImageView->setFrame(CGRectMake(0, top, width, headerHeight - top));
}

void TWLRootListController::testNotificationsImpl(Object*) { postDarwin("com.quillfen.tintwell/TestNotifications"); }

void TWLRootListController::testBannerImpl(Object*) { postDarwin("com.quillfen.tintwell/TestBanner"); }

void TWLRootListController::respringImpl()
{
    auto alert = UIAlertController::alertControllerWithTitle(NSString::string("Tintwell").get(), NSString::string("Are you sure you want to respring?").get(), UIAlertControllerStyleAlert);
    // Weak: the alert may outlive the page it was shown from.
    WeakPtr<TWLRootListController> weakSelf(this);
    alert->addAction(UIAlertAction::actionWithTitle(NSString::string("Confirm").get(), UIAlertActionStyleDestructive,
                                 NSBlock::create([weakSelf] {
                                     if (auto self = weakSelf.get())
                                         msgSend<void>(self.get(), SELECTOR("cepheiRespring"));
                                 }).get())
                         .get());
    alert->addAction(UIAlertAction::actionWithTitle(NSString::string("Cancel").get(), UIAlertActionStyleCancel, nullptr).get());
    msgSend<void>(this, SELECTOR("presentViewController:animated:completion:"), alert, true, nullptr);
}

void TWLRootListController::cepheiRespringImpl()
{
    msgSendClass<void>(objc_getClass("HBRespringController"), SELECTOR("respringAndReturnTo:"), NSString::string("prefs:root=Tintwell"));
}

void TWLRootListController::respringUtilImpl()
{
    auto task = NSTask::create();
    task->setLaunchPath(NSString::string(sbreloadPath).get());
    task->launch();
}

// The Settings app finds the bundle's classes by name once it has opened the bundle.
__attribute__((constructor)) static void registerTWLRootListController() { TWLRootListController::classObject(); }
