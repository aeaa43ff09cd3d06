#include "platform/graphics/RowAreaAverager.h"

#include <algorithm>

namespace {

// A 16-bit sum holds 257 bytes of 255.
constexpr uint32_t wholeRowsPerSpill = 257;

} // namespace

RowAreaAverager::RowAreaAverager(size_t sourceWidth, size_t sourceHeight, size_t targetWidth, size_t targetHeight)
    : m_sourceWidth(sourceWidth)
    , m_sourceHeight(sourceHeight)
    , m_targetWidth(targetWidth)
    , m_targetHeight(targetHeight)
    , m_whole(sourceWidth * 4)
    , m_weighted(sourceWidth * 4)
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
}

void RowAreaAverager::addWhole(const uint8_t* row)
{
    // Plain widening adds the compiler turns into vector code.
    uint16_t* whole = m_whole.data();
    for (size_t i = 0, n = m_whole.size(); i < n; ++i)
        whole[i] = uint16_t(whole[i] + row[i]);
    if (++m_wholeRows == wholeRowsPerSpill)
        spillWhole();
}

void RowAreaAverager::addWeighted(const uint8_t* row, uint32_t weight)
{
    uint32_t* weighted = m_weighted.data();
    size_t n = m_weighted.size();
    // A part of a row weighs less than a whole one; while 255 × weight fits 16 bits, the
    // products are made 16 bits wide, eight at a time in vector code.
    if (weight * 255 <= UINT16_MAX) {
        auto narrow = uint16_t(weight);
        for (size_t i = 0; i < n; ++i)
            weighted[i] += uint16_t(row[i] * narrow);
        return;
    }
    for (size_t i = 0; i < n; ++i)
        weighted[i] += row[i] * weight;
}

// Only a band of more than 257 rows gets here.
void RowAreaAverager::spillWhole()
{
    // A whole row weighs the target height.
    uint32_t weight = uint32_t(m_targetHeight);
    for (size_t i = 0; i < m_whole.size(); ++i)
        m_weighted[i] += m_whole[i] * weight;
    std::fill(m_whole.begin(), m_whole.end(), 0);
    m_wholeRows = 0;
}

void RowAreaAverager::closeBand()
{
    // Whole rows weigh the target height; they are weighed here, once per column.
    const uint16_t* whole = m_whole.data();
    const uint32_t* weighted = m_weighted.data();
    uint64_t* sums = &m_sums[m_band * m_targetWidth * 4];
    uint64_t rowWeight = m_targetHeight;
    uint64_t columnWeight = m_targetWidth;
    auto pixelSum = [&](size_t x, size_t c) { return whole[x * 4 + c] * rowWeight + weighted[x * 4 + c]; };
    for (size_t j = 0; j < m_targetWidth; ++j) {
        const Column& column = m_columns[j];
        uint64_t runWhole[4] = {};
        uint64_t runWeighted[4] = {};
        for (size_t x = column.runBegin; x < column.runEnd; ++x) {
            for (size_t c = 0; c < 4; ++c) {
                runWhole[c] += whole[x * 4 + c];
                runWeighted[c] += weighted[x * 4 + c];
            }
        }
        for (size_t c = 0; c < 4; ++c) {
            uint64_t sum = (runWhole[c] * rowWeight + runWeighted[c]) * columnWeight;
            sum += pixelSum(column.left, c) * column.leftWeight;
            sum += pixelSum(column.right, c) * column.rightWeight;
            sums[j * 4 + c] += sum;
        }
    }
    std::fill(m_whole.begin(), m_whole.end(), 0);
    std::fill(m_weighted.begin(), m_weighted.end(), 0);
    m_wholeRows = 0;
    ++m_band;
}

void RowAreaAverager::addRow(const uint8_t* row)
{
    if (m_nextRow >= m_sourceHeight)
        return;
    // The row covers [start, end) and band k covers [k × source, (k + 1) × source), in
    // 1/target of a source row; a row is never longer than a band, so it meets two at most.
    size_t start = m_nextRow++ * m_targetHeight;
    size_t end = start + m_targetHeight;
    size_t bandEnd = (m_band + 1) * m_sourceHeight;
    if (end <= bandEnd) {
        addWhole(row);
        if (end == bandEnd)
            closeBand();
        return;
    }
    addWeighted(row, uint32_t(bandEnd - start));
    closeBand();
    addWeighted(row, uint32_t(end - bandEnd));
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
