#include "platform/foundation/NSRunLoop.h"
#include "platform/springboard/SpringBoard.h"
#include "platform/springboard/SpringBoardHost.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using testing::HasSubstr;
using Outcome = ExtensionLoader::Outcome;

namespace {

TEST(SpringBoardHost, LaunchOnTheTestDeviceRunsTheProbesReplacement)
{
    SpringBoardHost host(TINTWELL_TEST_DEVICE_ROOT);
    auto report = host.loadExtensions();

    ASSERT_EQ(report.extensions.size(), 3u);
    EXPECT_EQ(report.extensions[0].name, "HookProbe.dylib");
    EXPECT_EQ(report.extensions[0].outcome, Outcome::Loaded);
    EXPECT_EQ(report.extensions[1].outcome, Outcome::FilterMismatch);
    EXPECT_EQ(report.extensions[2].outcome, Outcome::NoFilter);

    testing::internal::CaptureStdout();
    host.finishLaunching();
    EXPECT_THAT(testing::internal::GetCapturedStdout(), HasSubstr("HookProbe: -[SpringBoard applicationDidFinishLaunching:] intercepted"));
    EXPECT_TRUE(SpringBoard::sharedApplication()->isLaunched());
}

TEST(SpringBoardHost, RunWithoutTimeRunsOnlyWhatIsDue)
{
    SpringBoardHost host(TINTWELL_TEST_DEVICE_ROOT);
    bool dueNow = false;
    bool dueLater = false;
    NSRunLoop::mainRunLoop().perform([&] { dueNow = true; });
    auto later = NSRunLoop::mainRunLoop().performAfter(60, [&] { dueLater = true; });

    host.run(0);

    EXPECT_TRUE(dueNow);
    EXPECT_FALSE(dueLater);
    NSRunLoop::mainRunLoop().cancel(later);
}

} // namespace
