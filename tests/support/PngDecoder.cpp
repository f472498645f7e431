#include "tests/support/PngDecoder.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <zlib.h>

namespace {

const unsigned char kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

unsigned long BigEndian(const unsigned char* at) {
    return static_cast<unsigned long>(at[0]) << 24 | static_cast<unsigned long>(at[1]) << 16 |
           static_cast<unsigned long>(at[2]) << 8 | at[3];
}

int Paeth(int left, int up, int upLeft) {
    const int estimate = left + up - upLeft;
    const int toLeft = std::abs(estimate - left);
    const int toUp = std::abs(estimate - up);
    const int toUpLeft = std::abs(estimate - upLeft);
    if (toLeft <= toUp && toLeft <= toUpLeft) {
        return left;
    }
    return toUp <= toUpLeft ? up : upLeft;
}

} // namespace

PngDecoder::PngDecoder(const std::vector<unsigned char>& bytes) {
    if (!Decode(bytes) && error.empty()) {
        error = "not decoded";
    }
}

PngDecoder PngDecoder::FromFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        PngDecoder missing({});
        missing.error = "cannot open " + path;
        return missing;
    }
    return PngDecoder(std::vector<unsigned char>(std::istreambuf_iterator<char>(file), {}));
}

bool PngDecoder::Decode(const std::vector<unsigned char>& bytes) {
    if (bytes.size() < sizeof kSignature ||
        !std::equal(std::begin(kSignature), std::end(kSignature), bytes.begin())) {
        return Fail("no PNG signature");
    }
    std::vector<unsigned char> packed;
    size_t at = sizeof kSignature;
    bool ended = false;
    while (!ended) {
        if (bytes.size() - at < 12) {
            return Fail("truncated chunk");
        }
        const unsigned long length = BigEndian(&bytes[at]);
        if (length > bytes.size() - at - 12) {
            return Fail("chunk longer than the file");
        }
        const unsigned char* type = &bytes[at + 4];
        const unsigned char* data = type + 4;
        const std::string name(type, type + 4);
        const uLong crc = crc32(0L, type, static_cast<uInt>(length + 4));
        if (crc != BigEndian(data + length)) {
            return Fail("bad checksum in " + name);
        }
        if (chunks.empty() && name != "IHDR") {
            return Fail("first chunk is " + name);
        }
        chunks.push_back(name);
        if (name == "IHDR") {
            if (length != 13 || chunks.size() != 1) {
                return Fail("bad IHDR");
            }
            width = static_cast<int>(BigEndian(data));
            height = static_cast<int>(BigEndian(data + 4));
            colourType = data[9];
            if (width <= 0 || height <= 0 || data[8] != 8 ||
                (colourType != 2 && colourType != 3) || data[10] != 0 || data[11] != 0 ||
                data[12] != 0) {
                return Fail("unsupported image header");
            }
        } else if (name == "PLTE") {
            if (length % 3 != 0 || length == 0 || length > 768 || !packed.empty()) {
                return Fail("bad palette");
            }
            for (unsigned long i = 0; i < length; i += 3) {
                palette.push_back(static_cast<unsigned long>(data[i]) << 16 |
                                  static_cast<unsigned long>(data[i + 1]) << 8 | data[i + 2]);
            }
        } else if (name == "IDAT") {
            packed.insert(packed.end(), data, data + length);
        } else if (name == "IEND") {
            ended = true;
        }
        at += 12 + length;
    }
    if (at != bytes.size()) {
        return Fail("bytes after IEND");
    }
    if (colourType == 3 && palette.empty()) {
        return Fail("indexed image without a palette");
    }

    const int bytesPerPixel = colourType == 2 ? 3 : 1;
    const size_t rowBytes = 1 + static_cast<size_t>(width) * bytesPerPixel;
    std::vector<unsigned char> raw(rowBytes * static_cast<size_t>(height));
    uLongf rawSize = static_cast<uLongf>(raw.size());
    if (uncompress(raw.data(), &rawSize, packed.data(), static_cast<uLong>(packed.size())) !=
            Z_OK ||
        rawSize != raw.size()) {
        return Fail("image data does not inflate to width × height");
    }
    if (!Unfilter(raw, bytesPerPixel)) {
        return false;
    }
    pixels.reserve(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = &raw[static_cast<size_t>(y) * rowBytes + 1];
        for (int x = 0; x < width; ++x) {
            if (colourType == 3) {
                if (row[x] >= palette.size()) {
                    return Fail("palette index out of range");
                }
                pixels.push_back(palette[row[x]]);
            } else {
                const unsigned char* p = row + x * 3;
                pixels.push_back(static_cast<unsigned long>(p[0]) << 16 |
                                 static_cast<unsigned long>(p[1]) << 8 | p[2]);
            }
        }
    }
    return true;
}

bool PngDecoder::Unfilter(std::vector<unsigned char>& raw, int bytesPerPixel) {
    const size_t rowBytes = 1 + static_cast<size_t>(width) * bytesPerPixel;
    for (int y = 0; y < height; ++y) {
        unsigned char* row = &raw[static_cast<size_t>(y) * rowBytes];
        const unsigned char* above = y > 0 ? row - rowBytes : nullptr;
        const int filter = row[0];
        for (size_t i = 1; i < rowBytes; ++i) {
            const int left = i > static_cast<size_t>(bytesPerPixel) ? row[i - bytesPerPixel] : 0;
            const int up = above != nullptr ? above[i] : 0;
            const int upLeft =
                above != nullptr && i > static_cast<size_t>(bytesPerPixel) ? above[i - bytesPerPixel]
                                                                           : 0;
            int predicted = 0;
            switch (filter) {
            case 0: predicted = 0; break;
            case 1: predicted = left; break;
            case 2: predicted = up; break;
            case 3: predicted = (left + up) / 2; break;
            case 4: predicted = Paeth(left, up, upLeft); break;
            default: return Fail("unknown row filter " + std::to_string(filter));
            }
            row[i] = static_cast<unsigned char>(row[i] + predicted);
        }
    }
    return true;
}

bool PngDecoder::Fail(const std::string& message) {
    error = message;
    return false;
}
