#pragma once

// Binary property lists put together object by object, so a test can make what no writer
// would: NULs in strings, broken UTF-16, shared and cyclic references, deep nesting.

#include <bit>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace binaryplist {

inline std::string bigEndian(uint64_t value, int size)
{
    std::string bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(value >> (8 * (size - 1 - i)));
    return bytes;
}

// A marker with its count, inline below 15, else as a following integer.
inline std::string marker(uint8_t kind, uint64_t count)
{
    if (count < 15)
        return std::string(1, static_cast<char>(kind | count));
    return std::string(1, static_cast<char>(kind | 0xF)) + '\x13' + bigEndian(count, 8);
}

inline std::string ascii(std::string_view text) { return marker(0x50, text.size()) + std::string(text); }

inline std::string utf16(const std::vector<uint16_t>& units)
{
    std::string bytes = marker(0x60, units.size());
    for (uint16_t unit : units)
        bytes += bigEndian(unit, 2);
    return bytes;
}

inline std::string integer(int64_t value) { return '\x13' + bigEndian(static_cast<uint64_t>(value), 8); }
inline std::string unsignedInteger(uint64_t value) { return '\x14' + bigEndian(0, 8) + bigEndian(value, 8); }
inline std::string real(double value) { return '\x23' + bigEndian(std::bit_cast<uint64_t>(value), 8); }
inline std::string date(double seconds) { return '\x33' + bigEndian(std::bit_cast<uint64_t>(seconds), 8); }
inline std::string boolean(bool value) { return std::string(1, value ? '\x09' : '\x08'); }

// References are four bytes wide.
inline std::string array(const std::vector<uint64_t>& references)
{
    std::string bytes = marker(0xA0, references.size());
    for (uint64_t reference : references)
        bytes += bigEndian(reference, 4);
    return bytes;
}

inline std::string dictionary(const std::vector<uint64_t>& keys, const std::vector<uint64_t>& values)
{
    std::string bytes = marker(0xD0, keys.size());
    for (uint64_t key : keys)
        bytes += bigEndian(key, 4);
    for (uint64_t value : values)
        bytes += bigEndian(value, 4);
    return bytes;
}

class Builder {
public:
    uint64_t add(std::string object)
    {
        m_objects.push_back(std::move(object));
        return m_objects.size() - 1;
    }

    std::string build(uint64_t root) const
    {
        std::string bytes = "bplist00";
        std::vector<uint64_t> offsets;
        for (auto& object : m_objects) {
            offsets.push_back(bytes.size());
            bytes += object;
        }
        uint64_t table = bytes.size();
        for (uint64_t offset : offsets)
            bytes += bigEndian(offset, 4);
        bytes += std::string(6, '\0') + '\x04' + '\x04';
        bytes += bigEndian(m_objects.size(), 8) + bigEndian(root, 8) + bigEndian(table, 8);
        return bytes;
    }

private:
    std::vector<std::string> m_objects;
};

// A dictionary of string keys to objects, the root of the list.
inline std::string dictionaryOf(const std::vector<std::pair<std::string, std::string>>& entries)
{
    Builder builder;
    std::vector<uint64_t> keys;
    std::vector<uint64_t> values;
    for (auto& [key, value] : entries) {
        keys.push_back(builder.add(ascii(key)));
        values.push_back(builder.add(value));
    }
    return builder.build(builder.add(dictionary(keys, values)));
}

// Arrays nested this deep, the innermost one empty.
inline std::string nestedArrays(int depth)
{
    Builder builder;
    uint64_t inner = builder.add(array({}));
    for (int i = 1; i < depth; ++i)
        inner = builder.add(array({ inner }));
    return builder.build(inner);
}

} // namespace binaryplist
