#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The shrink of AreaAverager, fed one source row at a time as a decoder produces them, so
// the whole image never has to be held. Pixels are four bytes, each byte averaged on its
// own whatever channel it holds. The sums are exact integers, so the order they are added
// in cannot change a result: the target is the same byte for byte.
class RowAreaAverager {
public:
    // The target must be at least 1 × 1 and no larger than the source either way.
    RowAreaAverager(size_t sourceWidth, size_t sourceHeight, size_t targetWidth, size_t targetHeight);

    // Rows top to bottom, each sourceWidth pixels of four bytes.
    void addRow(const uint8_t* row);

    // Once every source row is in: the target's pixels row by row, each word holding the
    // four averaged bytes in the order they came (as AreaAverager::shrink makes them).
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

    void addWhole(const uint8_t* row);
    void addWeighted(const uint8_t* row, uint32_t weight);
    void spillWhole();
    void closeBand();

    size_t m_sourceWidth, m_sourceHeight, m_targetWidth, m_targetHeight;
    std::vector<Column> m_columns;
    // The target row being gathered ("band"): its whole source rows summed unweighted in
    // 16 bits, and the partial rows weighted in 32 (with the whole ones of a band too tall
    // for 16 bits, spilled there).
    size_t m_band { 0 };
    size_t m_nextRow { 0 };
    uint32_t m_wholeRows { 0 };
    std::vector<uint16_t> m_whole;
    std::vector<uint32_t> m_weighted;
    std::vector<uint64_t> m_sums; // per target pixel and byte
};
