#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>

// "analysed 412 of 916" on standard error, rewritten in place, once a batch has run longer
// than a second and only when standard error is a terminal: a log or a pipe gets nothing.
class ProgressLine {
public:
    static constexpr std::chrono::milliseconds quietStart { 1000 };

    ProgressLine(size_t total, std::FILE* terminal = stderr, std::chrono::milliseconds quiet = quietStart);
    ~ProgressLine();

    void update(size_t done);
    // Clears the line, so what is written next on the terminal starts on a clean one; the
    // next update shows it again.
    void hide();
    void finish() { hide(); }

private:
    using Clock = std::chrono::steady_clock;
    std::FILE* m_out { nullptr };
    size_t m_total { 0 };
    Clock::time_point m_start;
    std::chrono::milliseconds m_quiet;
    Clock::time_point m_lastShown;
    bool m_shown { false };
};
