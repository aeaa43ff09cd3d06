#include "platform/springboard/ScenarioEventTypes.h"

#include "platform/foundation/CFNotificationCenter.h"
#include "platform/foundation/CFPreferences.h"
#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/PropertyList.h"
#include "platform/springboard/BBServer.h"
#include "platform/springboard/SBHomeScreen.h"
#include "platform/springboard/ScenarioRunner.h"
#include "platform/springboard/UIImage+ApplicationIcons.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <optional>
#include <sstream>

using nlohmann::json;

namespace {

// ---- Checking values ------------------------------------------------------------------

constexpr double waitForDefaultTimeout = 30;

std::string quote(std::string_view text) { return "\"" + std::string(text) + "\""; }

// Events that take no argument are written with true or {}.
void requireFlag(const json& value)
{
    if (value == json(true) || (value.is_object() && value.empty()))
        return;
    throw ScenarioError("takes no argument: write true or {}");
}

// The value as an object holding only the allowed keys, each of the required ones present.
const json& requireObject(const json& value, std::initializer_list<std::string_view> allowed, std::initializer_list<std::string_view> required = {})
{
    if (!value.is_object())
        throw ScenarioError("the value must be an object, not " + std::string(value.type_name()));
    for (auto& [key, member] : value.items()) {
        if (std::find(allowed.begin(), allowed.end(), key) == allowed.end()) {
            std::string known;
            for (auto name : allowed)
                known += (known.empty() ? "" : ", ") + quote(name);
            throw ScenarioError("unknown key " + quote(key) + " (known: " + known + ")");
        }
    }
    for (auto key : required) {
        if (!value.contains(key))
            throw ScenarioError("missing " + quote(key));
    }
    return value;
}

std::string requireString(const json& value, std::string_view what)
{
    if (!value.is_string())
        throw ScenarioError(std::string(what) + " must be a string, not " + value.type_name());
    auto text = value.get<std::string>();
    // Names, identifiers and paths end at a NUL further down; what follows it would be lost.
    if (text.find('\0') != std::string::npos)
        throw ScenarioError(std::string(what) + " must not hold a NUL character (\\u0000)");
    return text;
}

std::string requireNonEmptyString(const json& value, std::string_view what)
{
    auto text = requireString(value, what);
    if (text.empty())
        throw ScenarioError(std::string(what) + " must not be empty");
    return text;
}

std::string stringField(const json& object, std::string_view key, std::string fallback = {})
{
    auto found = object.find(key);
    if (found == object.end())
        return fallback;
    return requireString(*found, quote(key));
}

bool booleanField(const json& object, std::string_view key, bool fallback)
{
    auto found = object.find(key);
    if (found == object.end())
        return fallback;
    if (!found->is_boolean())
        throw ScenarioError(quote(key) + " must be true or false, not " + found->type_name());
    return found->get<bool>();
}

double requireSeconds(const json& value, std::string_view what)
{
    if (!value.is_number())
        throw ScenarioError(std::string(what) + " must be a number of seconds, not " + value.type_name());
    double seconds = value.get<double>();
    if (!std::isfinite(seconds) || seconds < 0 || seconds > ScenarioStep::maximumSeconds)
        throw ScenarioError(std::string(what) + " must be between 0 and " + std::to_string(long(ScenarioStep::maximumSeconds)) + " seconds");
    return seconds;
}

// ---- Files the scenario names ----------------------------------------------------------

// A PNG named in a scenario: a device path ("/var/mobile/Media/cover.png", under the
// device root) or a path relative to the scenario file.
struct ImageFile {
    std::string devicePath;
    std::filesystem::path hostPath;

    // Missing and unreadable files are no image.
    RefPtr<UIImage> load() const
    {
        if (!devicePath.empty())
            return UIImage::imageWithContentsOfFile(devicePath);
        return UIImage::imageWithContentsOfHostFile(hostPath);
    }
};

std::optional<ImageFile> imageField(const json& object, std::string_view key, const ScenarioParseContext& context)
{
    auto found = object.find(key);
    if (found == object.end())
        return std::nullopt;
    auto path = requireNonEmptyString(*found, quote(key));
    if (path.front() == '/')
        return ImageFile { path, {} };
    return ImageFile { {}, context.folder / path };
}

// ---- Notifications ---------------------------------------------------------------------

// A notification named by a publish event above, or given by its identifier.
std::string notificationReference(const json& value)
{
    return requireNonEmptyString(value, "the notification (a name given by \"publish\", or an identifier)");
}

ScenarioStep parsePublish(const json& value, ScenarioParseContext& context)
{
    auto& event = requireObject(value, { "section", "title", "message", "destinations", "name" }, { "section" });
    // null: a bulletin without a section identifier.
    std::optional<std::string> section;
    if (!event["section"].is_null())
        section = requireNonEmptyString(event["section"], quote("section"));
    auto title = stringField(event, "title");
    auto message = stringField(event, "message");
    unsigned long destinations = SBHomeScreen::destinationLockScreen;
    if (auto found = event.find("destinations"); found != event.end()) {
        // The bulletin board's destination bits fit 32 bits; compared as JSON holds the number,
        // so a huge or negative one is not wrapped into range first.
        bool inRange = found->is_number_unsigned() ? found->get<uint64_t>() <= UINT32_MAX
                                                   : found->is_number_integer() && found->get<int64_t>() >= 0;
        if (!inRange)
            throw ScenarioError("\"destinations\" must be a whole number of destination bits from 0 to 4294967295 (2 banner, 4 lock screen)");
        destinations = found->get<unsigned long>();
    }
    auto name = stringField(event, "name");
    if (!name.empty() && !context.notificationNames.insert(name).second)
        throw ScenarioError("the name " + quote(name) + " is already given to another notification");
    return { [=](ScenarioRunner& runner) {
        auto& home = runner.homeScreen();
        auto identifier = section ? home.publishBulletin(*section, title, message, destinations) : home.publishSectionlessBulletin(title, message, destinations);
        if (identifier.empty()) {
            runner.warn("no bulletin server to publish " + quote(title) + " to");
            return;
        }
        if (!name.empty())
            runner.nameNotification(name, identifier);
    } };
}

ScenarioStep parseRemove(const json& value, ScenarioParseContext&)
{
    auto reference = notificationReference(value);
    return { [=](ScenarioRunner& runner) {
        if (!runner.homeScreen().removeNotification(runner.notificationIdentifier(reference)))
            runner.warn("no notification " + quote(reference) + " to remove");
    } };
}

// A notification, or {"notification", "customContent", "daynContainer"}.
ScenarioStep parseExpand(const json& value, ScenarioParseContext&)
{
    SBHomeScreen::LongLookOptions options;
    std::string reference;
    if (value.is_object()) {
        auto& event = requireObject(value, { "notification", "customContent", "daynContainer" }, { "notification" });
        reference = notificationReference(event["notification"]);
        options.customContent = booleanField(event, "customContent", false);
        options.daynContainer = booleanField(event, "daynContainer", false);
    } else {
        reference = notificationReference(value);
    }
    return { [=](ScenarioRunner& runner) {
        if (!runner.homeScreen().expandNotification(runner.notificationIdentifier(reference), options))
            runner.warn("no notification " + quote(reference) + " to expand");
        else if (options.daynContainer && !runner.homeScreen().companions().isDaynLoaded())
            runner.warn("Dayn is not loaded; the long look has no container");
    } };
}

ScenarioStep parseCollapse(const json& value, ScenarioParseContext&)
{
    requireFlag(value);
    return { [](ScenarioRunner& runner) { runner.homeScreen().collapseLongLook(); } };
}

ScenarioStep parseSwipe(const json& value, ScenarioParseContext&)
{
    auto reference = notificationReference(value);
    return { [=](ScenarioRunner& runner) {
        if (!runner.homeScreen().swipeCell(runner.notificationIdentifier(reference)))
            runner.warn("no notification " + quote(reference) + " to swipe");
    } };
}

ScenarioStep parseCollapseGroup(const json& value, ScenarioParseContext&)
{
    auto section = requireNonEmptyString(value, "the app's section identifier");
    return { [=](ScenarioRunner& runner) {
        if (!runner.homeScreen().collapseGroup(section))
            runner.warn("no group of " + quote(section) + " to collapse");
    } };
}

ScenarioStep parseExpandGroup(const json& value, ScenarioParseContext&)
{
    auto section = requireNonEmptyString(value, "the app's section identifier");
    return { [=](ScenarioRunner& runner) {
        if (!runner.homeScreen().expandGroup(section))
            runner.warn("no group of " + quote(section) + " to expand");
    } };
}

ScenarioStep parseRevealHistory(const json& value, ScenarioParseContext&)
{
    requireFlag(value);
    return { [](ScenarioRunner& runner) { runner.homeScreen().revealHistory(); } };
}

// A distance or offset in points, within what any list could hold.
double requirePoints(const json& value, std::string_view what)
{
    constexpr double limit = 1e7;
    if (!value.is_number() || !std::isfinite(value.get<double>()) || std::fabs(value.get<double>()) > limit)
        throw ScenarioError(std::string(what) + " must be a number of points between -10000000 and 10000000");
    return value.get<double>();
}

ScenarioStep parseScroll(const json& value, ScenarioParseContext&)
{
    auto& event = requireObject(value, { "by", "to", "notification" });
    if (event.size() != 1)
        throw ScenarioError("takes one of \"by\", \"to\" and \"notification\"");
    if (auto by = event.find("by"); by != event.end()) {
        double distance = requirePoints(*by, quote("by"));
        return { [=](ScenarioRunner& runner) { runner.homeScreen().scrollListBy(distance); } };
    }
    if (auto reference = event.find("notification"); reference != event.end()) {
        auto name = notificationReference(*reference);
        return { [=](ScenarioRunner& runner) {
            if (!runner.homeScreen().scrollToNotification(runner.notificationIdentifier(name)))
                runner.warn("no notification " + quote(name) + " to scroll to");
        } };
    }
    auto& to = event["to"];
    if (to.is_string()) {
        auto where = requireString(to, quote("to"));
        if (where != "top" && where != "bottom")
            throw ScenarioError("\"to\" is \"top\", \"bottom\" or a number of points, not " + quote(where));
        bool bottom = where == "bottom";
        return { [=](ScenarioRunner& runner) {
            auto& home = runner.homeScreen();
            home.scrollListTo(bottom ? home.maximumListOffset() : 0);
        } };
    }
    double offset = requirePoints(to, quote("to"));
    return { [=](ScenarioRunner& runner) { runner.homeScreen().scrollListTo(offset); } };
}

ScenarioStep parseGrouping(const json& value, ScenarioParseContext&)
{
    auto text = requireString(value, "the grouping");
    if (text != "byApp" && text != "off")
        throw ScenarioError("the grouping is \"byApp\" or \"off\", not " + quote(text));
    auto grouping = text == "off" ? SBHomeScreen::Grouping::Off : SBHomeScreen::Grouping::ByApp;
    return { [grouping](ScenarioRunner& runner) { runner.homeScreen().setGrouping(grouping); } };
}

ScenarioStep parseLock(const json& value, ScenarioParseContext&)
{
    requireFlag(value);
    return { [](ScenarioRunner& runner) { runner.homeScreen().lock(); } };
}

ScenarioStep parseUnlock(const json& value, ScenarioParseContext&)
{
    requireFlag(value);
    return { [](ScenarioRunner& runner) { runner.homeScreen().unlock(); } };
}

// ---- Companion extensions --------------------------------------------------------------

struct CompanionCellTarget {
    std::string app;
    std::vector<SBHomeScreenCompanions::AppCellRow> rows;
    std::string rowsName;
};

// An app's bundle identifier (its cell in every row), or {"app", "companion"}.
CompanionCellTarget parseCompanionCell(const json& value)
{
    using Row = SBHomeScreenCompanions::AppCellRow;
    if (value.is_string())
        return { requireNonEmptyString(value, "the app's bundle identifier"), { Row::Axon, Row::Grupi }, "Axon or Grupi" };
    auto& event = requireObject(value, { "app", "companion" }, { "app" });
    auto app = requireNonEmptyString(event["app"], quote("app"));
    auto companion = stringField(event, "companion");
    if (companion.empty())
        return { app, { Row::Axon, Row::Grupi }, "Axon or Grupi" };
    if (companion == "axon")
        return { app, { Row::Axon }, "Axon" };
    if (companion == "grupi")
        return { app, { Row::Grupi }, "Grupi" };
    throw ScenarioError("\"companion\" is \"axon\" or \"grupi\", not " + quote(companion));
}

ScenarioStep companionCellStep(const json& value, bool selected)
{
    auto target = parseCompanionCell(value);
    return { [target, selected](ScenarioRunner& runner) {
        bool found = false;
        for (auto row : target.rows)
            found = runner.homeScreen().selectCompanionCell(row, target.app, selected) || found;
        if (!found)
            runner.warn("no " + target.rowsName + " cell for " + quote(target.app) + " to " + (selected ? "select" : "deselect"));
    } };
}

ScenarioStep parseSelectCompanionCell(const json& value, ScenarioParseContext&) { return companionCellStep(value, true); }

ScenarioStep parseDeselectCompanionCell(const json& value, ScenarioParseContext&) { return companionCellStep(value, false); }

// ---- Widgets ---------------------------------------------------------------------------

struct WidgetDescription {
    std::string identifier;
    std::string name;
    std::string app;
    std::string text;
    std::optional<ImageFile> icon;
    std::string iconApp;

    RefPtr<WGWidgetHostingViewController> makeHost() const
    {
        RefPtr<UIImage> image;
        if (icon)
            image = icon->load();
        else if (!iconApp.empty())
            image = sendApplicationIconImage(iconApp, 0, 3);
        else if (!app.empty())
            image = sendApplicationIconImage(app, 0, 3);
        return WGWidgetHostingViewController::create(WGWidgetInfo::create(identifier, name, image), app, text);
    }
};

WidgetDescription parseWidget(const json& value, const ScenarioParseContext& context)
{
    auto& widget = requireObject(value, { "identifier", "name", "app", "text", "icon", "iconApp" }, { "identifier" });
    WidgetDescription description;
    description.identifier = requireNonEmptyString(widget["identifier"], quote("identifier"));
    description.name = stringField(widget, "name", description.identifier);
    description.app = stringField(widget, "app");
    description.text = stringField(widget, "text");
    description.icon = imageField(widget, "icon", context);
    description.iconApp = stringField(widget, "iconApp");
    if (description.icon && !description.iconApp.empty())
        throw ScenarioError("a widget takes \"icon\" or \"iconApp\", not both");
    return description;
}

ScenarioStep parseShowWidgets(const json& value, ScenarioParseContext& context)
{
    if (value.is_object() && value.contains("widgets")) {
        auto& event = requireObject(value, { "widgets" });
        auto& list = event["widgets"];
        if (!list.is_array())
            throw ScenarioError("\"widgets\" must be an array of widgets");
        std::vector<WidgetDescription> widgets;
        for (auto& widget : list) {
            try {
                widgets.push_back(parseWidget(widget, context));
            } catch (const ScenarioError& fault) {
                throw ScenarioError("widget " + std::to_string(widgets.size() + 1) + ": " + fault.what());
            }
        }
        return { [widgets](ScenarioRunner& runner) {
            std::vector<RefPtr<WGWidgetHostingViewController>> hosts;
            for (auto& widget : widgets)
                hosts.push_back(widget.makeHost());
            runner.setWidgets(hosts);
            runner.showWidgets(true);
        } };
    }
    requireFlag(value);
    return { [](ScenarioRunner& runner) { runner.showWidgets(true); } };
}

ScenarioStep parseHideWidgets(const json& value, ScenarioParseContext&)
{
    requireFlag(value);
    return { [](ScenarioRunner& runner) { runner.showWidgets(false); } };
}

// ---- Media -----------------------------------------------------------------------------

struct TrackDescription {
    std::string title;
    std::string artist;
    std::optional<ImageFile> artwork;
    MediaControlsPanelViewController::Layout layout { MediaControlsPanelViewController::Layout::LockScreen };

    SBMediaController::Track load() const { return { title, artist, artwork ? artwork->load() : nullptr }; }
};

TrackDescription parseTrack(const json& value, const ScenarioParseContext& context, bool withLayout = false)
{
    auto& track = withLayout ? requireObject(value, { "title", "artist", "artwork", "layout" }, { "title" })
                             : requireObject(value, { "title", "artist", "artwork" }, { "title" });
    TrackDescription description { requireString(track["title"], quote("title")), stringField(track, "artist"), imageField(track, "artwork", context) };
    auto layout = stringField(track, "layout", "lockScreen");
    using Layout = MediaControlsPanelViewController::Layout;
    if (layout == "singleMaterial")
        description.layout = Layout::SingleMaterial;
    else if (layout == "flat")
        description.layout = Layout::Flat;
    else if (layout != "lockScreen")
        throw ScenarioError("\"layout\" is \"lockScreen\", \"singleMaterial\" or \"flat\", not " + quote(layout));
    return description;
}

ScenarioStep parsePlayMedia(const json& value, ScenarioParseContext& context)
{
    auto track = parseTrack(value, context, true);
    return { [track](ScenarioRunner& runner) { runner.mediaController().play(track.load(), track.layout); } };
}

ScenarioStep parseChangeTrack(const json& value, ScenarioParseContext& context)
{
    auto track = parseTrack(value, context);
    return { [track](ScenarioRunner& runner) {
        if (!runner.mediaController().isPlaying()) {
            runner.warn("nothing is playing; the track change is ignored");
            return;
        }
        runner.mediaController().changeTrack(track.load());
    } };
}

ScenarioStep parseStopMedia(const json& value, ScenarioParseContext&)
{
    requireFlag(value);
    return { [](ScenarioRunner& runner) { runner.mediaController().stop(); } };
}

// ---- The system ------------------------------------------------------------------------

ScenarioStep parseAppearance(const json& value, ScenarioParseContext&)
{
    auto text = requireString(value, "the appearance");
    if (text != "light" && text != "dark" && text != "unspecified")
        throw ScenarioError("the appearance is \"light\", \"dark\" or \"unspecified\", not " + quote(text));
    auto appearance = text == "dark" ? SBHomeScreen::Appearance::Dark
        : text == "light"            ? SBHomeScreen::Appearance::Light
                                     : SBHomeScreen::Appearance::Unspecified;
    return { [appearance](ScenarioRunner& runner) { runner.homeScreen().setAppearance(appearance); } };
}

ScenarioStep parseAdvance(const json& value, ScenarioParseContext&)
{
    double seconds = requireSeconds(value, "the time to advance");
    return { [seconds](ScenarioRunner& runner) { runner.homeScreen().advanceTime(seconds); }, seconds };
}

// Delivered to this process's observers before the event ends, as the post reaches the
// process's own notify socket at once.
void postSystemWide(ScenarioRunner& runner, const std::string& name)
{
    CFNotificationCenter::post(name);
    runner.homeScreen().drainMainQueue();
    runner.homeScreen().layoutNow();
}

ScenarioStep parsePost(const json& value, ScenarioParseContext&)
{
    auto name = requireNonEmptyString(value, "the notification name");
    return { [name](ScenarioRunner& runner) { postSystemWide(runner, name); } };
}

ScenarioStep parseWaitFor(const json& value, ScenarioParseContext& context)
{
    auto name = requireNonEmptyString(value, "the notification name");
    double timeout = waitForDefaultTimeout;
    if (context.event) {
        if (auto found = context.event->find("timeout"); found != context.event->end())
            timeout = requireSeconds(*found, "\"timeout\"");
    }
    context.awaitedNotifications.insert(name);
    return { [name, timeout](ScenarioRunner& runner) {
        if (runner.waitForNotification(name, timeout))
            return;
        std::ostringstream message;
        message << "timed out after " << timeout << " seconds waiting for " << quote(name);
        runner.fail(message.str());
    } };
}

// A preference value as the property list stores it; nil removes the key.
Id preferenceValue(const json& value, const std::string& type)
{
    if (type.empty()) {
        if (value.is_null())
            return nullptr;
        if (value.is_boolean())
            return NSNumber::numberWithBool(value.get<bool>());
        if (value.is_number_integer())
            return NSNumber::numberWithInteger(value.get<long>());
        if (value.is_number_float())
            return NSNumber::numberWithDouble(value.get<double>());
        if (value.is_string())
            return NSString::string(value.get<std::string>());
        throw ScenarioError("\"value\" must be a boolean, a number, a string or null, not " + std::string(value.type_name()));
    }
    if (type == "bool" && value.is_boolean())
        return NSNumber::numberWithBool(value.get<bool>());
    if (type == "integer" && value.is_number_integer())
        return NSNumber::numberWithInteger(value.get<long>());
    if (type == "real" && value.is_number())
        return NSNumber::numberWithDouble(value.get<double>());
    if (type == "string" && value.is_string())
        return NSString::string(value.get<std::string>());
    if (type != "bool" && type != "integer" && type != "real" && type != "string")
        throw ScenarioError("\"type\" is \"bool\", \"integer\", \"real\" or \"string\", not " + quote(type));
    throw ScenarioError("\"value\" is not a " + type);
}

ScenarioStep parseWritePreference(const json& value, ScenarioParseContext&)
{
    auto& event = requireObject(value, { "domain", "key", "value", "type", "reload" }, { "domain", "key", "value" });
    auto domain = requireNonEmptyString(event["domain"], quote("domain"));
    if (domain.find('/') != std::string::npos || domain.front() == '.')
        throw ScenarioError("\"domain\" must be a preferences domain such as \"com.quillfen.tintwellprefs\", not a path");
    auto key = requireNonEmptyString(event["key"], quote("key"));
    auto type = stringField(event, "type");
    // Checked now, built at run time: objects belong to the run.
    (void)preferenceValue(event["value"], type);
    json stored = event["value"];
    std::string reload = domain + "/ReloadPrefs";
    if (auto found = event.find("reload"); found != event.end()) {
        if (found->is_boolean())
            reload = found->get<bool>() ? reload : std::string();
        else
            reload = requireNonEmptyString(*found, "\"reload\" (true, false or a notification name)");
    }
    return { [=](ScenarioRunner& runner) {
        auto result = CFPreferences::setAppValue(domain, NSString::string(key).get(), preferenceValue(stored, type).get());
        if (result != CFPreferences::WriteResult::Written)
            runner.warn(CFPreferences::describe(result, domain));
        if (!reload.empty())
            postSystemWide(runner, reload);
    } };
}

// ---- Snapshots and the bulletin server ------------------------------------------------

// A name for the files a snapshot event writes: letters, digits, "-" and "_".
std::string snapshotName(const json& value)
{
    auto name = requireNonEmptyString(value, "the snapshot's name");
    bool plain = name.size() <= 64 && std::all_of(name.begin(), name.end(), [](unsigned char c) { return std::isalnum(c) || c == '-' || c == '_'; });
    if (!plain)
        throw ScenarioError("the snapshot's name " + quote(name) + " must be 1 to 64 letters, digits, \"-\" or \"_\"");
    return name;
}

// A name, or {"name", "layout"}.
ScenarioStep parseSnapshot(const json& value, ScenarioParseContext& context)
{
    std::string name;
    bool layout = true;
    if (value.is_object()) {
        auto& event = requireObject(value, { "name", "layout" }, { "name" });
        name = snapshotName(event["name"]);
        layout = booleanField(event, "layout", true);
    } else {
        name = snapshotName(value);
    }
    if (!context.snapshotNames.insert(name).second)
        throw ScenarioError("the name " + quote(name) + " is already given to another snapshot");
    return { [=](ScenarioRunner& runner) { runner.takeSnapshot(name, layout); } };
}

// true, or {"publishCalls": [...], "exportQueue": false}.
ScenarioStep parseReplaceBulletinServer(const json& value, ScenarioParseContext&)
{
    unsigned calls = BBServer::BothPublishCalls;
    bool exportQueue = true;
    if (value.is_object() && !value.empty()) {
        auto& event = requireObject(value, { "publishCalls", "exportQueue" });
        exportQueue = booleanField(event, "exportQueue", true);
        if (auto found = event.find("publishCalls"); found != event.end()) {
            if (!found->is_array())
                throw ScenarioError("\"publishCalls\" must be an array of publish selectors");
            calls = BBServer::NoPublishCall;
            for (auto& call : *found) {
                auto selector = requireString(call, "a publish call");
                if (selector == BBServer::destinationsCall)
                    calls |= BBServer::DestinationsCall;
                else if (selector == BBServer::lockScreenCall)
                    calls |= BBServer::LockScreenCall;
                else
                    throw ScenarioError("a publish call is " + quote(BBServer::destinationsCall) + " or " + quote(BBServer::lockScreenCall) + ", not " + quote(selector));
            }
        }
    } else {
        requireFlag(value);
    }
    return { [=](ScenarioRunner& runner) {
        if (!runner.homeScreen().replaceServer(BBServer::classAnswering(calls), exportQueue))
            runner.warn("no new bulletin server could be made");
    } };
}

// ---- The table -------------------------------------------------------------------------

const std::vector<ScenarioEventType> eventTypes {
    { "publish", parsePublish },
    { "remove", parseRemove },
    { "expand", parseExpand },
    { "collapse", parseCollapse },
    { "swipe", parseSwipe },
    { "collapseGroup", parseCollapseGroup },
    { "expandGroup", parseExpandGroup },
    { "revealHistory", parseRevealHistory },
    { "scroll", parseScroll },
    { "grouping", parseGrouping },
    { "lock", parseLock },
    { "unlock", parseUnlock },
    { "selectCompanionCell", parseSelectCompanionCell },
    { "deselectCompanionCell", parseDeselectCompanionCell },
    { "showWidgets", parseShowWidgets },
    { "hideWidgets", parseHideWidgets },
    { "playMedia", parsePlayMedia },
    { "changeTrack", parseChangeTrack },
    { "stopMedia", parseStopMedia },
    { "appearance", parseAppearance },
    { "advance", parseAdvance },
    { "post", parsePost },
    { "waitFor", parseWaitFor, { "timeout" } },
    { "writePreference", parseWritePreference },
    // Branches the events above cannot reach: the screen as it is, other servers.
    { "snapshot", parseSnapshot },
    { "replaceBulletinServer", parseReplaceBulletinServer },
};

} // namespace

const std::vector<ScenarioEventType>& scenarioEventTypes()
{
    return eventTypes;
}

const ScenarioEventType* findScenarioEventType(std::string_view key)
{
    for (auto& type : eventTypes) {
        if (type.key == key)
            return &type;
    }
    return nullptr;
}
