#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The bytes of a Windows bitmap file for the reader tests, laid out by hand from the file-format
// description, so that a test can also spoil any field of a valid file. Pixels are given as
// indices into a palette of 0xRRGGBB colours, rows top-down; a 24-bit file stores the colours
// themselves.
class BmpBuilder {
  public:
    BmpBuilder(int width, int height, int bits, const std::vector<unsigned long>& palette,
               const std::vector<int>& indices, bool topDown = false) {
        const size_t entries = bits == 24 ? 0 : palette.size();
        const size_t dataOffset = 54 + 4 * entries;
        bytes.assign(54, '\0');
        bytes[0] = 'B';
        bytes[1] = 'M';
        Set(10, dataOffset).Set(14, 40).Set(18, width).Set(22, topDown ? -height : height);
        Set(26, 1, 2).Set(28, bits, 2).Set(46, entries);
        // Blue, green and red, then a byte of padding.
        for (size_t i = 0; i < entries; ++i) {
            bytes += {char(palette[i]), char(palette[i] >> 8), char(palette[i] >> 16), 0};
        }
        const size_t stride = static_cast<size_t>((width * bits + 31) / 32 * 4);
        for (int stored = 0; stored < height; ++stored) {
            const int row = topDown ? stored : height - 1 - stored;
            std::string line(stride, '\0');
            for (size_t column = 0; column < size_t(width); ++column) {
                const int index = indices[static_cast<size_t>(row * width) + column];
                const unsigned long colour = palette[static_cast<size_t>(index)];
                if (bits == 24) {
                    line.replace(3 * column, 3,
                                 {char(colour), char(colour >> 8), char(colour >> 16)});
                } else if (bits == 8) {
                    line[column] = char(index);
                } else {
                    line[column / 2] |= char(column % 2 == 0 ? index << 4 : index);
                }
            }
            bytes += line;
        }
        Set(2, bytes.size()).Set(34, bytes.size() - dataOffset);
    }

    // Writes a little-endian field of `size` bytes.
    BmpBuilder& Set(size_t offset, int64_t value, size_t size = 4) {
        for (size_t i = 0; i < size; ++i) {
            bytes[offset + i] = char(static_cast<uint64_t>(value) >> (8 * i));
        }
        return *this;
    }

    std::string bytes;
};
