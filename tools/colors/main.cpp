#include "tools/colors/ColorReport.h"

#include "platform/foundation/DeviceRoot.h"
#include "platform/springboard/AppRecordClasses.h"
#include "tweak/colour/TintwellMethods.h"
#include "tweak/colour/UIImage+Tintwell.h"
#include "tools/common/ToolCommandLine.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>

namespace {

constexpr int failedInputStatus = 1;
constexpr int badUsageStatus = 2;

constexpr const char* explanation = R"(
Each input gives one JSON object on one line, in the order given (files first, then
bundle identifiers):

  palette  the icon's distinct colours, most frequent first: the icon is shrunk to a
           10 x 10 grid and a colour within 60 (of 255) of a more frequent one in red,
           green and blue is dropped. Transparent areas count as #00000000.
  merged   the icon's average colour, opaque. Transparent areas pull it toward black.
  modes    the colour each colour mode ("...ColorCalc" settings) would tint with:
             0      the merged colour
             1      the palette colour closest to the merged colour (with --bundle-id:
                    to the merged colour of that app's stock icon), preferring
                    colours that are neither near-black nor near-white
             2      the first palette colour that is neither transparent, near-black nor
                    near-white; else the first non-transparent one; else null
             other  the most frequent palette colour
Colours are "#RRGGBBAA" ("#RRGGBB" for merged), each byte round(component x 255).

A file that is missing or not a readable PNG prints {"file": ..., "error": ...}; the
other inputs are still printed. Exit status: 0 all inputs analysed, 1 some failed,
2 bad usage.
)";

std::string fileError(const std::filesystem::path& path)
{
    std::error_code error;
    auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status))
        return "no such file";
    if (!std::filesystem::is_regular_file(status))
        return "not a regular file";
    return "not a readable PNG image (corrupt, truncated, or over 4096 pixels a side)";
}

void printLine(const nlohmann::ordered_json& line)
{
    std::cout << line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app { "Shows the colours Tintwell takes from app icons: palette, merged colour and each colour mode." };
    app.footer(explanation);
    ToolCommandLine commandLine(app, "tintwell-colors");
    std::vector<long> modes;
    std::vector<std::string> files;
    std::vector<std::string> bundleIDs;
    std::string root;
    app.add_option("--mode", modes, "A colour mode to show (repeatable; may be negative). Default: 0 1 2 3")
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    auto* rootOption = app.add_option("--root", root, "Device root folder (the phone's \"/\") holding the installed apps")
                           ->check(CLI::ExistingDirectory);
    app.add_option("--bundle-id", bundleIDs, "Analyse this installed app's icon, found as the extension finds it (repeatable; needs --root)")
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->needs(rootOption);
    app.add_option("FILE", files, "PNG images to analyse");
    try {
        app.parse(argc, argv);
        if (files.empty() && bundleIDs.empty())
            throw CLI::RequiredError("a FILE or --bundle-id");
    } catch (const CLI::ParseError& error) {
        return commandLine.exit(error);
    }
    if (modes.empty())
        modes = { 0, 1, 2, 3 };
    if (!root.empty())
        DeviceRoot::set(root);
    registerAppRecordClasses();
    registerTintwellMethods();

    bool allSucceeded = true;
    for (auto& file : files) {
        nlohmann::ordered_json line { { "file", file } };
        auto image = UIImage::imageWithContentsOfHostFile(file);
        if (image) {
            line.update(ColorReport::describe(*image, modes, nullptr));
        } else {
            line["error"] = fileError(file);
            allSucceeded = false;
        }
        printLine(line);
    }
    for (auto& bundleID : bundleIDs) {
        nlohmann::ordered_json line { { "bundleID", bundleID } };
        auto identifier = NSString::string(bundleID);
        auto image = stockImgForID(identifier.get());
        if (image) {
            line.update(ColorReport::describe(*image, modes, identifier.get()));
        } else {
            line["error"] = "no icon: neither the app's nor the generic icon could be loaded";
            allSucceeded = false;
        }
        printLine(line);
    }
    std::cout.flush();
    return allSucceeded ? 0 : failedInputStatus;
}
