#include "tests/support/Subprocess.h"

#include "platform/graphics/PNGCodec.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using nlohmann::json;
using testing::HasSubstr;

namespace {

using Pixel = CGImage::Pixel;

struct Output {
    int status;
    std::vector<json> lines;
    std::vector<std::string> keys; // of each line, in order, joined by ","
    std::vector<nlohmann::ordered_json> ordered;
};

Output runColors(const std::vector<std::string>& arguments)
{
    auto run = subprocess::run(TINTWELL_COLORS_EXECUTABLE, arguments);
    Output output { run.status, {}, {}, {} };
    std::istringstream stream(run.output);
    std::string line;
    while (std::getline(stream, line)) {
        auto parsed = nlohmann::ordered_json::parse(line, nullptr, false);
        EXPECT_FALSE(parsed.is_discarded()) << line;
        std::string keys;
        for (auto& [key, value] : parsed.items())
            keys += (keys.empty() ? "" : ",") + key;
        output.keys.push_back(keys);
        output.lines.push_back(json::parse(line, nullptr, false));
        output.ordered.push_back(std::move(parsed));
    }
    return output;
}

class ColorsCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "tintwell-colors-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
    }

    void TearDown() override { fs::remove_all(m_folder); }

    // Rows from the top take the colours in turn, each for the given number of rows.
    std::string writeBands(const std::string& name, size_t side, std::vector<std::pair<Pixel, size_t>> bands)
    {
        auto bitmap = CGImage::create(side, side);
        size_t y = 0;
        for (auto& [pixel, rows] : bands) {
            for (size_t end = y + rows; y < end && y < side; ++y) {
                for (size_t x = 0; x < side; ++x)
                    bitmap->setPixelAt(x, y, pixel);
            }
        }
        return writeBytes(name, *PNGCodec::encode(*bitmap));
    }

    std::string writeBytes(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        auto path = m_folder / name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return path.string();
    }

    fs::path m_folder;
};

const Pixel appBlue { 0, 122, 255, 255 };
const Pixel nearWhite { 245, 245, 247, 255 };

TEST_F(ColorsCommand, OneJsonLinePerFileInTheGivenOrder)
{
    auto uniform = writeBands("uniform.png", 20, { { appBlue, 20 } });
    auto banded = writeBands("banded.png", 40, { { nearWhite, 28 }, { appBlue, 12 } });

    auto output = runColors({ uniform, banded });
    EXPECT_EQ(output.status, 0);
    ASSERT_EQ(output.lines.size(), 2u);
    EXPECT_EQ(output.keys[0], "file,palette,merged,modes");
    EXPECT_EQ(output.lines[0]["file"], uniform);
    EXPECT_EQ(output.lines[1]["file"], banded);

    auto& one = output.lines[0];
    EXPECT_EQ(one["palette"], json::array({ "#007AFFFF" }));
    EXPECT_EQ(one["merged"], "#007AFF");
    EXPECT_EQ(one["modes"], json({ { "0", "#007AFFFF" }, { "1", "#007AFFFF" }, { "2", "#007AFFFF" }, { "3", "#007AFFFF" } }));

    auto& two = output.lines[1];
    EXPECT_EQ(two["palette"][0], "#F5F5F7FF");
    EXPECT_EQ(two["modes"]["3"], "#F5F5F7FF");
    // Mode 2 passes over the near-white majority to the blue.
    EXPECT_EQ(two["modes"]["2"], "#007AFFFF");
}

TEST_F(ColorsCommand, ModesAreRepeatableNegativeAndNullWithoutAColour)
{
    auto banded = writeBands("banded.png", 40, { { nearWhite, 28 }, { appBlue, 12 } });
    auto clear = writeBands("clear.png", 8, { { Pixel { 0, 0, 0, 0 }, 8 } });

    auto output = runColors({ "--mode", "-1", "--mode", "2", "--mode", "7", banded, clear });
    EXPECT_EQ(output.status, 0);
    ASSERT_EQ(output.lines.size(), 2u);
    std::string modeOrder;
    for (auto& [key, value] : output.ordered[0]["modes"].items())
        modeOrder += key + " ";
    EXPECT_EQ(modeOrder, "-1 2 7 ");
    EXPECT_EQ(output.lines[0]["modes"].size(), 3u);
    EXPECT_EQ(output.lines[0]["modes"]["-1"], "#F5F5F7FF");
    EXPECT_EQ(output.lines[0]["modes"]["7"], "#F5F5F7FF");
    EXPECT_EQ(output.lines[0]["modes"]["2"], "#007AFFFF");

    EXPECT_EQ(output.lines[1]["palette"], json::array({ "#00000000" }));
    EXPECT_EQ(output.lines[1]["merged"], "#000000");
    EXPECT_TRUE(output.lines[1]["modes"]["2"].is_null());
}

TEST_F(ColorsCommand, UnreadableFilesGetAnErrorLineAndTheRestStillPrint)
{
    auto good = writeBands("good.png", 20, { { appBlue, 20 } });
    auto png = *PNGCodec::encode(*CGImage::create(16, 16));
    auto truncated = writeBytes("truncated.png", std::vector<uint8_t>(png.begin(), png.begin() + long(png.size() / 2)));
    auto garbage = writeBytes("garbage.png", { 'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g' });
    auto wide = CGImage::create(PNGCodec::maximumDimension + 1, 1);
    auto oversized = writeBytes("oversized.png", *PNGCodec::encode(*wide));
    auto missing = (m_folder / "missing.png").string();
    auto folder = m_folder.string();

    auto output = runColors({ missing, truncated, good, garbage, oversized, folder });
    EXPECT_EQ(output.status, 1);
    ASSERT_EQ(output.lines.size(), 6u);
    std::vector<std::string> inOrder { missing, truncated, good, garbage, oversized, folder };
    for (size_t i = 0; i < inOrder.size(); ++i) {
        EXPECT_EQ(output.lines[i]["file"], inOrder[i]);
        EXPECT_EQ(output.keys[i], i == 2 ? "file,palette,merged,modes" : "file,error") << inOrder[i];
    }
    EXPECT_THAT(output.lines[0]["error"].get<std::string>(), HasSubstr("no such file"));
    EXPECT_THAT(output.lines[1]["error"].get<std::string>(), HasSubstr("PNG"));
    EXPECT_THAT(output.lines[5]["error"].get<std::string>(), HasSubstr("not a regular file"));
}

TEST_F(ColorsCommand, InstalledAppsAreAnalysedAsTheExtensionFindsTheirIcons)
{
    std::string root = TINTWELL_SAMPLE_DEVICE_ROOT;
    auto safariFile = (fs::path(root) / "Applications/MobileSafari.app/AppIcon60x60@2x.png").string();
    auto genericFile = (fs::path(root) / "System/Library/PrivateFrameworks/MobileIcons.framework/DefaultIcon-60@2x.png").string();

    auto byApp = runColors({ "--root", root, "--bundle-id", "com.apple.mobilesafari", "--bundle-id", "com.example.not-installed" });
    auto byFile = runColors({ safariFile, genericFile });
    EXPECT_EQ(byApp.status, 0);
    ASSERT_EQ(byApp.lines.size(), 2u);
    ASSERT_EQ(byFile.lines.size(), 2u);
    EXPECT_EQ(byApp.keys[0], "bundleID,icon,palette,merged,modes");
    EXPECT_EQ(byApp.lines[0]["bundleID"], "com.apple.mobilesafari");
    // An app that is not installed is answered with the generic icon, as the extension
    // would colour it, and the line says so.
    EXPECT_EQ(byApp.lines[0]["icon"], "app");
    EXPECT_EQ(byApp.lines[1]["icon"], "generic");
    for (size_t i = 0; i < 2; ++i) {
        for (auto key : { "palette", "merged", "modes" })
            EXPECT_EQ(byApp.lines[i][key], byFile.lines[i][key]) << i << " " << key;
    }
    EXPECT_NE(byApp.lines[0]["palette"], byApp.lines[1]["palette"]);
}

TEST_F(ColorsCommand, ManyJobsPrintTheSameLinesInTheSameOrderAsOne)
{
    std::vector<std::string> files;
    for (size_t i = 0; i < 24; ++i) {
        Pixel colour { uint8_t(i * 10), uint8_t(255 - i * 10), uint8_t(i * 5), uint8_t(i % 3 ? 255 : 128) };
        // Sizes the grid divides and does not, and one smaller than the grid.
        size_t side = i % 4 == 0 ? 7 : 20 + i * 5;
        files.push_back(writeBands("icon" + std::to_string(i) + ".png", side, { { colour, side / 3 }, { appBlue, side } }));
    }
    files.insert(files.begin() + 5, (m_folder / "missing.png").string());
    auto single = runColors([&] {
        std::vector<std::string> arguments { "--jobs", "1" };
        arguments.insert(arguments.end(), files.begin(), files.end());
        return arguments;
    }());
    auto many = runColors([&] {
        std::vector<std::string> arguments { "--jobs", "5" };
        arguments.insert(arguments.end(), files.begin(), files.end());
        return arguments;
    }());
    auto byDefault = runColors(files);
    EXPECT_EQ(single.status, 1);
    EXPECT_EQ(many.status, 1);
    ASSERT_EQ(single.ordered.size(), files.size());
    EXPECT_EQ(many.ordered, single.ordered);
    EXPECT_EQ(byDefault.ordered, single.ordered);
    for (size_t i = 0; i < files.size(); ++i)
        EXPECT_EQ(single.lines[i]["file"], files[i]);
    EXPECT_TRUE(single.lines[5].contains("error"));
}

// cairo and its libraries take longer to load than an icon takes to analyse: a run on files
// of the grid's size or more must not load them. The loader lists what it loads.
TEST_F(ColorsCommand, FilesAreAnalysedWithoutLoadingCairoUnlessAnIconMustBeStretched)
{
    auto large = writeBands("large.png", 64, { { appBlue, 64 } });
    auto small = writeBands("small.png", 7, { { appBlue, 7 } });
    auto loaded = [](const std::string& file) {
        return subprocess::run("/usr/bin/env", { "LD_DEBUG=files", TINTWELL_COLORS_EXECUTABLE, file }, true).output;
    };
    auto onLarge = loaded(large);
    EXPECT_THAT(onLarge, HasSubstr("\"merged\":\"#007AFF\""));
    EXPECT_THAT(onLarge, testing::Not(HasSubstr("libcairo")));
    EXPECT_THAT(onLarge, testing::Not(HasSubstr("libplatform_drawing")));
    // A smaller icon is stretched over the grid by drawing, as the extension draws it.
    auto onSmall = loaded(small);
    EXPECT_THAT(onSmall, HasSubstr("\"merged\":\"#007AFF\""));
    EXPECT_THAT(onSmall, HasSubstr("libcairo"));
}

TEST_F(ColorsCommand, BadUsageExitsTwoAndHelpExplainsTheColours)
{
    auto good = writeBands("good.png", 4, { { appBlue, 4 } });
    for (auto arguments : std::vector<std::vector<std::string>> { {}, { "--mode", "blue", good }, { "--bundle-id", "com.apple.Music" },
             { "--root", (m_folder / "absent").string(), "--bundle-id", "com.apple.Music" }, { "--bogus", good }, { "--jobs", "0", good }, { "--jobs", "many", good } }) {
        auto run = subprocess::run(TINTWELL_COLORS_EXECUTABLE, arguments);
        EXPECT_EQ(run.status, 2) << testing::PrintToString(arguments);
        EXPECT_EQ(run.output, "") << testing::PrintToString(arguments);
    }
    auto help = subprocess::run(TINTWELL_COLORS_EXECUTABLE, { "--help" });
    EXPECT_EQ(help.status, 0);
    for (auto word : { "--mode", "--root", "--bundle-id", "--jobs", "palette", "merged", "near-white", "generic", "Exit status" })
        EXPECT_THAT(help.output, HasSubstr(word));
}

} // namespace
