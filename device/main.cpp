#include "device/SampleDevice.h"

#include <CLI/CLI.hpp>
#include <iostream>

int main(int argc, char** argv)
{
    CLI::App app { "Writes the sample device root: apps with icons, the generic icon, the preferences folder." };
    std::string root;
    std::string extensions;
    std::vector<std::string> without;
    app.add_option("ROOT", root, "The folder that stands for the phone's \"/\"; created when missing.")->required();
    app.add_option("--extensions", extensions,
           "Folder of built extension libraries (NAME.dylib with its filter NAME.plist) to install into the root, "
           "such as a build's device/Library/MobileSubstrate/DynamicLibraries")
        ->check(CLI::ExistingDirectory);
    app.add_option("--without", without,
           "Extension libraries to leave out, by name without .dylib, comma-separated, any case (axon,grupi,dayn); "
           "taken out of the root when already there")
        ->delimiter(',');
    CLI11_PARSE(app, argc, argv);

    std::set<std::string> leftOut;
    for (auto& name : without) {
        if (name.empty() || name.find('/') != std::string::npos) {
            std::cerr << "tintwell-make-device: --without takes library names such as axon, not \"" << name << "\"\n";
            return 2;
        }
        leftOut.insert(name);
    }
    if (!SampleDevice::write(root)) {
        std::cerr << "tintwell-make-device: could not write the device root " << root << "\n";
        return 1;
    }
    if (!extensions.empty() && !SampleDevice::installExtensions(root, extensions, leftOut)) {
        std::cerr << "tintwell-make-device: could not install the extensions of " << extensions << "\n";
        return 1;
    }
    if (!SampleDevice::removeExtensions(root, leftOut)) {
        std::cerr << "tintwell-make-device: could not take the left-out extensions out of " << root << "\n";
        return 1;
    }
    return 0;
}
