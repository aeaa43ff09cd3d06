#include "platform/springboard/ScenarioRunner.h"

#include "platform/foundation/HostClock.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/foundation/NSString.h"
#include "platform/springboard/SBHomeScreen.h"
#include "platform/springboard/Scenario.h"

ScenarioRunner::ScenarioRunner(SBHomeScreen& homeScreen)
    : m_homeScreen(homeScreen)
    , m_mediaController(SBMediaController::create(homeScreen))
{
}

ScenarioRunner::~ScenarioRunner()
{
    stopObservingAwaited();
}

void ScenarioRunner::run(const Scenario& scenario)
{
    observeAwaited(scenario);
    int64_t start = HostClock::uptimeNanoseconds();
    for (auto& event : scenario.events()) {
        m_currentEvent = event.number;
        if (event.at) {
            int64_t due = start + HostClock::delayNanoseconds(*event.at);
            int64_t now = HostClock::uptimeNanoseconds();
            if (due > now)
                m_homeScreen.advanceTime(double(due - now) / 1e9);
        }
        event.action(*this);
        if (m_failure)
            break;
    }
    m_currentEvent = 0;
    stopObservingAwaited();
}

// Observed before the first event, so a post sent while earlier events run is not lost.
void ScenarioRunner::observeAwaited(const Scenario& scenario)
{
    auto& center = CFNotificationCenter::darwinNotifyCenter();
    for (auto& name : scenario.awaitedNotifications()) {
        m_pendingPosts.try_emplace(name, 0);
        center.addObserver(this, &ScenarioRunner::countPost, name);
    }
}

void ScenarioRunner::stopObservingAwaited()
{
    if (m_pendingPosts.empty())
        return;
    CFNotificationCenter::darwinNotifyCenter().removeObserver(this, {});
    m_pendingPosts.clear();
}

void ScenarioRunner::countPost(CFNotificationCenterRef, void* observer, CFStringRef name, const void*, CFDictionaryRef)
{
    auto& runner = *static_cast<ScenarioRunner*>(observer);
    auto pending = runner.m_pendingPosts.find(name->utf8());
    if (pending != runner.m_pendingPosts.end())
        ++pending->second;
}

bool ScenarioRunner::waitForNotification(const std::string& name, double timeoutSeconds)
{
    if (!m_pendingPosts.contains(name)) {
        m_pendingPosts.emplace(name, 0);
        CFNotificationCenter::darwinNotifyCenter().addObserver(this, &ScenarioRunner::countPost, name);
    }
    auto& pending = m_pendingPosts[name];
    bool arrived = NSRunLoop::mainRunLoop().runUntil([&pending] { return pending > 0; }, timeoutSeconds);
    if (arrived)
        --pending;
    m_homeScreen.drainMainQueue();
    m_homeScreen.layoutNow();
    return arrived;
}

void ScenarioRunner::fail(std::string message)
{
    if (m_currentEvent)
        message = "event " + std::to_string(m_currentEvent) + ": " + message;
    m_failure = std::move(message);
}

WGWidgetListViewController& ScenarioRunner::widgetsPage()
{
    if (!m_widgetsPage) {
        m_widgetsPage = WGWidgetListViewController::create();
        m_homeScreen.setWidgetsPageView(m_widgetsPage->view());
    }
    return *m_widgetsPage;
}

void ScenarioRunner::setWidgets(const std::vector<RefPtr<WGWidgetHostingViewController>>& hosts)
{
    auto& page = widgetsPage();
    m_widgetsGiven = true;
    page.removeAllWidgets();
    for (auto& host : hosts)
        page.addWidget(host.get());
    m_homeScreen.layoutNow();
}

void ScenarioRunner::showWidgets(bool shown)
{
    if (shown && !m_widgetsGiven)
        setWidgets(WGWidgetListViewController::sampleWidgets());
    widgetsPage();
    m_widgetsShown = shown;
    m_homeScreen.showWidgetsPage(shown);
    m_homeScreen.layoutNow();
}

void ScenarioRunner::takeSnapshot(const std::string& name, bool layout)
{
    if (layout)
        m_homeScreen.layoutNow();
    if (m_snapshotWriter)
        m_snapshotWriter(name);
}

void ScenarioRunner::nameNotification(const std::string& name, const std::string& identifier)
{
    m_notificationNames[name] = identifier;
}

std::string ScenarioRunner::notificationIdentifier(std::string_view nameOrIdentifier) const
{
    auto found = m_notificationNames.find(std::string(nameOrIdentifier));
    if (found == m_notificationNames.end())
        return std::string(nameOrIdentifier);
    return found->second;
}

void ScenarioRunner::warn(std::string message)
{
    if (m_currentEvent)
        message = "event " + std::to_string(m_currentEvent) + ": " + message;
    m_warnings.push_back(std::move(message));
}
