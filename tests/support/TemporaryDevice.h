#pragma once

#include "platform/foundation/DeviceRoot.h"
#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

// A fresh device root in a temporary folder for each test, removed afterwards.
class TemporaryDevice : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_device.emplace();
        ASSERT_FALSE(m_device->path().empty());
        m_root = m_device->path();
    }

    void TearDown() override { m_device.reset(); }

    std::filesystem::path host(std::string_view devicePath) const { return *DeviceRoot::resolve(devicePath); }

    void writeDeviceFile(std::string_view devicePath, std::string_view bytes) const
    {
        auto path = host(devicePath);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }

    std::optional<TemporaryDeviceRoot> m_device;
    std::filesystem::path m_root;
};
