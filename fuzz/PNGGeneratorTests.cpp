#include "fuzz/PNGGenerator.h"
#include "platform/graphics/PNGCodec.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

struct TypeDepth {
    uint8_t typeIndex;
    uint8_t depthIndex;
};

std::span<const uint8_t> bytesOf(const std::string& png) { return { reinterpret_cast<const uint8_t*>(png.data()), png.size() }; }

std::string generated(std::vector<uint8_t> choices)
{
    FuzzInput input(choices);
    return PNGGenerator::generate(input);
}

} // namespace

TEST(PNGGenerator, EveryColourTypeDepthAndInterlaceDecodesAtItsSize)
{
    // Index pairs into the generator's table: grey 1-16, truecolour 8/16, palette 1-8, grey+alpha 8/16, RGBA 8/16.
    const std::vector<TypeDepth> combinations { { 0, 0 }, { 0, 1 }, { 0, 2 }, { 0, 3 }, { 0, 4 }, { 1, 0 }, { 1, 1 }, { 2, 0 }, { 2, 1 }, { 2, 2 }, { 2, 3 }, { 3, 0 }, { 3, 1 }, { 4, 0 }, { 4, 1 } };
    for (auto [type, depth] : combinations) {
        for (uint8_t interlaced : { 0, 1 }) {
            // 13 × 7 pixels; for palette images a palette as long as the depth allows, so every index is valid.
            size_t entries = type == 2 ? size_t(1) << (1 << depth) : 1;
            std::vector<uint8_t> choices { type, depth, interlaced, 0, 12, 0, 6, 0, 9, static_cast<uint8_t>(entries - 1) };
            choices.resize(choices.size() + entries * 3, 0x80);
            for (int i = 0; i < 97; ++i)
                choices.push_back(static_cast<uint8_t>(i * 5));
            auto png = generated(choices);
            auto image = PNGCodec::decode(bytesOf(png));
            ASSERT_TRUE(image) << "type " << int(type) << " depth " << int(depth) << " interlaced " << int(interlaced);
            EXPECT_EQ(image->width(), 13u);
            EXPECT_EQ(image->height(), 7u);
        }
    }
}

TEST(PNGGenerator, SizesPastTheLimitAndCutShortStreamsAreRefused)
{
    // 4097 wide: past the decoder's limit. 4096 × 1: at it, and whole.
    EXPECT_FALSE(PNGCodec::decode(bytesOf(generated({ 4, 0, 0, 13, 0, 0, 0, 0, 1, 1, 2, 3 }))));
    auto atLimit = PNGCodec::decode(bytesOf(generated({ 4, 0, 0, 12, 0, 0, 0, 0, 1, 1, 2, 3 })));
    ASSERT_TRUE(atLimit);
    EXPECT_EQ(atLimit->width(), 4096u);
    // The same 30 × 30 image, whole and with its stream cut short.
    EXPECT_TRUE(PNGCodec::decode(bytesOf(generated({ 4, 0, 1, 0, 29, 0, 29, 0, 9, 1, 2, 3 }))));
    EXPECT_FALSE(PNGCodec::decode(bytesOf(generated({ 4, 0, 1, 0, 29, 0, 29, 8, 9, 1, 2, 3 }))));
}

TEST(PNGGenerator, RawSizeCountsEveryAdam7PassWithItsFilterBytes)
{
    PNGGenerator::Choices plain { 6, 8, false, 3, 2 };
    EXPECT_EQ(PNGGenerator::rawSize(plain), 2u * (1 + 12));
    // 1 × 1 interlaced: only the first pass holds a pixel.
    PNGGenerator::Choices single { 0, 1, true, 1, 1 };
    EXPECT_EQ(PNGGenerator::rawSize(single), 2u);
    // 8 × 8 grey 8-bit: passes of 1×1, 1×1, 2×1, 2×2, 4×2, 4×4, 8×4 pixels.
    PNGGenerator::Choices grey { 0, 8, true, 8, 8 };
    EXPECT_EQ(PNGGenerator::rawSize(grey), 64u + 1 + 1 + 1 + 2 + 2 + 4 + 4);
}
