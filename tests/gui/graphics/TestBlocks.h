#pragma once

#include <vector>

#include "gui/graphics/ImageBlock.h"

// Image blocks for tests: a palette of up to 16 colours (0xRRGGBB) and w x h palette indices,
// rows top-down, packed the way the block format stores them (bottom-up, high nibble first).
inline std::vector<unsigned char> MakeBlock(int w, int h, const std::vector<unsigned long>& palette,
                                            const std::vector<int>& indices) {
    std::vector<unsigned char> block(BlockSize(w, h), 0);
    for (size_t i = 0; i < palette.size(); ++i) {
        block[3 * i] = static_cast<unsigned char>(palette[i] >> 16);
        block[3 * i + 1] = static_cast<unsigned char>(palette[i] >> 8);
        block[3 * i + 2] = static_cast<unsigned char>(palette[i]);
    }
    const int rowBytes = (w + 1) / 2;
    for (int row = 0; row < h; ++row) {
        unsigned char* stored = block.data() + kPaletteBytes + (h - 1 - row) * rowBytes;
        for (int column = 0; column < w; ++column) {
            const int index = indices[static_cast<size_t>(row * w + column)];
            stored[column / 2] |= static_cast<unsigned char>(column % 2 == 0 ? index << 4 : index);
        }
    }
    return block;
}

inline std::vector<unsigned char> SolidBlock(int w, int h, unsigned long colour) {
    return MakeBlock(w, h, {colour}, std::vector<int>(static_cast<size_t>(w * h), 0));
}
