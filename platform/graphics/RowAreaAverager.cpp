#include "platform/graphics/RowAreaAverager.h"

#include <algorithm>
#include <cstring>

namespace {

// Adds the four bytes of a word into four sums, each times the weight.
inline void addWeighted(uint32_t* sum, uint32_t word, uint32_t weight)
{
    sum[0] += (word & 0xff) * weight;
    sum[1] += (word >> 8 & 0xff) * weight;
    sum[2] += (word >> 16 & 0xff) * weight;
    sum[3] += (word >> 24) * weight;
}

// The bytes of a run of words summed per byte. Two words are added at a time with their
// bytes spread over 16-bit lanes, emptied before 257 additions of 255 could overflow one.
inline void addRun(uint32_t* sum, const uint32_t* word, size_t count)
{
    constexpr uint64_t laneMask = 0x00ff00ff00ff00ffull;
    constexpr size_t pairsPerChunk = 256;
    while (count >= 2) {
        size_t pairs = std::min(count / 2, pairsPerChunk);
        uint64_t even = 0;
        uint64_t odd = 0;
        for (size_t p = 0; p < pairs; ++p, word += 2) {
            uint64_t two;
            std::memcpy(&two, word, sizeof two);
            even += two & laneMask;
            odd += two >> 8 & laneMask;
        }
        count -= pairs * 2;
        sum[0] += uint32_t((even & 0xffff) + (even >> 32 & 0xffff));
        sum[1] += uint32_t((odd & 0xffff) + (odd >> 32 & 0xffff));
        sum[2] += uint32_t((even >> 16 & 0xffff) + (even >> 48));
        sum[3] += uint32_t((odd >> 16 & 0xffff) + (odd >> 48));
    }
    if (count)
        addWeighted(sum, *word, 1);
}

} // namespace

RowAreaAverager::RowAreaAverager(size_t sourceWidth, size_t sourceHeight, size_t targetWidth, size_t targetHeight)
    : m_sourceWidth(sourceWidth)
    , m_sourceHeight(sourceHeight)
    , m_targetWidth(targetWidth)
    , m_targetHeight(targetHeight)
    , m_rowSums(targetWidth * 4)
    , m_sums(targetWidth * targetHeight * 4)
{
    // Lengths in 1/target of a source pixel, as AreaAverager counts them: a source pixel is
    // `target` long and a target pixel `source` long, so every weight is whole.
    m_columns.reserve(targetWidth);
    for (size_t j = 0; j < targetWidth; ++j) {
        size_t start = j * sourceWidth;
        size_t end = start + sourceWidth;
        Column column { 0, 0, 0, 0, 0, 0 };
        size_t first = start / targetWidth;
        size_t last = (end - 1) / targetWidth;
        size_t runBegin = first;
        size_t runEnd = last + 1;
        if (start % targetWidth) {
            column.left = uint32_t(first);
            column.leftWeight = uint32_t((first + 1) * targetWidth - start);
            ++runBegin;
        }
        if (end % targetWidth && runEnd > runBegin) {
            column.right = uint32_t(last);
            column.rightWeight = uint32_t(end - last * targetWidth);
            --runEnd;
        }
        column.runBegin = uint32_t(runBegin);
        column.runEnd = uint32_t(std::max(runBegin, runEnd));
        m_columns.push_back(column);
    }
    m_rows.reserve(sourceHeight);
    for (size_t y = 0; y < sourceHeight; ++y) {
        size_t start = y * targetHeight;
        size_t end = start + targetHeight;
        size_t k = start / sourceHeight;
        size_t boundary = (k + 1) * sourceHeight;
        RowShare share { uint32_t(k), uint32_t(std::min(end, boundary) - start), 0, 0 };
        if (end > boundary) {
            share.second = uint32_t(k + 1);
            share.secondWeight = uint32_t(end - boundary);
        }
        m_rows.push_back(share);
    }
}

void RowAreaAverager::addRow(const uint32_t* row)
{
    if (m_nextRow >= m_sourceHeight)
        return;
    std::fill(m_rowSums.begin(), m_rowSums.end(), 0);
    uint32_t whole = uint32_t(m_targetWidth);
    for (size_t j = 0; j < m_targetWidth; ++j) {
        const Column& column = m_columns[j];
        uint32_t* sum = &m_rowSums[j * 4];
        addRun(sum, row + column.runBegin, column.runEnd - column.runBegin);
        for (int c = 0; c < 4; ++c)
            sum[c] *= whole;
        if (column.leftWeight)
            addWeighted(sum, row[column.left], column.leftWeight);
        if (column.rightWeight)
            addWeighted(sum, row[column.right], column.rightWeight);
    }
    const RowShare& share = m_rows[m_nextRow++];
    auto addInto = [&](size_t k, uint64_t weight) {
        uint64_t* sums = &m_sums[k * m_targetWidth * 4];
        for (size_t i = 0; i < m_rowSums.size(); ++i)
            sums[i] += m_rowSums[i] * weight;
    };
    addInto(share.first, share.firstWeight);
    if (share.secondWeight)
        addInto(share.second, share.secondWeight);
}

std::vector<uint32_t> RowAreaAverager::target() const
{
    uint64_t total = uint64_t(m_sourceWidth) * m_sourceHeight;
    std::vector<uint32_t> words(m_targetWidth * m_targetHeight);
    for (size_t p = 0; p < words.size(); ++p) {
        uint32_t word = 0;
        for (int c = 0; c < 4; ++c)
            word |= uint32_t((m_sums[p * 4 + c] + total / 2) / total) << (8 * c);
        words[p] = word;
    }
    return words;
}

uint32_t RowAreaAverager::onePixel() const
{
    uint64_t total = uint64_t(m_sourceWidth) * m_sourceHeight;
    uint64_t weightPerPixel = uint64_t(m_targetWidth) * m_targetHeight;
    uint32_t word = 0;
    for (int c = 0; c < 4; ++c) {
        uint64_t sum = 0;
        for (size_t p = 0; p < m_targetWidth * m_targetHeight; ++p)
            sum += m_sums[p * 4 + c];
        word |= uint32_t((sum / weightPerPixel + total / 2) / total) << (8 * c);
    }
    return word;
}
