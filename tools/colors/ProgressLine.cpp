#include "tools/colors/ProgressLine.h"

#include <unistd.h>

namespace {

constexpr auto refresh = std::chrono::milliseconds(100);

} // namespace

ProgressLine::ProgressLine(size_t total, std::FILE* terminal, std::chrono::milliseconds quiet)
    : m_out(terminal && ::isatty(::fileno(terminal)) ? terminal : nullptr)
    , m_total(total)
    , m_start(Clock::now())
    , m_quiet(quiet)
{
}

ProgressLine::~ProgressLine() { finish(); }

void ProgressLine::update(size_t done)
{
    if (!m_out)
        return;
    auto now = Clock::now();
    if (now - m_start < m_quiet || (m_shown && now - m_lastShown < refresh))
        return;
    m_lastShown = now;
    m_shown = true;
    std::fprintf(m_out, "\r\033[Kanalysed %zu of %zu", done, m_total);
    std::fflush(m_out);
}

void ProgressLine::hide()
{
    if (!m_shown)
        return;
    m_shown = false;
    std::fputs("\r\033[K", m_out);
    std::fflush(m_out);
}
