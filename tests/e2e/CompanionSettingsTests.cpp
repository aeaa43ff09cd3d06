// The companion rows of the settings pages, set in the Settings app while the home screen
// runs: Axon's and Grupi's "Colour Mode" and Dayn's "Coloured Cells" change what the next
// cells show.
#include "LiveDevice.h"

#include <gmock/gmock.h>

using namespace e2e;

namespace {

constexpr const char* done = "com.tintwell.e2e/Done";
constexpr const char* mail = "com.apple.mobilemail";
constexpr const char* messages = "com.apple.MobileSMS";
constexpr const char* calendar = "com.apple.mobilecal";

json publish(const std::string& section, const std::string& message)
{
    return { { "publish", { { "section", section }, { "title", "E2E" }, { "message", message } } } };
}

json waitFor(const std::string& name) { return { { "waitFor", name }, { "timeout", 120 } }; }

std::string hexOf(const json& colour) { return colour.is_object() ? colour["hex"].get<std::string>() : "none"; }
std::string rgbOf(const json& colour) { return hexOf(colour).substr(0, 7); }

const json* appCell(const json& screen, const char* cls, const std::string& app)
{
    for (auto& view : screen["views"]) {
        if (view["class"] == cls && view.value("bundleIdentifier", "") == app)
            return &view;
    }
    return nullptr;
}

// The Dayn container in the cell of the notification showing the text.
const json* containerOf(const json& screen, const std::string& text)
{
    auto* label = labelShowing(screen, text);
    if (!label)
        return nullptr;
    std::string labelPath = (*label)["path"];
    for (auto& view : screen["views"]) {
        if (view["class"] != "DaynContainer")
            continue;
        std::string path = view["path"];
        auto cell = path.substr(0, path.rfind('/'));
        if (labelPath.starts_with(cell + "/"))
            return &view;
    }
    return nullptr;
}

bool tinted(const json* view) { return view && (*view)["backgroundColor"].is_object() && alphaOf((*view)["backgroundColor"]) > 0; }
bool cleared(const json* view) { return view && (*view)["layer"]["borderWidth"] == 0 && alphaOf((*view)["backgroundColor"]) == 0; }

class CompanionRows : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_device.ready()); }

    void expectSettings(const std::vector<std::string>& actions)
    {
        auto run = m_device.settings(actions);
        EXPECT_EQ(run.status, 0) << run.output;
    }

    json screenShowing(const std::string& text)
    {
        return m_device.screenWhen([&](const json& screen) { return labelShowing(screen, text) && containerOf(screen, text); });
    }

    void finishHomeScreen()
    {
        m_device.post(done);
        EXPECT_EQ(m_device.homeScreen()->wait(), 0) << m_device.homeScreenLog();
    }

    LiveDevice m_device;
};

} // namespace

TEST_F(CompanionRows, ColourModeOfAxonAndGrupiColoursTheirCellsByTheirOwnMode)
{
    // Fill only, fully opaque, on every surface: a cell's fill is exactly its colour.
    std::ofstream(m_device.host("/var/mobile/Library/Preferences/com.quillfen.tintwellprefs.plist"))
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
           "<key>NotificationStyle</key><integer>1</integer><key>NotifFullAlpha</key><integer>100</integer>"
           "<key>AxonStyle</key><integer>1</integer><key>AxonFullAlpha</key><integer>100</integer>"
           "<key>GrupiStyle</key><integer>1</integer><key>GrupiFullAlpha</key><integer>100</integer>"
           "<key>AxonColorStyle</key><integer>0</integer><key>GrupiColorStyle</key><integer>0</integer>"
           "</dict></plist>\n";
    m_device.startHomeScreen(m_device.writeScenario("colour-mode.json", json::array({
        publish(mail, "Before the modes changed"),
        waitFor("com.tintwell.e2e/Go"),
        publish(messages, "After the modes changed"),
        waitFor(done),
    })));
    auto before = screenShowing("Before the modes changed");
    auto* mailPlatter = platterOf(before, "Before the modes changed");
    ASSERT_TRUE(mailPlatter && appCell(before, "AXNAppCell", mail) && appCell(before, "GRPAppCell", mail)) << m_device.homeScreenLog();
    // Every surface on the default mode: the cells take the platter's colour.
    EXPECT_EQ(rgbOf((*appCell(before, "AXNAppCell", mail))["backgroundColor"]), rgbOf((*mailPlatter)["backgroundColor"]));
    EXPECT_EQ(rgbOf((*appCell(before, "GRPAppCell", mail))["backgroundColor"]), rgbOf((*mailPlatter)["backgroundColor"]));

    expectSettings({ "open Tintwell", "open Axon", "set Colour Mode = Vivid" });
    expectSettings({ "open Tintwell", "open Grupi", "set Colour Mode = Most common" });
    m_device.post("com.tintwell.e2e/Go");

    auto after = screenShowing("After the modes changed");
    auto* platter = platterOf(after, "After the modes changed");
    auto* axon = appCell(after, "AXNAppCell", messages);
    auto* grupi = appCell(after, "GRPAppCell", messages);
    ASSERT_TRUE(platter && axon && grupi) << after.dump(1).substr(0, 2000);
    // The platter keeps the notification mode; each row now follows its own.
    std::string platterColour = rgbOf((*platter)["backgroundColor"]);
    EXPECT_NE(rgbOf((*axon)["backgroundColor"]), platterColour);
    EXPECT_NE(rgbOf((*grupi)["backgroundColor"]), platterColour);
    EXPECT_NE(rgbOf((*axon)["backgroundColor"]), rgbOf((*grupi)["backgroundColor"]));
    // An app coloured before the change keeps its cached colour.
    EXPECT_EQ(rgbOf((*appCell(after, "AXNAppCell", mail))["backgroundColor"]), rgbOf((*platterOf(after, "Before the modes changed"))["backgroundColor"]));

    finishHomeScreen();
}

TEST_F(CompanionRows, DaynColouredCellsTintsEveryCellTheSelectedAppsOrNone)
{
    m_device.startHomeScreen(m_device.writeScenario("dayn-cells.json", json::array({
        publish(mail, "Every cell"),
        waitFor("com.tintwell.e2e/NoCell"),
        publish(calendar, "No cell"),
        waitFor("com.tintwell.e2e/Selected"),
        publish(messages, "Selected app"),
        waitFor(done),
    })));
    // The default is the selected app's cells; with Axon's and Grupi's rows on the screen,
    // their selection (the newest app) decides.
    auto first = screenShowing("Every cell");
    EXPECT_TRUE(tinted(containerOf(first, "Every cell"))) << m_device.homeScreenLog();

    expectSettings({ "open Tintwell", "open Dayn", "set Coloured Cells = No Cell" });
    m_device.post("com.tintwell.e2e/NoCell");
    auto none = screenShowing("No cell");
    EXPECT_TRUE(cleared(containerOf(none, "No cell"))) << none.dump(1).substr(0, 2000);
    // Painted when it joined its platter, the earlier container keeps its colour.
    EXPECT_TRUE(tinted(containerOf(none, "Every cell")));

    expectSettings({ "open Tintwell", "open Dayn", "set Coloured Cells = Selected Cell" });
    m_device.post("com.tintwell.e2e/Selected");
    auto selected = screenShowing("Selected app");
    // Messages is now the newest app and selected in both rows: its container is tinted,
    // and the selection moving off Mail and Calendar clears theirs.
    auto* axonMessages = appCell(selected, "AXNAppCell", messages);
    ASSERT_TRUE(axonMessages);
    EXPECT_EQ((*axonMessages)["selected"], true);
    EXPECT_TRUE(tinted(containerOf(selected, "Selected app")));
    EXPECT_TRUE(cleared(containerOf(selected, "Every cell")));
    EXPECT_TRUE(cleared(containerOf(selected, "No cell")));

    finishHomeScreen();
}
