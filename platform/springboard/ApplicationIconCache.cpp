#include "platform/springboard/ApplicationIconCache.h"

#include <algorithm>

#include <sys/stat.h>
#include <time.h>

namespace {

bool sameTime(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

const timespec& later(const timespec& a, const timespec& b)
{
    if (a.tv_sec != b.tv_sec)
        return a.tv_sec > b.tv_sec ? a : b;
    return a.tv_nsec >= b.tv_nsec ? a : b;
}

size_t pixelBytes(const UIImage* icon)
{
    auto* bitmap = icon ? icon->cgImage() : nullptr;
    return bitmap ? bitmap->bytesPerRow() * bitmap->height() : 0;
}

} // namespace

bool ApplicationIconCache::FileStamp::operator==(const FileStamp& other) const
{
    return path == other.path && exists == other.exists && device == other.device && inode == other.inode && mode == other.mode
        && size == other.size && sameTime(modified, other.modified) && sameTime(changed, other.changed);
}

bool ApplicationIconCache::FileStamp::isSettled() const
{
    if (!exists)
        return true;
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const timespec& latest = later(modified, changed);
    // Times without a fraction of a second come from a file system that keeps whole seconds.
    bool coarse = latest.tv_nsec == 0;
    double age = double(now.tv_sec - latest.tv_sec) + double(now.tv_nsec - latest.tv_nsec) * 1e-9;
    return age >= (coarse ? 2.0 : 0.05);
}

std::optional<ApplicationIconCache::FileStamp> ApplicationIconCache::stampOf(const std::filesystem::path& file)
{
    FileStamp stamp;
    stamp.path = file;
    struct stat status {};
    if (::lstat(file.c_str(), &status) != 0)
        return stamp;
    if (S_ISLNK(status.st_mode))
        return std::nullopt;
    stamp.exists = true;
    stamp.device = uint64_t(status.st_dev);
    stamp.inode = uint64_t(status.st_ino);
    stamp.mode = uint32_t(status.st_mode);
    stamp.size = int64_t(status.st_size);
    stamp.modified = status.st_mtim;
    stamp.changed = status.st_ctim;
    return stamp;
}

ApplicationIconCache& ApplicationIconCache::shared()
{
    // Never destroyed: icons may be asked for while the process exits.
    static auto* cache = new ApplicationIconCache;
    return *cache;
}

std::list<ApplicationIconCache::Entry>::iterator ApplicationIconCache::findLocked(std::string_view bundleIdentifier, int format, double scale)
{
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->format == format && it->scale == scale && it->bundleIdentifier == bundleIdentifier)
            return it;
    }
    return m_entries.end();
}

RefPtr<UIImage> ApplicationIconCache::find(std::string_view bundleIdentifier, int format, double scale,
    const std::function<bool(const Sources&)>& stillCurrent)
{
    Sources sources;
    RefPtr<UIImage> icon;
    {
        std::lock_guard lock(m_mutex);
        auto it = findLocked(bundleIdentifier, format, scale);
        if (it == m_entries.end()) {
            ++m_misses;
            return nullptr;
        }
        sources = it->sources;
        icon = it->icon;
    }
    bool current = stillCurrent(sources);
    std::lock_guard lock(m_mutex);
    if (!current) {
        ++m_misses;
        return nullptr;
    }
    ++m_hits;
    // Another thread may have replaced or dropped it meanwhile; the icon checked is still right.
    auto it = findLocked(bundleIdentifier, format, scale);
    if (it != m_entries.end() && it->icon == icon)
        m_entries.splice(m_entries.begin(), m_entries, it);
    return icon;
}

void ApplicationIconCache::store(std::string_view bundleIdentifier, int format, double scale, Sources sources, RefPtr<UIImage> icon)
{
    size_t bytes = pixelBytes(icon.get());
    if (!icon || bytes > maximumBytes)
        return;
    auto settled = [](const std::vector<FileStamp>& stamps) {
        return std::all_of(stamps.begin(), stamps.end(), [](const FileStamp& stamp) { return stamp.isSettled(); });
    };
    if (!settled(sources.app) || !settled(sources.genericFiles))
        return;
    std::lock_guard lock(m_mutex);
    auto it = findLocked(bundleIdentifier, format, scale);
    if (it != m_entries.end()) {
        m_bytes -= it->bytes;
        m_entries.erase(it);
    }
    m_entries.push_front({ std::string(bundleIdentifier), format, scale, std::move(sources), std::move(icon), bytes });
    m_bytes += bytes;
    evictLocked();
}

void ApplicationIconCache::evictLocked()
{
    while (!m_entries.empty() && (m_entries.size() > maximumEntries || m_bytes > maximumBytes)) {
        m_bytes -= m_entries.back().bytes;
        m_entries.pop_back();
    }
}

ApplicationIconCache::Statistics ApplicationIconCache::statistics() const
{
    std::lock_guard lock(m_mutex);
    return { m_hits, m_misses, m_entries.size(), m_bytes };
}

void ApplicationIconCache::removeAll()
{
    std::list<Entry> dropped;
    std::lock_guard lock(m_mutex);
    dropped.swap(m_entries);
    m_bytes = 0;
}
