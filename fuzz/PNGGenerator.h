#pragma once

#include "fuzz/FuzzInput.h"

#include <cstdint>
#include <string>
#include <vector>

// Builds a well-formed PNG (signature, chunk lengths and checksums right, image data a
// real zlib stream) from fuzz choices, so mutations reach the decoder's pixel paths
// instead of dying at the first checksum. Every colour type with every bit depth it
// allows, interlaced or not, sizes from one pixel to past the decoder's limits, palettes
// and transparency of any length, any filter byte, and optionally a cut-short stream.
class PNGGenerator {
public:
    struct Choices {
        uint8_t colourType { 6 };
        uint8_t bitDepth { 8 };
        bool interlaced { false };
        uint32_t width { 1 };
        uint32_t height { 1 };
    };

    static std::string generate(FuzzInput&);
    // The header choices generate starts with.
    static Choices readChoices(FuzzInput&);

    // Raw image data (filter bytes and packed rows) that a decoder expects for the header.
    static uint64_t rawSize(const Choices&);

    // Raw data are made up to this size at most; a larger image gets a cut-short stream.
    static constexpr size_t rawLimit = 1u << 20;
};
