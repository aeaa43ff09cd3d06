#include "NotificationTestSupport.h"
#include "ScenarioTestSupport.h"
#include "tests/support/Subprocess.h"

#include "outside/cephei/HBPreferences.h"
#include "platform/foundation/CFNotificationCenter.h"
#include "platform/foundation/HostClock.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSObject+NSDelayedPerforming.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/springboard/MTMaterialView.h"
#include "platform/springboard/NCNotificationListView.h"
#include "platform/springboard/NCNotificationLongLookViewController.h"
#include "platform/springboard/ScenarioEventTypes.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewSnapshot.h"

#include <gmock/gmock.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sys/wait.h>

namespace fs = std::filesystem;
using nlohmann::json;
using testing::HasSubstr;

namespace {

std::string parseError(std::string_view text)
{
    std::string error;
    auto scenario = Scenario::parseText(text, scenarioFolder(), error);
    return scenario ? std::string("(parsed)") : error;
}

std::string readFile(const fs::path& path)
{
    std::ifstream stream(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>() };
}

// A runtime object whose "fire" records the host clock, for delayed sends.
std::vector<double> s_firedAt;
void fireImp(id, SEL) { s_firedAt.push_back(HostClock::uptime()); }

Id makeTarget()
{
    static Class cls = [] {
        Class made = objc_allocateClassPair(Object::classObject(), "ScenarioTestTarget");
        objc_registerClassPair(made);
        class_addMethod(made, sel_registerName("fire"), &fireImp);
        return made;
    }();
    return class_createInstance(cls);
}

int s_pings = 0;
void countPing(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef) { ++s_pings; }

} // namespace

// ---- Reading scenario files -----------------------------------------------------------

TEST(ScenarioFiles, FaultsAreNamedWithTheirEvent)
{
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        { R"([ { "publish": )", "not JSON" },
        { R"("publish")", "array of events" },
        { R"({ "event": [] })", "unknown top-level key \"event\"" },
        { R"({ "description": "no events" })", "no \"events\"" },
        { R"([ 3 ])", "event 1: an event is an object" },
        { R"([ { "lock": true }, { "launchRocket": true } ])", "event 2: unknown event type \"launchRocket\"" },
        { R"([ { "lock": true, "unlock": true } ])", "more than one event type" },
        { R"([ { "at": 1 } ])", "event 1: no event type" },
        { R"([ { "at": -1, "lock": true } ])", "\"at\" must be between 0" },
        { R"([ { "at": "soon", "lock": true } ])", "\"at\" must be a number" },
        { R"([ { "at": 5, "lock": true }, { "at": 2, "unlock": true } ])", "event 2 (\"unlock\"): \"at\" 2 lies before the scenario clock 5" },
        { R"([ { "advance": 3 }, { "at": 2, "lock": true } ])", "lies before the scenario clock 3" },
        { R"([ { "publish": { "title": "x" } } ])", "missing \"section\"" },
        { R"([ { "publish": { "section": "a", "titel": "x" } } ])", "unknown key \"titel\"" },
        { R"([ { "publish": { "section": "a", "destinations": -4 } } ])", "\"destinations\"" },
        { R"([ { "publish": { "section": "a", "name": "n" } }, { "publish": { "section": "b", "name": "n" } } ])", "already given" },
        { R"([ { "remove": "" } ])", "must not be empty" },
        { R"([ { "collapse": "now" } ])", "takes no argument" },
        { R"([ { "appearance": "blue" } ])", "\"light\", \"dark\" or \"unspecified\"" },
        { R"([ { "snapshot": "a/b" } ])", "letters, digits" },
        { R"([ { "snapshot": "s" }, { "snapshot": { "name": "s", "layout": false } } ])", "event 2 (\"snapshot\"): the name \"s\" is already given" },
        { R"([ { "snapshot": { "name": "s", "layout": "no" } } ])", "\"layout\" must be true or false" },
        { R"([ { "replaceBulletinServer": { "publishCalls": ["publish:"] } } ])", "a publish call is" },
        { R"([ { "replaceBulletinServer": { "exportQueue": 0 } } ])", "\"exportQueue\" must be true or false" },
        { R"([ { "publish": { "section": "" } } ])", "must not be empty" },
        { R"([ { "expand": { "notification": "n", "customContent": 1 } } ])", "\"customContent\" must be true or false" },
        { R"([ { "playMedia": { "title": "t", "layout": "sideways" } } ])", "\"layout\" is \"lockScreen\"" },
        { R"([ { "changeTrack": { "title": "t", "layout": "flat" } } ])", "unknown key \"layout\"" },
        { R"([ { "advance": -0.5 } ])", "between 0 and" },
        { R"([ { "advance": 1e9 } ])", "between 0 and" },
        { R"([ { "showWidgets": { "widgets": [ { "name": "x" } ] } } ])", "widget 1: missing \"identifier\"" },
        { R"([ { "showWidgets": { "widgets": [ { "identifier": "x", "icon": "a.png", "iconApp": "b" } ] } } ])", "not both" },
        { R"([ { "playMedia": { "artist": "x" } } ])", "missing \"title\"" },
        { R"([ { "changeTrack": { "title": 7 } } ])", "\"title\" must be a string" },
        { R"([ { "writePreference": { "domain": "d", "key": "k", "value": [1] } } ])", "\"value\" must be a boolean" },
        { R"([ { "writePreference": { "domain": "../etc", "key": "k", "value": 1 } } ])", "not a path" },
        { R"([ { "writePreference": { "domain": "d", "key": "k", "value": "yes", "type": "bool" } } ])", "\"value\" is not a bool" },
        { R"([ { "writePreference": { "domain": "d", "key": "k", "value": 1, "type": "date" } } ])", "\"type\" is" },
        { R"([ { "post": 12 } ])", "must be a string" },
        { R"([ { "scroll": { "by": 100, "to": "top" } } ])", "takes one of \"by\", \"to\" and \"notification\"" },
        { R"([ { "scroll": {} } ])", "takes one of" },
        { R"([ { "scroll": { "to": "middle" } } ])", "\"top\", \"bottom\" or a number of points" },
        { R"([ { "scroll": { "by": 1e300 } } ])", "\"by\" must be a number of points between" },
        { R"([ { "scroll": { "notification": "" } } ])", "must not be empty" },
        { R"([ { "grouping": "stacked" } ])", "\"byApp\" or \"off\"" },
    };
    for (auto& testCase : cases)
        EXPECT_THAT(parseError(testCase.text), HasSubstr(testCase.message)) << testCase.text;
}

TEST(ScenarioFiles, NumbersOutOfRangeAreRefusedNotWrappedOrThrown)
{
    const std::pair<const char*, const char*> cases[] = {
        { R"([ { "at": 1e500, "lock": true } ])", "a number out of range" },
        { R"([ { "advance": -1e500 } ])", "a number out of range" },
        { R"([ { "advance": 86400 }, { "advance": 0.001 } ])", "event 2 (\"advance\"): the scenario clock would pass 86400 seconds" },
        { R"([ { "at": 86000, "lock": true }, { "advance": 401 } ])", "event 2 (\"advance\"): the scenario clock would pass" },
        { R"([ { "waitFor": "n", "timeout": 1e20 } ])", "\"timeout\" must be between 0 and 86400" },
        { R"([ { "publish": { "section": "a", "destinations": 4294967296 } } ])", "from 0 to 4294967295" },
        { R"([ { "publish": { "section": "a", "destinations": 9223372036854775812 } } ])", "from 0 to 4294967295" },
        { R"([ { "publish": { "section": "a", "destinations": -9223372036854775807 } } ])", "from 0 to 4294967295" },
        { R"([ { "publish": { "section": "a", "destinations": 4.0 } } ])", "whole number" },
    };
    for (auto& [text, message] : cases)
        EXPECT_THAT(parseError(text), HasSubstr(message)) << text;
    // The edges themselves are in range.
    EXPECT_EQ(parseError(R"([ { "advance": 86399 }, { "at": 86400, "lock": true } ])"), "(parsed)");
    EXPECT_EQ(parseError(R"([ { "publish": { "section": "a", "destinations": 4294967295 } } ])"), "(parsed)");
}

TEST(ScenarioFiles, SizeNestingAndTextAreBoundedBeforeTheParserRuns)
{
    auto nested = [](size_t depth) { return "[ { \"lock\": " + std::string(depth - 2, '[') + std::string(depth - 2, ']') + " } ]"; };
    EXPECT_THAT(parseError(nested(Scenario::maximumNesting)), HasSubstr("takes no argument"));
    EXPECT_THAT(parseError(nested(Scenario::maximumNesting + 1)), HasSubstr("nested deeper than 32"));
    // Far past any stack: refused by counting, never handed to the parser.
    EXPECT_THAT(parseError(std::string(1'000'000, '[')), HasSubstr("nested deeper than"));
    // Brackets inside strings, escaped quotes included, are text.
    EXPECT_EQ(parseError(R"([ { "post": "[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[\"[[[[" } ])"), "(parsed)");

    std::string large = R"([ { "post": ")" + std::string(Scenario::maximumFileBytes, 'x') + R"(" } ])";
    EXPECT_THAT(parseError(large), HasSubstr("larger than 1024 KiB"));

    EXPECT_THAT(parseError("[ { \"post\": \"caf\xE9\" } ]"), HasSubstr("not JSON"));
    EXPECT_THAT(parseError(R"([ { "post": "a\ud800" } ])"), HasSubstr("not JSON"));
    EXPECT_THAT(parseError(R"([ { "post": "a\u0000b" } ])"), HasSubstr("must not hold a NUL"));
    // What the file says is quoted without its control characters, and not at any length.
    auto message = parseError(R"([ { "\u001b[2Jrocket": true } ])");
    EXPECT_THAT(message, HasSubstr("unknown event type \"\\x1B[2Jrocket\""));
    EXPECT_EQ(message.find('\x1b'), std::string::npos);
    EXPECT_LT(parseError("[ { \"" + std::string(100'000, 'k') + "\": true } ]").size(), 1000u);
    EXPECT_EQ(parseError("[ { \"post\": \"\xE9\" } ]").find('\xE9'), std::string::npos);
}

TEST(ScenarioFiles, SampleScenariosParseAndBadOnesDoNot)
{
    size_t good = 0;
    for (auto& entry : fs::directory_iterator(scenarioFolder())) {
        if (entry.path().extension() != ".json")
            continue;
        std::string error;
        EXPECT_TRUE(Scenario::load(entry.path(), error)) << error;
        ++good;
    }
    EXPECT_GE(good, 5u);
    for (auto& entry : fs::directory_iterator(scenarioFolder() / "bad")) {
        std::string error;
        EXPECT_FALSE(Scenario::load(entry.path(), error)) << entry.path();
        EXPECT_THAT(error, HasSubstr(entry.path().filename().string()));
    }
}

TEST(ScenarioFiles, EveryEventTypeIsDocumentedWithAnExample)
{
    auto documentation = readFile(fs::path(TINTWELL_SOURCE_DIR) / "docs/scenarios.md");
    ASSERT_FALSE(documentation.empty());
    for (auto& type : scenarioEventTypes())
        EXPECT_THAT(documentation, HasSubstr("{ \"" + std::string(type.key) + "\":")) << type.key;
}

// ---- Running scenarios -----------------------------------------------------------------

class ScenarioRun : public SampleDeviceTest { };

TEST_F(ScenarioRun, AdvancingRunsWhatWasScheduledForThenWithoutSleeping)
{
    s_firedAt.clear();
    Id target = makeTarget();
    double start = HostClock::uptime();
    performSelectorAfterDelay(target.get(), sel_registerName("fire"), nullptr, 0.2);
    performSelectorAfterDelay(target.get(), sel_registerName("fire"), nullptr, 3600);

    run(R"([ { "advance": 0.1 } ])");
    EXPECT_TRUE(s_firedAt.empty());
    auto wallStart = std::chrono::steady_clock::now();
    run(R"([ { "advance": 0.1 }, { "advance": 3600 } ])");
    auto wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();

    ASSERT_EQ(s_firedAt.size(), 2u);
    EXPECT_NEAR(s_firedAt[0] - start, 0.2, 1e-6);
    EXPECT_NEAR(s_firedAt[1] - start, 3600, 1e-6);
    // An hour of host time passes in far less than a second of real time.
    EXPECT_LT(wallSeconds, 1.0);
}

TEST_F(ScenarioRun, EventsWaitForTheirTimeAndWhatFallsDueBeforeRunsFirst)
{
    double start = HostClock::uptime();
    std::vector<size_t> listedWhenTimerRan;
    NSRunLoop::mainRunLoop().performAfter(1.0, [&] { listedWhenTimerRan.push_back(m_home->notificationIdentifiers().size()); });
    run(R"([ { "publish": { "section": "com.apple.MobileSMS", "title": "first" } },
             { "at": 1.5, "publish": { "section": "com.apple.MobileSMS", "title": "second" } },
             { "at": 1.5, "publish": { "section": "com.apple.MobileSMS", "title": "third" } } ])");
    EXPECT_EQ(listedWhenTimerRan, std::vector<size_t> { 1 });
    EXPECT_NEAR(HostClock::uptime() - start, 1.5, 1e-6);
    EXPECT_EQ(m_home->notificationIdentifiers().size(), 3u);
}

TEST_F(ScenarioRun, NamesReferToPublishedNotifications)
{
    run(R"([ { "publish": { "section": "com.apple.MobileSMS", "title": "Ava", "name": "lunch" } },
             { "publish": { "section": "com.apple.mobilemail", "title": "Bank", "name": "bank" } },
             { "expand": "lunch" },
             { "remove": "bank" },
             { "remove": "bank" },
             { "collapseGroup": "com.example.nothing" } ])");
    auto listed = m_home->notificationIdentifiers();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(m_runner->notificationIdentifier("lunch"), listed[0]);
    EXPECT_TRUE(m_home->longLookViewController());
    // What found nothing to act on is reported, and the run went on.
    ASSERT_EQ(m_runner->warnings().size(), 2u);
    EXPECT_THAT(m_runner->warnings()[0], HasSubstr("event 5: no notification \"bank\""));
    EXPECT_THAT(m_runner->warnings()[1], HasSubstr("event 6: no group"));

    run(R"([ { "collapse": true } ])");
    EXPECT_FALSE(m_home->longLookViewController());
}

TEST_F(ScenarioRun, SystemWideNotificationsArriveBeforeTheEventEnds)
{
    s_pings = 0;
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), &s_pings, &countPing,
        CFSTR("com.example.scenario/Ping"), nullptr, 0);
    run(R"([ { "post": "com.example.scenario/Ping" }, { "post": "com.example.scenario/Other" } ])");
    EXPECT_EQ(s_pings, 1);
    CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetDarwinNotifyCenter(), &s_pings);
}

TEST_F(ScenarioRun, PreferenceWritesReachABoundSettingThroughItsReload)
{
    writeDeviceFile("/var/mobile/Library/Preferences/com.example.prefs.plist",
        R"(<?xml version="1.0" encoding="UTF-8"?><plist version="1.0"><dict><key>Kept</key><string>old</string><key>Gone</key><true/></dict></plist>)");
    auto preferences = HBPreferences::preferencesForIdentifier(NSString::string("com.example.prefs").get());
    bool noDate = false;
    NSInteger style = 2;
    preferences->registerBooldefaultforKey(&noDate, false, NSString::string("NoDate").get());
    preferences->registerIntegerdefaultforKey(&style, 2, NSString::string("Style").get());
    s_pings = 0;
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), &s_pings, &countPing,
        CFSTR("com.example.prefs/ReloadPrefs"), nullptr, 0);

    run(R"([ { "writePreference": { "domain": "com.example.prefs", "key": "NoDate", "value": true } },
             { "writePreference": { "domain": "com.example.prefs", "key": "Style", "value": 0 } },
             { "writePreference": { "domain": "com.example.prefs", "key": "Alpha", "value": 3, "type": "real" } },
             { "writePreference": { "domain": "com.example.prefs", "key": "Gone", "value": null, "reload": false } } ])");
    EXPECT_TRUE(noDate);
    EXPECT_EQ(style, 0);
    EXPECT_EQ(s_pings, 3);

    auto stored = NSDictionary::dictionaryWithContentsOfFile("/var/mobile/Library/Preferences/com.example.prefs.plist");
    ASSERT_TRUE(stored);
    EXPECT_EQ(keyTexts(stored.get()), (std::vector<std::string> { "Kept", "NoDate", "Style", "Alpha" }));
    EXPECT_EQ(objectCast<NSNumber>(stored->objectForKey(NSString::string("NoDate").get()))->kind(), NSNumber::Kind::Bool);
    EXPECT_EQ(objectCast<NSNumber>(stored->objectForKey(NSString::string("Style").get()))->kind(), NSNumber::Kind::Integer);
    EXPECT_EQ(objectCast<NSNumber>(stored->objectForKey(NSString::string("Alpha").get()))->kind(), NSNumber::Kind::Real);
    // Written beside the target and renamed over it: nothing else is left in the folder.
    size_t files = 0;
    for ([[maybe_unused]] auto& entry : fs::directory_iterator(host("/var/mobile/Library/Preferences")))
        ++files;
    EXPECT_EQ(files, 1u);
    CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetDarwinNotifyCenter(), &s_pings);
}

TEST_F(ScenarioRun, ArtworkComesFromTheDeviceOrBesideTheScenarioAndBrokenFilesAreNone)
{
    fs::create_directories(host("/var/mobile/Media"));
    fs::copy_file(scenarioFolder() / "artwork/ocean.png", host("/var/mobile/Media/cover.png"));
    auto artworkAfter = [&](std::string_view path) {
        run("[ { \"playMedia\": { \"title\": \"t\", \"artwork\": \"" + std::string(path) + "\" } } ]");
        return m_runner->mediaController().panelViewController()->headerView()->artworkView()->image();
    };
    EXPECT_TRUE(artworkAfter("/var/mobile/Media/cover.png"));
    EXPECT_TRUE(artworkAfter("artwork/sunset.png"));
    EXPECT_FALSE(artworkAfter("artwork/missing.png"));
    EXPECT_FALSE(artworkAfter("artwork/corrupt.png"));
    // A host path outside the device is a device path, so it is not found.
    EXPECT_FALSE(artworkAfter((scenarioFolder() / "artwork/sunset.png").string()));
}

TEST_F(ScenarioRun, MediaAndWidgetEventsShowAndHideTheirViews)
{
    run(R"([ { "changeTrack": { "title": "nothing plays" } },
             { "playMedia": { "title": "Golden Hour", "artist": "The Sunsets" } },
             { "showWidgets": true } ])");
    EXPECT_THAT(m_runner->warnings().at(0), HasSubstr("nothing is playing"));
    auto panel = m_runner->mediaController().panelViewController()->view();
    auto page = m_runner->widgetsPage().view();
    ASSERT_TRUE(panel->window());
    ASSERT_TRUE(page->window());
    auto visible = [](const UIView* view) {
        for (auto current = RefPtr<UIView>(const_cast<UIView*>(view)); current; current = current->superview()) {
            if (current->isHidden())
                return false;
        }
        return true;
    };
    EXPECT_TRUE(visible(page.get()));

    run(R"([ { "changeTrack": { "title": "Deep Water" } }, { "hideWidgets": true }, { "stopMedia": true } ])");
    EXPECT_FALSE(visible(page.get()));
    EXPECT_FALSE(panel->window());
}

// ---- The host program ------------------------------------------------------------------

namespace {

subprocess::Run runHost(const std::vector<std::string>& arguments)
{
    return subprocess::run(TINTWELL_SPRINGBOARD_EXECUTABLE, arguments, true);
}

std::vector<const json*> viewsWhere(const json& snapshot, const std::function<bool(const json&)>& predicate)
{
    std::vector<const json*> views;
    for (auto& view : snapshot["views"]) {
        if (predicate(view))
            views.push_back(&view);
    }
    return views;
}

std::string textOf(const json& view)
{
    auto text = view.find("text");
    return text != view.end() && text->is_string() ? text->get<std::string>() : std::string();
}

bool shownInWindow(const json& snapshot, const json& view)
{
    std::string path = view["path"];
    // Every ancestor on the path must be shown too.
    for (size_t slash = path.find('/'); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        auto* ancestor = ViewSnapshot::findPath(snapshot, path.substr(0, slash));
        if (ancestor && ((*ancestor)["hidden"] == true || (*ancestor)["alpha"] == 0))
            return false;
    }
    return view["hidden"] == false && view["alpha"] != 0;
}

} // namespace

class HostScenario : public TemporaryDevice {
protected:
    void SetUp() override
    {
        TemporaryDevice::SetUp();
        ASSERT_TRUE(SampleDevice::write(m_root));
        m_output = m_root / "out";
        fs::create_directories(m_output);
    }

    json snapshotOf(const std::string& file) { return json::parse(readFile(m_output / file)); }

    fs::path m_output;
};

TEST_F(HostScenario, FifteenUntintedNotificationsAreWrittenAndReadable)
{
    auto run = runHost({ "--root", m_root.string(), "--scenario", (scenarioFolder() / "fifteen-notifications.json").string(),
        "--snapshot", (m_output / "list.json").string(), "--picture", (m_output / "list.png").string(), "--picture-scale", "1" });
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_THAT(run.output, HasSubstr("no extensions"));
    auto snapshot = snapshotOf("list.json");

    // Every message of the expanded group is on screen; the stacked groups show their newest.
    for (const char* title : { "Ava", "Ben", "Chloe", "Inkwell", "Book club" }) {
        auto labels = viewsWhere(snapshot, [&](const json& view) { return textOf(view) == title && shownInWindow(snapshot, view); });
        ASSERT_FALSE(labels.empty()) << title;
        auto frame = (*labels[0])["windowFrame"];
        EXPECT_GE(frame["y"].get<double>(), 0) << title;
        EXPECT_LE(frame["y"].get<double>() + frame["height"].get<double>(), SBHomeScreen::screenSize.height) << title;
    }
    // Untinted: every material keeps the system's light colour and has no border.
    std::set<json> systemColours;
    for (long recipe : { MTMaterialView::RecipePlatter, MTMaterialView::RecipeControl })
        systemColours.insert(ViewSnapshot::colorJSON(MTMaterialView::materialColor(recipe, UIUserInterfaceStyleLight).get()));
    auto materials = viewsWhere(snapshot, [](const json& view) { return view["class"] == "MTMaterialView"; });
    ASSERT_GE(materials.size(), 5u);
    for (auto* material : materials) {
        EXPECT_EQ((*material)["layer"]["borderWidth"], 0);
        EXPECT_TRUE(systemColours.contains((*material)["backgroundColor"])) << (*material)["path"];
    }

    // The picture is the phone's screen, and text is drawn where the snapshot puts it.
    auto picture = UIImage::imageWithContentsOfHostFile(m_output / "list.png");
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->cgImage()->width(), size_t(SBHomeScreen::screenSize.width));
    ASSERT_EQ(picture->cgImage()->height(), size_t(SBHomeScreen::screenSize.height));
    auto darkest = [&](const json& frame) {
        int darkest = 255;
        for (int y = frame["y"].get<int>(); y < frame["y"].get<int>() + frame["height"].get<int>(); ++y) {
            for (int x = frame["x"].get<int>(); x < frame["x"].get<int>() + frame["width"].get<int>(); ++x) {
                auto pixel = picture->cgImage()->pixelAt(x, y);
                darkest = std::min(darkest, (pixel.red + pixel.green + pixel.blue) / 3);
            }
        }
        return darkest;
    };
    auto chloe = viewsWhere(snapshot, [](const json& view) { return textOf(view) == "Chloe"; });
    EXPECT_LT(darkest((*chloe[0])["windowFrame"]), 80);
    // The bottom of the screen, below the list, is empty.
    EXPECT_GT(darkest(json { { "x", 0 }, { "y", 820 }, { "width", 390 }, { "height", 20 } }), 200);
}

TEST_F(HostScenario, ScrolledListShowsWhatIsOnScreenAndSaysWhere)
{
    auto run = runHost({ "--root", m_root.string(), "--quiet", "--scenario", (scenarioFolder() / "scrolling-list.json").string(),
        "--snapshot", (m_output / "scrolled.json").string(), "--picture", (m_output / "scrolled.png").string(), "--picture-scale", "1" });
    ASSERT_EQ(run.status, 0) << run.output;
    auto snapshot = snapshotOf("scrolled.json");

    // The list scrolls: the top list clips and says where it is, 300 points up from its end.
    auto lists = viewsWhere(snapshot, [](const json& view) { return view["class"] == "NCNotificationListView" && view["layer"]["masksToBounds"] == true; });
    ASSERT_EQ(lists.size(), 1u);
    auto& list = *lists[0];
    double offset = list["contentOffset"]["y"];
    double bottom = list["contentSize"]["height"].get<double>() - list["frame"]["height"].get<double>();
    EXPECT_GT(bottom, 1000);
    EXPECT_DOUBLE_EQ(offset, bottom - 300);

    // Only the cells on screen and the margin are views, each showing its own notification:
    // the four apps' platters side by side, ungrouped, none of the newest far above.
    auto cells = viewsWhere(snapshot, [](const json& view) { return view["class"] == "NCNotificationListCell"; });
    EXPECT_GT(cells.size(), 5u);
    EXPECT_LT(cells.size(), 20u);
    std::set<std::string> senders;
    for (auto* cell : cells) {
        std::string path = (*cell)["path"];
        auto frame = (*cell)["windowFrame"];
        EXPECT_LT(frame["y"].get<double>(), SBHomeScreen::screenSize.height + NCNotificationListView::visibleMargin) << path;
        EXPECT_GT(frame["y"].get<double>() + frame["height"].get<double>(), -NCNotificationListView::visibleMargin) << path;
        for (auto* label : viewsWhere(snapshot, [&](const json& view) { return std::string(view["path"]).starts_with(path + "/") && textOf(view).size(); }))
            senders.insert(textOf(*label));
    }
    for (const char* title : { "Chloe", "Ada", "Dentist", "New release" })
        EXPECT_TRUE(senders.contains(title)) << title;
    EXPECT_FALSE(senders.contains("The Sunsets: Golden Hour (40)"));
    EXPECT_FALSE(senders.contains("Tomorrow at 09:30 (39)"));
}

TEST_F(HostScenario, WidgetsPageIsWhatThePictureShowsWhileShown)
{
    auto run = runHost({ "--root", m_root.string(), "--quiet", "--scenario", (scenarioFolder() / "widgets-page.json").string(),
        "--snapshot", (m_output / "widgets.json").string(), "--picture", (m_output / "widgets.png").string() });
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, "");
    auto snapshot = snapshotOf("widgets.json");
    auto headers = viewsWhere(snapshot, [&](const json& view) { return view["class"] == "WGPlatterHeaderContentView" && shownInWindow(snapshot, view); });
    EXPECT_EQ(headers.size(), 4u);
    // The notification under the page is not drawn: the page's backdrop is opaque.
    auto page = viewsWhere(snapshot, [](const json& view) { return view["class"] == "UIScrollView" && view["backgroundColor"].is_object(); });
    ASSERT_FALSE(page.empty());
    EXPECT_EQ((*page[0])["backgroundColor"]["alpha"], 1);
    auto picture = UIImage::imageWithContentsOfHostFile(m_output / "widgets.png");
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->cgImage()->width(), size_t(SBHomeScreen::screenSize.width * 2));
}

TEST_F(HostScenario, BadScenariosStopTheHostBeforeAnythingRuns)
{
    // What each file of bad/ is refused for; the others are refused for their shape.
    const std::map<std::string, std::string> faults {
        { "number-too-large.json", "a number out of range" },
        { "time-past-a-day.json", "event 1 (\"lock\"): \"at\" must be between 0 and 86400 seconds" },
        { "clock-past-a-day.json", "event 2 (\"advance\"): the scenario clock would pass 86400 seconds" },
        { "negative-advance.json", "must be between 0 and 86400 seconds" },
        { "advance-not-a-number.json", "must be a number of seconds, not boolean" },
        { "time-is-a-string.json", "\"at\" must be a number of seconds, not string" },
        { "negative-timeout.json", "\"timeout\" must be between 0 and 86400 seconds" },
        { "fractional-destinations.json", "\"destinations\" must be a whole number" },
        { "destinations-too-large.json", "\"destinations\" must be a whole number" },
        { "title-not-a-string.json", "\"title\" must be a string, not number" },
        { "nul-in-section.json", "\"section\" must not hold a NUL" },
        { "lone-surrogate.json", "not JSON" },
        { "invalid-utf8.json", "not JSON" },
        { "nested-too-deep.json", "nested deeper than 32" },
    };
    // Larger than any scenario; and a device that never ends.
    std::ofstream(m_output / "oversized.json") << R"({ "events": [ { "post": ")" << std::string(Scenario::maximumFileBytes, 'x') << R"(" } ] })";
    std::vector<fs::path> files { m_output / "oversized.json", "/dev/zero" };
    for (auto& entry : fs::directory_iterator(scenarioFolder() / "bad"))
        files.push_back(entry.path());
    for (auto& file : files) {
        auto snapshot = m_output / "never.json";
        auto run = runHost({ "--root", m_root.string(), "--scenario", file.string(), "--snapshot", snapshot.string() });
        EXPECT_EQ(run.status, 2) << file << run.output;
        // One message, one line.
        EXPECT_THAT(run.output, testing::StartsWith("tintwell-springboard: bad scenario: " + file.string() + ": ")) << file;
        EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << file << run.output;
        if (auto fault = faults.find(file.filename().string()); fault != faults.end()) {
            EXPECT_THAT(run.output, HasSubstr(fault->second)) << file;
        }
        if (file.filename() == "oversized.json" || file.filename() == "zero") {
            EXPECT_THAT(run.output, HasSubstr("larger than 1024 KiB"));
        }
        // Not even the extensions were loaded.
        EXPECT_THAT(run.output, testing::Not(HasSubstr("no extensions")));
        EXPECT_FALSE(fs::exists(snapshot));
    }
    EXPECT_GE(files.size(), faults.size() + 2);
    auto missing = runHost({ "--root", m_root.string(), "--scenario", (m_output / "absent.json").string() });
    EXPECT_EQ(missing.status, 2);
    auto noFolder = runHost({ "--root", m_root.string(), "--snapshot", (m_output / "absent/out.json").string() });
    EXPECT_EQ(noFolder.status, 2);
    EXPECT_THAT(noFolder.output, HasSubstr("does not exist"));
}

TEST_F(HostScenario, BrokenArtworkMeansNoArtworkAndTheRunGoesOn)
{
    std::ofstream(m_output / "broken.json") << R"([
        { "playMedia": { "title": "Broken", "artwork": ")" << (scenarioFolder() / "artwork/corrupt.png").lexically_relative(m_output).string() << R"(" } },
        { "advance": 1 },
        { "changeTrack": { "title": "Missing", "artwork": "nowhere.png" } } ])";
    auto run = runHost({ "--root", m_root.string(), "--scenario", (m_output / "broken.json").string(), "--snapshot", (m_output / "broken-out.json").string() });
    ASSERT_EQ(run.status, 0) << run.output;
    auto snapshot = snapshotOf("broken-out.json");
    auto artwork = viewsWhere(snapshot, [](const json& view) { return view["class"] == "UIImageView" && view["path"].get<std::string>().ends_with("MediaControlsHeaderView/0:UIImageView"); });
    ASSERT_EQ(artwork.size(), 1u);
    EXPECT_TRUE((*artwork[0])["image"].is_null());
    auto titles = viewsWhere(snapshot, [](const json& view) { return textOf(view) == "Missing"; });
    EXPECT_EQ(titles.size(), 1u);
}
