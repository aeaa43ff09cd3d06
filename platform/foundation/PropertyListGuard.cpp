#include "platform/foundation/PropertyListGuard.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

// ---- Binary form -----------------------------------------------------------------------

constexpr size_t headerSize = 8;
constexpr size_t trailerSize = 32;
constexpr size_t objectCost = 16;

enum Marker : uint8_t {
    Singleton = 0x00,
    Integer = 0x10,
    Real = 0x20,
    Date = 0x30,
    Data = 0x40,
    AsciiString = 0x50,
    Utf16String = 0x60,
    Array = 0xA0,
    Set = 0xC0,
    Dictionary = 0xD0,
};

uint64_t readBigEndian(const unsigned char* bytes, size_t size)
{
    uint64_t value = 0;
    for (size_t i = 0; i < size; ++i)
        value = value << 8 | bytes[i];
    return value;
}

// Walks the object graph the way libplist will expand it, depth first, with a stack of its
// own: every offset and reference in bounds, every object of a kind libplist reads, nothing
// on its own path, nothing too deep, and the whole expansion within budget.
class BinaryWalk {
public:
    BinaryWalk(std::string_view bytes, int maximumDepth)
        : m_bytes(reinterpret_cast<const unsigned char*>(bytes.data()))
        , m_size(bytes.size())
        , m_maximumDepth(maximumDepth)
        , m_budget(PropertyListGuard::expansionLimit(bytes.size()))
    {
    }

    bool run()
    {
        if (m_size < headerSize + trailerSize || std::memcmp(m_bytes, "bplist00", headerSize) != 0)
            return false;
        const unsigned char* trailer = m_bytes + m_size - trailerSize;
        m_offsetSize = trailer[6];
        m_referenceSize = trailer[7];
        m_objectCount = readBigEndian(trailer + 8, 8);
        uint64_t root = readBigEndian(trailer + 16, 8);
        m_offsetTable = readBigEndian(trailer + 24, 8);
        size_t tableEnd = m_size - trailerSize;
        if (m_offsetSize < 1 || m_offsetSize > 8 || m_referenceSize < 1 || m_referenceSize > 8)
            return false;
        if (m_offsetTable < headerSize || m_offsetTable >= tableEnd)
            return false;
        if (m_objectCount == 0 || m_objectCount > (tableEnd - m_offsetTable) / m_offsetSize || root >= m_objectCount)
            return false;
        m_onPath.assign(m_objectCount, false);
        m_checked.assign(m_objectCount, false);
        if (!enter(root, 0))
            return false;
        while (!m_stack.empty()) {
            Frame& frame = m_stack.back();
            if (frame.next == frame.slots) {
                m_onPath[frame.index] = false;
                m_stack.pop_back();
                continue;
            }
            uint64_t slot = frame.next++;
            uint64_t child = readBigEndian(m_bytes + frame.references + slot * m_referenceSize, m_referenceSize);
            // A dictionary lists its keys first, then its values; libplist takes only strings as keys.
            bool isKey = frame.isDictionary && slot < frame.slots / 2;
            int depth = frame.depth + 1;
            if (child >= m_objectCount)
                return false;
            if (isKey && !isString(child))
                return false;
            if (!enter(child, depth))
                return false;
        }
        return true;
    }

private:
    struct Header {
        uint8_t marker;
        uint64_t count;
        size_t payload;
        size_t payloadSize;
    };

    struct Frame {
        uint64_t index;
        size_t references;
        uint64_t slots;
        uint64_t next;
        int depth;
        bool isDictionary;
    };

    bool spend(uint64_t units)
    {
        if (units > m_budget)
            return false;
        m_budget -= units;
        return true;
    }

    std::optional<size_t> offsetOf(uint64_t index) const
    {
        uint64_t offset = readBigEndian(m_bytes + m_offsetTable + index * m_offsetSize, m_offsetSize);
        if (offset < headerSize || offset >= m_offsetTable)
            return std::nullopt;
        return static_cast<size_t>(offset);
    }

    // Where the object's contents lie, all of them before the offset table.
    std::optional<Header> header(uint64_t index) const
    {
        auto offset = offsetOf(index);
        if (!offset)
            return std::nullopt;
        size_t position = *offset;
        uint8_t marker = m_bytes[position] & 0xF0;
        uint8_t info = m_bytes[position] & 0x0F;
        ++position;
        size_t available = m_offsetTable - position;
        switch (marker) {
        case Singleton:
            // false and true; libplist reads nothing else of this kind.
            if (info != 0x8 && info != 0x9)
                return std::nullopt;
            return Header { marker, 0, position, 0 };
        case Integer:
        case Real:
        case Date: {
            if ((marker == Integer && info > 4) || (marker == Real && info != 2 && info != 3) || (marker == Date && info != 3))
                return std::nullopt;
            size_t size = size_t(1) << info;
            if (size > available)
                return std::nullopt;
            // libplist keeps the low eight bytes of a 16-byte integer; the high ones must say nothing.
            if (size == 16 && readBigEndian(m_bytes + position, 8) != 0)
                return std::nullopt;
            return Header { marker, 0, position, size };
        }
        case Data:
        case AsciiString:
        case Utf16String:
        case Array:
        case Set:
        case Dictionary:
            break;
        default:
            return std::nullopt;
        }
        uint64_t count = info;
        if (info == 0xF) {
            if (available < 1 || (m_bytes[position] & 0xF0) != Integer || (m_bytes[position] & 0x0F) > 3)
                return std::nullopt;
            size_t size = size_t(1) << (m_bytes[position] & 0x0F);
            if (size + 1 > available)
                return std::nullopt;
            count = readBigEndian(m_bytes + position + 1, size);
            position += 1 + size;
            available -= 1 + size;
        }
        uint64_t unit = marker == Utf16String ? 2 : marker == Array || marker == Set ? m_referenceSize : marker == Dictionary ? 2 * m_referenceSize : 1;
        if (count > available / unit)
            return std::nullopt;
        return Header { marker, count, position, static_cast<size_t>(count * unit) };
    }

    bool isString(uint64_t index) const
    {
        auto found = header(index);
        return found && (found->marker == AsciiString || found->marker == Utf16String);
    }

    bool stringIsSound(const Header& object) const
    {
        const unsigned char* text = m_bytes + object.payload;
        if (object.marker == AsciiString)
            return std::memchr(text, 0, object.payloadSize) == nullptr;
        // UTF-16: no NUL, and every surrogate in a proper pair (libplist drops strays silently).
        bool expectLow = false;
        for (uint64_t i = 0; i < object.count; ++i) {
            unsigned unit = text[2 * i] << 8 | text[2 * i + 1];
            bool high = unit >= 0xD800 && unit <= 0xDBFF;
            bool low = unit >= 0xDC00 && unit <= 0xDFFF;
            if (unit == 0 || low != expectLow || (expectLow && high))
                return false;
            expectLow = high;
        }
        return !expectLow;
    }

    bool enter(uint64_t index, int depth)
    {
        if (depth > m_maximumDepth || m_onPath[index])
            return false;
        auto object = header(index);
        if (!object || !spend(objectCost))
            return false;
        bool container = object->marker == Array || object->marker == Set || object->marker == Dictionary;
        if (!container) {
            // Copied once per reference, checked once.
            if (!spend(object->payloadSize))
                return false;
            if (!m_checked[index] && (object->marker == AsciiString || object->marker == Utf16String) && !stringIsSound(*object))
                return false;
            m_checked[index] = true;
            return true;
        }
        uint64_t slots = object->marker == Dictionary ? 2 * object->count : object->count;
        if (!spend(8 * slots))
            return false;
        m_onPath[index] = true;
        m_stack.push_back({ index, object->payload, slots, 0, depth, object->marker == Dictionary });
        return true;
    }

    const unsigned char* m_bytes;
    size_t m_size;
    int m_maximumDepth;
    uint64_t m_budget;
    size_t m_offsetSize { 0 };
    size_t m_referenceSize { 0 };
    uint64_t m_objectCount { 0 };
    uint64_t m_offsetTable { 0 };
    std::vector<bool> m_onPath;
    std::vector<bool> m_checked;
    std::vector<Frame> m_stack;
};

// ---- XML form --------------------------------------------------------------------------

// Follows libplist's XML reader step by step (same skips of comments, CDATA, quoted text,
// processing instructions and document types) and counts the arrays and dictionaries it
// would hold open. Where libplist would give up, it stops building, so the scan may stop too.
class XMLScan {
public:
    XMLScan(std::string_view bytes, int maximumDepth)
        : m_begin(bytes.data())
        , m_position(bytes.data())
        , m_end(bytes.data() + bytes.size())
        , m_maximumDepth(maximumDepth)
    {
    }

    bool run()
    {
        // XML has no NUL character; libplist would copy one into a string and then assert.
        if (std::memchr(m_begin, 0, static_cast<size_t>(m_end - m_begin)))
            return false;
        while (m_position < m_end) {
            skipWhitespace();
            if (m_position >= m_end)
                break;
            if (*m_position != '<')
                return true;
            ++m_position;
            if (m_position >= m_end)
                return true;
            if (*m_position == '?') {
                findText("?>", true);
                if (remaining() < 2 || !startsWith("?>"))
                    return true;
                m_position += 2;
                continue;
            }
            if (*m_position == '!') {
                if (!skipDeclaration())
                    return true;
                continue;
            }
            switch (element()) {
            case Step::Continue:
                continue;
            case Step::TooDeep:
                return false;
            case Step::Stop:
                return true;
            }
        }
        return true;
    }

private:
    enum class Step { Continue, Stop, TooDeep };

    ptrdiff_t remaining() const { return m_end - m_position; }
    bool startsWith(std::string_view text) const { return remaining() >= ptrdiff_t(text.size()) && std::string_view(m_position, text.size()) == text; }

    static bool isWhitespace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    void skipWhitespace()
    {
        while (m_position < m_end && isWhitespace(*m_position))
            ++m_position;
    }

    void findCharacter(char c)
    {
        while (m_position < m_end && *m_position != c)
            ++m_position;
    }

    // As libplist's find_str: stops short of the last len bytes; quoted text may be skipped.
    void findText(std::string_view text, bool skipQuotes)
    {
        while (m_position < m_end - ptrdiff_t(text.size())) {
            if (startsWith(text))
                break;
            if (skipQuotes && *m_position == '"') {
                ++m_position;
                findCharacter('"');
                if (m_position >= m_end)
                    return;
            }
            ++m_position;
        }
    }

    // As libplist's find_next.
    void findAny(std::string_view characters, bool skipQuotes)
    {
        while (m_position < m_end) {
            if (skipQuotes && *m_position == '"') {
                ++m_position;
                findCharacter('"');
                if (m_position >= m_end)
                    return;
            }
            if (characters.find(*m_position) != std::string_view::npos)
                return;
            ++m_position;
        }
    }

    // After "<!": a comment or a document type. False where libplist gives up.
    bool skipDeclaration()
    {
        if (remaining() > 3 && startsWith("!--")) {
            m_position += 3;
            findText("-->", false);
            if (remaining() < 3 || !startsWith("-->"))
                return false;
            m_position += 3;
            return true;
        }
        if (!(remaining() > 8 && startsWith("!DOCTYPE")))
            return false;
        m_position += 8;
        bool embedded = false;
        while (m_position < m_end) {
            findAny(" \t\r\n[>", true);
            if (m_position >= m_end)
                return false;
            if (*m_position == '[') {
                embedded = true;
                break;
            }
            if (*m_position == '>') {
                ++m_position;
                break;
            }
            skipWhitespace();
        }
        if (embedded) {
            findText("]>", true);
            if (remaining() < 2 || !startsWith("]>"))
                return false;
            m_position += 2;
        }
        return true;
    }

    // The text of a leaf element up to its closing tag, as libplist's get_text_parts.
    bool skipText(std::string_view tag, bool skipLeadingWhitespace)
    {
        if (skipLeadingWhitespace)
            skipWhitespace();
        for (;;) {
            findCharacter('<');
            if (m_position >= m_end)
                return false;
            ++m_position;
            if (m_position >= m_end)
                return false;
            if (*m_position == '/')
                break;
            if (*m_position != '!')
                return false;
            ++m_position;
            if (m_position >= m_end - 1)
                return false;
            if (m_position[0] == '-' && m_position[1] == '-') {
                m_position += 2;
                findText("-->", false);
                if (remaining() < 3 || !startsWith("-->"))
                    return false;
                m_position += 3;
            } else if (*m_position == '[') {
                ++m_position;
                if (m_position >= m_end - 8 || !startsWith("CDATA["))
                    return false;
                m_position += 6;
                findText("]]>", false);
                if (remaining() < 3 || !startsWith("]]>"))
                    return false;
                m_position += 3;
            } else {
                return false;
            }
        }
        ++m_position;
        if (m_position >= m_end - ptrdiff_t(tag.size()) || !startsWith(tag))
            return false;
        m_position += tag.size();
        skipWhitespace();
        if (m_position >= m_end || *m_position != '>')
            return false;
        ++m_position;
        return true;
    }

    Step element()
    {
        const char* start = m_position;
        findAny(" \r\n\t<>", false);
        if (m_position >= m_end)
            return Step::Stop;
        std::string tag(start, m_position);
        size_t tagLength = tag.size();
        if (*m_position != '>')
            findAny("<>", true);
        if (m_position >= m_end || *m_position != '>')
            return Step::Stop;
        bool empty = false;
        if (*(m_position - 1) == '/') {
            size_t index = static_cast<size_t>(m_position - start - 1);
            if (index < tagLength)
                tag.resize(index);
            empty = true;
        }
        ++m_position;

        if (tag == "plist") {
            if (m_open.empty() && m_haveRoot)
                return Step::Stop;
            if (empty)
                return Step::Stop;
            m_open.push_back("plist");
            return Step::Continue;
        }
        if (tag == "/plist") {
            if (m_open.empty() || m_open.back() != "plist")
                return Step::Stop;
            m_open.pop_back();
            return Step::Continue;
        }
        bool container = tag == "dict" || tag == "array";
        bool leaf = tag == "integer" || tag == "real" || tag == "true" || tag == "false" || tag == "string" || tag == "key" || tag == "data" || tag == "date";
        if (!tag.empty() && tag[0] == '/') {
            if (m_open.empty() || m_open.back() != std::string_view(tag).substr(1))
                return Step::Stop;
            m_open.pop_back();
            // libplist climbs to the parent's parent; past the root it stops reading.
            if (--m_parentDepth < 0)
                return Step::Stop;
            return Step::Continue;
        }
        if (!container && !leaf)
            return Step::Stop;
        if (leaf && !empty) {
            bool keepsWhitespace = tag == "string" || tag == "key";
            if (!skipText(tag, !keepsWhitespace))
                return Step::Stop;
        }
        // A key inside a dictionary names the next value and makes no element of its own.
        if (tag == "key" && m_parentDepth >= 0)
            return Step::Continue;
        if (!m_haveRoot) {
            // The first element is the root; a leaf root is the whole list. Even an empty root
            // container becomes the parent of what follows.
            m_haveRoot = true;
            if (!container)
                return Step::Stop;
            m_parentDepth = 0;
            if (!empty)
                m_open.push_back(tag);
            return Step::Continue;
        }
        int depth = m_parentDepth + 1;
        if (depth > m_maximumDepth)
            return Step::TooDeep;
        if (container && !empty) {
            m_open.push_back(tag);
            m_parentDepth = depth;
        }
        return Step::Continue;
    }

    const char* m_begin;
    const char* m_position;
    const char* m_end;
    int m_maximumDepth;
    bool m_haveRoot { false };
    // The depth of the element libplist adds to next, -1 before the root.
    int m_parentDepth { -1 };
    // The element names libplist holds open: plist, dict or array.
    std::vector<std::string> m_open;
};

} // namespace

bool PropertyListGuard::admits(std::string_view bytes, int maximumDepth)
{
    if (bytes.size() >= headerSize && bytes.starts_with("bplist00"))
        return admitsBinary(bytes, maximumDepth);
    return admitsXML(bytes, maximumDepth);
}

bool PropertyListGuard::admitsBinary(std::string_view bytes, int maximumDepth)
{
    return BinaryWalk(bytes, maximumDepth).run();
}

bool PropertyListGuard::admitsXML(std::string_view bytes, int maximumDepth)
{
    return XMLScan(bytes, maximumDepth).run();
}
