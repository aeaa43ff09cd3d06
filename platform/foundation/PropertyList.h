#pragma once

#include "platform/foundation/NSObjCRuntime.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Property lists (XML or binary) as Foundation objects: dictionaries (keeping the file's
// key order), arrays, strings, numbers, dates and data. Anything unreadable is nil, and so is
// a whole file holding a string or key with a NUL or invalid UTF-8, nesting deeper than
// maximumDepth, or more than maximumFileSize bytes: such a value could not be written back
// as it was read.
class PropertyList {
public:
    enum class Format { XML, Binary };

    // Levels below the root: the root is 0, its children 1.
    static constexpr int maximumDepth = 256;
    static constexpr size_t maximumFileSize = size_t(256) << 20;

    static Id fromBytes(std::string_view bytes);
    static Id readFile(std::string_view devicePath);
    static Id readHostFile(const std::filesystem::path& hostPath);

    // Nullopt when the object graph holds something a property list cannot, or something that
    // would not read back the same (text with a NUL or invalid UTF-8; in XML, a date outside
    // the years 1 to 9999). XML dates keep whole seconds; binary ones are exact.
    static std::optional<std::string> serialize(const Object* root, Format format);

    // Atomically: written beside the target, flushed to disk and renamed over it, so a
    // reader sees the old file or the new one, never a part. The folder must exist.
    static bool writeFile(const Object* root, std::string_view devicePath, Format format, bool atomically);
    static bool writeHostFile(const Object* root, const std::filesystem::path& hostPath, Format format, bool atomically);
};
