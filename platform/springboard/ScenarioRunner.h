#pragma once

#include "platform/foundation/CFNotificationCenter.h"
#include "platform/springboard/SBMediaController.h"
#include "platform/springboard/WGWidgetListViewController.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class SBHomeScreen;
class Scenario;

// Plays scenarios on a home screen: moves the host clock to each event's time (running
// what falls due on the way, never sleeping) and runs the event. It owns what scenarios
// bring to the screen besides notifications: the media controller and the widgets page.
class ScenarioRunner {
public:
    // The home screen must outlive the runner.
    explicit ScenarioRunner(SBHomeScreen&);
    ~ScenarioRunner();
    ScenarioRunner(const ScenarioRunner&) = delete;
    ScenarioRunner& operator=(const ScenarioRunner&) = delete;

    // "at" times count from the host clock at this call.
    void run(const Scenario&);

    SBHomeScreen& homeScreen() { return m_homeScreen; }
    SBMediaController& mediaController() { return *m_mediaController; }
    // Made empty on first use.
    WGWidgetListViewController& widgetsPage();
    // Takes the page's widgets out and puts these in.
    void setWidgets(const std::vector<RefPtr<WGWidgetHostingViewController>>&);
    // A page shown before any widgets were given holds the system's sample widgets; they
    // are made only then, so a page given its own widgets never builds (or lays out) them.
    void showWidgets(bool);
    bool widgetsShown() const { return m_widgetsShown; }

    // Called by "snapshot" events with the event's name once the screen is as the event
    // wants it; the host writes files, tests keep what they need.
    using SnapshotWriter = std::function<void(const std::string& name)>;
    void setSnapshotWriter(SnapshotWriter writer) { m_snapshotWriter = std::move(writer); }
    // Lays the screen out first unless layout is false, which records it exactly as the
    // events above left it (a delayed repaint still pending shows as not yet done).
    void takeSnapshot(const std::string& name, bool layout);

    // Publish events may name their notification; later events use the name.
    void nameNotification(const std::string& name, const std::string& identifier);
    // The identifier of a named notification; any other text is taken as an identifier.
    std::string notificationIdentifier(std::string_view nameOrIdentifier) const;

    // Actions that found nothing to act on (a group that does not exist, a notification
    // already removed); the scenario goes on.
    void warn(std::string message);
    const std::vector<std::string>& warnings() const { return m_warnings; }

    // Runs the main run loop live until a post of the system-wide notification arrives
    // (one counted since the run started and not yet waited for) or the timeout passes.
    // False on timeout.
    bool waitForNotification(const std::string& name, double timeoutSeconds);
    // A fault that makes the rest of the scenario meaningless: it stops after this event.
    void fail(std::string message);
    const std::optional<std::string>& failure() const { return m_failure; }

private:
    static void countPost(CFNotificationCenterRef, void* observer, CFStringRef name, const void*, CFDictionaryRef);
    void observeAwaited(const Scenario&);
    void stopObservingAwaited();

    SBHomeScreen& m_homeScreen;
    RefPtr<SBMediaController> m_mediaController;
    RefPtr<WGWidgetListViewController> m_widgetsPage;
    bool m_widgetsShown { false };
    bool m_widgetsGiven { false };
    SnapshotWriter m_snapshotWriter;
    std::map<std::string, std::string> m_notificationNames;
    std::vector<std::string> m_warnings;
    std::optional<std::string> m_failure;
    // Posts of awaited notifications not yet consumed by a waitFor event.
    std::map<std::string, size_t> m_pendingPosts;
    size_t m_currentEvent { 0 };
};
