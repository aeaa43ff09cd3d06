// The scenario files under tests/scenarios that reach what the plain events cannot: the
// screen between an appearance switch and Tintwell's repaint, the unspecified appearance,
// bulletin servers of other kinds, long-look and media variants, a section-less banner and
// the first widgets page. Each runs in the real home-screen host with Tintwell and the
// companions installed, as a person would run it, and is checked on its snapshots.
#include "platform/springboard/MTMaterialView.h"
#include "platform/uikit/UITraitCollection.h"
#include "platform/uikit/ViewSnapshot.h"
#include "tests/support/HomeScreenProcess.h"
#include "tests/support/Subprocess.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// Tintwell's default notification style: a 3-point outline at 50 % in light and 70 % in
// dark, a fill at 70 % in light and 50 % in dark.
constexpr double lightFill = 0.7;
constexpr double darkFill = 0.5;
constexpr double darkOutline = 0.7;

class ScenarioBranches : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/tintwell-branches-XXXXXX";
        m_folder = mkdtemp(pattern);
        m_root = m_folder / "root";
        fs::path built = fs::path(TINTWELL_DYLIB).parent_path();
        auto made = subprocess::run(TINTWELL_MAKE_DEVICE, { m_root.string(), "--extensions", built.string() }, true);
        ASSERT_EQ(made.status, 0) << made.output;
    }
    void TearDown() override { fs::remove_all(m_folder); }

    void writeNotificationCustomColour(const std::string& text)
    {
        homescreen::writeFileAtomically(m_root / homescreen::coloursFile, homescreen::plistDictionary(homescreen::stringEntry("NotifCustomHEX", text)));
    }

    // Plays tests/scenarios/NAME.json; the snapshot at its end.
    json play(const std::string& name)
    {
        auto run = subprocess::run(TINTWELL_HOST, { "--root", m_root.string(), "--quiet", "--scenario",
                                                      (fs::path(TINTWELL_SCENARIO_DIR) / (name + ".json")).string(), "--snapshot", (m_folder / (name + ".json")).string() },
            true);
        EXPECT_EQ(run.status, 0) << run.output;
        return snapshot(name);
    }

    // The end snapshot of a scenario, or the one its snapshot event of that name wrote.
    json snapshot(const std::string& scenario, const std::string& event = {}) const
    {
        std::ifstream in(m_folder / (event.empty() ? scenario + ".json" : scenario + "." + event + ".json"));
        return in ? json::parse(in, nullptr, false) : json();
    }

    fs::path m_folder;
    fs::path m_root;
};

const json* viewAt(const json& snapshot, std::string_view pathEnd, std::string_view className)
{
    for (auto& view : snapshot["views"]) {
        if (view["class"] == className && view["path"].get<std::string>().ends_with(pathEnd))
            return &view;
    }
    return nullptr;
}

std::vector<json> viewsOfClass(const json& snapshot, std::string_view className, std::string_view pathPart = {})
{
    std::vector<json> views;
    for (auto& view : snapshot["views"]) {
        if (view["class"] == className && view["path"].get<std::string>().find(pathPart) != std::string::npos)
            views.push_back(view);
    }
    return views;
}

// The listed platter's background, by the material's place under the short look.
json listedPlatter(const json& snapshot)
{
    for (auto& view : viewsOfClass(snapshot, "MTMaterialView", "NCNotificationListCell/0:UIView/0:NCNotificationShortLookView/0:"))
        return view;
    return nullptr;
}

std::string rgbOf(const json& colour) { return colour.is_object() ? colour["hex"].get<std::string>().substr(0, 7) : std::string("none"); }
double alphaOf(const json& colour) { return colour.is_object() ? colour["alpha"].get<double>() : -1; }
bool isUntouched(const json& view) { return view["backgroundColor"].is_null() && view["layer"]["borderWidth"] == 0; }

json systemMaterial(long recipe, long style) { return ViewSnapshot::colorJSON(MTMaterialView::materialColor(recipe, style).get()); }

TEST_F(ScenarioBranches, AppearanceSwitchShowsTheSystemMaterialUntilTheRepaintPointTwoSecondsLater)
{
    play("appearance-switch");
    auto light = listedPlatter(snapshot("appearance-switch", "light"));
    ASSERT_TRUE(light.is_object());
    EXPECT_NEAR(alphaOf(light["backgroundColor"]), lightFill, 1e-9);
    std::string tint = rgbOf(light["backgroundColor"]);

    // Recorded as the switch left the screen: the material took the system's dark colour
    // back after the switch's layout pass had painted it, and nothing has repainted since.
    for (const char* moment : { "switched", "before-repaint" }) {
        auto screen = snapshot("appearance-switch", moment);
        EXPECT_EQ(screen["userInterfaceStyle"], UIUserInterfaceStyleDark) << moment;
        EXPECT_EQ(listedPlatter(screen)["backgroundColor"], systemMaterial(MTMaterialView::RecipePlatter, UIUserInterfaceStyleDark)) << moment;
    }
    auto repainted = listedPlatter(snapshot("appearance-switch", "repainted"));
    EXPECT_EQ(rgbOf(repainted["backgroundColor"]), tint);
    EXPECT_NEAR(alphaOf(repainted["backgroundColor"]), darkFill, 1e-9);
    EXPECT_NEAR(alphaOf(repainted["layer"]["borderColor"]), darkOutline, 1e-9);
}

TEST_F(ScenarioBranches, UnspecifiedAppearancePaintsWithTheDarkOpacities)
{
    auto screen = play("appearance-style-zero");
    EXPECT_EQ(screen["userInterfaceStyle"], UIUserInterfaceStyleUnspecified);
    auto platter = listedPlatter(screen);
    EXPECT_NEAR(alphaOf(platter["backgroundColor"]), darkFill, 1e-9);
    EXPECT_NEAR(alphaOf(platter["layer"]["borderColor"]), darkOutline, 1e-9);
}

struct Delivery {
    int server;
    std::string call;
    unsigned long destinations;
    bool alwaysToLockScreen;
    std::string message;
    bool operator==(const Delivery&) const = default;
};

std::vector<Delivery> deliveries(const json& snapshot)
{
    std::vector<Delivery> result;
    for (auto& bulletin : snapshot["bulletins"])
        result.push_back({ bulletin["server"], bulletin["call"], bulletin["destinations"], bulletin["alwaysToLockScreen"], bulletin["message"] });
    return result;
}

void PrintTo(const Delivery& delivery, std::ostream* out)
{
    *out << "{" << delivery.server << ", " << delivery.call << ", " << delivery.destinations << ", " << delivery.alwaysToLockScreen << ", " << delivery.message << "}";
}

TEST_F(ScenarioBranches, SampleRequestsTakeTheCallEachServerAnswersAndStopAtOneThatAnswersNeither)
{
    auto screen = play("bulletin-servers");
    constexpr const char* two = "publishBulletin:destinations:";
    std::vector<Delivery> expected {
        { 1, two, 15, false, "Test banner!" },
        { 2, two, 15, false, "Test banner!" },
    };
    for (int number = 1; number <= 15; ++number)
        expected.push_back({ 2, two, 4, false, "Test notification " + std::to_string(number) + "!" });
    // The third server answers neither call; the fourth both again.
    expected.push_back({ 4, two, 15, false, "Test banner!" });
    EXPECT_EQ(deliveries(screen), expected);

    std::set<std::string> identifiers;
    auto& bulletins = screen["bulletins"];
    for (auto& bulletin : bulletins) {
        for (const char* key : { "bulletinID", "recordID", "publisherBulletinID" })
            EXPECT_TRUE(identifiers.insert(bulletin[key].get<std::string>()).second) << key << " used twice";
        EXPECT_EQ(bulletin["title"], "Tintwell");
        EXPECT_EQ(bulletin["launchBundleID"], bulletin["sectionID"]);
        EXPECT_EQ(bulletin["publicationDate"], bulletin["date"]);
        EXPECT_EQ(bulletin["lastInterruptDate"], bulletin["date"]);
    }
    // The fifteen come one second after their request, which came with the second banner.
    ASSERT_EQ(bulletins.size(), 18u);
    for (size_t index = 2; index < 17; ++index)
        EXPECT_NEAR(bulletins[index]["date"].get<double>() - bulletins[1]["date"].get<double>(), 1.0, 1e-6);
}

TEST_F(ScenarioBranches, WithoutAnExportedQueueARequestIsDroppedAndTheNextServersQueueIsFound)
{
    auto screen = play("bulletin-server-without-queue");
    // The first banner found no queue and was dropped; a missing queue is looked for again,
    // so the second reached the server that exports one.
    EXPECT_EQ(deliveries(screen), (std::vector<Delivery> {
        { 3, "publishBulletin:destinations:", 15, false, "Test banner!" },
        { 3, "publishBulletin:destinations:alwaysToLockScreen:", 6, false, "Still there?" },
    }));
}

TEST_F(ScenarioBranches, LongLookPaintsTheCustomContentAndLeavesADaynContainerWithoutAShortLook)
{
    writeNotificationCustomColour("#FF00FF");
    auto screen = play("long-look-and-banners");
    auto listed = listedPlatter(screen);
    ASSERT_TRUE(listed.is_object());
    std::string messages = rgbOf(listed["backgroundColor"]);

    // The app's own view takes the content's place and the content's paint.
    EXPECT_FALSE(viewAt(screen, "NCNotificationLongLookView/3:NCNotificationContentView", "NCNotificationContentView"));
    auto custom = viewAt(screen, "NCNotificationLongLookView/3:UIView", "UIView");
    ASSERT_TRUE(custom);
    EXPECT_EQ(rgbOf((*custom)["backgroundColor"]), messages);
    EXPECT_EQ((*custom)["layer"]["borderWidth"], 3);

    auto containers = viewsOfClass(screen, "DaynContainer");
    ASSERT_EQ(containers.size(), 2u);
    for (auto& container : containers) {
        bool inLongLook = container["path"].get<std::string>().find("NCNotificationLongLookView") != std::string::npos;
        if (inLongLook)
            EXPECT_TRUE(isUntouched(container)) << "its delegate is the long-look controller";
        else
            EXPECT_EQ(rgbOf(container["backgroundColor"]), messages);
    }

    // The banner of a bulletin without a section: no key, so the custom colour, not stored.
    auto& sectionless = screen["bulletins"].back();
    EXPECT_TRUE(sectionless["sectionID"].is_null());
    EXPECT_TRUE(sectionless["launchBundleID"].is_null());
    auto banners = viewsOfClass(screen, "MTMaterialView", "UIWindow/0:UIView/7:");
    ASSERT_EQ(banners.size(), 1u);
    EXPECT_EQ(rgbOf(banners[0]["backgroundColor"]), "#FF00FF");
    EXPECT_NEAR(alphaOf(banners[0]["backgroundColor"]), lightFill, 1e-9);
}

TEST_F(ScenarioBranches, CompanionCellWithoutAnAppTakesTheCustomColourUnstored)
{
    writeNotificationCustomColour("#FF00FF");
    auto after = play("companion-cell-without-app");
    auto screen = snapshot("companion-cell-without-app", "with-cell");
    auto axon = viewsOfClass(screen, "AXNAppCell");
    ASSERT_EQ(axon.size(), 2u);
    EXPECT_EQ(axon[0]["bundleIdentifier"], "com.apple.MobileSMS");
    EXPECT_TRUE(axon[1]["bundleIdentifier"].is_null());
    EXPECT_NE(rgbOf(axon[0]["backgroundColor"]), "#FF00FF");
    EXPECT_EQ(rgbOf(axon[1]["backgroundColor"]), "#FF00FF");
    EXPECT_EQ(axon[1]["layer"]["borderWidth"], 3);
    // Grupi keeps colour style 1: its unselected cell without an app is cleared.
    auto grupi = viewsOfClass(screen, "GRPAppCell");
    ASSERT_EQ(grupi.size(), 2u);
    EXPECT_EQ(alphaOf(grupi[1]["backgroundColor"]), 0);
    // Gone with its notification.
    EXPECT_EQ(viewsOfClass(after, "AXNAppCell").size(), 1u);
}

TEST_F(ScenarioBranches, MediaHeaderPaintsExactlyTheMaterialsOfItsFifthAncestor)
{
    auto flat = play("media-layouts");
    auto oneMaterial = snapshot("media-layouts", "one-material");
    // The controls' root, in the media slot: a material, a plain transport strip, the content.
    auto material = viewAt(oneMaterial, "UIWindow/0:UIView/1:UIView/0:UIView/0:MTMaterialView", "MTMaterialView");
    auto plain = viewAt(oneMaterial, "UIWindow/0:UIView/1:UIView/0:UIView/1:UIView", "UIView");
    ASSERT_TRUE(material && plain);
    EXPECT_EQ((*material)["layer"]["borderWidth"], 3);
    EXPECT_NEAR(alphaOf((*material)["backgroundColor"]), lightFill, 1e-9);
    EXPECT_EQ((*plain)["layer"]["borderWidth"], 0);
    EXPECT_NEAR(alphaOf((*plain)["backgroundColor"]), 0.25, 1e-9);

    // Flat: the fifth ancestor is the media slot, holding no material; nothing is painted.
    auto materials = viewsOfClass(flat, "MTMaterialView", "UIWindow/0:UIView/1:UIView/");
    ASSERT_EQ(materials.size(), 2u);
    EXPECT_EQ(materials[0]["backgroundColor"], systemMaterial(MTMaterialView::RecipePlatter, UIUserInterfaceStyleLight));
    EXPECT_EQ(materials[1]["backgroundColor"], systemMaterial(MTMaterialView::RecipeControl, UIUserInterfaceStyleLight));
    EXPECT_FALSE(viewAt(flat, "/0:UIView/0:UIView/0:UIStackView/0:UIView", "UIView")) << "no header container";
}

TEST_F(ScenarioBranches, FirstWidgetsPageNeverBuildsTheSampleWidgets)
{
    auto screen = play("widgets-list-first");
    auto headers = viewsOfClass(screen, "WGPlatterHeaderContentView");
    ASSERT_EQ(headers.size(), 1u);
    // A sample Calendar widget laid out before the list would have cached the icon's colour
    // under the old image source; the one asked for takes the custom colour set since.
    auto materials = viewsOfClass(screen, "MTMaterialView", "WGWidgetPlatterView");
    ASSERT_EQ(materials.size(), 2u);
    for (auto& material : materials)
        EXPECT_EQ(rgbOf(material["backgroundColor"]), "#3366FF");
}

} // namespace
