#include <gtest/gtest.h>

#include "gui/graphics/ImageBlock.h"

namespace {

// One palette entry per index, all different: (index, 0x10 + index, 0xF0 - index).
void FillPalette(std::vector<unsigned char>& block) {
    for (int i = 0; i < kPaletteEntries; ++i) {
        block[3 * i] = static_cast<unsigned char>(i);
        block[3 * i + 1] = static_cast<unsigned char>(0x10 + i);
        block[3 * i + 2] = static_cast<unsigned char>(0xF0 - i);
    }
}

} // namespace

TEST(ImageBlock, OddWidthBlockIsDecodedAndTheUnusedNibbleIgnored) {
    const int w = 163;
    const int h = 50;
    ASSERT_EQ(BlockSize(w, h), 4148u);
    // Exactly the block's bytes, so that a read past its end is caught by the sanitizer build.
    std::vector<unsigned char> block(BlockSize(w, h));
    FillPalette(block);
    const int rowBytes = 82;
    auto indexAt = [](int stored, int column) { return (stored * 3 + column) % 15; };
    for (int stored = 0; stored < h; ++stored) {
        for (int byte = 0; byte < rowBytes; ++byte) {
            const int left = indexAt(stored, 2 * byte);
            // Index 15 appears only in the unused nibble, so it must never show.
            const int right = byte == rowBytes - 1 ? 15 : indexAt(stored, 2 * byte + 1);
            block[static_cast<size_t>(kPaletteBytes + stored * rowBytes + byte)] =
                static_cast<unsigned char>(left << 4 | right);
        }
    }
    const RgbBuffer rgb = BlockToRgb(w, h, block.data());
    ASSERT_NE(rgb, nullptr);
    int mismatches = 0;
    for (int row = 0; row < h; ++row) {
        for (int column = 0; column < w; ++column) {
            const int index = indexAt(h - 1 - row, column);
            const unsigned char* pixel = rgb.get() + 3 * (row * w + column);
            mismatches += pixel[0] != index || pixel[1] != 0x10 + index || pixel[2] != 0xF0 - index;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(ImageBlock, FirstStoredRowIsTheBottomOfThePicture) {
    std::vector<unsigned char> block(BlockSize(2, 3));
    FillPalette(block);
    block[kPaletteBytes] = 0x12; // stored first
    block[kPaletteBytes + 1] = 0x34;
    block[kPaletteBytes + 2] = 0x56; // stored last
    const RgbBuffer rgb = BlockToRgb(2, 3, block.data());
    ASSERT_NE(rgb, nullptr);
    const int expected[] = {5, 6, 3, 4, 1, 2}; // top row first
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(rgb[3 * i], expected[i]) << "pixel " << i;
    }
    EXPECT_EQ(BlockToRgb(2, 0, block.data()), nullptr);
    EXPECT_EQ(BlockToRgb(2, -3, block.data()), nullptr);
    EXPECT_EQ(BlockToRgb(2, 3, nullptr), nullptr);
}
