#include "tests/support/TemporaryDevice.h"

#include "platform/foundation/CFPreferences.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"
#include "tests/support/BinaryPlist.h"

#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr std::string_view domain = "com.quillfen.tintwellprefs";
constexpr std::string_view domainFile = "/var/mobile/Library/Preferences/com.quillfen.tintwellprefs.plist";

class Preferences : public TemporaryDevice {
protected:
    std::string fileBytes() const
    {
        std::ifstream stream(host(domainFile), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(stream), {});
    }
};

TEST_F(Preferences, ForkedWritersOfOneDomainKeepEveryKey)
{
    constexpr int writers = 4;
    constexpr int keysEach = 60;
    std::vector<pid_t> children;
    for (int writer = 0; writer < writers; ++writer) {
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int key = 0; key < keysEach; ++key) {
                auto name = NSString::string("Writer" + std::to_string(writer) + "Key" + std::to_string(key));
                if (CFPreferences::setAppValue(domain, name.get(), NSNumber::numberWithInteger(key).get()) != CFPreferences::WriteResult::Written)
                    ::_exit(1);
            }
            ::_exit(0);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    auto values = CFPreferences::copyDomain(domain);
    ASSERT_TRUE(values);
    EXPECT_EQ(values->count(), size_t(writers * keysEach));
}

TEST_F(Preferences, AWriteKeepsEveryOtherValueAndANilValueRemovesItsKey)
{
    namespace bp = binaryplist;
    writeDeviceFile(domainFile, bp::dictionaryOf({ { "When", bp::date(-1234.5678) }, { "Largest", bp::unsignedInteger(UINT64_MAX) }, { "Gone", bp::boolean(true) } }));
    ASSERT_EQ(CFPreferences::setAppValue(domain, NSString::string("New").get(), NSString::string("value").get()), CFPreferences::WriteResult::Written);
    ASSERT_EQ(CFPreferences::setAppValue(domain, NSString::string("Gone").get(), nullptr), CFPreferences::WriteResult::Written);
    auto values = CFPreferences::copyDomain(domain);
    ASSERT_TRUE(values);
    EXPECT_EQ(values->count(), 3u);
    EXPECT_EQ(objectCast<NSDate>(values->objectForStringKey("When"))->timeIntervalSinceReferenceDate(), -1234.5678);
    EXPECT_EQ(objectCast<NSNumber>(values->objectForStringKey("Largest"))->unsignedIntegerValue(), UINT64_MAX);
    EXPECT_FALSE(values->objectForStringKey("Gone"));
}

TEST_F(Preferences, AnUnreadableDomainIsNeverReplaced)
{
    using namespace std::string_literals;
    for (auto bytes : { "<plist><dict><key>K</key><string>a\0b</string></dict></plist>"s, "<plist><array/></plist>"s, ""s, "bplist00 truncated"s }) {
        writeDeviceFile(domainFile, bytes);
        EXPECT_EQ(CFPreferences::setAppValue(domain, NSString::string("K").get(), NSNumber::numberWithBool(true).get()), CFPreferences::WriteResult::Unreadable);
        EXPECT_EQ(fileBytes(), bytes);
        EXPECT_EQ(CFPreferences::copyDomain(domain), nullptr);
    }
    // Not there at all is an empty domain.
    std::filesystem::remove(host(domainFile));
    EXPECT_EQ(CFPreferences::setAppValue(domain, NSString::string("K").get(), NSNumber::numberWithBool(true).get()), CFPreferences::WriteResult::Written);
}

TEST_F(Preferences, NamesThatAreNoDomainAreRefused)
{
    for (auto name : { "", "../escape", ".hidden", "a/b" }) {
        EXPECT_EQ(CFPreferences::domainPath(name), "") << name;
        EXPECT_EQ(CFPreferences::setAppValue(name, NSString::string("K").get(), NSNumber::numberWithBool(true).get()), CFPreferences::WriteResult::Failed) << name;
    }
}

} // namespace
