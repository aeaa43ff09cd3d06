#include "fuzz/PNGGenerator.h"

#include <algorithm>
#include <array>
#include <zlib.h>

namespace {

struct TypeDepths {
    uint8_t colourType;
    std::vector<uint8_t> depths;
    unsigned channels;
};

const std::array<TypeDepths, 5> types { {
    { 0, { 1, 2, 4, 8, 16 }, 1 },
    { 2, { 8, 16 }, 3 },
    { 3, { 1, 2, 4, 8 }, 1 },
    { 4, { 8, 16 }, 2 },
    { 6, { 8, 16 }, 4 },
} };

unsigned channelsOf(uint8_t colourType)
{
    for (auto& type : types) {
        if (type.colourType == colourType)
            return type.channels;
    }
    return 1;
}

// Mostly icon-sized, sometimes exactly at, just past or far past the decoder's limit.
uint32_t dimension(FuzzInput& input)
{
    uint8_t kind = input.byte() % 16;
    if (kind < 12)
        return 1 + input.byte() % 64;
    switch (kind) {
    case 12:
        return 4096;
    case 13:
        return 4097;
    case 14:
        return 0;
    default:
        return input.u32();
    }
}

void appendU32(std::string& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((value >> shift) & 0xff));
}

void appendChunk(std::string& out, const char type[4], std::string_view data)
{
    appendU32(out, static_cast<uint32_t>(data.size()));
    size_t start = out.size();
    out.append(type, 4);
    out.append(data);
    auto checksum = crc32(0, reinterpret_cast<const Bytef*>(out.data() + start), static_cast<uInt>(out.size() - start));
    appendU32(out, static_cast<uint32_t>(checksum));
}

std::string bytesOf(std::span<const uint8_t> bytes) { return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()); }

struct Pass {
    uint32_t xStart, yStart, xStep, yStep;
};
constexpr std::array<Pass, 7> adam7 { { { 0, 0, 8, 8 }, { 4, 0, 8, 8 }, { 0, 4, 4, 8 }, { 2, 0, 4, 4 }, { 0, 2, 2, 4 }, { 1, 0, 2, 2 }, { 0, 1, 1, 2 } } };

uint64_t rowBytes(uint64_t width, const PNGGenerator::Choices& choices)
{
    return (width * channelsOf(choices.colourType) * choices.bitDepth + 7) / 8;
}

// Rows of each pass (or of the whole image), as (count, bytes per row without the filter byte).
std::vector<std::pair<uint64_t, uint64_t>> rowsOf(const PNGGenerator::Choices& choices)
{
    if (!choices.interlaced)
        return { { choices.height, rowBytes(choices.width, choices) } };
    std::vector<std::pair<uint64_t, uint64_t>> rows;
    for (auto& pass : adam7) {
        uint64_t width = choices.width > pass.xStart ? (uint64_t(choices.width) - pass.xStart + pass.xStep - 1) / pass.xStep : 0;
        uint64_t height = choices.height > pass.yStart ? (uint64_t(choices.height) - pass.yStart + pass.yStep - 1) / pass.yStep : 0;
        if (width && height)
            rows.emplace_back(height, rowBytes(width, choices));
    }
    return rows;
}

} // namespace

PNGGenerator::Choices PNGGenerator::readChoices(FuzzInput& input)
{
    Choices choices;
    auto& type = types[input.byte() % types.size()];
    choices.colourType = type.colourType;
    choices.bitDepth = type.depths[input.byte() % type.depths.size()];
    choices.interlaced = input.flag();
    choices.width = dimension(input);
    choices.height = dimension(input);
    return choices;
}

uint64_t PNGGenerator::rawSize(const Choices& choices)
{
    uint64_t size = 0;
    for (auto [count, bytes] : rowsOf(choices))
        size += count * (1 + bytes);
    return size;
}

std::string PNGGenerator::generate(FuzzInput& input)
{
    auto choices = readChoices(input);

    uint8_t options = input.byte();
    bool palette = choices.colourType == 3 || (options & 1);
    bool transparency = options & 2;
    bool anyFilter = options & 4;
    bool cutShort = options & 8;
    bool splitData = options & 16;
    bool ancillary = options & 32;
    int level = input.byte() % 10;

    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    appendU32(header, choices.width);
    appendU32(header, choices.height);
    header.push_back(static_cast<char>(choices.bitDepth));
    header.push_back(static_cast<char>(choices.colourType));
    header.push_back(0);
    header.push_back(0);
    header.push_back(choices.interlaced ? 1 : 0);
    appendChunk(png, "IHDR", header);

    if (ancillary)
        appendChunk(png, "gAMA", bytesOf(input.take(4)));
    if (palette) {
        // A palette shorter than the indices used, or longer than the depth allows, is the decoder's to refuse.
        size_t entries = 1 + input.byte();
        appendChunk(png, "PLTE", bytesOf(input.take(entries * 3)));
    }
    if (transparency) {
        size_t length = choices.colourType == 3 ? input.byte() : choices.colourType == 0 ? 2 : choices.colourType == 2 ? 6 : input.byte() % 8;
        appendChunk(png, "tRNS", bytesOf(input.take(length)));
    }

    // Pixel bytes repeat the rest of the input; filter bytes come from it as well.
    auto pixels = input.rest();
    size_t cursor = 0;
    auto nextPixelByte = [&]() -> uint8_t {
        if (pixels.empty())
            return 0;
        uint8_t value = pixels[cursor];
        cursor = (cursor + 1) % pixels.size();
        return value;
    };
    std::string raw;
    uint64_t wanted = std::min<uint64_t>(rawSize(choices), rawLimit);
    raw.reserve(wanted);
    for (auto [count, bytes] : rowsOf(choices)) {
        for (uint64_t row = 0; row < count && raw.size() < wanted; ++row) {
            uint8_t filter = nextPixelByte();
            raw.push_back(static_cast<char>(anyFilter ? filter : filter % 5));
            for (uint64_t i = 0; i < bytes && raw.size() < wanted; ++i)
                raw.push_back(static_cast<char>(nextPixelByte()));
        }
    }
    if (cutShort && !raw.empty())
        raw.resize(raw.size() / 2);

    std::string compressed(compressBound(static_cast<uLong>(raw.size())), '\0');
    uLongf compressedSize = compressed.size();
    if (compress2(reinterpret_cast<Bytef*>(compressed.data()), &compressedSize, reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()), level) != Z_OK)
        compressedSize = 0;
    compressed.resize(compressedSize);
    if (splitData && compressed.size() > 1) {
        size_t half = compressed.size() / 2;
        appendChunk(png, "IDAT", std::string_view(compressed).substr(0, half));
        appendChunk(png, "IDAT", std::string_view(compressed).substr(half));
    } else {
        appendChunk(png, "IDAT", compressed);
    }
    appendChunk(png, "IEND", "");
    return png;
}
