#include "platform/foundation/PropertyList.h"

#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSMutableArray.h"
#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"

#include <plist/plist.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <memory>
#include <unistd.h>

namespace {

// Deeper nesting than any real property list; refusing it keeps hostile files off the stack.
constexpr int maximumDepth = 256;
constexpr uintmax_t maximumFileSize = 256u << 20;

struct PlistFree {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;

struct CharFree {
    void operator()(char* text) const { std::free(text); }
};

Id toObject(plist_t node, int depth);

Id dictionaryFromNode(plist_t node, int depth)
{
    auto dictionary = NSMutableDictionary::dictionary();
    plist_dict_iter iterator = nullptr;
    plist_dict_new_iter(node, &iterator);
    if (!iterator)
        return nullptr;
    for (;;) {
        char* rawKey = nullptr;
        plist_t child = nullptr;
        plist_dict_next_item(node, iterator, &rawKey, &child);
        std::unique_ptr<char, CharFree> key(rawKey);
        if (!child)
            break;
        auto value = toObject(child, depth + 1);
        if (!value || !key) {
            std::free(iterator);
            return nullptr;
        }
        dictionary->setObject(value.get(), NSString::string(key.get()).get());
    }
    std::free(iterator);
    return dictionary->copy();
}

Id arrayFromNode(plist_t node, int depth)
{
    auto array = NSMutableArray::array();
    uint32_t size = plist_array_get_size(node);
    for (uint32_t i = 0; i < size; ++i) {
        auto value = toObject(plist_array_get_item(node, i), depth + 1);
        if (!value)
            return nullptr;
        array->addObject(value.get());
    }
    return array->copy();
}

Id toObject(plist_t node, int depth)
{
    if (!node || depth > maximumDepth)
        return nullptr;
    switch (plist_get_node_type(node)) {
    case PLIST_DICT:
        return dictionaryFromNode(node, depth);
    case PLIST_ARRAY:
        return arrayFromNode(node, depth);
    case PLIST_STRING: {
        char* raw = nullptr;
        plist_get_string_val(node, &raw);
        std::unique_ptr<char, CharFree> text(raw);
        return text ? NSString::string(text.get()) : nullptr;
    }
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return NSNumber::numberWithBool(value);
    }
    case PLIST_UINT: {
        // Negative integers arrive in two's complement.
        uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return NSNumber::numberWithInteger(static_cast<NSInteger>(value));
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return NSNumber::numberWithDouble(value);
    }
    case PLIST_DATE: {
        int32_t seconds = 0;
        int32_t microseconds = 0;
        plist_get_date_val(node, &seconds, &microseconds);
        return NSDate::dateWithTimeIntervalSinceReferenceDate(seconds + microseconds / 1e6);
    }
    case PLIST_DATA: {
        char* raw = nullptr;
        uint64_t length = 0;
        plist_get_data_val(node, &raw, &length);
        std::unique_ptr<char, CharFree> bytes(raw);
        if (!bytes)
            return NSData::dataWithBytes(std::string_view());
        return NSData::dataWithBytes(std::string_view(bytes.get(), length));
    }
    default:
        return nullptr;
    }
}

PlistPtr toNode(const Object* object, int depth)
{
    if (!object || depth > maximumDepth)
        return nullptr;
    if (auto* string = dynamic_cast<const NSString*>(object))
        return PlistPtr(plist_new_string(string->UTF8String()));
    if (auto* number = dynamic_cast<const NSNumber*>(object)) {
        switch (number->kind()) {
        case NSNumber::Kind::Bool:
            return PlistPtr(plist_new_bool(number->boolValue()));
        case NSNumber::Kind::Integer:
            return PlistPtr(plist_new_uint(static_cast<uint64_t>(number->integerValue())));
        case NSNumber::Kind::Real:
            return PlistPtr(plist_new_real(number->doubleValue()));
        }
    }
    if (auto* date = dynamic_cast<const NSDate*>(object)) {
        double seconds = date->timeIntervalSinceReferenceDate();
        if (!std::isfinite(seconds) || seconds < INT32_MIN || seconds >= INT32_MAX)
            return nullptr;
        double whole = std::floor(seconds);
        return PlistPtr(plist_new_date(static_cast<int32_t>(whole), static_cast<int32_t>((seconds - whole) * 1e6)));
    }
    if (auto* data = dynamic_cast<const NSData*>(object))
        return PlistPtr(plist_new_data(reinterpret_cast<const char*>(data->bytes().data()), data->bytes().size()));
    if (auto* array = dynamic_cast<const NSArray*>(object)) {
        PlistPtr node(plist_new_array());
        for (auto& element : *array) {
            auto child = toNode(element.get(), depth + 1);
            if (!child)
                return nullptr;
            plist_array_append_item(node.get(), child.release());
        }
        return node;
    }
    if (auto* dictionary = dynamic_cast<const NSDictionary*>(object)) {
        PlistPtr node(plist_new_dict());
        for (auto& entry : *dictionary) {
            auto* key = dynamic_cast<const NSString*>(entry.key.get());
            auto child = toNode(entry.value.get(), depth + 1);
            if (!key || !child)
                return nullptr;
            plist_dict_set_item(node.get(), key->UTF8String(), child.release());
        }
        return node;
    }
    return nullptr;
}

bool writeAll(int descriptor, std::string_view bytes)
{
    while (!bytes.empty()) {
        ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

bool writeInPlace(const std::filesystem::path& hostPath, std::string_view bytes)
{
    int descriptor = ::open(hostPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (descriptor < 0)
        return false;
    bool ok = writeAll(descriptor, bytes);
    return ::close(descriptor) == 0 && ok;
}

bool writeAtomically(const std::filesystem::path& hostPath, std::string_view bytes)
{
    auto folder = hostPath.parent_path();
    std::string temporary = (folder / ("." + hostPath.filename().string() + ".XXXXXX")).string();
    int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0)
        return false;
    bool ok = ::fchmod(descriptor, 0644) == 0 && writeAll(descriptor, bytes) && ::fsync(descriptor) == 0;
    ok = ::close(descriptor) == 0 && ok;
    if (ok)
        ok = ::rename(temporary.c_str(), hostPath.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename itself reaches the disk only with the folder.
    int folderDescriptor = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderDescriptor >= 0) {
        ::fsync(folderDescriptor);
        ::close(folderDescriptor);
    }
    return true;
}

} // namespace

Id PropertyList::fromBytes(std::string_view bytes)
{
    if (bytes.empty() || bytes.size() > UINT32_MAX)
        return nullptr;
    plist_t root = nullptr;
    plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
    PlistPtr owner(root);
    return toObject(root, 0);
}

Id PropertyList::readFile(std::string_view devicePath)
{
    auto hostPath = DeviceRoot::resolve(devicePath);
    if (!hostPath)
        return nullptr;
    return readHostFile(*hostPath);
}

Id PropertyList::readHostFile(const std::filesystem::path& hostPath)
{
    int descriptor = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return nullptr;
    std::string bytes;
    char buffer[65536];
    for (;;) {
        ssize_t got = ::read(descriptor, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            if (got < 0)
                bytes.clear();
            break;
        }
        bytes.append(buffer, static_cast<size_t>(got));
        if (bytes.size() > maximumFileSize) {
            bytes.clear();
            break;
        }
    }
    ::close(descriptor);
    return fromBytes(bytes);
}

std::optional<std::string> PropertyList::serialize(const Object* root, Format format)
{
    auto node = toNode(root, 0);
    if (!node)
        return std::nullopt;
    char* raw = nullptr;
    uint32_t length = 0;
    if (format == Format::XML)
        plist_to_xml(node.get(), &raw, &length);
    else
        plist_to_bin(node.get(), &raw, &length);
    std::unique_ptr<char, CharFree> bytes(raw);
    if (!bytes)
        return std::nullopt;
    return std::string(bytes.get(), length);
}

bool PropertyList::writeFile(const Object* root, std::string_view devicePath, Format format, bool atomically)
{
    auto hostPath = DeviceRoot::resolve(devicePath);
    if (!hostPath)
        return false;
    return writeHostFile(root, *hostPath, format, atomically);
}

bool PropertyList::writeHostFile(const Object* root, const std::filesystem::path& hostPath, Format format, bool atomically)
{
    auto bytes = serialize(root, format);
    if (!bytes || hostPath.filename().empty())
        return false;
    return atomically ? writeAtomically(hostPath, *bytes) : writeInPlace(hostPath, *bytes);
}
