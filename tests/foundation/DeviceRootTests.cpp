#include "platform/foundation/DeviceRoot.h"

#include <gtest/gtest.h>

namespace {

class DeviceRootTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previous = DeviceRoot::get();
        DeviceRoot::set("/tmp/device-root-test");
    }
    void TearDown() override { DeviceRoot::set(m_previous); }

    std::filesystem::path m_previous;
};

TEST_F(DeviceRootTest, PhonePathsResolveUnderTheRoot)
{
    EXPECT_EQ(DeviceRoot::resolve("/var/mobile/Library/Preferences/a.plist"),
        std::filesystem::path("/tmp/device-root-test/var/mobile/Library/Preferences/a.plist"));
    EXPECT_EQ(DeviceRoot::resolve("/"), std::filesystem::path("/tmp/device-root-test"));
    EXPECT_EQ(DeviceRoot::resolve("/Applications//./Mail.app/"), std::filesystem::path("/tmp/device-root-test/Applications/Mail.app"));
}

TEST_F(DeviceRootTest, HostilePathsStayInsideTheRoot)
{
    for (const char* hostile : { "../../etc/passwd", "/../../etc/passwd", "/var/../../../etc/passwd", "/a/b/../../../../etc/passwd" })
        EXPECT_EQ(DeviceRoot::resolve(hostile), std::filesystem::path("/tmp/device-root-test/etc/passwd")) << hostile;
    EXPECT_EQ(DeviceRoot::resolve("/.."), std::filesystem::path("/tmp/device-root-test"));
    EXPECT_EQ(DeviceRoot::resolve("/var/mobile/../root"), std::filesystem::path("/tmp/device-root-test/var/root"));
}

TEST_F(DeviceRootTest, UnusablePathsResolveToNothing)
{
    EXPECT_EQ(DeviceRoot::resolve(""), std::nullopt);
    EXPECT_EQ(DeviceRoot::resolve(std::string_view("/etc\0/passwd", 12)), std::nullopt);
}

TEST_F(DeviceRootTest, HostPathsMapBackToDevicePaths)
{
    EXPECT_EQ(DeviceRoot::devicePath("/tmp/device-root-test/Applications/Mail.app"), "/Applications/Mail.app");
    EXPECT_EQ(DeviceRoot::devicePath("/tmp/device-root-test"), "/");
    EXPECT_EQ(DeviceRoot::devicePath("/tmp/elsewhere/x"), std::nullopt);
    EXPECT_EQ(DeviceRoot::devicePath("/tmp/device-root-test-sibling/x"), std::nullopt);
}

} // namespace
