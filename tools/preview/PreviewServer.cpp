#include "tools/preview/PreviewServer.h"

#include "platform/settings/HomeScreenRestarter.h"
#include "platform/springboard/Scenario.h"
#include "tools/preview/HomeScreenChild.h"
#include "tools/preview/PreviewAssets.h"
#include "tools/preview/SettingsPane.h"

#include <httplib.h>

#include <charconv>
#include <iostream>

namespace {

using nlohmann::json;
using Reply = PreviewServer::Reply;

constexpr size_t maximumRequestBytes = 64 * 1024;
constexpr size_t serverThreads = 16;
constexpr size_t maximumNotificationText = 500;
constexpr auto longestWait = std::chrono::seconds(20);
// When delayed work of the home screen is looked for again, after a request.
constexpr double followUpSeconds[] = { 0.6, 1.4, 2.5 };

Reply errorReply(int status, const std::string& message)
{
    return { status, json { { "error", message } }.dump() };
}

Reply versionReply(uint64_t version)
{
    return { 200, json { { "version", version } }.dump() };
}

// A text field of a request: nullopt when missing or not a string.
std::optional<std::string> stringField(const json& request, const char* name)
{
    auto found = request.find(name);
    if (found == request.end() || !found->is_string())
        return std::nullopt;
    return found->get<std::string>();
}

std::optional<Reply> refuseText(const json& request, const char* name, bool required)
{
    auto found = request.find(name);
    if (found == request.end()) {
        if (required)
            return errorReply(400, std::string("\"") + name + "\" is missing");
        return std::nullopt;
    }
    if (!found->is_string())
        return errorReply(422, std::string("\"") + name + "\" must be a string");
    auto& text = found->get_ref<const std::string&>();
    if (text.size() > maximumNotificationText || text.find('\0') != std::string::npos)
        return errorReply(422, std::string("\"") + name + "\" must be at most " + std::to_string(maximumNotificationText) + " bytes, without NUL");
    return std::nullopt;
}

Reply outcomeReply(const SettingsPane::Outcome& outcome, uint64_t version)
{
    return outcome.done() ? versionReply(version) : errorReply(outcome.status, outcome.message);
}

void answer(httplib::Response& response, const Reply& reply)
{
    response.status = reply.status;
    response.set_header("Cache-Control", "no-store");
    response.set_content(reply.body, reply.contentType.c_str());
}

} // namespace

PreviewServer::PreviewServer(SettingsPane& settings, HomeScreenChild& homeScreen, json apps)
    : m_settings(settings)
    , m_homeScreen(homeScreen)
    , m_apps(std::move(apps))
    , m_home({ { "appearance", "light" }, { "media", false }, { "widgets", false } })
    , m_http(std::make_unique<httplib::Server>())
{
    m_picture = m_homeScreen.picture();
    m_snapshot = m_homeScreen.snapshot();
    publish();
    addRoutes();
}

PreviewServer::~PreviewServer()
{
    m_http->stop();
    if (m_listener.joinable())
        m_listener.join();
}

std::optional<int> PreviewServer::listen(int port)
{
    m_http->set_payload_max_length(maximumRequestBytes);
    // Each tab holds a thread while it waits for news; idle connections let theirs go soon.
    m_http->new_task_queue = [] { return new httplib::ThreadPool(serverThreads); };
    m_http->set_keep_alive_timeout(2);
    if (port == 0)
        port = m_http->bind_to_any_port("127.0.0.1");
    else if (!m_http->bind_to_port("127.0.0.1", port))
        port = -1;
    if (port <= 0)
        return std::nullopt;
    m_port = port;
    m_listener = std::thread([this] { m_http->listen_after_bind(); });
    return port;
}

void PreviewServer::addRoutes()
{
    auto& http = *m_http;
    // Only pages this computer opens by its own name may ask: a site elsewhere that makes a
    // browser send to 127.0.0.1 under its own name (rebinding) is turned away.
    http.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response& response) {
        auto host = request.get_header_value("Host");
        auto port = ":" + std::to_string(m_port);
        if (host != "127.0.0.1" + port && host != "localhost" + port && host != "[::1]" + port) {
            answer(response, errorReply(403, "open the preview as http://127.0.0.1" + port + "/"));
            return httplib::Server::HandlerResponse::Handled;
        }
        // A form of another site can post plain text without asking; JSON it cannot.
        if (request.method == "POST" && !request.get_header_value("Content-Type").starts_with("application/json")) {
            answer(response, errorReply(415, "requests carry JSON (Content-Type: application/json)"));
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    http.set_error_handler([](const httplib::Request& request, httplib::Response& response) {
        if (response.body.empty())
            answer(response, errorReply(response.status, response.status == 404 ? "nothing at " + request.path : "the request cannot be answered"));
    });

    http.Get("/api/state", [this](const httplib::Request&, httplib::Response& response) {
        std::lock_guard lock(m_mutex);
        answer(response, { 200, m_state });
    });
    http.Get("/api/events", [this](const httplib::Request& request, httplib::Response& response) { answer(response, waitForChange(request)); });
    http.Get("/api/screen.png", [this](const httplib::Request&, httplib::Response& response) {
        std::lock_guard lock(m_mutex);
        answer(response, { 200, m_picture, "image/png" });
    });
    http.Get("/api/screen.json", [this](const httplib::Request&, httplib::Response& response) {
        std::lock_guard lock(m_mutex);
        answer(response, { 200, m_snapshot });
    });

    auto post = [this](const char* path, Reply (PreviewServer::*handler)(const json&)) {
        m_http->Post(path, [this, handler](const httplib::Request& request, httplib::Response& response) {
            auto body = json::parse(request.body, nullptr, false);
            if (body.is_discarded() || !body.is_object()) {
                answer(response, errorReply(400, "the request is not a JSON object"));
                return;
            }
            answer(response, onMainThread([this, handler, body] { return (this->*handler)(body); }));
        });
    };
    post("/api/settings", &PreviewServer::changeSetting);
    post("/api/tap", &PreviewServer::tapButton);
    post("/api/alert", &PreviewServer::answerAlert);
    post("/api/home", &PreviewServer::homeAction);

    // Everything else is one of the page's own files or nothing: no path reaches the disk.
    http.Get(".*", [](const httplib::Request& request, httplib::Response& response) {
        auto asset = PreviewAssets::find(request.path);
        if (!asset) {
            answer(response, errorReply(404, "nothing at " + request.path));
            return;
        }
        response.set_header("Content-Security-Policy", "default-src 'self'; img-src 'self' blob:");
        response.set_header("X-Content-Type-Options", "nosniff");
        response.set_content(asset->bytes.data(), asset->bytes.size(), std::string(asset->contentType).c_str());
    });
}

Reply PreviewServer::onMainThread(std::function<Reply()> work)
{
    std::packaged_task<Reply()> task(std::move(work));
    auto reply = task.get_future();
    {
        std::lock_guard lock(m_tasksMutex);
        if (m_stopping)
            return errorReply(503, "the preview is stopping");
        m_tasks.push_back(std::move(task));
    }
    m_tasksReady.notify_one();
    return reply.get();
}

void PreviewServer::serve(const std::atomic<bool>& stop)
{
    while (!stop) {
        std::optional<std::packaged_task<Reply()>> task;
        {
            std::unique_lock lock(m_tasksMutex);
            auto wake = Clock::now() + std::chrono::milliseconds(100);
            if (!m_followUps.empty())
                wake = std::min(wake, m_followUps.front());
            m_tasksReady.wait_until(lock, wake, [&] { return !m_tasks.empty(); });
            if (!m_tasks.empty()) {
                task = std::move(m_tasks.front());
                m_tasks.pop_front();
            }
        }
        if (task) {
            (*task)();
            continue;
        }
        if (!m_followUps.empty() && Clock::now() >= m_followUps.front()) {
            m_followUps.erase(m_followUps.begin());
            if (refreshScreen())
                publish();
        }
    }
    std::deque<std::packaged_task<Reply()>> left;
    {
        std::lock_guard lock(m_tasksMutex);
        m_stopping = true;
        left.swap(m_tasks);
    }
    for (auto& task : left) {
        // Answered without being done: the Settings app is no longer served.
        std::packaged_task<Reply()> refusal([] { return errorReply(503, "the preview is stopping"); });
        task = std::move(refusal);
        task();
    }
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_http->stop();
    if (m_listener.joinable())
        m_listener.join();
}

bool PreviewServer::refreshScreen()
{
    return m_homeScreen.refreshScreen() && takeScreen();
}

bool PreviewServer::takeScreen()
{
    // Served with the state that names it (publish), so no client sees a picture newer
    // than the state it reads.
    std::lock_guard lock(m_mutex);
    m_screenChanged = m_screenChanged || m_homeScreen.picture() != m_picture || m_homeScreen.snapshot() != m_snapshot;
    return m_screenChanged;
}

void PreviewServer::scheduleFollowUps()
{
    m_followUps.clear();
    auto now = Clock::now();
    for (double seconds : followUpSeconds)
        m_followUps.push_back(now + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds)));
}

void PreviewServer::publish()
{
    for (auto& problem : m_settings.takeProblems())
        std::cerr << "tintwell-preview: warning: " << problem << '\n';
    json state = {
        { "pages", m_settings.pages() },
        { "alert", m_settings.alert() },
        { "home", m_home },
        { "apps", m_apps },
    };
    {
        std::lock_guard lock(m_mutex);
        if (m_screenChanged) {
            m_picture = m_homeScreen.picture();
            m_snapshot = m_homeScreen.snapshot();
            ++m_screenVersion;
            m_screenChanged = false;
        }
        state["version"] = ++m_version;
        state["screen"] = m_screenVersion;
        m_state = state.dump();
    }
    m_changed.notify_all();
}

Reply PreviewServer::waitForChange(const httplib::Request& request)
{
    uint64_t since = 0;
    auto text = request.get_param_value("since");
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), since);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return errorReply(400, "\"since\" must be a version number");
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, longestWait, [&] { return m_version > since || m_stopping; });
    return versionReply(m_version);
}

Reply PreviewServer::changeSetting(const json& request)
{
    auto page = stringField(request, "page");
    auto key = stringField(request, "key");
    if (!page || !key || !request.contains("value"))
        return errorReply(400, "a change names its \"page\" and \"key\" (strings) and gives a \"value\"");
    auto outcome = m_settings.change(*page, *key, request["value"]);
    return replyAfterSettingsAction(outcome);
}

Reply PreviewServer::replyAfterSettingsAction(const SettingsPane::Outcome& outcome)
{
    if (outcome.done()) {
        refreshScreen();
        scheduleFollowUps();
    }
    publish();
    std::lock_guard lock(m_mutex);
    return outcomeReply(outcome, m_version);
}

Reply PreviewServer::tapButton(const json& request)
{
    auto page = stringField(request, "page");
    auto label = stringField(request, "label");
    if (!page || !label)
        return errorReply(400, "a tap names its \"page\" and the button's \"label\" (strings)");
    auto outcome = m_settings.tap(*page, *label);
    return replyAfterSettingsAction(outcome);
}

Reply PreviewServer::answerAlert(const json& request)
{
    auto button = stringField(request, "button");
    if (!button)
        return errorReply(400, "an answer names the alert's \"button\" (a string)");
    auto before = HomeScreenRestarter::runningHost();
    auto outcome = m_settings.answerAlert(*button);
    if (outcome.done()) {
        // A restarted home screen starts afresh: light, nothing playing, no widgets.
        if (HomeScreenRestarter::runningHost() != before)
            m_home = { { "appearance", "light" }, { "media", false }, { "widgets", false } };
        if (!refreshScreen() && !HomeScreenRestarter::runningHost())
            std::cerr << "tintwell-preview: warning: the home screen does not answer; its output is in " << HomeScreenChild::logFile().string() << '\n';
        scheduleFollowUps();
    }
    publish();
    std::lock_guard lock(m_mutex);
    return outcomeReply(outcome, m_version);
}

Reply PreviewServer::homeAction(const json& request)
{
    auto action = stringField(request, "action");
    if (!action)
        return errorReply(400, "a lock-screen request names its \"action\" (a string)");
    json event;
    json home = m_home;
    if (*action == "appearance") {
        auto value = stringField(request, "value");
        if (!value || (*value != "light" && *value != "dark"))
            return errorReply(422, "\"appearance\" takes the \"value\" \"light\" or \"dark\"");
        event = { { "appearance", *value } };
        home["appearance"] = *value;
    } else if (*action == "publish") {
        auto app = stringField(request, "app");
        if (!app)
            return errorReply(400, "\"publish\" names the \"app\" (its bundle identifier)");
        bool installed = false;
        for (auto& known : m_apps)
            installed = installed || known["id"] == *app;
        if (!installed)
            return errorReply(404, "no installed app \"" + *app + "\"");
        for (auto name : { "title", "message" }) {
            if (auto refusal = refuseText(request, name, false))
                return *refusal;
        }
        event = { { "publish", { { "section", *app }, { "title", request.value("title", "") }, { "message", request.value("message", "") } } } };
    } else if (*action == "playMedia") {
        for (auto name : { "title", "artist" }) {
            if (auto refusal = refuseText(request, name, name == std::string_view("title")))
                return *refusal;
        }
        event = { { "playMedia", { { "title", request["title"] }, { "artist", request.value("artist", "") }, { "artwork", "artwork/golden-hour.png" } } } };
        home["media"] = true;
    } else if (*action == "stopMedia" || *action == "showWidgets" || *action == "hideWidgets" || *action == "lock" || *action == "unlock") {
        event = { { *action, true } };
        if (*action == "stopMedia")
            home["media"] = false;
        if (*action == "showWidgets" || *action == "hideWidgets")
            home["widgets"] = *action == "showWidgets";
    } else {
        return errorReply(404, "no lock-screen action \"" + *action + "\"; there are appearance, publish, playMedia, stopMedia, showWidgets, hideWidgets, lock and unlock");
    }

    auto events = json::array({ event });
    std::string error;
    if (!Scenario::parse(json { { "events", events } }, m_homeScreen.inboxFolder(), error))
        return errorReply(422, error);
    if (!m_homeScreen.play(events))
        return errorReply(503, "the home screen does not answer; its output is in " + HomeScreenChild::logFile().string());
    m_home = home;
    takeScreen();
    scheduleFollowUps();
    publish();
    std::lock_guard lock(m_mutex);
    return versionReply(m_version);
}
