#include <gtest/gtest.h>

#include <vector>

#include "gui/graphics/ImageBlock.h"

// An odd width meets the unused low nibble at the end of every row; a pattern that differs
// from row to row shows whether the first stored row lands at the bottom.
TEST(ImageBlock, RowsAreDecodedBottomUpHighNibbleFirstIgnoringTheUnusedNibble) {
    const int w = 163;
    const int h = 50;
    const int rowBytes = 82;
    ASSERT_EQ(BlockSize(w, h), 4148u);
    // Exactly the block's bytes, so that the sanitizer build catches a read past its end.
    std::vector<unsigned char> block(BlockSize(w, h));
    // One palette entry per index, all different: (index, 0x10 + index, 0xF0 - index).
    for (int i = 0; i < kPaletteEntries; ++i) {
        block[3 * i] = static_cast<unsigned char>(i);
        block[3 * i + 1] = static_cast<unsigned char>(0x10 + i);
        block[3 * i + 2] = static_cast<unsigned char>(0xF0 - i);
    }
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

    EXPECT_EQ(BlockToRgb(w, 0, block.data()), nullptr);
    EXPECT_EQ(BlockToRgb(-w, h, block.data()), nullptr);
    EXPECT_EQ(BlockToRgb(w, h, nullptr), nullptr);
    EXPECT_EQ(BlockSize(0, h), 0u);
}
