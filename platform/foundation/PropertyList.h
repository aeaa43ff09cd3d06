#pragma once

#include "platform/foundation/NSObjCRuntime.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Property lists (XML or binary) as Foundation objects: dictionaries (keeping the file's
// key order), arrays, strings, numbers, dates and data. Anything unreadable is nil.
class PropertyList {
public:
    enum class Format { XML, Binary };

    static Id fromBytes(std::string_view bytes);
    static Id readFile(std::string_view devicePath);
    static Id readHostFile(const std::filesystem::path& hostPath);

    // Nullopt when the object graph holds something a property list cannot.
    static std::optional<std::string> serialize(const Object* root, Format format);

    // Atomically: written beside the target, flushed to disk and renamed over it, so a
    // reader sees the old file or the new one, never a part. The folder must exist.
    static bool writeFile(const Object* root, std::string_view devicePath, Format format, bool atomically);
    static bool writeHostFile(const Object* root, const std::filesystem::path& hostPath, Format format, bool atomically);
};
