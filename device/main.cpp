#include "device/SampleDevice.h"

#include <CLI/CLI.hpp>
#include <iostream>

int main(int argc, char** argv)
{
    CLI::App app { "Writes the sample device root: apps with icons, the generic icon, the preferences folder." };
    std::string root;
    app.add_option("ROOT", root, "The folder that stands for the phone's \"/\"; created when missing.")->required();
    CLI11_PARSE(app, argc, argv);
    if (!SampleDevice::write(root)) {
        std::cerr << "tintwell-make-device: could not write the device root " << root << "\n";
        return 1;
    }
    return 0;
}
