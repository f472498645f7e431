#include "tools/showcase/PngImage.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unordered_map>
#include <zlib.h>

namespace {

const unsigned char kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
const int kColourTypeTrueColour = 2;
const int kColourTypeIndexed = 3;
const size_t kMaxPaletteColours = 256;
// Every row starts with its filter type; rows are stored as they are.
const unsigned char kFilterNone = 0;

void PutBigEndian(std::vector<unsigned char>& out, unsigned long value) {
    out.push_back(static_cast<unsigned char>((value >> 24) & 0xff));
    out.push_back(static_cast<unsigned char>((value >> 16) & 0xff));
    out.push_back(static_cast<unsigned char>((value >> 8) & 0xff));
    out.push_back(static_cast<unsigned char>(value & 0xff));
}

void PutChunk(std::vector<unsigned char>& out, const char type[5],
              const std::vector<unsigned char>& data) {
    PutBigEndian(out, data.size());
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    // The checksum covers the type and the data, not the length.
    const uLong crc = crc32(0L, out.data() + typeAt, static_cast<uInt>(out.size() - typeAt));
    PutBigEndian(out, crc);
}

void PutRgb(std::vector<unsigned char>& out, unsigned long colour) {
    out.push_back(static_cast<unsigned char>((colour >> 16) & 0xff));
    out.push_back(static_cast<unsigned char>((colour >> 8) & 0xff));
    out.push_back(static_cast<unsigned char>(colour & 0xff));
}

} // namespace

PngImage::PngImage(int width, int height, std::vector<unsigned long> pixels) {
    if (width <= 0 || height <= 0 ||
        pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
        return;
    }
    this->width = width;
    this->height = height;
    this->pixels = std::move(pixels);
}

PngImage PngImage::Shrunk(int factor) const {
    if (IsEmpty() || factor < 1 || factor > width || factor > height) {
        return {};
    }
    const int w = width / factor;
    const int h = height / factor;
    const unsigned long count = static_cast<unsigned long>(factor) * factor;
    std::vector<unsigned long> out;
    out.reserve(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            unsigned long sum[3] = {0, 0, 0};
            for (int dy = 0; dy < factor; ++dy) {
                const size_t row = static_cast<size_t>(y * factor + dy) * width;
                for (int dx = 0; dx < factor; ++dx) {
                    const unsigned long colour = pixels[row + x * factor + dx];
                    sum[0] += (colour >> 16) & 0xff;
                    sum[1] += (colour >> 8) & 0xff;
                    sum[2] += colour & 0xff;
                }
            }
            const auto mean = [count](unsigned long total) { return (total + count / 2) / count; };
            out.push_back(mean(sum[0]) << 16 | mean(sum[1]) << 8 | mean(sum[2]));
        }
    }
    return PngImage(w, h, std::move(out));
}

std::vector<unsigned char> PngImage::Encode() const {
    if (IsEmpty()) {
        return {};
    }
    // Palette entries in the order the colours first appear, so the same picture always
    // gives the same bytes.
    std::vector<unsigned long> palette;
    std::unordered_map<unsigned long, unsigned char> index;
    for (const unsigned long colour : pixels) {
        if (index.count(colour & 0xffffff) != 0) {
            continue;
        }
        if (palette.size() == kMaxPaletteColours) {
            palette.clear();
            break;
        }
        index.emplace(colour & 0xffffff, static_cast<unsigned char>(palette.size()));
        palette.push_back(colour & 0xffffff);
    }
    const bool indexed = !palette.empty();

    std::vector<unsigned char> raw;
    raw.reserve(static_cast<size_t>(height) * (1 + static_cast<size_t>(width) * 3));
    for (int y = 0; y < height; ++y) {
        raw.push_back(kFilterNone);
        for (int x = 0; x < width; ++x) {
            const unsigned long colour = pixels[static_cast<size_t>(y) * width + x] & 0xffffff;
            if (indexed) {
                raw.push_back(index.at(colour));
            } else {
                PutRgb(raw, colour);
            }
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<unsigned char> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()),
                  Z_BEST_COMPRESSION) != Z_OK) {
        return {};
    }
    packed.resize(packedSize);

    std::vector<unsigned char> header;
    PutBigEndian(header, static_cast<unsigned long>(width));
    PutBigEndian(header, static_cast<unsigned long>(height));
    header.push_back(8); // bits per sample, or per palette index
    header.push_back(indexed ? kColourTypeIndexed : kColourTypeTrueColour);
    header.push_back(0); // deflate
    header.push_back(0); // the only filter method
    header.push_back(0); // not interlaced

    std::vector<unsigned char> file(std::begin(kSignature), std::end(kSignature));
    PutChunk(file, "IHDR", header);
    if (indexed) {
        std::vector<unsigned char> entries;
        for (const unsigned long colour : palette) {
            PutRgb(entries, colour);
        }
        PutChunk(file, "PLTE", entries);
    }
    PutChunk(file, "IDAT", packed);
    PutChunk(file, "IEND", {});
    return file;
}

bool PngImage::Write(const std::string& path, std::string& error) const {
    const std::vector<unsigned char> bytes = Encode();
    if (bytes.empty()) {
        error = "nothing to write to " + path;
        return false;
    }
    const std::string partial = path + ".part";
    FILE* file = std::fopen(partial.c_str(), "wbe");
    if (file == nullptr) {
        error = "cannot write " + partial + ": " + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int writeError = errno;
    if (std::fclose(file) != 0 || !written) {
        error = "cannot write " + partial + ": " + std::strerror(written ? errno : writeError);
        std::remove(partial.c_str());
        return false;
    }
    if (std::rename(partial.c_str(), path.c_str()) != 0) {
        error = "cannot rename " + partial + " to " + path + ": " + std::strerror(errno);
        std::remove(partial.c_str());
        return false;
    }
    return true;
}
