// The three bitmap readers on one file made from the input. A file has one bit count, so at
// most one reader may take it; what a reader gives back must be a whole picture; and the C
// source that LoadBmp4 exports must describe exactly the picture it read.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "gui/graphics/BmpFile.h"
#include "util/StringUtils.h"
#include "util/TextFile.h"

namespace {

const char* const kInput = "fuzz.bmp";
const char* const kExport = "fuzz.bmp.c";

// Reading every byte lets AddressSanitizer prove that the buffer is as large as the size the
// reader claims for it.
void CheckPicture(const BmpPicture& picture) {
    Require(picture.width >= 1 && picture.width <= kMaxImageSide, "a picture's width is in range");
    Require(picture.height >= 1 && picture.height <= kMaxImageSide,
            "a picture's height is in range");
    const size_t bytes = static_cast<size_t>(picture.width) * picture.height * 3;
    unsigned sum = 0;
    for (size_t i = 0; i < bytes; ++i) {
        sum += picture.rgb[i];
    }
    volatile unsigned sink = sum;
    (void)sink;
}

// The bytes of a line of "0xHH," items; false when it holds anything else.
bool ReadHexItems(const std::string& line, std::vector<unsigned>& items) {
    const size_t kItem = 5;
    if (line.size() % kItem != 0) {
        return false;
    }
    for (size_t at = 0; at < line.size(); at += kItem) {
        const std::string item = line.substr(at, kItem);
        unsigned value = 0;
        char comma = 0;
        if (item[0] != '0' || item[1] != 'x' ||
            std::sscanf(item.c_str(), "0x%2X%c", &value, &comma) != 2 || comma != ',' ||
            ByteToHex(static_cast<unsigned char>(value)) != item.substr(2, 2)) {
            return false;
        }
        items.push_back(value);
    }
    return true;
}

// The export holds the size, the palette as red, green, blue, and the rows bottom-up with
// two pixels per byte, high nibble first. Decoding it must give the picture back.
void CheckExport(const BmpPicture& picture) {
    const std::vector<std::string> lines = TextFile(kExport).ReadLines();
    const int w = picture.width;
    const int h = picture.height;
    Require(lines.size() == static_cast<size_t>(h) + 7, "the export has one line per row");
    Require(lines[0] == "int wFUZZ = " + std::to_string(w) + ";", "the export names the width");
    Require(lines[1] == "int hFUZZ = " + std::to_string(h) + ";", "the export names the height");
    Require(lines[3] == "char imgFUZZ[] = {" && lines[h + 5] == "};" && lines[h + 6].empty(),
            "the export is one array");
    std::vector<unsigned> palette;
    Require(ReadHexItems(lines[4], palette) && palette.size() % 3 == 0,
            "the export's palette is colour triples");
    const size_t rowBytes = static_cast<size_t>(w + 1) / 2;
    for (int row = 0; row < h; ++row) {
        std::vector<unsigned> bytes;
        Require(ReadHexItems(lines[static_cast<size_t>(5 + h - 1 - row)], bytes) &&
                    bytes.size() == rowBytes,
                "each exported row holds the row's bytes");
        for (int column = 0; column < w; ++column) {
            const unsigned byte = bytes[static_cast<size_t>(column / 2)];
            const size_t index = column % 2 == 0 ? byte >> 4 : byte & 0x0F;
            Require(3 * index + 2 < palette.size(), "exported pixels index the palette");
            const unsigned char* pixel =
                picture.rgb.get() + (static_cast<size_t>(row) * w + column) * 3;
            for (size_t channel = 0; channel < 3; ++channel) {
                Require(pixel[channel] == palette[3 * index + channel],
                        "the export shows the picture that was read");
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteInputFile(kInput, data, size);
    std::remove(kExport);
    const BmpPicture pictures[] = {LoadBmp24(kInput), LoadBmp8(kInput), LoadBmp4(kInput)};
    int accepted = 0;
    for (const BmpPicture& picture : pictures) {
        if (picture.rgb == nullptr) {
            Require(picture.width == 0 && picture.height == 0, "a refused file has no size");
            continue;
        }
        ++accepted;
        CheckPicture(picture);
    }
    Require(accepted <= 1, "only the reader of the file's bit count takes it");
    const BmpPicture& fourBits = pictures[2];
    const bool exported = access(kExport, F_OK) == 0;
    Require(exported == (fourBits.rgb != nullptr), "LoadBmp4 exports what it reads, and only that");
    if (exported) {
        CheckExport(fourBits);
    }
    ClearLog();
    return 0;
}
