#include "fuzz/FuzzDevice.h"

#include "platform/foundation/DeviceRoot.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

FuzzDevice& FuzzDevice::shared()
{
    static FuzzDevice device;
    return device;
}

FuzzDevice::FuzzDevice()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tintwell-fuzz.XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        std::perror("tintwell-fuzz: mkdtemp");
        std::abort();
    }
    m_root = pattern;
    DeviceRoot::set(m_root);
}

FuzzDevice::~FuzzDevice()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
}

std::filesystem::path FuzzDevice::hostPath(std::string_view devicePath) const
{
    return m_root / std::filesystem::path(devicePath).relative_path();
}

void FuzzDevice::writeFile(std::string_view devicePath, std::string_view bytes) const
{
    auto path = hostPath(devicePath);
    std::filesystem::create_directories(path.parent_path());
    auto temporary = path;
    temporary += ".partial";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    std::filesystem::rename(temporary, path);
}

void FuzzDevice::removeAll(std::string_view devicePath) const
{
    std::error_code ignored;
    std::filesystem::remove_all(hostPath(devicePath), ignored);
}
