#include "tools/colors/ColorBatch.h"
#include "tools/colors/ProgressLine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <mutex>
#include <pty.h>
#include <set>
#include <thread>
#include <unistd.h>

namespace {

TEST(ColorBatch, ResultsComeBackInInputOrderWhateverFinishesFirst)
{
    for (unsigned jobs : { 1u, 2u, 4u, 64u }) {
        std::mutex mutex;
        std::set<std::thread::id> threads;
        std::vector<size_t> delivered;
        std::vector<size_t> progress;
        ColorBatch::run(
            40, jobs,
            [&](size_t i) {
                // Early inputs take longest, so later ones finish first.
                std::this_thread::sleep_for(std::chrono::microseconds((40 - i) * 50));
                std::lock_guard lock(mutex);
                threads.insert(std::this_thread::get_id());
                return "line " + std::to_string(i);
            },
            [&](size_t i, std::string&& line) {
                EXPECT_EQ(line, "line " + std::to_string(i));
                delivered.push_back(i);
            },
            [&](size_t done) { progress.push_back(done); });
        ASSERT_EQ(delivered.size(), 40u) << jobs;
        for (size_t i = 0; i < delivered.size(); ++i)
            EXPECT_EQ(delivered[i], i) << jobs;
        EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end())) << jobs;
        ASSERT_FALSE(progress.empty());
        EXPECT_EQ(progress.back(), 40u) << jobs;
        if (jobs == 1)
            EXPECT_EQ(threads, std::set { std::this_thread::get_id() });
        else
            EXPECT_GT(threads.size(), 1u) << jobs;
    }
}

TEST(ColorBatch, NoInputsRunsNothing)
{
    bool called = false;
    ColorBatch::run(0, 4, [&](size_t) { called = true; return std::string(); }, [&](size_t, std::string&&) { called = true; });
    EXPECT_FALSE(called);
}

// What a terminal on the other side of a pseudo-terminal received so far.
std::string readAvailable(int fd)
{
    std::string text;
    char buffer[256];
    ssize_t count;
    while ((count = ::read(fd, buffer, sizeof buffer)) > 0)
        text.append(buffer, size_t(count));
    return text;
}

class ProgressOnTerminal : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(::openpty(&m_controller, &m_terminal, nullptr, nullptr, nullptr), 0);
        ::fcntl(m_controller, F_SETFL, O_NONBLOCK);
        m_stream = ::fdopen(m_terminal, "w");
        ASSERT_TRUE(m_stream);
    }
    void TearDown() override
    {
        std::fclose(m_stream);
        ::close(m_controller);
    }

    int m_controller { -1 };
    int m_terminal { -1 };
    std::FILE* m_stream { nullptr };
};

TEST_F(ProgressOnTerminal, ShowsCountAfterTheQuietStartAndClearsItsLine)
{
    {
        ProgressLine progress(916, m_stream, std::chrono::milliseconds(0));
        progress.update(412);
        EXPECT_NE(readAvailable(m_controller).find("analysed 412 of 916"), std::string::npos);
    }
    EXPECT_EQ(readAvailable(m_controller), "\r\033[K");
}

TEST_F(ProgressOnTerminal, HidingClearsTheLineUntilTheNextUpdate)
{
    ProgressLine progress(20, m_stream, std::chrono::milliseconds(0));
    progress.update(3);
    readAvailable(m_controller);
    progress.hide();
    EXPECT_EQ(readAvailable(m_controller), "\r\033[K");
    progress.hide();
    EXPECT_EQ(readAvailable(m_controller), "");
    progress.update(4);
    EXPECT_NE(readAvailable(m_controller).find("analysed 4 of 20"), std::string::npos);
}

TEST_F(ProgressOnTerminal, ShortBatchesShowNothing)
{
    {
        ProgressLine progress(10, m_stream);
        for (size_t done = 1; done <= 10; ++done)
            progress.update(done);
    }
    EXPECT_EQ(readAvailable(m_controller), "");
}

TEST(ProgressLine, NothingGoesToAPipeOrAFile)
{
    std::FILE* file = std::tmpfile();
    ASSERT_TRUE(file);
    {
        ProgressLine progress(10, file, std::chrono::milliseconds(0));
        progress.update(5);
    }
    EXPECT_EQ(std::ftell(file), 0);
    std::fclose(file);
}

} // namespace
