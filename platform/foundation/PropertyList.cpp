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
#include "platform/foundation/PropertyListGuard.h"

#include <plist/plist.h>

#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <memory>
#include <unistd.h>

namespace {

constexpr int maximumDepth = PropertyList::maximumDepth;

// Dates written as XML hold whole seconds of the years 0001 to 9999, all libplist reads back.
constexpr double earliestXMLDate = -63113904000.0;
constexpr double latestXMLDate = 252455615999.0;

struct PlistFree {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;

struct CharFree {
    void operator()(char* text) const { std::free(text); }
};
using PlistBytes = std::unique_ptr<char, CharFree>;

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
bool isValidUTF8(std::string_view text)
{
    size_t i = 0;
    while (i < text.size()) {
        auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            ++i;
            continue;
        }
        size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC2 ? 2 : 0;
        if (!length || byte > 0xF4 || i + length > text.size())
            return false;
        auto second = static_cast<unsigned char>(text[i + 1]);
        if ((byte == 0xE0 && second < 0xA0) || (byte == 0xED && second > 0x9F) || (byte == 0xF0 && second < 0x90) || (byte == 0xF4 && second > 0x8F))
            return false;
        for (size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += length;
    }
    return true;
}

bool isStorableText(std::string_view text)
{
    return text.find('\0') == std::string_view::npos && isValidUTF8(text);
}

// libplist 2.2.0 has no call for a date beyond 32-bit seconds and microseconds, nor for an
// unsigned integer above the signed range; its binary reader makes both from a one-object list.
PlistPtr nodeFromObject(std::string_view object)
{
    std::string bytes = "bplist00";
    bytes += object;
    uint64_t table = bytes.size();
    bytes += char(8);
    std::string trailer(32, '\0');
    trailer[6] = 1;
    trailer[7] = 1;
    trailer[15] = 1;
    for (int i = 0; i < 8; ++i)
        trailer[24 + i] = static_cast<char>(table >> (56 - 8 * i));
    bytes += trailer;
    plist_t node = nullptr;
    plist_from_bin(bytes.data(), static_cast<uint32_t>(bytes.size()), &node);
    return PlistPtr(node);
}

std::string bigEndian(uint64_t value)
{
    std::string bytes(8, '\0');
    for (int i = 0; i < 8; ++i)
        bytes[i] = static_cast<char>(value >> (56 - 8 * i));
    return bytes;
}

// The node as libplist's binary writer stores it, which keeps what the value getters lose.
std::optional<std::string> binaryObject(plist_t node)
{
    PlistPtr copy(plist_copy(node));
    char* raw = nullptr;
    uint32_t length = 0;
    plist_to_bin(copy.get(), &raw, &length);
    PlistBytes bytes(raw);
    // "bplist00", the one object, a one-byte offset table and the trailer.
    if (!bytes || length < 8 + 1 + 1 + 32)
        return std::nullopt;
    return std::string(bytes.get() + 8, length - 8 - 1 - 32);
}

std::optional<double> exactDate(plist_t node)
{
    auto object = binaryObject(node);
    if (!object || object->size() != 9 || static_cast<unsigned char>((*object)[0]) != 0x33)
        return std::nullopt;
    uint64_t bits = 0;
    for (int i = 1; i < 9; ++i)
        bits = bits << 8 | static_cast<unsigned char>((*object)[i]);
    return std::bit_cast<double>(bits);
}

Id integerFromNode(plist_t node)
{
    uint64_t value = 0;
    plist_get_uint_val(node, &value);
    // libplist marks an integer read in the unsigned 128-bit form, which compares unequal to
    // the ordinary node of the same bits.
    PlistPtr ordinary(plist_new_uint(value));
    bool unsignedForm = !plist_compare_node_value(node, ordinary.get());
    if (unsignedForm && value > static_cast<uint64_t>(INT64_MAX))
        return NSNumber::numberWithUnsignedInteger(value);
    // Negative integers arrive in two's complement.
    return NSNumber::numberWithInteger(static_cast<NSInteger>(value));
}

Id toObject(plist_t node, int depth);

Id dictionaryFromNode(plist_t node, int depth)
{
    auto dictionary = NSMutableDictionary::dictionary();
    plist_dict_iter iterator = nullptr;
    plist_dict_new_iter(node, &iterator);
    if (!iterator)
        return nullptr;
    for (;;) {
        // Safe only because the guard let no key holding a NUL through: libplist asserts on one.
        char* rawKey = nullptr;
        plist_t child = nullptr;
        plist_dict_next_item(node, iterator, &rawKey, &child);
        std::unique_ptr<char, CharFree> key(rawKey);
        if (!child)
            break;
        auto value = toObject(child, depth + 1);
        if (!value || !key || !isValidUTF8(key.get())) {
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
        // By length: the getter that copies asserts on a NUL instead of reporting it.
        uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        if (!text)
            return nullptr;
        std::string_view view(text, length);
        if (!isStorableText(view))
            return nullptr;
        return NSString::string(view);
    }
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return NSNumber::numberWithBool(value);
    }
    case PLIST_UINT:
        return integerFromNode(node);
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return NSNumber::numberWithDouble(value);
    }
    case PLIST_DATE: {
        auto seconds = exactDate(node);
        return seconds ? NSDate::dateWithTimeIntervalSinceReferenceDate(*seconds) : nullptr;
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char* bytes = plist_get_data_ptr(node, &length);
        return NSData::dataWithBytes(bytes ? std::string_view(bytes, length) : std::string_view());
    }
    default:
        return nullptr;
    }
}

PlistPtr integerNode(const NSNumber& number)
{
    if (number.isUnsigned())
        return nodeFromObject(std::string(1, char(0x14)) + bigEndian(0) + bigEndian(number.unsignedIntegerValue()));
    return PlistPtr(plist_new_uint(static_cast<uint64_t>(number.integerValue())));
}

PlistPtr dateNode(double seconds, PropertyList::Format format)
{
    if (format == PropertyList::Format::XML && !(seconds >= earliestXMLDate && seconds <= latestXMLDate))
        return nullptr;
    return nodeFromObject(std::string(1, char(0x33)) + bigEndian(std::bit_cast<uint64_t>(seconds)));
}

PlistPtr toNode(const Object* object, int depth, PropertyList::Format format)
{
    if (!object || depth > maximumDepth)
        return nullptr;
    // Text that could not be read back exactly is not written at all.
    if (auto* string = objectCast<const NSString>(object))
        return isStorableText(string->view()) ? PlistPtr(plist_new_string(string->UTF8String())) : nullptr;
    if (auto* number = objectCast<const NSNumber>(object)) {
        switch (number->kind()) {
        case NSNumber::Kind::Bool:
            return PlistPtr(plist_new_bool(number->boolValue()));
        case NSNumber::Kind::Integer:
            return integerNode(*number);
        case NSNumber::Kind::Real:
            return PlistPtr(plist_new_real(number->doubleValue()));
        }
    }
    if (auto* date = objectCast<const NSDate>(object))
        return dateNode(date->timeIntervalSinceReferenceDate(), format);
    if (auto* data = objectCast<const NSData>(object))
        return PlistPtr(plist_new_data(reinterpret_cast<const char*>(data->bytes().data()), data->bytes().size()));
    if (auto* array = objectCast<const NSArray>(object)) {
        PlistPtr node(plist_new_array());
        for (auto& element : *array) {
            auto child = toNode(element.get(), depth + 1, format);
            if (!child)
                return nullptr;
            plist_array_append_item(node.get(), child.release());
        }
        return node;
    }
    if (auto* dictionary = objectCast<const NSDictionary>(object)) {
        PlistPtr node(plist_new_dict());
        for (auto& entry : *dictionary) {
            auto* key = objectCast<const NSString>(entry.key);
            if (!key || !isStorableText(key->view()))
                return nullptr;
            auto child = toNode(entry.value.get(), depth + 1, format);
            if (!child)
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
    if (bytes.empty() || bytes.size() > maximumFileSize)
        return nullptr;
    // Before libplist sees anything: it recurses without limit and asserts on NULs.
    if (!PropertyListGuard::admits(bytes, maximumDepth))
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
    auto node = toNode(root, 0, format);
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
