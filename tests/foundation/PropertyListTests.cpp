#include "TemporaryDevice.h"

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"

#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr std::string_view preferencesPath = "/var/mobile/Library/Preferences/com.quillfen.tintwellprefs.plist";

const char* sampleXML = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<key>Enabled</key><true/>
	<key>NotifStyle</key><integer>-2</integer>
	<key>NotifDOutlAlpha</key><real>0.5</real>
	<key>NotifCustomHEX</key><string>#ff8800</string>
	<key>Apps</key><array><string>com.apple.mobilemail</string><integer>3</integer></array>
	<key>When</key><date>2001-01-02T00:00:00Z</date>
	<key>Blob</key><data>AAEC</data>
	<key>Alpha</key><false/>
</dict>
</plist>
)";

std::vector<std::string> keyTexts(const NSDictionary* dictionary)
{
    std::vector<std::string> texts;
    for (auto& entry : *dictionary)
        texts.push_back(objectAs<NSString>(entry.key.get())->utf8());
    return texts;
}

class PropertyListFiles : public TemporaryDevice { };

TEST_F(PropertyListFiles, XMLReadsEveryElementTypeInFileOrder)
{
    writeDeviceFile(preferencesPath, sampleXML);
    auto prefs = NSDictionary::dictionaryWithContentsOfFile(preferencesPath);
    ASSERT_TRUE(prefs);
    EXPECT_EQ(keyTexts(prefs.get()), (std::vector<std::string> { "Enabled", "NotifStyle", "NotifDOutlAlpha", "NotifCustomHEX", "Apps", "When", "Blob", "Alpha" }));

    auto enabled = objectAs<NSNumber>(prefs->objectForStringKey("Enabled").get());
    ASSERT_TRUE(enabled);
    EXPECT_EQ(enabled->kind(), NSNumber::Kind::Bool);
    EXPECT_TRUE(enabled->boolValue());
    auto style = objectAs<NSNumber>(prefs->objectForStringKey("NotifStyle").get());
    EXPECT_EQ(style->kind(), NSNumber::Kind::Integer);
    EXPECT_EQ(style->integerValue(), -2);
    auto alpha = objectAs<NSNumber>(prefs->objectForStringKey("NotifDOutlAlpha").get());
    EXPECT_EQ(alpha->kind(), NSNumber::Kind::Real);
    EXPECT_DOUBLE_EQ(alpha->doubleValue(), 0.5);
    EXPECT_EQ(objectAs<NSString>(prefs->objectForStringKey("NotifCustomHEX").get())->utf8(), "#ff8800");
    auto apps = objectAs<NSArray>(prefs->objectForStringKey("Apps").get());
    ASSERT_TRUE(apps);
    EXPECT_EQ(apps->count(), 2u);
    EXPECT_DOUBLE_EQ(objectAs<NSDate>(prefs->objectForStringKey("When").get())->timeIntervalSinceReferenceDate(), 86400.0);
    EXPECT_EQ(objectAs<NSData>(prefs->objectForStringKey("Blob").get())->bytes(), (std::vector<uint8_t> { 0, 1, 2 }));
}

TEST_F(PropertyListFiles, RoundTripKeepsOrderAndKindsInBothFormats)
{
    writeDeviceFile(preferencesPath, sampleXML);
    auto original = NSMutableDictionary::dictionaryWithContentsOfFile(preferencesPath);
    ASSERT_TRUE(original);
    original->setObject(NSString::string("new"), NSString::string("AAAFirstAlphabetically"));
    original->setObject(NSNumber::numberWithInteger(10), NSString::string("NotifStyle"));

    for (auto format : { PropertyList::Format::XML, PropertyList::Format::Binary }) {
        ASSERT_TRUE(PropertyList::writeFile(original, preferencesPath, format, true));
        auto reread = NSDictionary::dictionaryWithContentsOfFile(preferencesPath);
        ASSERT_TRUE(reread);
        EXPECT_EQ(keyTexts(reread.get()), keyTexts(original.get()));
        EXPECT_TRUE(reread->isEqual(original));
        EXPECT_EQ(objectAs<NSNumber>(reread->objectForStringKey("Alpha").get())->kind(), NSNumber::Kind::Bool);
        EXPECT_EQ(objectAs<NSNumber>(reread->objectForStringKey("NotifDOutlAlpha").get())->kind(), NSNumber::Kind::Real);
        EXPECT_EQ(objectAs<NSNumber>(reread->objectForStringKey("NotifStyle").get())->kind(), NSNumber::Kind::Integer);
    }
    auto bytes = PropertyList::serialize(original, PropertyList::Format::Binary);
    ASSERT_TRUE(bytes);
    EXPECT_TRUE(bytes->starts_with("bplist00"));
}

TEST_F(PropertyListFiles, UnreadableFilesAreNil)
{
    auto binary = *PropertyList::serialize(NSDictionary::dictionaryWithPairs({ { NSString::string("k"), NSString::string("v") } }), PropertyList::Format::Binary);
    std::string xml(sampleXML);
    struct Case {
        const char* name;
        std::string bytes;
    };
    for (auto& [name, bytes] : std::vector<Case> {
             { "empty", "" },
             { "garbage", "\x01\x02not a property list at all" },
             { "truncated xml", xml.substr(0, xml.size() / 2) },
             { "truncated binary", binary.substr(0, binary.size() - 9) },
             { "binary header only", "bplist00" },
         }) {
        writeDeviceFile("/tmp/bad.plist", bytes);
        EXPECT_EQ(PropertyList::readFile("/tmp/bad.plist"), nullptr) << name;
        EXPECT_EQ(NSDictionary::dictionaryWithContentsOfFile("/tmp/bad.plist"), nullptr) << name;
    }
    EXPECT_EQ(NSDictionary::dictionaryWithContentsOfFile("/tmp/missing.plist"), nullptr);
    EXPECT_EQ(NSDictionary::dictionaryWithContentsOfFile("/tmp"), nullptr);
}

TEST_F(PropertyListFiles, RootOfTheWrongShapeIsNil)
{
    writeDeviceFile("/tmp/array.plist", R"(<plist version="1.0"><array><string>a</string></array></plist>)");
    writeDeviceFile("/tmp/dict.plist", R"(<plist version="1.0"><dict><key>a</key><string>b</string></dict></plist>)");
    EXPECT_EQ(NSDictionary::dictionaryWithContentsOfFile("/tmp/array.plist"), nullptr);
    EXPECT_EQ(NSArray::arrayWithContentsOfFile("/tmp/dict.plist"), nullptr);
    EXPECT_EQ(NSArray::arrayWithContentsOfFile("/tmp/array.plist")->count(), 1u);
}

TEST_F(PropertyListFiles, NonPropertyListContentsAreNotWritten)
{
    auto dictionary = NSMutableDictionary::dictionary();
    dictionary->setObject(NSString::string("v"), NSNumber::numberWithInteger(1));
    EXPECT_FALSE(dictionary->writeToFile("/out.plist", true));
    EXPECT_FALSE(std::filesystem::exists(host("/out.plist")));
    // The folder is not created on the caller's behalf.
    EXPECT_FALSE(NSDictionary::dictionary()->writeToFile("/no/such/folder/out.plist", true));
    EXPECT_TRUE(NSDictionary::dictionary()->writeToFile("/out.plist", false));
    EXPECT_EQ(NSDictionary::dictionaryWithContentsOfFile("/out.plist")->count(), 0u);
}

RefPtr<NSDictionary> versionedDictionary(int version, int entries)
{
    auto dictionary = NSMutableDictionary::dictionary();
    for (int i = 0; i < entries; ++i)
        dictionary->setObjectForStringKey(NSString::string("version " + std::to_string(version) + " entry " + std::to_string(i)), "Key" + std::to_string(i));
    return dictionary;
}

// Every read must see one version whole: all entries present, all from the same write.
TEST_F(PropertyListFiles, AtomicWriteIsSeenWholeByAnotherProcess)
{
    constexpr int entries = 3000;
    constexpr std::string_view path = "/var/mobile/Library/Preferences/shared.plist";
    writeDeviceFile(path, "");
    ASSERT_TRUE(versionedDictionary(0, entries)->writeToFile(path, true));

    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        ::close(ready[0]);
        ::write(ready[1], "x", 1);
        for (int version = 1; version <= 25; ++version) {
            if (!versionedDictionary(version, entries)->writeToFile(path, true))
                ::_exit(1);
        }
        ::_exit(0);
    }
    ::close(ready[1]);
    char started;
    ASSERT_EQ(::read(ready[0], &started, 1), 1);
    ::close(ready[0]);

    std::set<std::string> versionsSeen;
    int status = 0;
    bool writerDone = false;
    for (int read = 0; read < 200 || !writerDone; ++read) {
        writerDone = writerDone || ::waitpid(writer, &status, WNOHANG) == writer;
        auto dictionary = NSDictionary::dictionaryWithContentsOfFile(path);
        ASSERT_TRUE(dictionary) << "read " << read;
        ASSERT_EQ(dictionary->count(), size_t(entries));
        auto first = objectAs<NSString>(dictionary->objectForStringKey("Key0").get())->utf8();
        auto version = first.substr(0, first.find(" entry"));
        auto last = objectAs<NSString>(dictionary->objectForStringKey("Key" + std::to_string(entries - 1)).get())->utf8();
        ASSERT_EQ(last, version + " entry " + std::to_string(entries - 1));
        versionsSeen.insert(version);
        if (writerDone && read >= 200)
            break;
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_GT(versionsSeen.size(), 1u);
    // No temporary files are left beside the target.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(host(path).parent_path()), std::filesystem::directory_iterator()), 1);
}

} // namespace
