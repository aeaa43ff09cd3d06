#include "platform/springboard/SBHomeScreen.h"

#include "platform/foundation/Dispatch.h"
#include "platform/foundation/NSProcessInfo.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/springboard/BBServer.h"
#include "platform/springboard/NCNotificationLongLookViewController.h"
#include "platform/springboard/NCNotificationMasterList.h"
#include "platform/springboard/NCNotificationStructuredListViewController.h"
#include "platform/springboard/NotificationClasses.h"
#include "platform/springboard/SBLockScreenManager.h"
#include "platform/graphics/CGImage.h"
#include "platform/graphics/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIUserInterfaceStyleArbiter.h"
#include "platform/uikit/UIWindow.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <set>

namespace {

constexpr double topInset = 60;
constexpr double bottomInset = 34;
constexpr double bannerTop = 47;
constexpr double slotSpacing = 8;
// How long a banner stays before it retracts, as on the phone.
constexpr double bannerDuration = 6;

SBHomeScreen* s_current = nullptr;

// The lock screen's wallpaper: a vertical gradient, top and bottom colour per appearance.
struct Gradient {
    std::array<double, 3> top;
    std::array<double, 3> bottom;
};
constexpr Gradient lightWallpaper { { 0.70, 0.80, 0.95 }, { 0.98, 0.86, 0.80 } };
constexpr Gradient darkWallpaper { { 0.05, 0.08, 0.20 }, { 0.22, 0.10, 0.28 } };

RefPtr<UIImage> wallpaperImage(const Gradient& gradient)
{
    // One pixel per point: a narrower strip, scaled up, fades at its edges.
    auto width = size_t(SBHomeScreen::screenSize.width);
    auto height = size_t(SBHomeScreen::screenSize.height);
    auto bitmap = CGImage::create(width, height);
    if (!bitmap)
        return nullptr;
    for (size_t y = 0; y < height; ++y) {
        double t = double(y) / double(height - 1);
        auto component = [&](size_t i) {
            return uint8_t(std::lround(255 * (gradient.top[i] + (gradient.bottom[i] - gradient.top[i]) * t)));
        };
        for (size_t x = 0; x < width; ++x)
            bitmap->setPixelAt(x, y, { component(0), component(1), component(2), 255 });
    }
    return UIImage::imageWithCGImage(bitmap);
}

// System text greys without a dynamic colour of their own: their light-appearance value
// and the value the phone shows on dark material. Any other colour (an extension's tint,
// a view that follows the appearance itself) is left alone.
struct TextGrey {
    double light;
    double dark;
};
constexpr std::array<TextGrey, 6> systemTextGreys { {
    { 0.0, 0.96 },
    { 0.15, 0.9 },
    { 0.2, 0.86 },
    { 0.35, 0.74 },
    { 0.4, 0.7 },
    { 0.45, 0.66 },
} };

bool isOpaqueGrey(UIColor* color, double white)
{
    return color && color->alpha() == 1 && color->red() == white && color->green() == white && color->blue() == white;
}

void applyAppearanceToLabels(UIView* view, bool dark)
{
    if (auto* label = objectCast<UILabel>(view)) {
        auto color = label->textColor();
        for (auto& grey : systemTextGreys) {
            if (isOpaqueGrey(color.get(), dark ? grey.light : grey.dark)) {
                label->setTextColor(UIColor::colorWithWhite(dark ? grey.dark : grey.light, 1).get());
                break;
            }
        }
    }
    for (auto& child : view->subviewList())
        applyAppearanceToLabels(child.get(), dark);
}

std::optional<std::string> textOf(const NSString* string) { return string ? std::optional(string->utf8()) : std::nullopt; }

std::optional<double> secondsOf(const NSDate* date) { return date ? std::optional(date->timeIntervalSinceReferenceDate()) : std::nullopt; }

SBHomeScreen::PublishedBulletin publishedRecord(const BBBulletin* bulletin, unsigned long destinations, bool alwaysToLockScreen, const std::string& call, int server)
{
    SBHomeScreen::PublishedBulletin record;
    record.title = textOf(bulletin->title().get());
    record.message = textOf(bulletin->message().get());
    record.sectionID = textOf(bulletin->sectionID().get());
    record.bulletinID = textOf(bulletin->bulletinID().get());
    record.recordID = textOf(bulletin->recordID().get());
    record.publisherBulletinID = textOf(bulletin->publisherBulletinID().get());
    auto action = bulletin->defaultAction();
    record.launchBundleID = action ? textOf(action->launchBundleID().get()) : std::nullopt;
    record.date = secondsOf(bulletin->date().get());
    record.publicationDate = secondsOf(bulletin->publicationDate().get());
    record.lastInterruptDate = secondsOf(bulletin->lastInterruptDate().get());
    record.clearable = bulletin->clearable();
    record.showsMessagePreview = bulletin->showsMessagePreview();
    record.destinations = destinations;
    record.alwaysToLockScreen = alwaysToLockScreen;
    record.call = call;
    record.server = server;
    return record;
}

} // namespace

struct SBHomeScreen::State {
    RefPtr<UIWindow> window;
    RefPtr<UIViewController> coverSheet;
    RefPtr<NCNotificationStructuredListViewController> list;
    RefPtr<NCNotificationMasterList> masterList;
    RefPtr<BBServer> server;

    RefPtr<UIImageView> wallpaper;
    std::optional<long> wallpaperStyle;
    RefPtr<UIView> mediaSlot;
    RefPtr<UIView> mediaView;
    std::unique_ptr<SBHomeScreenCompanions> companions;
    RefPtr<UIView> widgetsSlot;
    RefPtr<UIView> widgetsView;
    // The banner's platter sits in a presentable view in the container: its third
    // ancestor, the banner root, holds only the container.
    RefPtr<UIView> bannerRoot;
    RefPtr<UIView> bannerContainer;
    RefPtr<UIView> bannerView;
    RefPtr<NCNotificationShortLookViewController> bannerController;
    std::optional<NSRunLoop::Token> bannerTimer;

    RefPtr<NCNotificationLongLookViewController> longLook;
    bool layoutScheduled { false };

    std::vector<SBHomeScreen::PublishedBulletin> published;
    int serverNumber { 0 };
    // Requests without a section delivered to the lock screen, which the list leaves out.
    std::set<std::string> sectionlessListed;

    void observeServer(const std::shared_ptr<State>& self);
    std::string publish(std::optional<std::string_view> sectionID, std::string_view title, std::string_view message, unsigned long destinations);

    void deliver(BBBulletin* bulletin, unsigned long destinations, bool alwaysToLockScreen);
    void showBanner(NCNotificationRequest* request);
    void setBanner(RefPtr<UIView> view, RefPtr<NCNotificationShortLookViewController> controller);
    void dismissLongLook();
    void placeSlots();
    // The wallpaper and the system's text greys follow the current light/dark style.
    void applyAppearance();
    void layout();
    // Like the phone's run loop, lays out once after a burst of deliveries.
    void scheduleLayout(const std::shared_ptr<State>& self);
};

void SBHomeScreen::State::deliver(BBBulletin* bulletin, unsigned long destinations, bool alwaysToLockScreen)
{
    auto request = NCNotificationRequest::notificationRequestForBulletin(bulletin);
    if (!request)
        return;
    bool locked = SBLockScreenManager::sharedInstance()->isUILocked();
    bool wantsBanner = destinations & destinationBanner;
    // A locked phone shows a banner's notification on the lock screen instead.
    bool toList = (destinations & destinationLockScreen) || alwaysToLockScreen || (wantsBanner && locked);
    if (toList) {
        msgSend<void>(masterList, SELECTOR("insertNotificationRequest:"), request);
        // The master list files requests by section and refuses these; the companions' rows
        // still show them.
        if (request->sectionID().empty())
            sectionlessListed.insert(std::string(request->identifier()));
    }
    if (wantsBanner && !locked)
        showBanner(request.get());
}

void SBHomeScreen::State::observeServer(const std::shared_ptr<State>& self)
{
    if (!server)
        return;
    int number = ++serverNumber;
    std::weak_ptr<State> weakState = self;
    server->setObserver([weakState, number](RefPtr<BBBulletin> bulletin, unsigned long destinations, bool alwaysToLockScreen, std::string_view call) {
        // The server works on its queue; the interface is the main thread's.
        dispatch_async(dispatch_get_main_queue(), [weakState, bulletin, destinations, alwaysToLockScreen, call = std::string(call), number] {
            auto state = weakState.lock();
            if (!state)
                return;
            state->published.push_back(publishedRecord(bulletin.get(), destinations, alwaysToLockScreen, call, number));
            state->deliver(bulletin.get(), destinations, alwaysToLockScreen);
            state->scheduleLayout(state);
        });
    });
}

void SBHomeScreen::State::scheduleLayout(const std::shared_ptr<State>& self)
{
    if (layoutScheduled)
        return;
    layoutScheduled = true;
    NSRunLoop::mainRunLoop().perform([weakState = std::weak_ptr<State>(self)] {
        if (auto state = weakState.lock())
            state->layout();
    });
}

void SBHomeScreen::State::showBanner(NCNotificationRequest* request)
{
    auto controller = NCNotificationShortLookViewController::createForRequest(request);
    auto look = controller ? controller->lookView() : nullptr;
    if (!controller || !controller->view())
        return;
    auto presentable = UIView::create();
    presentable->addSubview(controller->view().get());
    setBanner(presentable, controller);
}

void SBHomeScreen::State::setBanner(RefPtr<UIView> view, RefPtr<NCNotificationShortLookViewController> controller)
{
    if (bannerTimer) {
        NSRunLoop::mainRunLoop().cancel(*bannerTimer);
        bannerTimer.reset();
    }
    if (bannerView)
        bannerView->removeFromSuperview();
    if (bannerController)
        bannerController->removeFromParentViewController();
    bannerView = std::move(view);
    bannerController = std::move(controller);
    if (bannerController)
        coverSheet->addChildViewController(bannerController.get());
    if (bannerView)
        bannerContainer->addSubview(bannerView.get());
    placeSlots();
    if (!bannerController)
        return;
    auto shown = bannerController;
    bannerTimer = NSRunLoop::mainRunLoop().performAfter(bannerDuration, [this, shown] {
        bannerTimer.reset();
        if (bannerController.get() != shown.get())
            return;
        setBanner(nullptr, nullptr);
        layout();
    });
}

void SBHomeScreen::State::dismissLongLook()
{
    if (!longLook)
        return;
    auto controller = std::exchange(longLook, nullptr);
    controller->beginAppearanceTransition(false, true);
    if (auto view = controller->viewIfLoaded())
        view->removeFromSuperview();
    controller->endAppearanceTransition();
    controller->removeFromParentViewController();
}

void SBHomeScreen::State::placeSlots()
{
    CGRect bounds = window->bounds();
    double width = bounds.size.width;
    double columnWidth = std::max(0.0, width - 2 * NCNotificationStructuredListViewController::horizontalMargin);
    double mediaHeight = mediaView ? mediaView->frame().size.height : 0;
    mediaSlot->setFrame(CGRectMake(NCNotificationStructuredListViewController::horizontalMargin, topInset, columnWidth, mediaHeight));
    if (mediaView)
        mediaView->setFrame(CGRectMake(0, 0, columnWidth, mediaHeight));
    double rowsTop = topInset + (mediaView ? mediaHeight + slotSpacing : 0);
    companions->placeRows(NCNotificationStructuredListViewController::horizontalMargin, rowsTop, columnWidth);
    double listTop = rowsTop + companions->rowsHeight();
    if (auto listView = list->viewIfLoaded())
        listView->setFrame(CGRectMake(0, listTop, width, std::max(0.0, bounds.size.height - listTop - bottomInset)));
    wallpaper->setFrame(bounds);
    widgetsSlot->setFrame(bounds);
    if (widgetsView)
        widgetsView->setFrame(widgetsSlot->bounds());

    double bannerHeight = 0;
    if (bannerView) {
        auto look = bannerController ? bannerController->lookView() : nullptr;
        bannerHeight = look ? look->preferredHeight() : bannerView->frame().size.height;
        bannerView->setFrame(CGRectMake(0, 0, columnWidth, bannerHeight));
        if (look)
            look->setFrame(bannerView->bounds());
    }
    bannerRoot->setFrame(CGRectMake(0, bannerTop, width, bannerHeight));
    bannerContainer->setFrame(CGRectMake(NCNotificationStructuredListViewController::horizontalMargin, 0, columnWidth, bannerHeight));
    if (longLook) {
        if (auto view = longLook->viewIfLoaded())
            view->setFrame(bounds);
    }
}

void SBHomeScreen::State::applyAppearance()
{
    long style = UIUserInterfaceStyleArbiter::sharedInstance()->currentStyle();
    bool dark = style == UIUserInterfaceStyleDark;
    if (wallpaperStyle != style) {
        wallpaperStyle = style;
        wallpaper->setImage(wallpaperImage(dark ? darkWallpaper : lightWallpaper).get());
    }
    applyAppearanceToLabels(window.get(), dark);
}

void SBHomeScreen::State::layout()
{
    layoutScheduled = false;
    companions->setShowsSectionlessCell(!sectionlessListed.empty());
    companions->updateRows(*list);
    placeSlots();
    window->layoutIfNeeded();
    // The pass made the cells now on screen; their containers follow.
    companions->updateContainers(*list);
    companions->placeContainers(*list);
    // After layout: views create their labels while laying out.
    applyAppearance();
}

SBHomeScreen::SBHomeScreen()
    : SBHomeScreen(nullptr)
{
}

SBHomeScreen::SBHomeScreen(Class serverClass)
    : m_state(std::make_shared<State>())
{
    registerNotificationClasses();
    NSRunLoop::mainRunLoop();
    // A fresh home screen starts unlocked, after the user's first unlock.
    SBLockScreenManager::sharedInstance()->unlockUIFromSource(0, nullptr);

    auto& state = *m_state;
    state.window = UIWindow::create(CGRectMake(0, 0, screenSize.width, screenSize.height));
    state.coverSheet = UIViewController::create();
    auto root = state.coverSheet->view();
    state.wallpaper = UIImageView::create();
    state.wallpaper->setContentMode(UIViewContentModeScaleToFill);
    root->addSubview(state.wallpaper.get());
    state.mediaSlot = UIView::create();
    root->addSubview(state.mediaSlot.get());

    state.masterList = NCNotificationMasterList::create();
    state.list = NCNotificationStructuredListViewController::create();
    state.masterList->setListViewController(state.list.get());
    state.coverSheet->addChildViewController(state.list.get());
    root->addSubview(state.list->view().get());
    // The extensions are loaded by now: their classes are there or never will be.
    state.companions = std::make_unique<SBHomeScreenCompanions>(root.get(), state.list->view().get());

    state.widgetsSlot = UIView::create();
    state.widgetsSlot->setHidden(true);
    root->addSubview(state.widgetsSlot.get());
    state.bannerRoot = UIView::create();
    state.bannerContainer = UIView::create();
    state.bannerRoot->addSubview(state.bannerContainer.get());
    root->addSubview(state.bannerRoot.get());

    state.window->setRootViewController(state.coverSheet.get());
    state.window->makeKeyAndVisible();

    state.server = BBServer::createForSystem(serverClass);
    state.observeServer(m_state);
    s_current = this;
    state.layout();
}

SBHomeScreen::~SBHomeScreen()
{
    if (s_current == this)
        s_current = nullptr;
    auto& state = *m_state;
    if (state.server)
        state.server->setObserver({});
    state.dismissLongLook();
    state.setBanner(nullptr, nullptr);
    state.masterList->setListViewController(nullptr);
    state.window->setRootViewController(nullptr);
}

SBHomeScreen* SBHomeScreen::current() { return s_current; }

std::string SBHomeScreen::publishBulletin(std::string_view sectionID, std::string_view title, std::string_view message, unsigned long destinations)
{
    return m_state->publish(sectionID, title, message, destinations);
}

std::string SBHomeScreen::publishSectionlessBulletin(std::string_view title, std::string_view message, unsigned long destinations)
{
    return m_state->publish(std::nullopt, title, message, destinations);
}

std::string SBHomeScreen::State::publish(std::optional<std::string_view> sectionID, std::string_view title, std::string_view message, unsigned long destinations)
{
    auto queue = server ? server->queue() : nullptr;
    if (!queue)
        return {};
    // Asked as a data provider asks, so a server of another version is taken at its word.
    auto answers = [&](SEL call) { return msgSend<bool>(server, SELECTOR("respondsToSelector:"), call); };
    bool lockScreenCall = answers(SELECTOR("publishBulletin:destinations:alwaysToLockScreen:"));
    if (!lockScreenCall && !answers(SELECTOR("publishBulletin:destinations:")))
        return {};
    auto processInfo = NSProcessInfo::processInfo();
    auto identifier = processInfo->globallyUniqueString();
    auto date = NSDate::date();
    auto bulletin = BBBulletin::create();
    RefPtr<NSString> section;
    if (sectionID)
        section = NSString::string(*sectionID);
    bulletin->setTitle(NSString::string(title).get());
    bulletin->setMessage(NSString::string(message).get());
    bulletin->setSectionID(section.get());
    bulletin->setBulletinID(identifier.get());
    bulletin->setRecordID(processInfo->globallyUniqueString().get());
    bulletin->setPublisherBulletinID(processInfo->globallyUniqueString().get());
    bulletin->setDate(date.get());
    bulletin->setDefaultAction(BBAction::actionWithLaunchBundleID(section.get(), nullptr).get());
    bulletin->setClearable(true);
    bulletin->setShowsMessagePreview(true);
    bulletin->setPublicationDate(date.get());
    bulletin->setLastInterruptDate(date.get());
    dispatch_sync(queue.get(), [&] {
        if (lockScreenCall)
            server->publishBulletin(bulletin.get(), destinations, false);
        else
            server->publishBulletin(bulletin.get(), destinations);
    });
    NSRunLoop::mainRunLoop().runUntilIdle();
    layout();
    return identifier->utf8();
}

const std::vector<SBHomeScreen::PublishedBulletin>& SBHomeScreen::publishedBulletins() const { return m_state->published; }

bool SBHomeScreen::replaceServer(Class serverClass, bool exportQueue)
{
    auto& state = *m_state;
    if (state.server) {
        state.server->setObserver({});
        // Gone now unless someone else holds it.
        state.server = nullptr;
    }
    state.server = BBServer::createForSystem(serverClass);
    if (!exportQueue)
        BBServer::withdrawExportedQueue();
    state.observeServer(m_state);
    return state.server.get() != nullptr;
}

bool SBHomeScreen::removeNotification(std::string_view identifier)
{
    if (m_state->sectionlessListed.erase(std::string(identifier))) {
        m_state->layout();
        return true;
    }
    auto request = m_state->masterList->requestWithIdentifier(identifier);
    if (!request)
        return false;
    if (m_state->longLook && m_state->longLook->notificationRequest().get() == request.get())
        m_state->dismissLongLook();
    msgSend<void>(m_state->masterList, SELECTOR("removeNotificationRequest:"), request);
    m_state->layout();
    return true;
}

std::vector<std::string> SBHomeScreen::notificationIdentifiers() const
{
    std::vector<std::string> identifiers;
    for (auto& request : m_state->masterList->requests())
        identifiers.emplace_back(request->identifier());
    return identifiers;
}

bool SBHomeScreen::expandNotification(std::string_view identifier, const LongLookOptions& options)
{
    auto request = m_state->list->isListed(identifier) ? m_state->masterList->requestWithIdentifier(identifier) : nullptr;
    if (!request)
        return false;
    m_state->dismissLongLook();
    auto controller = NCNotificationLongLookViewController::createForRequest(request.get());
    auto view = controller ? controller->view() : nullptr;
    if (!view)
        return false;
    if (options.customContent) {
        auto custom = UIView::create();
        custom->setBackgroundColor(UIColor::colorWithWhite(0.97, 1).get());
        controller->lookView()->setCustomContentView(custom.get());
    }
    if (options.daynContainer)
        m_state->companions->attachContainer(controller->lookView().get(), controller.get(), CGRectMake(2, 12, 5, 96));
    m_state->longLook = controller;
    m_state->coverSheet->addChildViewController(controller.get());
    controller->beginAppearanceTransition(true, true);
    // Under the banners, over everything else.
    auto root = m_state->coverSheet->view();
    root->insertSubviewAtIndex(view.get(), long(root->subviewList().size()) - 1);
    controller->endAppearanceTransition();
    m_state->layout();
    return true;
}

void SBHomeScreen::collapseLongLook()
{
    m_state->dismissLongLook();
    m_state->layout();
}

bool SBHomeScreen::swipeCell(std::string_view identifier)
{
    // A finger swipes what is on screen: the list is scrolled to the notification first.
    if (!m_state->list->cellForNotification(identifier) && !scrollToNotification(identifier))
        return false;
    auto cell = m_state->list->cellForNotification(identifier);
    if (!cell)
        return false;
    cell->swipeOpen();
    m_state->layout();
    return true;
}

bool SBHomeScreen::collapseGroup(std::string_view sectionID)
{
    bool found = m_state->list->setGroupCollapsed(sectionID, true);
    m_state->layout();
    return found;
}

bool SBHomeScreen::expandGroup(std::string_view sectionID)
{
    bool found = m_state->list->setGroupCollapsed(sectionID, false);
    m_state->layout();
    return found;
}

double SBHomeScreen::listOffset() const
{
    return m_state->list->rootListView()->contentOffset().y;
}

double SBHomeScreen::maximumListOffset() const
{
    auto list = m_state->list->rootListView();
    return std::max(0.0, list->contentSize().height - list->bounds().size.height);
}

void SBHomeScreen::scrollListTo(double offset)
{
    // The content's height is known once laid out.
    m_state->layout();
    auto list = m_state->list->rootListView();
    double clamped = std::clamp(std::isfinite(offset) ? offset : 0.0, 0.0, maximumListOffset());
    list->setContentOffset(CGPointMake(list->contentOffset().x, clamped));
    m_state->layout();
}

void SBHomeScreen::scrollListBy(double distance)
{
    scrollListTo(listOffset() + distance);
}

bool SBHomeScreen::scrollToNotification(std::string_view identifier)
{
    m_state->layout();
    auto origin = m_state->list->contentOriginOfNotification(identifier);
    if (!origin)
        return false;
    scrollListTo(*origin);
    return true;
}

void SBHomeScreen::setGrouping(Grouping grouping)
{
    m_state->list->setGrouping(grouping);
    m_state->layout();
    // Regrouped content may be shorter than where the list was.
    scrollListTo(listOffset());
}

SBHomeScreen::Grouping SBHomeScreen::grouping() const { return m_state->list->grouping(); }

void SBHomeScreen::revealHistory()
{
    m_state->list->revealNotificationHistory(true, true);
    m_state->layout();
}

const SBHomeScreenCompanions& SBHomeScreen::companions() const { return *m_state->companions; }

bool SBHomeScreen::selectCompanionCell(SBHomeScreenCompanions::AppCellRow row, std::string_view bundleIdentifier, bool selected)
{
    bool found = m_state->companions->setSelected(row, bundleIdentifier, selected);
    m_state->layout();
    return found;
}

void SBHomeScreen::lock()
{
    SBLockScreenManager::sharedInstance()->lockUIFromSource(1, nullptr);
}

void SBHomeScreen::unlock()
{
    SBLockScreenManager::sharedInstance()->unlockUIFromSource(1, nullptr);
}

bool SBHomeScreen::isLocked() const { return SBLockScreenManager::sharedInstance()->isUILocked(); }

void SBHomeScreen::setAppearance(Appearance appearance)
{
    long style = appearance == Appearance::Dark ? UIUserInterfaceStyleDark
        : appearance == Appearance::Light       ? UIUserInterfaceStyleLight
                                                : UIUserInterfaceStyleUnspecified;
    UIUserInterfaceStyleArbiter::sharedInstance()->setCurrentStyle(style);
    drainMainQueue();
    m_state->layout();
}

void SBHomeScreen::layoutNow()
{
    drainMainQueue();
    m_state->companions->setShowsSectionlessCell(!m_state->sectionlessListed.empty());
    m_state->companions->updateRows(*m_state->list);
    m_state->placeSlots();
    m_state->window->layoutTreeNow();
    m_state->companions->updateContainers(*m_state->list);
    m_state->companions->placeContainers(*m_state->list);
    m_state->applyAppearance();
}

void SBHomeScreen::drainMainQueue() { NSRunLoop::mainRunLoop().runUntilIdle(); }

void SBHomeScreen::advanceTime(double seconds)
{
    NSRunLoop::mainRunLoop().advanceBy(seconds);
    m_state->layout();
}

RefPtr<UIWindow> SBHomeScreen::window() const { return m_state->window; }

void SBHomeScreen::setMediaControlsView(RefPtr<UIView> view)
{
    if (m_state->mediaView)
        m_state->mediaView->removeFromSuperview();
    m_state->mediaView = std::move(view);
    if (m_state->mediaView)
        m_state->mediaSlot->addSubview(m_state->mediaView.get());
    m_state->list->rootListView()->setNeedsLayout();
    m_state->layout();
}

void SBHomeScreen::setWidgetsPageView(RefPtr<UIView> view)
{
    if (m_state->widgetsView)
        m_state->widgetsView->removeFromSuperview();
    m_state->widgetsView = std::move(view);
    if (m_state->widgetsView)
        m_state->widgetsSlot->addSubview(m_state->widgetsView.get());
    m_state->layout();
}

void SBHomeScreen::showWidgetsPage(bool shown)
{
    m_state->widgetsSlot->setHidden(!shown);
    m_state->layout();
}

void SBHomeScreen::setBannerView(RefPtr<UIView> view)
{
    m_state->setBanner(std::move(view), nullptr);
    m_state->layout();
}

RefPtr<BBServer> SBHomeScreen::server() const { return m_state->server; }
RefPtr<OS_dispatch_queue> SBHomeScreen::serverQueue() const { return m_state->server ? m_state->server->queue() : nullptr; }
RefPtr<NCNotificationMasterList> SBHomeScreen::masterList() const { return m_state->masterList; }
RefPtr<NCNotificationStructuredListViewController> SBHomeScreen::listController() const { return m_state->list; }
RefPtr<NCNotificationListView> SBHomeScreen::rootListView() const { return m_state->list->rootListView(); }
RefPtr<NCNotificationListView> SBHomeScreen::groupListView(std::string_view sectionID) const { return m_state->list->groupListView(sectionID); }
RefPtr<NCNotificationListCell> SBHomeScreen::cellForNotification(std::string_view identifier) const { return m_state->list->cellForNotification(identifier); }
RefPtr<NCNotificationLongLookViewController> SBHomeScreen::longLookViewController() const { return m_state->longLook; }
RefPtr<UIView> SBHomeScreen::bannerView() const { return m_state->bannerView; }
