#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    unsigned char red, green, blue;
    bool operator==(const Rgb& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
};

// The bytes of a Windows bitmap file for the reader tests, laid out by hand from the file-format
// description, so that a test can also spoil any field of a valid file. Pixels are given as
// palette indices, rows top-down; a 24-bit file stores the palette colours themselves.
class BmpBuilder {
  public:
    BmpBuilder(int width, int height, int bits, const std::vector<Rgb>& palette,
               const std::vector<int>& indices, bool topDown = false) {
        const size_t entries = bits == 24 ? 0 : palette.size();
        const size_t dataOffset = 54 + 4 * entries;
        bytes.assign(54, '\0');
        bytes[0] = 'B';
        bytes[1] = 'M';
        SetI32(10, static_cast<int32_t>(dataOffset)).SetI32(14, 40).SetI32(18, width);
        SetI32(22, topDown ? -height : height)
            .SetU16(26, 1)
            .SetU16(28, static_cast<uint16_t>(bits));
        SetI32(46, static_cast<int32_t>(entries));
        for (size_t i = 0; i < entries; ++i) {
            bytes += {char(palette[i].blue), char(palette[i].green), char(palette[i].red), 0};
        }
        const size_t stride = static_cast<size_t>((width * bits + 31) / 32 * 4);
        for (int stored = 0; stored < height; ++stored) {
            const int row = topDown ? stored : height - 1 - stored;
            std::string line(stride, '\0');
            for (size_t column = 0; column < size_t(width); ++column) {
                const int index = indices[static_cast<size_t>(row * width) + column];
                const Rgb& colour = palette[static_cast<size_t>(index)];
                if (bits == 24) {
                    line.replace(3 * column, 3,
                                 {char(colour.blue), char(colour.green), char(colour.red)});
                } else if (bits == 8) {
                    line[column] = char(index);
                } else {
                    line[column / 2] |= char(column % 2 == 0 ? index << 4 : index);
                }
            }
            bytes += line;
        }
        SetI32(2, static_cast<int32_t>(bytes.size()));
        SetI32(34, static_cast<int32_t>(bytes.size() - dataOffset));
    }

    BmpBuilder& SetU16(size_t offset, uint16_t value) {
        bytes[offset] = char(value);
        bytes[offset + 1] = char(value >> 8);
        return *this;
    }
    BmpBuilder& SetI32(size_t offset, int32_t value) {
        for (size_t i = 0; i < 4; ++i) {
            bytes[offset + i] = char(static_cast<uint32_t>(value) >> (8 * i));
        }
        return *this;
    }

    std::string bytes;
};
