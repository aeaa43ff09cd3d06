#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The shrink of AreaAverager, fed one source row at a time as a decoder produces them, so
// the whole image never has to be held. The sums are exact integers, so the order they are
// added in cannot change a result: the target is the same word for word.
class RowAreaAverager {
public:
    // The target must be at least 1 × 1 and no larger than the source either way.
    RowAreaAverager(size_t sourceWidth, size_t sourceHeight, size_t targetWidth, size_t targetHeight);

    // Rows of premultiplied native words, top to bottom, each sourceWidth words long.
    void addRow(const uint32_t* row);

    // Once every source row is in: the target, row by row, as AreaAverager::shrink makes it.
    std::vector<uint32_t> target() const;
    // The source shrunk to one pixel, as AreaAverager::shrink(source, 1, 1) makes it: every
    // source pixel weighs the same in the target's sums, so they hold the whole image's.
    uint32_t onePixel() const;

private:
    // Whole source pixels of a target column, with the partly covered ones at its edges.
    struct Column {
        uint32_t runBegin, runEnd;
        uint32_t left, leftWeight;
        uint32_t right, rightWeight;
    };
    // The one or two target rows a source row falls in, with its weight in each.
    struct RowShare {
        uint32_t first, firstWeight;
        uint32_t second, secondWeight;
    };

    size_t m_sourceWidth, m_sourceHeight, m_targetWidth, m_targetHeight;
    size_t m_nextRow { 0 };
    std::vector<Column> m_columns;
    std::vector<RowShare> m_rows;
    std::vector<uint32_t> m_rowSums; // per target column and byte, for the current row
    std::vector<uint64_t> m_sums; // per target pixel and byte
};
