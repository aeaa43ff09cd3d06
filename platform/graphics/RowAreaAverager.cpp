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
    for (size_t i = 0, n = m_weighted.size(); i < n; ++i)
        weighted[i] += row[i] * weight;
}

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
    if (m_wholeRows)
        spillWhole();
    const uint32_t* weighted = m_weighted.data();
    uint64_t* sums = &m_sums[m_band * m_targetWidth * 4];
    uint64_t whole = m_targetWidth;
    for (size_t j = 0; j < m_targetWidth; ++j) {
        const Column& column = m_columns[j];
        uint64_t run[4] = {};
        for (size_t x = column.runBegin; x < column.runEnd; ++x) {
            for (size_t c = 0; c < 4; ++c)
                run[c] += weighted[x * 4 + c];
        }
        for (size_t c = 0; c < 4; ++c) {
            uint64_t sum = run[c] * whole;
            sum += uint64_t(weighted[column.left * 4 + c]) * column.leftWeight;
            sum += uint64_t(weighted[column.right * 4 + c]) * column.rightWeight;
            sums[j * 4 + c] += sum;
        }
    }
    std::fill(m_weighted.begin(), m_weighted.end(), 0);
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
