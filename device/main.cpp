#include "device/SampleDevice.h"
#include "tools/common/ToolCommandLine.h"

#include <CLI/CLI.hpp>
#include <iostream>

namespace {

constexpr int writeFailedStatus = 1;

constexpr const char* exitStatuses = R"(
Exit status: 0 the root was written; 1 a folder or file could not be written or copied;
2 bad usage (no ROOT, an unknown option, an --extensions folder that does not exist, a
--without name that is empty or holds "/").)";

} // namespace

int main(int argc, char** argv)
{
    CLI::App app { "Writes the sample device root: apps with icons, the generic icon, the preferences folder." };
    app.footer(exitStatuses);
    ToolCommandLine commandLine(app, "tintwell-make-device");
    std::string root;
    std::string extensions;
    std::vector<std::string> without;
    bool rootless = false;
    app.add_option("ROOT", root, "The folder that stands for the phone's \"/\"; created when missing.")->required();
    app.add_flag("--rootless", rootless,
        "Make a rootless device: its jailbreak keeps extensions, settings bundles and tools under \"/var/jb\"");
    app.add_option("--extensions", extensions,
           "Folder of built extension libraries (NAME.dylib with its filter NAME.plist) to install into the root, "
           "such as a build's device/Library/MobileSubstrate/DynamicLibraries")
        ->check(CLI::ExistingDirectory);
    app.add_option("--without", without,
           "Extension libraries to leave out, by name without .dylib, comma-separated, any case (axon,grupi,dayn); "
           "taken out of the root when already there")
        ->delimiter(',');
    if (auto status = commandLine.parse(argc, argv))
        return *status;

    std::set<std::string> leftOut;
    for (auto& name : without) {
        if (name.empty() || name.find('/') != std::string::npos)
            return commandLine.usageError("--without takes library names such as axon, not \"" + name + "\"");
        leftOut.insert(name);
    }
    if (!SampleDevice::write(root, rootless ? SampleDevice::Layout::Rootless : SampleDevice::Layout::Classic)) {
        std::cerr << "tintwell-make-device: could not write the device root " << root << "\n";
        return writeFailedStatus;
    }
    if (!extensions.empty() && !SampleDevice::installExtensions(root, extensions, leftOut)) {
        std::cerr << "tintwell-make-device: could not install the extensions of " << extensions << "\n";
        return writeFailedStatus;
    }
    if (!SampleDevice::removeExtensions(root, leftOut)) {
        std::cerr << "tintwell-make-device: could not take the left-out extensions out of " << root << "\n";
        return writeFailedStatus;
    }
    return 0;
}
