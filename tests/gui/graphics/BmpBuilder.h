#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct Rgb {
    unsigned char red, green, blue;
    bool operator==(const Rgb& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
};

// Writes Windows bitmap files for the reader tests, laid out by hand from the file-format
// description, so that a test can also spoil any field of a valid file. Pixels are given as
// palette indices, rows top-down; a 24-bit file stores the palette colours themselves.
class BmpBuilder {
public:
    BmpBuilder(int width, int height, int bits, const std::vector<Rgb>& palette,
               const std::vector<int>& indices, bool topDown = false) {
        const size_t entries = bits == 24 ? 0 : palette.size();
        const size_t dataOffset = 54 + 4 * entries;
        bytes.assign(54, 0);
        bytes[0] = 'B';
        bytes[1] = 'M';
        SetI32(10, static_cast<int32_t>(dataOffset)).SetI32(14, 40).SetI32(18, width);
        SetI32(22, topDown ? -height : height).SetU16(26, 1).SetU16(28, static_cast<uint16_t>(bits));
        SetI32(46, static_cast<int32_t>(entries));
        for (size_t i = 0; i < entries; ++i) {
            bytes.insert(bytes.end(), {palette[i].blue, palette[i].green, palette[i].red, 0});
        }
        const size_t stride = static_cast<size_t>((width * bits + 31) / 32 * 4);
        for (int stored = 0; stored < height; ++stored) {
            const int row = topDown ? stored : height - 1 - stored;
            std::vector<unsigned char> line(stride, 0);
            for (int column = 0; column < width; ++column) {
                const int index = indices[static_cast<size_t>(row * width + column)];
                if (bits == 24) {
                    const Rgb& colour = palette[static_cast<size_t>(index)];
                    line[static_cast<size_t>(3 * column)] = colour.blue;
                    line[static_cast<size_t>(3 * column + 1)] = colour.green;
                    line[static_cast<size_t>(3 * column + 2)] = colour.red;
                } else if (bits == 8) {
                    line[static_cast<size_t>(column)] = static_cast<unsigned char>(index);
                } else {
                    line[static_cast<size_t>(column / 2)] |=
                        static_cast<unsigned char>(column % 2 == 0 ? index << 4 : index);
                }
            }
            bytes.insert(bytes.end(), line.begin(), line.end());
        }
        SetI32(2, static_cast<int32_t>(bytes.size()));
        SetI32(34, static_cast<int32_t>(bytes.size() - dataOffset));
    }

    BmpBuilder& SetU16(size_t offset, uint16_t value) {
        bytes[offset] = static_cast<unsigned char>(value);
        bytes[offset + 1] = static_cast<unsigned char>(value >> 8);
        return *this;
    }
    BmpBuilder& SetI32(size_t offset, int32_t value) {
        for (size_t i = 0; i < 4; ++i) {
            bytes[offset + i] = static_cast<unsigned char>(static_cast<uint32_t>(value) >> (8 * i));
        }
        return *this;
    }

    bool Write(const std::string& path) const {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) {
            return false;
        }
        const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        return std::fclose(file) == 0 && written;
    }

    std::vector<unsigned char> bytes;
};
