#include "platform/springboard/UIImage+NSBundle.h"

#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSString.h"

#include <array>
#include <filesystem>

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

// A file of the bundle's own folder that can be read as an image. The name is plain, so a
// file that is not a link sits right in the folder: one look at it is enough. A link is
// followed, and must not lead out of the bundle.
bool isImageFileInside(const std::filesystem::path& file, const std::filesystem::path& folder)
{
    std::error_code error;
    auto status = std::filesystem::symlink_status(file, error);
    if (error || !std::filesystem::exists(status))
        return false;
    if (!std::filesystem::is_symlink(status))
        return !std::filesystem::is_directory(status);
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

Id imageNamedInBundleImp(Class, SEL, id name, id bundle)
{
    auto* text = dynamic_cast<NSString*>(name);
    if (!text)
        return nullptr;
    return imageNamedInBundle(text->view(), dynamic_cast<NSBundle*>(bundle));
}

} // namespace

RefPtr<UIImage> imageNamedInBundle(std::string_view name, const NSBundle* bundle)
{
    if (!bundle)
        return nullptr;
    if (name.ends_with(".png"))
        name.remove_suffix(4);
    if (!isPlainName(name))
        return nullptr;
    auto folder = DeviceRoot::resolve(bundle->path());
    if (!folder)
        return nullptr;
    for (auto& variant : variants) {
        auto hostPath = *folder / (std::string(name) + std::string(variant.suffix) + ".png");
        if (!isImageFileInside(hostPath, *folder))
            continue;
        auto image = UIImage::imageWithContentsOfHostFile(hostPath);
        if (!image)
            continue;
        return UIImage::imageWithCGImage(image->cgImage(), variant.scale);
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
