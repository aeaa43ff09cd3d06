// The preview as a browser reaches it: tintwell-preview serving a copy of the sample
// device, with its home screen live in a child process. Requests go over HTTP; what the
// home screen shows is read from the snapshot the preview serves beside its picture.
#include "tests/e2e/LiveDevice.h"

#include <httplib.h>

#include <gmock/gmock.h>

#include <netinet/in.h>
#include <sys/socket.h>

using namespace e2e;

namespace {

const std::string testNotification15 = "Test notification 15!";

int freePort()
{
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

std::string hexOf(const json& colour) { return colour.is_object() ? colour["hex"].get<std::string>() : "none"; }

const json* rowOf(const json& state, const std::string& page, const std::string& key)
{
    for (auto& candidate : state["pages"]) {
        if (candidate["path"] != page)
            continue;
        for (auto& group : candidate["groups"]) {
            for (auto& row : group["rows"]) {
                if (row["key"] == key)
                    return &row;
            }
        }
    }
    return nullptr;
}

class Preview : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_device.ready());
        m_port = freePort();
        ASSERT_GT(m_port, 0);
        m_preview = std::make_unique<subprocess::LiveProcess>(std::vector<std::string> {
            TINTWELL_PREVIEW_EXECUTABLE, "--root", m_device.root().string(), "--port", std::to_string(m_port), "--picture-scale", "0.5" });
        ASSERT_TRUE(m_preview->waitForLine("tintwell-preview: http://127.0.0.1:" + std::to_string(m_port) + "/")) << m_device.homeScreenLog();
    }

    void TearDown() override
    {
        // Stopped by SIGTERM, the preview ends cleanly and takes its home screen with it.
        ::kill(m_preview->pid(), SIGTERM);
        EXPECT_EQ(m_preview->wait(), 0);
        EXPECT_FALSE(m_device.recordedHomeScreen() > 0 && !processGone(static_cast<pid_t>(m_device.recordedHomeScreen())));
    }

    std::unique_ptr<httplib::Client> client() const
    {
        auto made = std::make_unique<httplib::Client>("127.0.0.1", m_port);
        made->set_read_timeout(60, 0);
        return made;
    }

    httplib::Result post(const std::string& path, const json& body) const { return client()->Post(path.c_str(), body.dump(), "application/json"); }

    json get(const std::string& path) const
    {
        auto result = client()->Get(path.c_str());
        return result && result->status == 200 ? json::parse(result->body, nullptr, false) : json();
    }

    // Asks until the served screen shows what the test waits for; the last one either way.
    json screenWhen(const std::function<bool(const json&)>& condition) const
    {
        json screen;
        waitUntil([&] {
            screen = get("/api/screen.json");
            return condition(screen);
        });
        return screen;
    }

    bool stored(const std::string& domain) const { return fs::exists(m_device.host("/var/mobile/Library/Preferences/" + domain + ".plist")); }

    LiveDevice m_device;
    int m_port { 0 };
    std::unique_ptr<subprocess::LiveProcess> m_preview;
};

} // namespace

TEST_F(Preview, RefusesBadRequestsAndWritesNothing)
{
    struct Case {
        const char* what;
        const char* path;
        json body;
        int status;
        const char* message;
    };
    const Case cases[] = {
        { "unknown key", "/api/settings", { { "page", "Notifications" }, { "key", "NoSuchKey" }, { "value", 1 } }, 404, "no setting \"NoSuchKey\"" },
        { "key of another page", "/api/settings", { { "page", "" }, { "key", "NotificationStyle" }, { "value", 0 } }, 404, "no setting" },
        { "switch given a number", "/api/settings", { { "page", "Notifications" }, { "key", "EnabledNotifs" }, { "value", 0 } }, 422, "true or false" },
        { "slider given text", "/api/settings", { { "page", "Notifications" }, { "key", "NotifOutThickness" }, { "value", "6" } }, 422, "a number" },
        { "slider beyond its range", "/api/settings", { { "page", "Notifications" }, { "key", "NotifOutThickness" }, { "value", 500 } }, 422, "goes from" },
        { "segment given no choice", "/api/settings", { { "page", "Notifications" }, { "key", "NotificationStyle" }, { "value", 7 } }, 422, "takes one of" },
        { "segment given a real for an integer", "/api/settings", { { "page", "Notifications" }, { "key", "NotificationStyle" }, { "value", 1.0 } }, 422, "takes one of" },
        { "colour given a name", "/api/settings", { { "page", "Notifications" }, { "key", "NotifCustomHEX" }, { "value", "red" } }, 422, "#RRGGBB" },
        { "page outside the set", "/api/settings", { { "page", "../Notifications" }, { "key", "NotificationStyle" }, { "value", 0 } }, 404, "no page" },
        { "list of the bundle no link reaches", "/api/settings", { { "page", "entry" }, { "key", "Enabled" }, { "value", false } }, 404, "no page" },
        { "no value", "/api/settings", { { "page", "" }, { "key", "Enabled" } }, 400, "\"value\"" },
        { "unknown button", "/api/tap", { { "page", "" }, { "label", "Erase Everything" } }, 404, "no button" },
        { "no alert to answer", "/api/alert", { { "button", "Confirm" } }, 409, "no alert" },
        { "app not installed", "/api/home", { { "action", "publish" }, { "app", "com.example.nowhere" } }, 404, "no installed app" },
        { "unknown lock-screen action", "/api/home", { { "action", "reboot" } }, 404, "no lock-screen action" },
    };
    for (auto& testCase : cases) {
        auto result = post(testCase.path, testCase.body);
        ASSERT_TRUE(result) << testCase.what;
        EXPECT_EQ(result->status, testCase.status) << testCase.what << ": " << result->body;
        auto reply = json::parse(result->body, nullptr, false);
        EXPECT_THAT(reply.value("error", ""), testing::HasSubstr(testCase.message)) << testCase.what;
    }

    // Not JSON, not declared as JSON, or not addressed to this computer.
    auto http = client();
    EXPECT_EQ(http->Post("/api/settings", "page=&key=Enabled", "application/json")->status, 400);
    EXPECT_EQ(http->Post("/api/settings", json { { "page", "" }, { "key", "Enabled" }, { "value", false } }.dump(), "text/plain")->status, 415);
    EXPECT_EQ(http->Get("/api/state", httplib::Headers { { "Host", "preview.example.com" } })->status, 403);
    // Files are the page's own; no other path is served.
    for (auto path : { "/../../../etc/passwd", "/%2e%2e/%2e%2e/etc/passwd", "/preview.js/../../README.md", "/api/nothing" })
        EXPECT_EQ(http->Get(path)->status, 404) << path;
    EXPECT_EQ(http->Get("/preview.js")->status, 200);

    EXPECT_FALSE(stored("com.quillfen.tintwellprefs"));
    EXPECT_FALSE(stored("com.quillfen.tintwellprefs.colors"));

    // A domain file the Settings app cannot read is left as it is, and the change is
    // refused, not reported as made.
    auto domainFile = m_device.host("/var/mobile/Library/Preferences/com.quillfen.tintwellprefs.plist");
    std::ofstream(domainFile) << "not a property list";
    auto unreadable = post("/api/settings", { { "page", "Notifications" }, { "key", "NotificationStyle" }, { "value", 0 } });
    ASSERT_TRUE(unreadable);
    EXPECT_EQ(unreadable->status, 409) << unreadable->body;
    EXPECT_THAT(unreadable->body, testing::HasSubstr("not stored"));
    EXPECT_EQ(readFile(domainFile), "not a property list");
}

TEST_F(Preview, ChangesAreStoredAsTheSettingsHostStoresThemAndPaintTheNextPlatter)
{
    for (auto& [key, value] : std::vector<std::pair<std::string, json>> { { "NotificationStyle", 0 }, { "NotifOutThickness", 6 },
             { "NotifImageCalc", 2 }, { "NotifCustomHEX", "#ff3b30" } }) {
        auto result = post("/api/settings", { { "page", "Notifications" }, { "key", key }, { "value", value } });
        ASSERT_TRUE(result);
        EXPECT_EQ(result->status, 200) << key << ": " << result->body;
    }
    auto state = get("/api/state");
    ASSERT_TRUE(rowOf(state, "Notifications", "NotifOutThickness"));
    EXPECT_EQ((*rowOf(state, "Notifications", "NotifOutThickness"))["value"], 6);
    EXPECT_EQ((*rowOf(state, "Notifications", "NotifCustomHEX"))["colour"], "#FF3B30FF");

    // The Settings host reads back what the preview wrote, with the types it writes itself.
    auto dump = subprocess::run(TINTWELL_SETTINGS_EXECUTABLE, { "--root", m_device.root().string(), "--do", "open Tintwell", "--do", "open Notifications", "--dump" });
    ASSERT_EQ(dump.status, 0);
    auto page = json::parse(dump.output, nullptr, false);
    std::map<std::string, json> values;
    for (auto& group : page["groups"]) {
        for (auto& row : group["rows"])
            values[row["key"].is_string() ? row["key"].get<std::string>() : ""] = row["value"];
    }
    EXPECT_EQ(values["NotificationStyle"], 0);
    EXPECT_EQ(values["NotifOutThickness"], 6);
    EXPECT_TRUE(values["NotifOutThickness"].is_number_integer());
    EXPECT_EQ(values["NotifCustomHEX"], "#FF3B30:1.00");

    auto tap = post("/api/tap", { { "page", "" }, { "label", "Test Notifications" } });
    ASSERT_TRUE(tap);
    EXPECT_EQ(tap->status, 200) << tap->body;
    auto screen = screenWhen([](const json& screen) { return platterOf(screen, testNotification15) != nullptr; });
    auto* platter = platterOf(screen, testNotification15);
    ASSERT_TRUE(platter) << m_device.homeScreenLog();
    EXPECT_EQ((*platter)["layer"]["borderWidth"], 6);
    EXPECT_EQ(hexOf((*platter)["layer"]["borderColor"]), "#FF3B30CC");
    // The served picture is the one written with that snapshot.
    auto picture = client()->Get("/api/screen.png");
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->get_header_value("Content-Type"), "image/png");
    EXPECT_EQ(picture->body.substr(1, 3), "PNG");
}

TEST_F(Preview, TwoClientsSeeEachOthersChanges)
{
    auto first = get("/api/state");
    uint64_t version = first["version"];
    // One tab waits for news while the other changes a setting.
    std::optional<json> news;
    std::thread waiting([&] {
        auto result = client()->Get(("/api/events?since=" + std::to_string(version)).c_str());
        if (result && result->status == 200)
            news = json::parse(result->body, nullptr, false);
    });
    auto result = post("/api/settings", { { "page", "Texts & Headers" }, { "key", "CustomHint" }, { "value", "Nothing older" } });
    waiting.join();
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 200) << result->body;
    ASSERT_TRUE(news);
    EXPECT_GT((*news)["version"].get<uint64_t>(), version);
    auto seen = get("/api/state");
    ASSERT_TRUE(rowOf(seen, "Texts & Headers", "CustomHint"));
    EXPECT_EQ((*rowOf(seen, "Texts & Headers", "CustomHint"))["value"], "Nothing older");
}

TEST_F(Preview, ReSpringAsksFirstAndRestartsTheHomeScreen)
{
    auto before = m_device.recordedHomeScreen();
    auto tap = post("/api/tap", { { "page", "" }, { "label", "ReSpring" } });
    ASSERT_TRUE(tap);
    EXPECT_EQ(tap->status, 200) << tap->body;
    auto state = get("/api/state");
    ASSERT_TRUE(state["alert"].is_object());
    EXPECT_EQ(state["alert"]["message"], "Are you sure you want to respring?");
    // While it asks, nothing else is done.
    EXPECT_EQ(post("/api/settings", { { "page", "" }, { "key", "Enabled" }, { "value", false } })->status, 409);
    EXPECT_EQ(post("/api/alert", { { "button", "Later" } })->status, 404);

    EXPECT_EQ(post("/api/alert", { { "button", "Cancel" } })->status, 200);
    EXPECT_TRUE(get("/api/state")["alert"].is_null());
    EXPECT_EQ(m_device.recordedHomeScreen(), before);

    post("/api/tap", { { "page", "" }, { "label", "ReSpring" } });
    auto confirmed = post("/api/alert", { { "button", "Confirm" } });
    ASSERT_TRUE(confirmed);
    EXPECT_EQ(confirmed->status, 200) << confirmed->body;
    EXPECT_NE(m_device.recordedHomeScreen(), before);
    // The new home screen answers the lock-screen controls.
    auto published = post("/api/home", { { "action", "publish" }, { "app", "com.example.lantern" }, { "title", "Lantern" }, { "message", "After the respring" } });
    ASSERT_TRUE(published);
    EXPECT_EQ(published->status, 200) << published->body << m_device.homeScreenLog();
    EXPECT_TRUE(labelShowing(get("/api/screen.json"), "After the respring"));
}

TEST_F(Preview, LockScreenControlsDriveTheHomeScreen)
{
    EXPECT_EQ(post("/api/home", { { "action", "appearance" }, { "value", "dark" } })->status, 200);
    EXPECT_EQ(get("/api/state")["home"]["appearance"], "dark");
    EXPECT_EQ(post("/api/home", { { "action", "appearance" }, { "value", "dusk" } })->status, 422);
    EXPECT_EQ(get("/api/state")["home"]["appearance"], "dark");

    EXPECT_EQ(post("/api/home", { { "action", "playMedia" }, { "title", "Golden Hour" }, { "artist", "The Sunsets" } })->status, 200);
    EXPECT_TRUE(labelShowing(get("/api/screen.json"), "Golden Hour"));
    EXPECT_EQ(post("/api/home", { { "action", "stopMedia" } })->status, 200);
    EXPECT_FALSE(labelShowing(get("/api/screen.json"), "Golden Hour"));

    auto apps = get("/api/state")["apps"];
    EXPECT_THAT(apps.dump(), testing::HasSubstr("\"id\":\"com.example.harbor\""));
    EXPECT_EQ(post("/api/home", { { "action", "publish" }, { "app", "com.example.harbor" }, { "title", "Harbor" }, { "message", "High water 16:42" } })->status, 200);
    EXPECT_TRUE(labelShowing(get("/api/screen.json"), "High water 16:42"));
}
