#include "platform/foundation/CFPreferences.h"

#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Runtime state of the device, as the phone's preferences daemon keeps it: the preferences
// folder itself holds nothing but the domains.
constexpr std::string_view lockFolder = "/private/var/run/cfprefsd/";

// Held for one read, change and replace; released when the descriptor closes.
class DomainLock {
public:
    explicit DomainLock(std::string_view domain)
    {
        auto folder = DeviceRoot::resolve(lockFolder);
        if (!folder)
            return;
        std::error_code error;
        std::filesystem::create_directories(*folder, error);
        auto lockFile = *folder / (std::string(domain) + ".plist.lock");
        m_descriptor = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (m_descriptor < 0)
            return;
        while (::flock(m_descriptor, LOCK_EX) != 0) {
            if (errno != EINTR) {
                ::close(std::exchange(m_descriptor, -1));
                return;
            }
        }
    }
    DomainLock(const DomainLock&) = delete;
    DomainLock& operator=(const DomainLock&) = delete;
    ~DomainLock()
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
    }

    bool held() const { return m_descriptor >= 0; }

private:
    int m_descriptor { -1 };
};

bool mayExist(const std::filesystem::path& path)
{
    struct stat status;
    // Anything but a plain "not there" counts as there: a file we cannot see is not ours to replace.
    return ::stat(path.c_str(), &status) == 0 || errno != ENOENT;
}

struct Warnings {
    std::mutex mutex;
    std::set<std::string> reported;
};

Warnings& warnings()
{
    static Warnings shared;
    return shared;
}

void noteReadable(const std::string& path, bool readable)
{
    auto& state = warnings();
    std::lock_guard lock(state.mutex);
    if (readable) {
        state.reported.erase(path);
        return;
    }
    if (!state.reported.insert(path).second)
        return;
    std::fprintf(stderr, "%s: warning: cannot read the preferences file %s; its settings read as defaults\n", program_invocation_short_name, path.c_str());
    std::fflush(stderr);
}

} // namespace

std::string CFPreferences::domainPath(std::string_view domain)
{
    if (domain.empty() || domain.front() == '.' || domain.find('/') != std::string_view::npos || domain.find('\0') != std::string_view::npos)
        return {};
    return std::string(preferencesFolder) + std::string(domain) + ".plist";
}

RefPtr<NSDictionary> CFPreferences::copyDomain(std::string_view domain)
{
    auto path = domainPath(domain);
    auto host = path.empty() ? std::nullopt : DeviceRoot::resolve(path);
    if (!host)
        return nullptr;
    auto values = objectCast<NSDictionary>(PropertyList::readHostFile(*host));
    noteReadable(path, values || !mayExist(*host));
    return values;
}

CFPreferences::WriteResult CFPreferences::setAppValue(std::string_view domain, const NSString* key, Object* value)
{
    auto path = domainPath(domain);
    auto host = path.empty() || !key ? std::nullopt : DeviceRoot::resolve(path);
    if (!host)
        return WriteResult::Failed;
    std::error_code error;
    std::filesystem::create_directories(host->parent_path(), error);
    DomainLock lock(domain);
    if (!lock.held())
        return WriteResult::Failed;
    auto values = NSMutableDictionary::dictionary();
    if (mayExist(*host)) {
        auto stored = objectCast<NSDictionary>(PropertyList::readHostFile(*host));
        if (!stored)
            return WriteResult::Unreadable;
        values = NSMutableDictionary::dictionaryWithDictionary(stored.get());
    }
    values->setValue(value, const_cast<NSString*>(key));
    if (!PropertyList::writeHostFile(values.get(), *host, PropertyList::Format::Binary, true))
        return WriteResult::Failed;
    return WriteResult::Written;
}

std::string CFPreferences::describe(WriteResult result, std::string_view domain)
{
    std::string path = domainPath(domain);
    if (path.empty())
        path = "\"" + std::string(domain) + "\" (not a preferences domain)";
    switch (result) {
    case WriteResult::Written:
        return "wrote " + path;
    case WriteResult::Unreadable:
        return "cannot write " + path + ": the file there is not a readable property list, so it was left as it is";
    case WriteResult::Failed:
        break;
    }
    return "cannot write " + path;
}
