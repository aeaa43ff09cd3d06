#include "tests/support/TemporaryDevice.h"

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"
#include "tests/support/BinaryPlist.h"

#include <chrono>

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
        texts.push_back(objectCast<NSString>(entry.key)->utf8());
    return texts;
}

class PropertyListFiles : public TemporaryDevice { };

TEST_F(PropertyListFiles, XMLReadsEveryElementTypeInFileOrder)
{
    writeDeviceFile(preferencesPath, sampleXML);
    auto prefs = NSDictionary::dictionaryWithContentsOfFile(preferencesPath);
    ASSERT_TRUE(prefs);
    EXPECT_EQ(keyTexts(prefs.get()), (std::vector<std::string> { "Enabled", "NotifStyle", "NotifDOutlAlpha", "NotifCustomHEX", "Apps", "When", "Blob", "Alpha" }));

    RefPtr<NSNumber> enabled = objectCast<NSNumber>(prefs->objectForStringKey("Enabled"));
    ASSERT_TRUE(enabled);
    EXPECT_EQ(enabled->kind(), NSNumber::Kind::Bool);
    EXPECT_TRUE(enabled->boolValue());
    RefPtr<NSNumber> style = objectCast<NSNumber>(prefs->objectForStringKey("NotifStyle"));
    EXPECT_EQ(style->kind(), NSNumber::Kind::Integer);
    EXPECT_EQ(style->integerValue(), -2);
    RefPtr<NSNumber> alpha = objectCast<NSNumber>(prefs->objectForStringKey("NotifDOutlAlpha"));
    EXPECT_EQ(alpha->kind(), NSNumber::Kind::Real);
    EXPECT_DOUBLE_EQ(alpha->doubleValue(), 0.5);
    EXPECT_EQ(objectCast<NSString>(prefs->objectForStringKey("NotifCustomHEX"))->utf8(), "#ff8800");
    RefPtr<NSArray> apps = objectCast<NSArray>(prefs->objectForStringKey("Apps"));
    ASSERT_TRUE(apps);
    EXPECT_EQ(apps->count(), 2u);
    EXPECT_DOUBLE_EQ(objectCast<NSDate>(prefs->objectForStringKey("When"))->timeIntervalSinceReferenceDate(), 86400.0);
    EXPECT_EQ(objectCast<NSData>(prefs->objectForStringKey("Blob"))->bytes(), (std::vector<uint8_t> { 0, 1, 2 }));
}

TEST_F(PropertyListFiles, RoundTripKeepsOrderAndKindsInBothFormats)
{
    writeDeviceFile(preferencesPath, sampleXML);
    auto original = NSMutableDictionary::dictionaryWithContentsOfFile(preferencesPath);
    ASSERT_TRUE(original);
    original->setObject(NSString::string("new").get(), NSString::string("AAAFirstAlphabetically").get());
    original->setObject(NSNumber::numberWithInteger(10).get(), NSString::string("NotifStyle").get());

    for (auto format : { PropertyList::Format::XML, PropertyList::Format::Binary }) {
        ASSERT_TRUE(PropertyList::writeFile(original.get(), preferencesPath, format, true));
        auto reread = NSDictionary::dictionaryWithContentsOfFile(preferencesPath);
        ASSERT_TRUE(reread);
        EXPECT_EQ(keyTexts(reread.get()), keyTexts(original.get()));
        EXPECT_TRUE(reread->isEqual(original.get()));
        EXPECT_EQ(objectCast<NSNumber>(reread->objectForStringKey("Alpha"))->kind(), NSNumber::Kind::Bool);
        EXPECT_EQ(objectCast<NSNumber>(reread->objectForStringKey("NotifDOutlAlpha"))->kind(), NSNumber::Kind::Real);
        EXPECT_EQ(objectCast<NSNumber>(reread->objectForStringKey("NotifStyle"))->kind(), NSNumber::Kind::Integer);
    }
    auto bytes = PropertyList::serialize(original.get(), PropertyList::Format::Binary);
    ASSERT_TRUE(bytes);
    EXPECT_TRUE(bytes->starts_with("bplist00"));
}

TEST_F(PropertyListFiles, UnreadableFilesAreNil)
{
    auto binary = *PropertyList::serialize(NSDictionary::dictionaryWithPairs({ { NSString::string("k"), NSString::string("v") } }).get(), PropertyList::Format::Binary);
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
    dictionary->setObject(NSString::string("v").get(), NSNumber::numberWithInteger(1).get());
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
        dictionary->setObjectForStringKey(NSString::string("version " + std::to_string(version) + " entry " + std::to_string(i)).get(), "Key" + std::to_string(i));
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
        auto first = objectCast<NSString>(dictionary->objectForStringKey("Key0"))->utf8();
        auto version = first.substr(0, first.find(" entry"));
        auto last = objectCast<NSString>(dictionary->objectForStringKey("Key" + std::to_string(entries - 1)))->utf8();
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

// ---- Hostile input: what libplist would abort or overflow on is nil, the whole file ----

namespace bp = binaryplist;

std::string xmlList(const std::string& body) { return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + body + "</plist>\n"; }

Id readBytes(const std::string& bytes) { return PropertyList::fromBytes(bytes); }

TEST(PropertyListGuard, StringsAndKeysHoldingANulMakeTheWholeListUnreadable)
{
    using namespace std::string_literals;
    struct Case {
        const char* name;
        std::string bytes;
    };
    std::vector<Case> hostile {
        { "xml string", xmlList("<dict><key>Good</key><string>fine</string><key>Bad</key><string>a\0b</string></dict>"s) },
        { "xml key", xmlList("<dict><key>Ba\0d</key><string>fine</string></dict>"s) },
        { "xml decimal entity", xmlList("<dict><key>Bad</key><string>a&#0;b</string></dict>") },
        { "xml hex entity", xmlList("<dict><key>Bad</key><string>a&#x0;b</string></dict>") },
        { "xml NUL between elements", xmlList("<dict><key>A</key><true/>\0</dict>"s) },
        { "binary ascii", bp::dictionaryOf({ { "Good", bp::ascii("fine") }, { "Bad", bp::ascii("a\0b"s) } }) },
        { "binary utf-16", bp::dictionaryOf({ { "Bad", bp::utf16({ 'a', 0, 'b' }) } }) },
    };
    bp::Builder utf16Key;
    hostile.push_back({ "binary utf-16 key", utf16Key.build(utf16Key.add(bp::dictionary({ utf16Key.add(bp::utf16({ 'K', 0 })) }, { utf16Key.add(bp::boolean(true)) }))) });
    for (auto& [name, bytes] : hostile)
        EXPECT_EQ(readBytes(bytes), nullptr) << name;

    // The same lists without the NUL read.
    auto fine = objectCast<NSDictionary>(readBytes(bp::dictionaryOf({ { "Good", bp::ascii("fine") }, { "Text", bp::utf16({ 'a', 0xE9, 'b' }) } })));
    ASSERT_TRUE(fine);
    EXPECT_EQ(objectCast<NSString>(fine->objectForStringKey("Text"))->utf8(), "a\u00e9b");
    EXPECT_TRUE(readBytes(xmlList("<dict><key>Bad</key><string>a&#x41;b</string></dict>")));
}

TEST(PropertyListGuard, TextThatIsNotUTF8MakesTheWholeListUnreadable)
{
    std::vector<std::pair<const char*, std::string>> hostile {
        { "xml latin-1 string", xmlList("<dict><key>CustomHint</key><string>caf\xE9</string></dict>") },
        { "xml key", xmlList("<dict><key>K\xFF</key><string>v</string></dict>") },
        { "xml overlong", xmlList("<array><string>\xC0\xAF</string></array>") },
        { "xml surrogate entity", xmlList("<array><string>&#xD800;</string></array>") },
        { "binary latin-1", bp::dictionaryOf({ { "CustomHint", bp::ascii("caf\xE9") } }) },
        { "binary lone high surrogate", bp::dictionaryOf({ { "K", bp::utf16({ 'a', 0xD83D }) } }) },
        { "binary lone low surrogate", bp::dictionaryOf({ { "K", bp::utf16({ 0xDE00, 'a' }) } }) },
        { "binary reversed pair", bp::dictionaryOf({ { "K", bp::utf16({ 0xDE00, 0xD83D }) } }) },
    };
    for (auto& [name, bytes] : hostile)
        EXPECT_EQ(readBytes(bytes), nullptr) << name;

    auto emoji = objectCast<NSDictionary>(readBytes(bp::dictionaryOf({ { "K", bp::utf16({ 0xD83D, 0xDE00 }) } })));
    ASSERT_TRUE(emoji);
    EXPECT_EQ(objectCast<NSString>(emoji->objectForStringKey("K"))->utf8(), "\xF0\x9F\x98\x80");
    EXPECT_TRUE(readBytes(xmlList("<dict><key>CustomHint</key><string>caf\xC3\xA9</string></dict>")));
}

TEST(PropertyListGuard, TextThatCouldNotBeReadBackIsNeverWritten)
{
    using namespace std::string_literals;
    for (auto text : { "a\0b"s, "caf\xE9"s }) {
        auto asValue = NSDictionary::dictionaryWithPairs({ { NSString::string("K"), NSString::string(text) } });
        auto asKey = NSDictionary::dictionaryWithPairs({ { NSString::string(text), NSString::string("v") } });
        for (auto format : { PropertyList::Format::XML, PropertyList::Format::Binary }) {
            EXPECT_FALSE(PropertyList::serialize(asValue.get(), format));
            EXPECT_FALSE(PropertyList::serialize(asKey.get(), format));
        }
    }
}

std::string nestedXMLArrays(int depth, const std::string& before = "")
{
    std::string body = before;
    for (int i = 0; i < depth; ++i)
        body += "<array>";
    for (int i = 0; i < depth; ++i)
        body += "</array>";
    return xmlList(body);
}

// Depth counts levels below the root: the innermost of 257 nested arrays is at 256.
TEST(PropertyListGuard, NestingIsReadUpToTheLimitInBothForms)
{
    constexpr int levels = PropertyList::maximumDepth + 1;
    EXPECT_TRUE(readBytes(nestedXMLArrays(levels)));
    EXPECT_TRUE(readBytes(bp::nestedArrays(levels)));
    EXPECT_EQ(readBytes(nestedXMLArrays(levels + 1)), nullptr);
    EXPECT_EQ(readBytes(bp::nestedArrays(levels + 1)), nullptr);
}

TEST(PropertyListGuard, HundredThousandLevelsAreRefusedQuicklyInBothForms)
{
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(readBytes(nestedXMLArrays(100000)), nullptr);
    EXPECT_EQ(readBytes(bp::nestedArrays(100000)), nullptr);
    // An empty root still adopts what follows it in libplist's reader.
    EXPECT_EQ(readBytes(nestedXMLArrays(100000, "<array/>")), nullptr);
    // Unclosed: libplist builds the tree before it notices, then frees it recursively.
    std::string unclosed;
    for (int i = 0; i < 100000; ++i)
        unclosed += "<dict><key>k</key>";
    EXPECT_EQ(readBytes(unclosed), nullptr);
    // Comments, CDATA and quoted text skipped as libplist skips them do not hide nesting.
    std::string disguised = "<?xml version=\"1.0\"?><!DOCTYPE plist \"]>\"><plist><array><!-- </array> --><string><![CDATA[</array>]]></string>";
    for (int i = 0; i < 100000; ++i)
        disguised += "<array x=\"</array>\">";
    EXPECT_EQ(readBytes(disguised), nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST(PropertyListGuard, CyclesAndRunawaySharingInBinaryListsAreRefused)
{
    bp::Builder self;
    self.add(bp::array({ 0 }));
    EXPECT_EQ(readBytes(self.build(0)), nullptr);

    bp::Builder loop;
    loop.add(bp::array({ 1 }));
    loop.add(bp::dictionary({ 2 }, { 0 }));
    loop.add(bp::ascii("key"));
    EXPECT_EQ(readBytes(loop.build(0)), nullptr);

    // Each level refers twice to the one below: 2^60 objects once expanded.
    bp::Builder bomb;
    uint64_t level = bomb.add(bp::ascii("leaf"));
    for (int i = 0; i < 60; ++i)
        level = bomb.add(bp::array({ level, level }));
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(readBytes(bomb.build(level)), nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));

    // Shared strings, as writers unique them, are ordinary.
    bp::Builder shared;
    uint64_t name = shared.add(bp::ascii("CFBundleIconFiles"));
    uint64_t icon = shared.add(bp::ascii("AppIcon60x60"));
    uint64_t inner = shared.add(bp::dictionary({ name }, { icon }));
    auto list = objectCast<NSArray>(readBytes(shared.build(shared.add(bp::array({ inner, inner, icon })))));
    ASSERT_TRUE(list);
    EXPECT_EQ(list->count(), 3u);
}

TEST(PropertyListGuard, MalformedBinaryStructureIsUnreadable)
{
    auto good = bp::dictionaryOf({ { "K", bp::ascii("v") } });
    ASSERT_TRUE(readBytes(good));
    auto patched = [&](size_t fromEnd, char byte) {
        std::string bytes = good;
        bytes[bytes.size() - fromEnd] = byte;
        return bytes;
    };
    EXPECT_EQ(readBytes(patched(26, 0)), nullptr) << "offset size 0";
    EXPECT_EQ(readBytes(patched(25, 9)), nullptr) << "reference size 9";
    EXPECT_EQ(readBytes(patched(1, 0x7f)), nullptr) << "offset table past the end";
    EXPECT_EQ(readBytes(patched(9, 5)), nullptr) << "root beyond the objects";
    bp::Builder dangling;
    EXPECT_EQ(readBytes(dangling.build(dangling.add(bp::array({ 7 })))), nullptr);
    bp::Builder numberKey;
    EXPECT_EQ(readBytes(numberKey.build(numberKey.add(bp::dictionary({ numberKey.add(bp::integer(1)) }, { 0 })))), nullptr);
    bp::Builder wideInteger;
    EXPECT_EQ(readBytes(wideInteger.build(wideInteger.add('\x14' + bp::bigEndian(1, 8) + bp::bigEndian(0, 8)))), nullptr) << "a 128-bit value libplist would cut";
}

// ---- Values that must come back exactly ------------------------------------------------

TEST(PropertyListValues, BinaryDatesAndIntegersRoundTripExactly)
{
    const std::vector<double> dates { 0, 123456789.123456789, -0.5, -1.25e9, 63113904000.0, -63114076800.0, 1e15 };
    const std::vector<std::pair<std::string, std::string>> entries {
        { "Fraction", bp::date(dates[1]) },
        { "JustBefore", bp::date(dates[2]) },
        { "Past", bp::date(dates[3]) },
        { "DistantFuture", bp::date(dates[4]) },
        { "DistantPast", bp::date(dates[5]) },
        { "Far", bp::date(dates[6]) },
        { "Largest", bp::unsignedInteger(UINT64_MAX) },
        { "AboveSigned", bp::unsignedInteger(uint64_t(INT64_MAX) + 2) },
        { "Smallest", bp::integer(INT64_MIN) },
        { "MinusOne", bp::integer(-1) },
        { "Real", bp::real(0.1) },
    };
    auto read = objectCast<NSDictionary>(readBytes(bp::dictionaryOf(entries)));
    ASSERT_TRUE(read);
    auto check = [&](const NSDictionary* values) {
        for (size_t i = 1; i < 7; ++i)
            EXPECT_EQ(objectCast<NSDate>(values->objectForStringKey(entries[i - 1].first))->timeIntervalSinceReferenceDate(), dates[i]) << entries[i - 1].first;
        RefPtr<NSNumber> largest = objectCast<NSNumber>(values->objectForStringKey("Largest"));
        EXPECT_TRUE(largest->isUnsigned());
        EXPECT_EQ(largest->unsignedIntegerValue(), UINT64_MAX);
        EXPECT_EQ(objectCast<NSNumber>(values->objectForStringKey("AboveSigned"))->unsignedIntegerValue(), uint64_t(INT64_MAX) + 2);
        EXPECT_EQ(objectCast<NSNumber>(values->objectForStringKey("Smallest"))->integerValue(), INT64_MIN);
        EXPECT_FALSE(objectCast<NSNumber>(values->objectForStringKey("Smallest"))->isUnsigned());
        EXPECT_EQ(objectCast<NSNumber>(values->objectForStringKey("MinusOne"))->integerValue(), -1);
        EXPECT_EQ(objectCast<NSNumber>(values->objectForStringKey("Real"))->doubleValue(), 0.1);
    };
    check(read.get());
    auto written = PropertyList::serialize(read.get(), PropertyList::Format::Binary);
    ASSERT_TRUE(written);
    auto reread = objectCast<NSDictionary>(readBytes(*written));
    ASSERT_TRUE(reread);
    check(reread.get());
    EXPECT_TRUE(reread->isEqual(read.get()));
}

TEST(PropertyListValues, XMLKeepsWholeSecondsOfFourDigitYearsAndBigIntegers)
{
    auto values = NSDictionary::dictionaryWithPairs({
        { NSString::string("Date"), NSDate::dateWithTimeIntervalSinceReferenceDate(63000000000.0) },
        { NSString::string("Early"), NSDate::dateWithTimeIntervalSinceReferenceDate(-63000000000.0) },
        { NSString::string("Largest"), NSNumber::numberWithUnsignedInteger(UINT64_MAX) },
        { NSString::string("Smallest"), NSNumber::numberWithInteger(INT64_MIN) },
    });
    auto xml = PropertyList::serialize(values.get(), PropertyList::Format::XML);
    ASSERT_TRUE(xml);
    auto reread = objectCast<NSDictionary>(readBytes(*xml));
    ASSERT_TRUE(reread);
    EXPECT_TRUE(reread->isEqual(values.get())) << *xml;
    // Past year 9999 the XML form has no way back: not written rather than written wrong.
    auto far = NSDictionary::dictionaryWithPairs({ { NSString::string("Date"), NSDate::dateWithTimeIntervalSinceReferenceDate(1e15) } });
    EXPECT_FALSE(PropertyList::serialize(far.get(), PropertyList::Format::XML));
    EXPECT_TRUE(PropertyList::serialize(far.get(), PropertyList::Format::Binary));
}

} // namespace
