#include "device/SampleDevice.h"

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

using Design = IconArtist::Design;

constexpr std::string_view containers = "/var/containers/Bundle/Application/";
constexpr std::string_view extensionFolder = "/Library/MobileSubstrate/DynamicLibraries";
constexpr std::string_view rootlessPrefix = "/var/jb";

struct IconSize {
    std::string_view base;
    int points;
};

// Smallest first: the icon lookup takes the last name.
constexpr IconSize iconSizes[] = { { "AppIcon29x29", 29 }, { "AppIcon40x40", 40 }, { "AppIcon60x60", 60 } };

Id string(std::string_view text) { return NSString::string(text); }

fs::path hostPath(const fs::path& root, std::string_view devicePath) { return root / devicePath.substr(1); }

bool writeIfChanged(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    {
        std::ifstream existing(path, std::ios::binary);
        if (existing && std::vector<uint8_t>(std::istreambuf_iterator<char>(existing), {}) == bytes)
            return true;
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(file);
}

bool writePropertyList(const fs::path& path, const Object* root)
{
    auto bytes = PropertyList::serialize(root, PropertyList::Format::Binary);
    return bytes && writeIfChanged(path, std::vector<uint8_t>(bytes->begin(), bytes->end()));
}

bool writeIcon(const fs::path& path, Design design, int pixels)
{
    auto png = IconArtist::drawPNG(design, pixels);
    return png && writeIfChanged(path, *png);
}

std::string executableName(const std::string& name)
{
    std::string executable;
    for (char c : name) {
        if (c != ' ')
            executable += c;
    }
    return executable;
}

bool writeApp(const fs::path& root, const SampleDevice::App& app)
{
    auto folder = hostPath(root, app.folder);
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        return false;
    std::vector<Id> files;
    for (auto& size : iconSizes) {
        files.push_back(string(size.base));
        for (int scale : { 2, 3 }) {
            auto file = std::string(size.base) + "@" + std::to_string(scale) + "x.png";
            if (!writeIcon(folder / file, app.design, size.points * scale))
                return false;
        }
    }
    auto primaryIcon = NSDictionary::dictionaryWithPairs({
        { string("CFBundleIconFiles"), NSArray::arrayWithObjects(files) },
        { string("CFBundleIconName"), string("AppIcon") },
    });
    auto info = NSDictionary::dictionaryWithPairs({
        { string("CFBundleIdentifier"), string(app.identifier) },
        { string("CFBundleName"), string(app.name) },
        { string("CFBundleDisplayName"), string(app.name) },
        { string("CFBundleExecutable"), string(executableName(app.name)) },
        { string("CFBundlePackageType"), string("APPL") },
        { string("CFBundleIcons"), NSDictionary::dictionaryWithPairs({ { string("CFBundlePrimaryIcon"), primaryIcon } }) },
    });
    return writePropertyList(folder / "Info.plist", info.get());
}

bool writeMobileIcons(const fs::path& root)
{
    auto folder = hostPath(root, "/System/Library/PrivateFrameworks/MobileIcons.framework");
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        return false;
    for (int scale : { 2, 3 }) {
        if (!writeIcon(folder / ("DefaultIcon-60@" + std::to_string(scale) + "x.png"), Design::Generic, 60 * scale))
            return false;
    }
    auto info = NSDictionary::dictionaryWithPairs({
        { string("CFBundleIdentifier"), string("com.apple.mobileicons.framework") },
        { string("CFBundleName"), string("MobileIcons") },
        { string("CFBundlePackageType"), string("FMWK") },
    });
    return writePropertyList(folder / "Info.plist", info.get());
}

std::string lowercase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

// Where the root's jailbreak keeps extensions: under "/var/jb" once the root is rootless.
fs::path extensionFolderOf(const fs::path& root)
{
    std::error_code error;
    if (fs::is_directory(hostPath(root, rootlessPrefix), error))
        return hostPath(root, std::string(rootlessPrefix) + std::string(extensionFolder));
    return hostPath(root, extensionFolder);
}

bool isNamed(const fs::path& library, const std::set<std::string>& names)
{
    auto name = lowercase(library.stem().string());
    return std::any_of(names.begin(), names.end(), [&](auto& wanted) { return lowercase(wanted) == name; });
}

} // namespace

const std::vector<SampleDevice::App>& SampleDevice::apps()
{
    // Fixed folder names (container UUIDs included) keep every run's output identical.
    static const std::vector<App> apps {
        { "com.apple.MobileSMS", "Messages", "/Applications/MobileSMS.app", Design::Messages },
        { "com.apple.Music", "Music", "/Applications/Music.app", Design::Music },
        { "com.apple.AppStore", "App Store", "/Applications/AppStore.app", Design::AppStore },
        { "com.apple.mobilecal", "Calendar", "/Applications/MobileCal.app", Design::Calendar },
        { "com.apple.mobilesafari", "Safari", "/Applications/MobileSafari.app", Design::Safari },
        { "com.apple.stocks", "Stocks", "/Applications/Stocks.app", Design::Stocks },
        { "com.apple.mobilephone", "Phone", "/Applications/MobilePhone.app", Design::Phone },
        { "com.apple.mobilemail", "Mail", "/Applications/MobileMail.app", Design::Mail },
        { "com.apple.Preferences", "Settings", "/Applications/Preferences.app", Design::Settings },
        { "com.apple.tips", "Tips", "/Applications/Tips.app", Design::Tips },
        { "com.example.lantern", "Lantern", std::string(containers) + "0B7E3C52-1D4A-4F0E-9C61-5A2B8D7E4F10/Lantern.app", Design::Lantern },
        { "com.example.harbor", "Harbor", std::string(containers) + "6F21A9D3-8E5C-4B7A-A0D2-3C9E1F4B6A82/Harbor.app", Design::Harbor },
        { "com.example.inkwell", "Inkwell", std::string(containers) + "C4D8E2F6-7A1B-4C3D-9E5F-0A1B2C3D4E5F/Inkwell.app", Design::Inkwell },
    };
    return apps;
}

bool SampleDevice::write(const fs::path& root, Layout layout)
{
    for (auto& app : apps()) {
        if (!writeApp(root, app))
            return false;
    }
    if (!writeMobileIcons(root))
        return false;
    std::error_code error;
    fs::create_directories(hostPath(root, "/var/mobile/Library/Preferences"), error);
    if (!error && layout == Layout::Rootless)
        fs::create_directories(hostPath(root, rootlessPrefix), error);
    return !error;
}

bool SampleDevice::installExtensions(const fs::path& root, const fs::path& from, const std::set<std::string>& leftOut)
{
    auto target = extensionFolderOf(root);
    std::error_code error;
    fs::create_directories(target, error);
    if (error)
        return false;
    // Already the root's own libraries: nothing to copy.
    if (fs::equivalent(from, target, error))
        return true;
    error.clear();
    for (auto& entry : fs::directory_iterator(from, error)) {
        auto library = entry.path();
        if (library.extension() != ".dylib" || isNamed(library, leftOut))
            continue;
        auto filter = fs::path(library).replace_extension(".plist");
        fs::copy_file(library, target / library.filename(), fs::copy_options::overwrite_existing, error);
        if (!error && fs::exists(filter))
            fs::copy_file(filter, target / filter.filename(), fs::copy_options::overwrite_existing, error);
        if (error)
            return false;
    }
    return !error;
}

bool SampleDevice::removeExtensions(const fs::path& root, const std::set<std::string>& names)
{
    auto folder = extensionFolderOf(root);
    std::error_code error;
    if (!fs::is_directory(folder, error))
        return true;
    std::vector<fs::path> doomed;
    for (auto& entry : fs::directory_iterator(folder, error)) {
        auto extension = entry.path().extension();
        if ((extension == ".dylib" || extension == ".plist") && isNamed(entry.path(), names))
            doomed.push_back(entry.path());
    }
    for (auto& path : doomed) {
        fs::remove(path, error);
        if (error)
            return false;
    }
    return !error;
}
