#include "tests/support/Subprocess.h"

#include <gmock/gmock.h>
#include <nlohmann/json.hpp>
#include <spng.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using json = nlohmann::json;
using ::testing::HasSubstr;

namespace {

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

struct Picture {
    uint32_t width { 0 };
    uint32_t height { 0 };
    std::vector<uint8_t> rgba;

    std::array<uint8_t, 3> pixel(uint32_t x, uint32_t y) const
    {
        size_t at = (size_t(y) * width + x) * 4;
        return { rgba[at], rgba[at + 1], rgba[at + 2] };
    }
};

// Decoded whole, so a truncated file or a bad checksum is no picture.
std::optional<Picture> decodePNG(const std::string& bytes)
{
    std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)> context(spng_ctx_new(0), spng_ctx_free);
    if (!context || spng_set_png_buffer(context.get(), bytes.data(), bytes.size()))
        return std::nullopt;
    spng_ihdr header;
    size_t size = 0;
    if (spng_get_ihdr(context.get(), &header) || spng_decoded_image_size(context.get(), SPNG_FMT_RGBA8, &size))
        return std::nullopt;
    Picture picture { header.width, header.height, std::vector<uint8_t>(size) };
    if (spng_decode_image(context.get(), picture.rgba.data(), size, SPNG_FMT_RGBA8, 0))
        return std::nullopt;
    return picture;
}

std::vector<std::string> labelTexts(const json& snapshot)
{
    std::vector<std::string> texts;
    for (auto& view : snapshot["views"]) {
        if (view.contains("text") && view["text"].is_string() && !view["hidden"].get<bool>())
            texts.push_back(view["text"]);
    }
    return texts;
}

// The demo runs once for the whole suite: the home screen live on a copy of the sample
// device, the Settings host tapping the test button, then the gallery.
class MainJob : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const char* device = std::getenv("TINTWELL_DEVICE_ROOT");
        ASSERT_TRUE(device);
        char pattern[] = "/tmp/tintwell-mainjob-XXXXXX";
        ASSERT_TRUE(mkdtemp(pattern));
        s_folder = pattern;
        auto run = subprocess::run("/bin/bash",
            { TINTWELL_DEMO_SCRIPT, TINTWELL_HOST, TINTWELL_SETTINGS_HOST, device, (s_folder / "out").string() }, true);
        s_status = run.status;
        s_output = run.output;
    }

    static void TearDownTestSuite() { fs::remove_all(s_folder); }

    static fs::path file(const std::string& name) { return s_folder / "out" / name; }

    static inline fs::path s_folder;
    static inline int s_status { -1 };
    static inline std::string s_output;
};

TEST_F(MainJob, WritesEveryResultIntoOneFolderAndPrintsWhere)
{
    ASSERT_EQ(s_status, 0) << s_output;
    std::vector<std::string> results { "lockscreen.png", "snapshot.json", "settings.png", "gallery/index.html" };
    for (auto* style : { "outline", "fill", "both" }) {
        for (auto* appearance : { "light", "dark" })
            results.push_back(std::string("gallery/") + style + "-" + appearance + ".png");
    }
    for (auto& name : results) {
        EXPECT_TRUE(fs::is_regular_file(file(name))) << name;
        EXPECT_GT(fs::file_size(file(name)), 0u) << name;
    }
    for (auto* printed : { "lockscreen.png", "snapshot.json", "settings.png", "gallery/index.html" })
        EXPECT_THAT(s_output, HasSubstr(file(printed).string())) << printed;
    // Nothing of the run is left beside the results.
    std::vector<std::string> top;
    for (auto& entry : fs::directory_iterator(s_folder / "out"))
        top.push_back(entry.path().filename());
    EXPECT_THAT(top, ::testing::UnorderedElementsAre("lockscreen.png", "snapshot.json", "settings.png", "gallery"));
}

TEST_F(MainJob, SettingsPictureShowsTheTintwellRootPage)
{
    ASSERT_EQ(s_status, 0) << s_output;
    auto picture = decodePNG(readFile(file("settings.png")));
    ASSERT_TRUE(picture) << "not a readable PNG";
    // The Settings app's screen at two pixels per point.
    EXPECT_EQ(picture->width, 750u);
    EXPECT_EQ(picture->height, 1334u);
    // The bar takes the page's tint (0.64, 0.67, 1.0), which the plain entry list lacks.
    auto bar = picture->pixel(picture->width / 2, 10);
    EXPECT_NEAR(bar[0], 163, 2);
    EXPECT_NEAR(bar[1], 171, 2);
    EXPECT_EQ(bar[2], 255);
    // And the banner header below it is drawn, not left empty.
    std::map<std::array<uint8_t, 3>, int> colours;
    for (uint32_t x = 0; x < picture->width; x += 10)
        colours[picture->pixel(x, 180)]++;
    EXPECT_GT(colours.size(), 5u) << "the banner row is flat";
}

TEST_F(MainJob, SnapshotShowsTheSamplesTheSettingsButtonAskedFor)
{
    ASSERT_EQ(s_status, 0) << s_output;
    auto snapshot = json::parse(readFile(file("snapshot.json")), nullptr, false);
    ASSERT_FALSE(snapshot.is_discarded());
    auto texts = labelTexts(snapshot);
    // The list is scrolled down to them: Music's, the App Store's and the Messages stack's
    // three newest are on screen, the stack's front counting the twelve behind it; the
    // others are not views.
    for (int n = 1; n <= 15; ++n) {
        auto message = "Test notification " + std::to_string(n) + "!";
        EXPECT_EQ(std::count(texts.begin(), texts.end(), message), n > 10 ? 1 : 0) << message;
    }
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "12 more notifications"), 1);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Test notification 16!"), 0);
    // The rest of the demo played after them.
    EXPECT_THAT(texts, ::testing::Contains("Golden Hour"));
    EXPECT_THAT(texts, ::testing::Contains("High water at 16:42, wind from the west"));

    auto picture = decodePNG(readFile(file("lockscreen.png")));
    ASSERT_TRUE(picture) << "not a readable PNG";
    EXPECT_EQ(picture->width, 780u);
    EXPECT_EQ(picture->height, 1688u);
}

} // namespace
