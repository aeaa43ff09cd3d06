#include "platform/graphics/AreaAverager.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Coverage of source pixels by each target pixel along one axis. Lengths are counted in
// 1/target of a source pixel, so every weight is a whole number and a target pixel's
// weights add up to the source length.
struct AxisWeights {
    struct Entry {
        uint32_t source;
        uint32_t weight;
    };
    std::vector<uint32_t> begin; // index into entries, one past the end for the last
    std::vector<Entry> entries;
    uint32_t total { 0 };
    bool uniform { false };

    AxisWeights(size_t sourceLength, size_t targetLength)
        : total(uint32_t(sourceLength))
        , uniform(sourceLength % targetLength == 0)
    {
        begin.reserve(targetLength + 1);
        entries.reserve(sourceLength + targetLength);
        for (size_t j = 0; j < targetLength; ++j) {
            begin.push_back(uint32_t(entries.size()));
            size_t start = j * sourceLength;
            size_t end = start + sourceLength;
            for (size_t i = start / targetLength; i * targetLength < end; ++i) {
                size_t from = std::max(start, i * targetLength);
                size_t to = std::min(end, (i + 1) * targetLength);
                entries.push_back({ uint32_t(i), uint32_t(to - from) });
            }
        }
        begin.push_back(uint32_t(entries.size()));
    }
};

// Sums the four bytes of each word separately: the mean is the same per byte whatever
// channel a byte holds.
inline void accumulate(uint32_t* sum, uint32_t word, uint32_t weight)
{
    sum[0] += (word & 0xff) * weight;
    sum[1] += (word >> 8 & 0xff) * weight;
    sum[2] += (word >> 16 & 0xff) * weight;
    sum[3] += (word >> 24) * weight;
}

void shrinkRow(const uint32_t* row, const AxisWeights& columns, size_t targetWidth, uint32_t* out)
{
    if (columns.uniform) {
        // Whole source pixels per target pixel: a plain sum, scaled to the same units.
        size_t run = columns.total / targetWidth;
        uint32_t weight = uint32_t(targetWidth);
        for (size_t j = 0; j < targetWidth; ++j, row += run) {
            uint32_t sum[4] = {};
            for (size_t i = 0; i < run; ++i) {
                uint32_t word = row[i];
                sum[0] += word & 0xff;
                sum[1] += word >> 8 & 0xff;
                sum[2] += word >> 16 & 0xff;
                sum[3] += word >> 24;
            }
            for (int c = 0; c < 4; ++c)
                out[j * 4 + c] = sum[c] * weight;
        }
        return;
    }
    for (size_t j = 0; j < targetWidth; ++j) {
        uint32_t sum[4] = {};
        for (uint32_t e = columns.begin[j]; e < columns.begin[j + 1]; ++e)
            accumulate(sum, row[columns.entries[e].source], columns.entries[e].weight);
        for (int c = 0; c < 4; ++c)
            out[j * 4 + c] = sum[c];
    }
}

// Whole blocks of source pixels per target pixel, as icons shrunk to a small grid have:
// each block is summed straight into its pixel, with no weights and no per-row pass.
// Two pixels are added at a time with their bytes spread over 16-bit lanes (bytes 0 and 2
// in one word, 1 and 3 in another); a lane holds 257 additions of 255, so the lanes are
// emptied into 32-bit sums before they could overflow.
constexpr size_t laneCapacity = 256;

bool fitsBlocks(const CGImage& source, size_t width, size_t height)
{
    return source.width() % width == 0 && source.height() % height == 0 && source.width() / width / 2 <= laneCapacity;
}

void shrinkBlocks(const CGImage& source, CGImage& target, size_t width, size_t height)
{
    constexpr uint64_t laneMask = 0x00ff00ff00ff00ffull;
    size_t blockWidth = source.width() / width;
    size_t blockHeight = source.height() / height;
    size_t pairs = blockWidth / 2;
    bool oddWidth = blockWidth % 2;
    // The same units and rounding as the weighted path: every weight there is width × height.
    uint64_t scale = uint64_t(width) * height;
    uint64_t total = uint64_t(source.width()) * source.height();
    std::vector<const uint32_t*> rows(blockHeight);
    for (size_t k = 0; k < height; ++k) {
        for (size_t r = 0; r < blockHeight; ++r)
            rows[r] = source.rowAt(k * blockHeight + r);
        uint32_t* out = target.rowAt(k);
        for (size_t j = 0; j < width; ++j) {
            // A block's sum stays below 255 × 4096 × 4096 < 2^32.
            uint32_t sum[4] = {};
            uint64_t even = 0;
            uint64_t odd = 0;
            size_t pairsInLanes = 0;
            auto emptyLanes = [&] {
                sum[0] += uint32_t((even & 0xffff) + (even >> 32 & 0xffff));
                sum[1] += uint32_t((odd & 0xffff) + (odd >> 32 & 0xffff));
                sum[2] += uint32_t((even >> 16 & 0xffff) + (even >> 48));
                sum[3] += uint32_t((odd >> 16 & 0xffff) + (odd >> 48));
                even = odd = 0;
                pairsInLanes = 0;
            };
            for (const uint32_t* row : rows) {
                const uint32_t* pixel = row + j * blockWidth;
                if (pairsInLanes + pairs > laneCapacity)
                    emptyLanes();
                for (size_t pair = 0; pair < pairs; ++pair, pixel += 2) {
                    uint64_t twoPixels;
                    std::memcpy(&twoPixels, pixel, sizeof twoPixels);
                    even += twoPixels & laneMask;
                    odd += twoPixels >> 8 & laneMask;
                }
                pairsInLanes += pairs;
                if (oddWidth) {
                    uint32_t word = *pixel;
                    sum[0] += word & 0xff;
                    sum[1] += word >> 8 & 0xff;
                    sum[2] += word >> 16 & 0xff;
                    sum[3] += word >> 24;
                }
            }
            emptyLanes();
            uint32_t word = 0;
            for (int c = 0; c < 4; ++c)
                word |= uint32_t((sum[c] * scale + total / 2) / total) << (8 * c);
            out[j] = word;
        }
    }
}

} // namespace

RefPtr<CGImage> AreaAverager::shrink(const CGImage& source, size_t width, size_t height)
{
    if (!width || !height || width > source.width() || height > source.height())
        return nullptr;
    auto target = CGImage::create(width, height);
    if (!target)
        return nullptr;
    if (fitsBlocks(source, width, height)) {
        shrinkBlocks(source, *target, width, height);
        return target;
    }
    AxisWeights columns(source.width(), width);
    AxisWeights rows(source.height(), height);
    // Per-row sums stay below 255 × 4096 × 4096 < 2^32; the column sums need 64 bits.
    std::vector<uint32_t> rowSums(width * 4);
    std::vector<uint64_t> sums(width * 4);
    uint64_t total = uint64_t(columns.total) * rows.total;
    for (size_t k = 0; k < height; ++k) {
        std::fill(sums.begin(), sums.end(), 0);
        for (uint32_t e = rows.begin[k]; e < rows.begin[k + 1]; ++e) {
            shrinkRow(source.rowAt(rows.entries[e].source), columns, width, rowSums.data());
            uint64_t weight = rows.entries[e].weight;
            for (size_t i = 0; i < sums.size(); ++i)
                sums[i] += rowSums[i] * weight;
        }
        uint32_t* out = target->rowAt(k);
        for (size_t j = 0; j < width; ++j) {
            uint32_t word = 0;
            for (int c = 0; c < 4; ++c)
                word |= uint32_t((sums[j * 4 + c] + total / 2) / total) << (8 * c);
            out[j] = word;
        }
    }
    return target;
}
