#pragma once

#include "platform/foundation/NSObjCRuntime.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

// Immutable bytes.
class NSData : public Object {
    TW_OBJECT(NSData)
public:
    static RefPtr<NSData> dataWithBytes(std::span<const uint8_t> bytes);
    static RefPtr<NSData> dataWithBytes(std::string_view bytes);
    // Nil when the file cannot be read.
    static RefPtr<NSData> dataWithContentsOfFile(std::string_view devicePath);

    const std::vector<uint8_t>& bytes() const { return m_bytes; }
    NSUInteger length() const { return m_bytes.size(); }

    bool isEqualToData(const NSData* other) const { return other && other->m_bytes == m_bytes; }
    bool isEqual(const Object* other) const;
    NSUInteger hash() const;

protected:
    NSData() = default;
    explicit NSData(std::vector<uint8_t> bytes)
        : m_bytes(std::move(bytes))
    {
    }

private:
    bool isEqualImpl(Object* other) const { return isEqual(other); }

    std::vector<uint8_t> m_bytes;
};
