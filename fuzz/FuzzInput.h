#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

// Reads choices off the front of a fuzz input; an exhausted input reads zeros, so every
// input describes something.
class FuzzInput {
public:
    explicit FuzzInput(std::span<const uint8_t> bytes)
        : m_bytes(bytes)
    {
    }

    uint8_t byte()
    {
        if (m_bytes.empty())
            return 0;
        uint8_t value = m_bytes.front();
        m_bytes = m_bytes.subspan(1);
        return value;
    }

    uint32_t u32()
    {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value = (value << 8) | byte();
        return value;
    }

    bool flag() { return byte() & 1; }

    // Up to count bytes, fewer when the input runs out.
    std::span<const uint8_t> take(size_t count)
    {
        auto part = m_bytes.first(count < m_bytes.size() ? count : m_bytes.size());
        m_bytes = m_bytes.subspan(part.size());
        return part;
    }

    std::span<const uint8_t> rest() const { return m_bytes; }

private:
    std::span<const uint8_t> m_bytes;
};
