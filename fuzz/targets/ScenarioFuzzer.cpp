// Scenario files, checked by the loader the home-screen host runs them with.
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzDevice.h"
#include "platform/springboard/Scenario.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto& device = FuzzDevice::shared();
    device.writeFile("/scenario/fuzz.json", std::string_view(reinterpret_cast<const char*>(data), size));
    std::string error;
    auto scenario = Scenario::load(device.hostPath("/scenario/fuzz.json"), error);
    // A refused file is explained; an accepted one is not.
    fuzzCheck(scenario.has_value() == error.empty(), "a scenario is either loaded or refused with a message");
    return 0;
}
