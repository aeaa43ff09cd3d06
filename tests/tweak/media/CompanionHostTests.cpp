#include "tests/tweak/media/CompanionTestSupport.h"

#include "platform/springboard/NCNotificationListView.h"
#include "platform/springboard/NCNotificationShortLookViewController.h"
#include "platform/springboard/NCNotificationStructuredListViewController.h"
#include "platform/uikit/ViewSnapshot.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>

namespace media {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::SizeIs;

constexpr const char* mail = "com.apple.mobilemail";
constexpr const char* messages = "com.apple.MobileSMS";
constexpr const char* calendar = "com.apple.mobilecal";

CGRect inWindow(const UIView* view, const SBHomeScreen& home) { return view->convertRectToView(view->bounds(), home.window().get()); }

size_t viewsOfClass(const UIView* view, std::string_view name)
{
    size_t count = view->className() == name ? 1 : 0;
    for (auto& child : view->subviewList())
        count += viewsOfClass(child.get(), name);
    return count;
}

struct RowCase {
    std::string library;
    AppCellRow row;
    std::string prefix;
    std::string eventName;
};

const RowCase rowCases[] = { { "Axon", AppCellRow::Axon, "Axon", "axon" }, { "Grupi", AppCellRow::Grupi, "Grupi", "grupi" } };

TEST(CompanionRows, OneCellPerAppInListOrderAboveTheListFirstSelected)
{
    inCompanionHomeScreen(fullFill("Axon") + fullFill("Grupi"), { "Axon", "Grupi" }, [](CompanionHomeScreen& screen) {
        auto& home = screen.home();
        double emptyListTop = inWindow(home.rootListView().get(), home).origin.y;
        EXPECT_EQ(viewsOfClass(home.window().get(), "AXNAppCell"), 0u) << "no notifications, no cells";

        home.publishBulletin(mail, "Ada", "Minutes");
        home.publishBulletin(messages, "Chloe", "On my way");
        home.publishBulletin(mail, "Ben", "Tickets");
        auto lastCalendar = home.publishBulletin(calendar, "Dentist", "09:30");

        double listTop = inWindow(home.rootListView().get(), home).origin.y;
        double axonBottom = 0;
        for (auto& rowCase : rowCases) {
            // Newest app on top, as the list shows them; each app once.
            EXPECT_THAT(rowApps(home, rowCase.row), ElementsAre(calendar, messages, mail)) << rowCase.library;
            EXPECT_EQ(home.companions().selectedApp(rowCase.row), calendar) << rowCase.library;
            EXPECT_TRUE(filledWith(rowCell(home, rowCase.row, calendar).get(), appColour(calendar).get())) << rowCase.library;
            EXPECT_TRUE(isCleared(rowCell(home, rowCase.row, mail).get())) << rowCase.library << ": colour style 1 clears unselected cells";

            double previousRight = -1;
            for (auto& cell : home.companions().cells(rowCase.row)) {
                CGRect frame = inWindow(cell.get(), home);
                EXPECT_LE(CGRectGetMaxY(frame), listTop) << rowCase.library << " cell overlaps the list";
                EXPECT_GT(frame.origin.x, previousRight) << rowCase.library << " cells overlap each other";
                previousRight = CGRectGetMaxX(frame);
                RefPtr<UIImageView> icon = objectCast<UIImageView>(msgSend<Id>(cell.get(), sel_registerName("iconView")));
                ASSERT_TRUE(icon && icon->image()) << rowCase.library << " cell for " << cellApp(cell.get()) << " shows no icon";
            }
            double top = inWindow(home.companions().cells(rowCase.row).front().get(), home).origin.y;
            EXPECT_GT(top, axonBottom) << "Grupi's row sits under Axon's";
            axonBottom = top;
        }

        // The selected app leaves: the selection falls back to the new first cell, which is tinted.
        EXPECT_TRUE(home.removeNotification(lastCalendar));
        for (auto& rowCase : rowCases) {
            EXPECT_THAT(rowApps(home, rowCase.row), ElementsAre(messages, mail)) << rowCase.library;
            EXPECT_EQ(home.companions().selectedApp(rowCase.row), messages) << rowCase.library;
            EXPECT_TRUE(filledWith(rowCell(home, rowCase.row, messages).get(), appColour(messages).get())) << rowCase.library;
        }
        EXPECT_EQ(viewsOfClass(home.window().get(), "AXNAppCell"), 2u) << "the calendar cell left the screen";

        for (auto& identifier : home.notificationIdentifiers())
            home.removeNotification(identifier);
        EXPECT_THAT(home.companions().cells(AppCellRow::Axon), IsEmpty());
        EXPECT_EQ(inWindow(home.rootListView().get(), home).origin.y, emptyListTop) << "empty rows take no room";
    });
}

TEST(CompanionRows, SelectionEventsTintByColourStyle)
{
    const std::string selectMessages = R"({ "selectCompanionCell": { "app": "com.apple.MobileSMS", "companion": "COMPANION" } })";
    const std::string deselectMessages = R"({ "deselectCompanionCell": { "app": "com.apple.MobileSMS", "companion": "COMPANION" } })";
    auto forRow = [](std::string text, const RowCase& rowCase) { return "[" + text.replace(text.find("COMPANION"), 9, rowCase.eventName) + "]"; };

    for (auto& rowCase : rowCases) {
        for (long style : { 0L, 1L, 2L }) {
            inCompanionHomeScreen(fullFill(rowCase.prefix) + integerEntry(rowCase.prefix + "ColorStyle", style), { rowCase.library },
                [&](CompanionHomeScreen& screen) {
                    auto& home = screen.home();
                    home.publishBulletin(messages, "Chloe", "On my way");
                    home.publishBulletin(mail, "Ada", "Minutes");
                    auto mailCell = rowCell(home, rowCase.row, mail);
                    auto messagesCell = rowCell(home, rowCase.row, messages);
                    ASSERT_TRUE(mailCell && messagesCell);
                    // Which cells show the tint after each step; the others must be clear.
                    auto expectTinted = [&](bool mailTinted, bool messagesTinted, const char* step) {
                        std::string where = rowCase.library + " style " + std::to_string(style) + ", " + step;
                        if (mailTinted)
                            EXPECT_TRUE(filledWith(mailCell.get(), appColour(mail).get())) << where;
                        else
                            EXPECT_TRUE(isCleared(mailCell.get())) << where << ": mail";
                        if (messagesTinted)
                            EXPECT_TRUE(filledWith(messagesCell.get(), appColour(messages).get())) << where;
                        else
                            EXPECT_TRUE(isCleared(messagesCell.get())) << where << ": messages";
                    };
                    expectTinted(style == 0 || style == 1, style == 0, "at first");

                    EXPECT_THAT(playScenario(home, forRow(selectMessages, rowCase)), IsEmpty());
                    EXPECT_EQ(home.companions().selectedApp(rowCase.row), messages);
                    expectTinted(style == 0, style == 0 || style == 1, "messages selected");

                    EXPECT_THAT(playScenario(home, forRow(deselectMessages, rowCase)), IsEmpty());
                    EXPECT_EQ(home.companions().selectedApp(rowCase.row), std::nullopt);
                    expectTinted(style == 0, style == 0, "nothing selected");

                    // A row left without a selection by the user stays so when apps come.
                    home.publishBulletin(calendar, "Dentist", "09:30");
                    EXPECT_EQ(home.companions().selectedApp(rowCase.row), std::nullopt);
                });
        }
    }
}

TEST(CompanionRows, UnknownAppsAndAbsentCompanionsOnlyWarn)
{
    inCompanionHomeScreen(fullFill("Axon"), { "Axon" }, [](CompanionHomeScreen& screen) {
        auto& home = screen.home();
        home.publishBulletin(messages, "Chloe", "On my way");
        auto warnings = playScenario(home, R"([
            { "selectCompanionCell": "com.example.nowhere" },
            { "deselectCompanionCell": { "app": "../../../etc/passwd", "companion": "axon" } },
            { "selectCompanionCell": { "app": "com.apple.MobileSMS", "companion": "grupi" } }
        ])");
        ASSERT_THAT(warnings, SizeIs(3));
        EXPECT_THAT(warnings[0], HasSubstr("no Axon or Grupi cell for \"com.example.nowhere\" to select"));
        EXPECT_THAT(warnings[1], HasSubstr("to deselect"));
        EXPECT_THAT(warnings[2], HasSubstr("no Grupi cell"));
        EXPECT_EQ(home.companions().selectedApp(AppCellRow::Axon), messages);
        EXPECT_TRUE(filledWith(rowCell(home, AppCellRow::Axon, messages).get(), appColour(messages).get()));
    });

    // Shapes the engine refuses before anything runs.
    for (const char* text : {
             R"([{ "selectCompanionCell": { "app": "com.apple.MobileSMS", "companion": "dayn" } }])",
             R"([{ "selectCompanionCell": { "companion": "axon" } }])",
             R"([{ "deselectCompanionCell": { "app": 42 } }])",
             R"([{ "selectCompanionCell": "" }])",
             R"([{ "selectCompanionCell": { "app": "com.apple.MobileSMS", "row": 1 } }])",
         }) {
        std::string error;
        EXPECT_FALSE(Scenario::parseText(text, fs::current_path(), error)) << text;
        EXPECT_THAT(error, HasSubstr("event 1")) << text;
    }
}

TEST(DaynContainers, OneBesideEveryPlatterWithItsNotificationColour)
{
    inCompanionHomeScreen(fullFill("Dayn"), { "Dayn" }, [](CompanionHomeScreen& screen) {
        auto& home = screen.home();
        std::vector<std::pair<std::string, std::string>> published;
        for (auto* app : { mail, calendar, mail })
            published.emplace_back(app, home.publishBulletin(app, "Title", "Message"));
        home.expandGroup(mail);
        home.layoutNow();

        std::set<const UIView*> containers;
        for (auto& [app, identifier] : published) {
            auto cell = home.cellForNotification(identifier);
            ASSERT_TRUE(cell);
            EXPECT_EQ(viewsOfClass(cell.get(), "DaynContainer"), 1u) << "one container per platter, however often laid out";
            auto container = home.companions().containerInCell(cell.get());
            ASSERT_TRUE(container);
            containers.insert(container.get());
            auto delegate = msgSend<Id>(container.get(), sel_registerName("delegate"));
            EXPECT_EQ(delegate.get(), cell->contentViewController().get()) << app;
            EXPECT_TRUE(filledWith(container.get(), appColour(app).get())) << app;

            // In the cell, in front of the platter, beside its leading edge, as tall as the platter allows.
            auto& siblings = cell->subviewList();
            auto contentIndex = std::find(siblings.begin(), siblings.end(), cell->contentView()) - siblings.begin();
            auto containerIndex = std::find(siblings.begin(), siblings.end(), container) - siblings.begin();
            EXPECT_GT(containerIndex, contentIndex);
            CGRect frame = container->frame();
            EXPECT_GT(frame.size.height, 0);
            EXPECT_LE(CGRectGetMaxX(frame), cell->contentView()->frame().origin.x) << "over the platter";
            EXPECT_GE(frame.origin.x, -NCNotificationStructuredListViewController::horizontalMargin) << "off the screen";
            EXPECT_TRUE(frame.origin.y >= 0 && CGRectGetMaxY(frame) <= cell->bounds().size.height) << "taller than its cell";
        }
        EXPECT_EQ(containers.size(), published.size());

        // Swiped open, the platter slides aside and its container with it.
        auto swiped = home.cellForNotification(published[1].second);
        double before = home.companions().containerInCell(swiped.get())->frame().origin.x;
        ASSERT_TRUE(home.swipeCell(published[1].second));
        double slide = swiped->contentView()->frame().origin.x;
        ASSERT_LT(slide, 0);
        EXPECT_EQ(home.companions().containerInCell(swiped.get())->frame().origin.x, before + slide);
    });
}

// "Coloured Cells" of Dayn: Selected Cell follows the app selected in Axon's row.
TEST(DaynContainers, SelectedCellFollowsTheRowsSelection)
{
    inCompanionHomeScreen(fullFill("Dayn") + boolEntry("AxonColoring", false), { "Axon", "Dayn" }, [](CompanionHomeScreen& screen) {
        auto& home = screen.home();
        auto messagesNote = home.publishBulletin(messages, "Chloe", "On my way");
        auto mailNote = home.publishBulletin(mail, "Ada", "Minutes");
        home.layoutNow();
        auto container = [&](const std::string& identifier) { return home.companions().containerInCell(home.cellForNotification(identifier).get()); };
        ASSERT_TRUE(container(messagesNote) && container(mailNote));
        // The default: the newest app, first in the row, is selected.
        EXPECT_TRUE(filledWith(container(mailNote).get(), appColour(mail).get()));
        EXPECT_TRUE(isCleared(container(messagesNote).get()));

        EXPECT_THAT(playScenario(home, R"([{ "selectCompanionCell": { "app": "com.apple.MobileSMS", "companion": "axon" } }])"), IsEmpty());
        EXPECT_TRUE(filledWith(container(messagesNote).get(), appColour(messages).get()));
        EXPECT_TRUE(isCleared(container(mailNote).get()));

        // A row without a selection selects no container.
        EXPECT_THAT(playScenario(home, R"([{ "deselectCompanionCell": { "app": "com.apple.MobileSMS", "companion": "axon" } }])"), IsEmpty());
        EXPECT_TRUE(isCleared(container(messagesNote).get()));
        EXPECT_TRUE(isCleared(container(mailNote).get()));

        // Every Cell and No Cell ignore the selection; each container is painted as it joins.
        screen.changePreferences(fullFill("Dayn") + boolEntry("AxonColoring", false) + integerEntry("DaynColorStyle", 0));
        auto calendarNote = home.publishBulletin(calendar, "Dentist", "09:30");
        home.layoutNow();
        EXPECT_TRUE(filledWith(container(calendarNote).get(), appColour(calendar).get()));
        screen.changePreferences(fullFill("Dayn") + boolEntry("AxonColoring", false) + integerEntry("DaynColorStyle", 2));
        auto laterMail = home.publishBulletin(mail, "Ben", "Tickets");
        home.layoutNow();
        EXPECT_TRUE(isCleared(container(laterMail).get()));
    });
}

TEST(CompanionRows, RootWithoutCompanionsShowsNone)
{
    inCompanionHomeScreen(fullFill("Axon"), {}, [](CompanionHomeScreen& screen) {
        auto& home = screen.home();
        home.publishBulletin(messages, "Chloe", "On my way");
        home.publishBulletin(mail, "Ada", "Minutes");
        EXPECT_FALSE(home.companions().isLoaded(AppCellRow::Axon));
        EXPECT_FALSE(home.companions().isLoaded(AppCellRow::Grupi));
        EXPECT_EQ(home.companions().rowsHeight(), 0);
        for (auto* name : { "AXNAppCell", "GRPAppCell", "DaynContainer" })
            EXPECT_EQ(viewsOfClass(home.window().get(), name), 0u) << name;
        EXPECT_THAT(playScenario(home, R"([{ "selectCompanionCell": "com.apple.MobileSMS" }])"), SizeIs(1));
    });
}

// ---- The host program on generated device roots ------------------------------------------

std::string shellQuoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

int runQuietly(const std::vector<std::string>& command)
{
    std::string line;
    for (auto& part : command)
        line += shellQuoted(part) + " ";
    int status = std::system((line + ">/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<nlohmann::json> entriesOfClass(const nlohmann::json& snapshot, std::string_view name)
{
    std::vector<nlohmann::json> entries;
    for (auto& view : snapshot["views"]) {
        if (view["class"] == name)
            entries.push_back(view);
    }
    return entries;
}

std::string rgb(const nlohmann::json& colour) { return colour.is_object() ? colour["hex"].get<std::string>().substr(0, 7) : ""; }

TEST(CompanionHost, SnapshotCarriesTheCompanionViewsOnlyOfTheInstalledLibraries)
{
    char pattern[] = "/tmp/tintwell-companion-host-XXXXXX";
    ASSERT_TRUE(mkdtemp(pattern));
    fs::path folder = pattern;
    fs::path built = fs::path(TINTWELL_DYLIB).parent_path();
    fs::path scenario = fs::path(TINTWELL_SCENARIO_DIR) / "companions.json";

    auto snapshotOfRoot = [&](const std::string& name, std::vector<std::string> generatorOptions) {
        fs::path root = folder / name;
        std::vector<std::string> generate { TINTWELL_MAKE_DEVICE, root.string(), "--extensions", built.string() };
        generate.insert(generate.end(), generatorOptions.begin(), generatorOptions.end());
        EXPECT_EQ(runQuietly(generate), 0) << name;
        fs::path snapshot = folder / (name + ".json");
        EXPECT_EQ(runQuietly({ TINTWELL_HOST, "--root", root.string(), "--quiet", "--scenario", scenario.string(), "--snapshot", snapshot.string() }), 0)
            << name;
        std::ifstream in(snapshot);
        return in ? nlohmann::json::parse(in, nullptr, false) : nlohmann::json();
    };

    auto with = snapshotOfRoot("with", {});
    auto without = snapshotOfRoot("without", { "--without", "Axon,grupi,DAYN" });

    // Leaving a companion out of an existing root takes its library and filter away.
    fs::path root = folder / "with";
    fs::path libraries = root / "Library/MobileSubstrate/DynamicLibraries";
    EXPECT_EQ(runQuietly({ TINTWELL_MAKE_DEVICE, root.string(), "--without", "dayn" }), 0);
    EXPECT_FALSE(fs::exists(libraries / "Dayn.dylib") || fs::exists(libraries / "Dayn.plist"));
    EXPECT_TRUE(fs::exists(libraries / "Axon.dylib") && fs::exists(libraries / "Tintwell.plist"));
    EXPECT_EQ(runQuietly({ TINTWELL_MAKE_DEVICE, root.string(), "--without", "../Axon" }), 2) << "a path is no library name";
    EXPECT_TRUE(fs::exists(libraries / "Axon.dylib"));
    fs::remove_all(folder);
    ASSERT_TRUE(with.is_object() && without.is_object());

    auto axon = entriesOfClass(with, "AXNAppCell");
    auto grupi = entriesOfClass(with, "GRPAppCell");
    ASSERT_THAT(axon, SizeIs(2));
    ASSERT_THAT(grupi, SizeIs(2));
    // Messages is the newest app, first in both rows; the scenario moved Axon's selection to Mail.
    EXPECT_EQ(axon[0]["bundleIdentifier"], messages);
    EXPECT_EQ(axon[1]["bundleIdentifier"], mail);
    EXPECT_EQ(axon[0]["selected"], false);
    EXPECT_EQ(axon[1]["selected"], true);
    EXPECT_EQ(grupi[0]["selected"], true);
    EXPECT_EQ(grupi[1]["selected"], false);
    // Default colour style 1: only the selected cell holds a colour.
    EXPECT_EQ(axon[0]["backgroundColor"]["alpha"], 0);
    EXPECT_EQ(grupi[1]["backgroundColor"]["alpha"], 0);
    std::string mailColour = rgb(axon[1]["backgroundColor"]);
    std::string messagesColour = rgb(grupi[0]["backgroundColor"]);
    EXPECT_GT(axon[1]["layer"]["borderWidth"].get<double>(), 0);
    EXPECT_NE(mailColour, messagesColour);

    auto containers = entriesOfClass(with, "DaynContainer");
    ASSERT_THAT(containers, SizeIs(3)) << "one per notification";
    std::multiset<std::string> containerColours;
    for (auto& container : containers)
        containerColours.insert(rgb(container["backgroundColor"]));
    EXPECT_EQ(containerColours, (std::multiset<std::string> { mailColour, mailColour, messagesColour }));

    for (auto* name : { "AXNAppCell", "GRPAppCell", "DaynContainer" })
        EXPECT_THAT(entriesOfClass(without, name), IsEmpty()) << name;
    EXPECT_THAT(entriesOfClass(without, "NCNotificationListCell"), SizeIs(3)) << "the notifications are there all the same";
}

} // namespace
} // namespace media
