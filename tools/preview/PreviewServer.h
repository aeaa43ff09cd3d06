#pragma once

#include "tools/preview/SettingsPane.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class HomeScreenChild;
namespace httplib {
class Server;
struct Request;
}

// The preview's web server: the page (compiled into the tool), the settings pages and the
// live home screen's picture as JSON and PNG, and the requests that change them. Requests
// arrive on the server's threads; everything that touches the Settings app or the home
// screen runs on the main thread, one request at a time, so two browser tabs change
// settings one after the other and both see each change. Only this computer is served
// (127.0.0.1), and only requests naming it as their host.
class PreviewServer {
public:
    PreviewServer(SettingsPane&, HomeScreenChild&, nlohmann::json apps);
    ~PreviewServer();
    PreviewServer(const PreviewServer&) = delete;
    PreviewServer& operator=(const PreviewServer&) = delete;

    // Binds 127.0.0.1:port (0: any free port) and starts answering; the port, or nullopt.
    std::optional<int> listen(int port);
    // Does the main thread's work until `stop` holds, then answers what waits and stops.
    void serve(const std::atomic<bool>& stop);

    struct Reply {
        int status { 200 };
        std::string body;
        std::string contentType { "application/json" };
    };

private:
    using Clock = std::chrono::steady_clock;

    void addRoutes();
    Reply onMainThread(std::function<Reply()>);
    Reply changeSetting(const nlohmann::json&);
    Reply tapButton(const nlohmann::json&);
    // A change or tap done: the picture follows it, and every tab hears of it.
    Reply replyAfterSettingsAction(const SettingsPane::Outcome&);
    Reply answerAlert(const nlohmann::json&);
    Reply homeAction(const nlohmann::json&);
    Reply waitForChange(const httplib::Request&);
    // After a request has done its work: the home screen's new screen and the pages' values
    // become the state every client reads, under a new version.
    void publish();
    // Work the home screen delays (the test notifications come a second after the tap) is
    // caught by looking again a few times after each request.
    void scheduleFollowUps();
    bool refreshScreen();
    // Whether the home screen's latest screen differs from the one served; publish() serves it.
    bool takeScreen();

    SettingsPane& m_settings;
    HomeScreenChild& m_homeScreen;
    nlohmann::json m_apps;
    nlohmann::json m_home;
    std::unique_ptr<httplib::Server> m_http;
    std::thread m_listener;
    int m_port { 0 };

    // What clients read, guarded by m_mutex; m_changed wakes the clients waiting for news.
    std::mutex m_mutex;
    std::condition_variable m_changed;
    uint64_t m_version { 1 };
    uint64_t m_screenVersion { 1 };
    std::string m_state;
    std::string m_picture;
    std::string m_snapshot;
    bool m_stopping { false };
    // The home screen wrote a screen that publish() has not served yet.
    bool m_screenChanged { false };

    // Work for the main thread, guarded by m_tasksMutex.
    std::mutex m_tasksMutex;
    std::condition_variable m_tasksReady;
    std::deque<std::packaged_task<Reply()>> m_tasks;
    std::vector<Clock::time_point> m_followUps;
};
