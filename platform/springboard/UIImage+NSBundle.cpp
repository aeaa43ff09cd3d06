#include "platform/springboard/UIImage+NSBundle.h"

#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSString.h"

#include <array>
#include <filesystem>
#include <vector>

namespace {

struct Variant {
    std::string_view suffix;
    double scale;
};

// The phone's screen is @2x first; @3x and plain files stand in when it is missing.
constexpr std::array<Variant, 3> variants { { { "@2x", 2.0 }, { "@3x", 3.0 }, { "", 1.0 } } };

bool isPlainName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos
        && name.find('\0') == std::string_view::npos;
}

// A link inside the bundle's folder to an image file that is also inside it. Names are
// plain, so only a link can lead elsewhere.
bool isLinkToImageInside(const std::filesystem::path& file, const std::filesystem::path& folder)
{
    std::error_code error;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(file, error)) || error)
        return false;
    if (std::filesystem::is_directory(file, error) || error)
        return false;
    auto realFile = std::filesystem::canonical(file, error);
    if (error)
        return false;
    auto realFolder = std::filesystem::canonical(folder, error);
    if (error)
        return false;
    auto relative = realFile.lexically_relative(realFolder);
    return !relative.empty() && *relative.begin() != "..";
}

// Opened without following links, so the common case, a plain file, costs one open; a
// link is looked at only when that fails.
RefPtr<UIImage> imageFileInside(const std::filesystem::path& file, const std::filesystem::path& folder)
{
    if (auto image = UIImage::imageWithContentsOfHostFile(file, UIImage::Links::Refuse))
        return image;
    if (isLinkToImageInside(file, folder))
        return UIImage::imageWithContentsOfHostFile(file);
    return nullptr;
}

Id imageNamedInBundleImp(Class, SEL, id name, id bundle)
{
    auto* text = objectCast<NSString>(name);
    if (!text)
        return nullptr;
    return imageNamedInBundle(text->view(), objectCast<NSBundle>(bundle));
}

} // namespace

std::vector<ImageFileCandidate> imageFileCandidates(std::string_view name, const NSBundle* bundle)
{
    if (!bundle)
        return {};
    if (name.ends_with(".png"))
        name.remove_suffix(4);
    if (!isPlainName(name))
        return {};
    auto folder = DeviceRoot::resolve(bundle->path());
    if (!folder)
        return {};
    std::vector<ImageFileCandidate> candidates;
    for (auto& variant : variants)
        candidates.push_back({ *folder / (std::string(name) + std::string(variant.suffix) + ".png"), *folder, variant.scale });
    return candidates;
}

RefPtr<UIImage> imageNamedInBundle(std::string_view name, const NSBundle* bundle)
{
    for (auto& candidate : imageFileCandidates(name, bundle)) {
        auto image = imageFileInside(candidate.file, candidate.folder);
        if (!image)
            continue;
        return UIImage::imageWithCGImage(image->cgImage(), candidate.scale);
    }
    return nullptr;
}

void registerUIImageNSBundle()
{
    static const bool registered = [] {
        return class_addClassMethod(UIImage::classObject(), sel_registerName("imageNamed:inBundle:"), &imageNamedInBundleImp);
    }();
    (void)registered;
}
