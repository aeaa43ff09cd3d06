// Property lists in both forms, read by the platform's one reader and then walked the way
// their readers walk them: as an app's Info.plist by the app records and the stock-icon
// lookup, and as a preferences domain by the preferences object and the Settings app's
// writes.
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzDevice.h"
#include "outside/cephei/HBPreferences.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/ObjectEquality.h"
#include "platform/foundation/PropertyList.h"
#include "platform/settings/PSListController.h"
#include "platform/springboard/AppRecordClasses.h"
#include "platform/springboard/LSBundleProxy.h"
#include "tweak/entry/TintwellMethods.h"
#include "tweak/colour/UIImage+Tintwell.h"

#include <deque>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr std::string_view domain = "com.tintwell.fuzz.walk";
constexpr std::string_view domainFile = "/var/mobile/Library/Preferences/com.tintwell.fuzz.walk.plist";
// A tiny valid icon, so Info.plists naming "Icon" reach the image path.
constexpr unsigned char iconPNG[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52,
    0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0x1f, 0x15, 0xc4,
    0x89, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9c, 0x63, 0xf8, 0xcf, 0xc0, 0xf0,
    0x1f, 0x00, 0x05, 0x00, 0x01, 0xff, 0x89, 0x99, 0x3d, 0x1d, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45,
    0x4e, 0x44, 0xae, 0x42, 0x60, 0x82,
};

const FuzzDevice& walkDevice()
{
    static const FuzzDevice& device = []() -> const FuzzDevice& {
        registerAppRecordClasses();
        registerTintwellMethods();
        return FuzzDevice::shared();
    }();
    return device;
}

std::string fileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Equal, or written the same (a real or date that is NaN is not equal to itself, yet
// round-trips; XML has no text for a NaN date, so binary decides then).
bool sameValue(const Object* a, const Object* b)
{
    if (ObjectEquality::isEqual(a, b))
        return true;
    if (!a || !b)
        return false;
    for (auto format : { PropertyList::Format::XML, PropertyList::Format::Binary }) {
        auto writtenA = PropertyList::serialize(a, format);
        if (writtenA)
            return writtenA == PropertyList::serialize(b, format);
    }
    return false;
}

// Whatever the reader returns can be written in binary, the form domains are stored in, and
// reads back the same. XML may refuse a date it has no text for, but never writes one wrong.
void checkRoundTrip(const Object* root)
{
    for (auto format : { PropertyList::Format::XML, PropertyList::Format::Binary }) {
        auto written = PropertyList::serialize(root, format);
        if (!written && format == PropertyList::Format::XML)
            continue;
        fuzzCheck(written.has_value(), "what was read can be written back");
        auto reread = PropertyList::fromBytes(*written);
        fuzzCheck(reread && sameValue(root, reread.get()), "what was written reads back as what was read");
    }
}

// As the home screen's app records and the extension's stock-icon lookup take an Info.plist.
void walkAsInfoPlist(const FuzzDevice& device, std::string_view bytes, const Object* root)
{
    // A new app folder each time, so the records see an app that was installed just now.
    static unsigned long generation = 0;
    static std::string previous;
    if (!previous.empty())
        device.removeAll(previous);
    previous = "/Applications/Fuzz" + std::to_string(++generation) + ".app";
    device.writeFile(previous + "/Info.plist", bytes);
    device.writeFile(previous + "/Icon@2x.png", std::string_view(reinterpret_cast<const char*>(iconPNG), sizeof iconPNG));

    // A miss first: the records look at the applications folders again.
    LSBundleProxy::bundleProxyForIdentifier("com.tintwell.fuzz.missing");
    RefPtr<NSDictionary> info = objectCast<NSDictionary>(root);
    auto identifier = info ? objectCast<NSString>(info->objectForStringKey("CFBundleIdentifier")) : nullptr;
    if (!identifier)
        return;
    if (auto record = LSBundleProxy::bundleProxyForIdentifier(identifier->view())) {
        record->iconsDictionary();
        record->localizedName();
        record->bundleIdentifier();
    }
    stockImgForID(identifier.get());
}

// As the preferences object binds a domain's keys, and as the Settings app writes one value
// into it: every other value stays exactly as it was, or the file is left untouched.
void walkAsDomain(const FuzzDevice& device, std::string_view bytes, const Object* root)
{
    device.writeFile(domainFile, bytes);
    auto preferences = HBPreferences::preferencesForIdentifier(NSString::string(domain).get());
    fuzzCheck(preferences.get() != nullptr, "a domain always has a preferences object");
    std::deque<bool> bools;
    std::deque<NSInteger> integers;
    std::deque<RefPtr<NSString>> strings;
    if (RefPtr<NSDictionary> values = objectCast<NSDictionary>(root)) {
        size_t bound = 0;
        for (auto& entry : *values) {
            RefPtr<NSString> key = objectCast<NSString>(entry.key);
            if (!key || ++bound > 64)
                continue;
            preferences->registerBooldefaultforKey(&bools.emplace_back(), true, key.get());
            preferences->registerIntegerdefaultforKey(&integers.emplace_back(), 7, key.get());
            preferences->registerObjectdefaultforKey(&strings.emplace_back(), NSString::string("default").get(), key.get());
            preferences->objectForKey(key.get());
        }
    }
    preferences = nullptr;

    auto before = NSDictionary::dictionaryWithContentsOfFile(domainFile);
    auto written = NSString::string("TintwellFuzzWritten");
    auto result = PSListController::writeDomainValue(domain, NSNumber::numberWithInteger(1).get(), written.get());
    if (result != CFPreferences::WriteResult::Written) {
        fuzzCheck(fileBytes(device.hostPath(domainFile)) == bytes, "a refused write leaves the file untouched");
        return;
    }
    if (!before)
        return;
    auto after = NSDictionary::dictionaryWithContentsOfFile(domainFile);
    fuzzCheck(after.get() != nullptr, "a written domain reads back");
    for (auto& entry : *before) {
        if (ObjectEquality::isEqual(entry.key.get(), written.get()))
            continue;
        fuzzCheck(sameValue(entry.value.get(), after->objectForKey(entry.key.get()).get()), "a write keeps every other value exactly");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto& device = walkDevice();
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto root = PropertyList::fromBytes(bytes);
    if (root)
        checkRoundTrip(root.get());
    walkAsInfoPlist(device, bytes, root.get());
    walkAsDomain(device, bytes, root.get());
    return 0;
}
