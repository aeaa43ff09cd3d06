#include "platform/graphics/UIImage.h"

#include "platform/graphics/PNGCodec.h"
#include "platform/graphics/UIGraphics.h"

#include "platform/foundation/DeviceRoot.h"

#include <cerrno>
#include <fstream>
#include <optional>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

Class UIImage::classObject()
{
    static Class cls = ClassBuilder<UIImage>("UIImage", Object::classObject())
                           .method<&UIImage::cgImageObject>("CGImage")
                           .method<&UIImage::size>("size")
                           .method<&UIImage::scale>("scale")
                           .method<static_cast<void (UIImage::*)(CGRect)>(&UIImage::drawInRect)>("drawInRect:")
                           .method<&UIImage::drawInRectBlendMode>("drawInRect:blendMode:alpha:")
                           .method<&UIImage::drawAtPoint>("drawAtPoint:")
                           .build();
    return cls;
}

RefPtr<UIImage> UIImage::imageWithContentsOfFile(std::string_view devicePath)
{
    auto hostPath = DeviceRoot::resolve(devicePath);
    if (!hostPath)
        return nullptr;
    return imageWithContentsOfHostFile(*hostPath);
}

namespace {

// The whole of an open plain file; nothing for anything else, an empty file, a short read,
// or more than any PNG within the decoding limits could need.
std::optional<std::vector<uint8_t>> readPlainFile(int fd)
{
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    if (status.st_size <= 0 || uint64_t(status.st_size) > 4 * PNGCodec::decodingBudget)
        return std::nullopt;
    std::vector<uint8_t> bytes(size_t(status.st_size));
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t count = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return std::nullopt;
        done += size_t(count);
    }
    return bytes;
}

} // namespace

std::optional<std::vector<uint8_t>> UIImage::contentsOfHostFile(const std::filesystem::path& path, Links links)
{
    // One open answers what separate looks would: whether the file is there, is a link and
    // is a plain file. Non-blocking, so a pipe in its place cannot hold the caller.
    int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | (links == Links::Refuse ? O_NOFOLLOW : 0);
    int fd = ::open(path.c_str(), flags);
    if (fd < 0)
        return std::nullopt;
    auto bytes = readPlainFile(fd);
    ::close(fd);
    return bytes;
}

RefPtr<UIImage> UIImage::imageWithContentsOfHostFile(const std::filesystem::path& path, Links links)
{
    auto bytes = contentsOfHostFile(path, links);
    if (!bytes)
        return nullptr;
    return imageWithData(*bytes);
}

RefPtr<UIImage> UIImage::imageWithData(std::span<const uint8_t> png, double scale)
{
    auto bitmap = PNGCodec::decode(png);
    if (!bitmap)
        return nullptr;
    return imageWithCGImage(std::move(bitmap), scale);
}

RefPtr<UIImage> UIImage::imageWithData(NSData* png, double scale)
{
    if (!png)
        return nullptr;
    return imageWithData(std::span<const uint8_t>(png->bytes()), scale);
}

RefPtr<UIImage> UIImage::imageWithCGImage(RefPtr<::CGImage> bitmap, double scale)
{
    auto image = make<UIImage>();
    image->m_cgImage = std::move(bitmap);
    image->m_scale = scale > 0 ? scale : 1.0;
    return image;
}

CGSize UIImage::size() const
{
    if (!m_cgImage)
        return CGSizeZero;
    return CGSizeMake(double(m_cgImage->width()) / m_scale, double(m_cgImage->height()) / m_scale);
}

::CGImage::Pixel UIImage::pixelAt(size_t x, size_t y) const
{
    if (!m_cgImage)
        return {};
    return m_cgImage->pixelAt(x, y);
}

void UIImage::drawInRect(CGRect rect) { drawInRectBlendMode(rect, kCGBlendModeNormal, 1.0); }

void UIImage::drawInRectBlendMode(CGRect rect, int blendMode, double alpha)
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context || !m_cgImage)
        return;
    context->drawImageUpright(rect, m_cgImage.get(), CGBlendMode(blendMode), alpha);
}

void UIImage::drawAtPoint(CGPoint point)
{
    CGSize own = size();
    drawInRect(CGRectMake(point.x, point.y, own.width, own.height));
}

std::optional<std::vector<uint8_t>> UIImage::pngData() const
{
    if (!m_cgImage)
        return std::nullopt;
    return PNGCodec::encode(*m_cgImage);
}

bool UIImage::writePNG(const std::filesystem::path& path) const
{
    auto data = pngData();
    if (!data)
        return false;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data->data()), std::streamsize(data->size()));
    return bool(file);
}

RefPtr<NSData> UIImagePNGRepresentation(UIImage* image)
{
    if (!image)
        return nullptr;
    auto data = image->pngData();
    if (!data)
        return nullptr;
    return NSData::dataWithBytes(std::span<const uint8_t>(*data));
}
