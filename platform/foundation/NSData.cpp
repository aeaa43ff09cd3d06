#include "platform/foundation/NSData.h"

#include "platform/foundation/DeviceRoot.h"

#include <fstream>
#include <functional>
#include <iterator>

Class NSData::classObject()
{
    static Class cls = ClassBuilder<NSData>("NSData", Object::classObject())
                           .method<&NSData::isEqualImpl>("isEqual:")
                           .method<&NSData::hash>("hash")
                           .method<&NSData::length>("length")
                           .build();
    return cls;
}

RefPtr<NSData> NSData::dataWithBytes(std::span<const uint8_t> bytes)
{
    return make<NSData>(std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

RefPtr<NSData> NSData::dataWithBytes(std::string_view bytes)
{
    return make<NSData>(std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

RefPtr<NSData> NSData::dataWithContentsOfFile(std::string_view devicePath)
{
    auto hostPath = DeviceRoot::resolve(devicePath);
    if (!hostPath)
        return nullptr;
    std::error_code error;
    if (!std::filesystem::is_regular_file(*hostPath, error))
        return nullptr;
    std::ifstream file(*hostPath, std::ios::binary);
    if (!file)
        return nullptr;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad())
        return nullptr;
    return make<NSData>(std::move(bytes));
}

bool NSData::isEqual(const Object* other) const
{
    return other == this || isEqualToData(objectCast<const NSData>(other));
}

NSUInteger NSData::hash() const
{
    auto view = std::string_view(reinterpret_cast<const char*>(m_bytes.data()), m_bytes.size());
    return std::hash<std::string_view> {}(view.substr(0, 80));
}
