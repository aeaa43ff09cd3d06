#include "platform/foundation/NSRunLoop.h"
#include "platform/springboard/SpringBoardHost.h"

#include <gtest/gtest.h>

namespace {

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
