#pragma once

#include "platform/graphics/UIImage.h"

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <list>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The home screen's drawn app icons, kept as the phone's icon cache keeps them: by bundle
// identifier, format and scale. An icon is handed out again only while every file that
// went into drawing it is still the same file with the same contents: a rewritten icon
// file or a reinstalled app (new files, another icon name, another folder) is drawn
// afresh. Bounded by count and by pixel bytes; the least recently used goes first. Safe
// to use from any thread; nothing is sent while its lock is held.
class ApplicationIconCache {
public:
    // A file as it stands on disk, without following links: missing, or its identity,
    // kind, size and change times. Two equal stamps mean the same bytes.
    struct FileStamp {
        std::filesystem::path path;
        bool exists { false };
        uint64_t device { 0 };
        uint64_t inode { 0 };
        uint32_t mode { 0 };
        int64_t size { 0 };
        timespec modified {};
        timespec changed {};

        bool operator==(const FileStamp& other) const;
        // Changed too recently for its times to tell the next change from this one (they
        // move in clock ticks, or whole seconds on some file systems): not kept.
        bool isSettled() const;
    };
    // Nothing for a link: what it leads to can change without the link changing, so an
    // icon drawn from one is not kept.
    static std::optional<FileStamp> stampOf(const std::filesystem::path& file);

    // The files an icon was drawn from: the app's icon variants, and the generic icon's
    // when it stood in.
    struct Sources {
        std::vector<FileStamp> app;
        bool generic { false };
        std::vector<FileStamp> genericFiles;
    };

    struct Statistics {
        uint64_t hits { 0 };
        uint64_t misses { 0 };
        size_t entries { 0 };
        size_t bytes { 0 };
    };

    static constexpr size_t maximumEntries = 256;
    static constexpr size_t maximumBytes = size_t(32) << 20;

    static ApplicationIconCache& shared();

    // The kept icon when `stillCurrent` accepts the sources it was drawn from; counts a
    // hit or a miss. `stillCurrent` runs without the lock held.
    RefPtr<UIImage> find(std::string_view bundleIdentifier, int format, double scale,
        const std::function<bool(const Sources&)>& stillCurrent);
    void store(std::string_view bundleIdentifier, int format, double scale, Sources sources, RefPtr<UIImage> icon);

    Statistics statistics() const;
    void removeAll();

private:
    struct Entry {
        std::string bundleIdentifier;
        int format { 0 };
        double scale { 0 };
        Sources sources;
        RefPtr<UIImage> icon;
        size_t bytes { 0 };
    };

    std::list<Entry>::iterator findLocked(std::string_view bundleIdentifier, int format, double scale);
    void evictLocked();

    mutable std::mutex m_mutex;
    // Most recently used first. A few hundred entries at most, so a scan is cheap beside
    // drawing an icon.
    std::list<Entry> m_entries;
    size_t m_bytes { 0 };
    uint64_t m_hits { 0 };
    uint64_t m_misses { 0 };
};
