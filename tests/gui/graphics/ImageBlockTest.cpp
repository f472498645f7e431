#include <gtest/gtest.h>

#include "gui/graphics/TestBlocks.h"

// An odd width meets the unused low nibble at the end of every row; a pattern that differs
// from row to row shows whether the first stored row lands at the bottom.
TEST(ImageBlock, RowsAreDecodedBottomUpHighNibbleFirstIgnoringTheUnusedNibble) {
    const int w = 163;
    const int h = 50;
    std::vector<unsigned long> palette;
    for (unsigned long i = 0; i < kPaletteEntries; ++i) {
        palette.push_back(i << 16 | (0x10 + i) << 8 | (0xF0 - i));
    }
    std::vector<int> indices;
    for (int i = 0; i < w * h; ++i) {
        indices.push_back((i * 3 + i / w) % 15);
    }
    // Exactly the block's bytes, so that the sanitizer build catches a read past its end.
    ASSERT_EQ(BlockSize(w, h), 4148u) << "a palette of 48 bytes and 50 rows of 82";
    std::vector<unsigned char> block = MakeBlock(w, h, palette, indices);
    // Index 15 appears only in the unused nibbles, so it must never show.
    for (int row = 0; row < h; ++row) {
        block[static_cast<size_t>(kPaletteBytes + (row + 1) * ((w + 1) / 2) - 1)] |= 0x0F;
    }
    const RgbBuffer rgb = BlockToRgb(w, h, block.data());
    ASSERT_NE(rgb, nullptr);
    int mismatches = 0;
    for (size_t i = 0; i < indices.size(); ++i) {
        const unsigned long shown = rgb[3 * i] << 16 | rgb[3 * i + 1] << 8 | rgb[3 * i + 2];
        mismatches += shown != palette[static_cast<size_t>(indices[i])];
    }
    EXPECT_EQ(mismatches, 0);

    EXPECT_EQ(BlockToRgb(w, 0, block.data()), nullptr);
    EXPECT_EQ(BlockToRgb(-w, h, block.data()), nullptr);
    EXPECT_EQ(BlockToRgb(w, h, nullptr), nullptr);
    EXPECT_EQ(BlockSize(0, h), 0u);
}
