#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using json = nlohmann::json;
using ::testing::HasSubstr;

namespace {

const char* const styleNames[] = { "outline", "fill", "both" };
const char* const appearances[] = { "light", "dark" };

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

// The background views of the short looks: what the extension paints on each platter.
std::vector<json> platterBackgrounds(const json& snapshot)
{
    std::vector<json> views;
    for (auto& view : snapshot["views"]) {
        std::string path = view["path"];
        auto slash = path.rfind('/');
        if (view["class"] == "MTMaterialView" && slash != std::string::npos
            && path.substr(0, slash).ends_with(":NCNotificationShortLookView"))
            views.push_back(view);
    }
    return views;
}

double alphaOf(const json& color) { return color.is_object() ? color["alpha"].get<double>() : 0.0; }

std::string rgbOf(const json& color) { return color.is_object() ? color["hex"].get<std::string>().substr(0, 7) : ""; }

class Gallery : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const char* device = std::getenv("TINTWELL_DEVICE_ROOT");
        ASSERT_TRUE(device);
        char pattern[] = "/tmp/tintwell-gallery-XXXXXX";
        ASSERT_TRUE(mkdtemp(pattern));
        s_folder = pattern;
        std::string command = std::string("bash ") + TINTWELL_GALLERY_SCRIPT + " " + TINTWELL_HOST + " " + device + " "
            + (s_folder / "gallery").string() + " 2>&1";
        s_status = std::system(command.c_str());
    }

    static void TearDownTestSuite() { fs::remove_all(s_folder); }

    static fs::path file(const std::string& name) { return s_folder / "gallery" / name; }
    static json snapshot(const std::string& style, const std::string& appearance)
    {
        return json::parse(readFile(file(style + "-" + appearance + ".json")));
    }

    static inline fs::path s_folder;
    static inline int s_status { -1 };
};

TEST_F(Gallery, SixPicturesAndAnIndexShowingThemAll)
{
    ASSERT_EQ(s_status, 0);
    auto index = readFile(file("index.html"));
    std::map<std::string, std::string> pictures;
    for (auto* style : styleNames) {
        for (auto* appearance : appearances) {
            std::string name = std::string(style) + "-" + appearance + ".png";
            auto bytes = readFile(file(name));
            ASSERT_GT(bytes.size(), 1000u) << name;
            EXPECT_EQ(bytes.substr(1, 3), "PNG") << name;
            EXPECT_THAT(index, HasSubstr("src=\"" + name + "\"")) << name;
            // Every style and appearance looks different from every other.
            for (auto& [other, otherBytes] : pictures)
                EXPECT_NE(bytes, otherBytes) << name << " looks like " << other;
            pictures[name] = bytes;
        }
    }
}

TEST_F(Gallery, OutlineDrawsOnlyTheBorderOverTheSystemMaterial)
{
    ASSERT_EQ(s_status, 0);
    for (auto* appearance : appearances) {
        auto platters = platterBackgrounds(snapshot("outline", appearance));
        ASSERT_GE(platters.size(), 3u) << appearance;
        auto fill = platterBackgrounds(snapshot("fill", appearance));
        for (auto& platter : platters) {
            EXPECT_EQ(platter["layer"]["borderWidth"], 3) << appearance << platter["path"];
            EXPECT_NEAR(alphaOf(platter["layer"]["borderColor"]), 0.8, 1e-9) << appearance;
            // The background is the system's material, the same on every platter.
            EXPECT_EQ(platter["backgroundColor"], platters[0]["backgroundColor"]) << appearance;
        }
        // And that material is not what fill paints.
        ASSERT_FALSE(fill.empty());
        EXPECT_NE(platters[0]["backgroundColor"], fill[0]["backgroundColor"]) << appearance;
    }
    // The material follows the appearance.
    EXPECT_NE(platterBackgrounds(snapshot("outline", "light"))[0]["backgroundColor"],
        platterBackgrounds(snapshot("outline", "dark"))[0]["backgroundColor"]);
}

TEST_F(Gallery, FillPaintsTheBackgroundWithoutBorder)
{
    ASSERT_EQ(s_status, 0);
    for (auto* appearance : appearances) {
        auto platters = platterBackgrounds(snapshot("fill", appearance));
        auto outline = platterBackgrounds(snapshot("outline", appearance));
        ASSERT_GE(platters.size(), 3u) << appearance;
        ASSERT_EQ(platters.size(), outline.size()) << appearance;
        for (size_t i = 0; i < platters.size(); ++i) {
            EXPECT_EQ(platters[i]["layer"]["borderWidth"], 0) << appearance << platters[i]["path"];
            EXPECT_NEAR(alphaOf(platters[i]["backgroundColor"]), 0.8, 1e-9) << appearance;
            // The same app colour the outline draws its border with.
            EXPECT_EQ(rgbOf(platters[i]["backgroundColor"]), rgbOf(outline[i]["layer"]["borderColor"])) << appearance;
        }
    }
}

TEST_F(Gallery, BothDrawsBorderAndBackgroundWithTheAppearancesOpacities)
{
    ASSERT_EQ(s_status, 0);
    struct Opacities {
        double border;
        double background;
    };
    const std::map<std::string, Opacities> expected { { "light", { 0.5, 0.7 } }, { "dark", { 0.7, 0.5 } } };
    for (auto* appearance : appearances) {
        auto platters = platterBackgrounds(snapshot("both", appearance));
        auto fill = platterBackgrounds(snapshot("fill", appearance));
        ASSERT_GE(platters.size(), 3u) << appearance;
        ASSERT_EQ(platters.size(), fill.size()) << appearance;
        for (size_t i = 0; i < platters.size(); ++i) {
            EXPECT_EQ(platters[i]["layer"]["borderWidth"], 3) << appearance << platters[i]["path"];
            EXPECT_NEAR(alphaOf(platters[i]["layer"]["borderColor"]), expected.at(appearance).border, 1e-9) << appearance;
            EXPECT_NEAR(alphaOf(platters[i]["backgroundColor"]), expected.at(appearance).background, 1e-9) << appearance;
            EXPECT_EQ(rgbOf(platters[i]["backgroundColor"]), rgbOf(fill[i]["backgroundColor"])) << appearance;
        }
    }
}

} // namespace
