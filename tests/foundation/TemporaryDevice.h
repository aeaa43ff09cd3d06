#pragma once

#include "platform/foundation/DeviceRoot.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

// A fresh device root in a temporary folder for each test, removed afterwards.
class TemporaryDevice : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previousRoot = DeviceRoot::get();
        std::string pattern = (std::filesystem::temp_directory_path() / "tintwell-device-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        DeviceRoot::set(m_root);
    }

    void TearDown() override
    {
        DeviceRoot::set(m_previousRoot);
        std::error_code error;
        std::filesystem::remove_all(m_root, error);
    }

    std::filesystem::path host(std::string_view devicePath) const { return *DeviceRoot::resolve(devicePath); }

    void writeDeviceFile(std::string_view devicePath, std::string_view bytes) const
    {
        auto path = host(devicePath);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }

    std::filesystem::path m_root;
    std::filesystem::path m_previousRoot;
};
