// The three bitmap readers on one file made from the input. A file has one bit count, so at
// most one reader may take it; what a reader gives back must be a whole picture; and the C
// source that LoadBmp4 exports, read as an image block, must give back the picture it read.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "gui/graphics/BmpFile.h"
#include "util/StringUtils.h"
#include "util/TextFile.h"

namespace {

const char* const kInput = "fuzz.bmp";
const char* const kExport = "fuzz.bmp.c";

// The bytes of a line of "0xHH," items, which must be all the line holds.
std::vector<unsigned char> Items(const std::string& line) {
    std::vector<unsigned char> bytes;
    std::string again;
    for (size_t at = 0; at + 4 < line.size(); at += 5) {
        bytes.push_back(std::strtoul(line.substr(at + 2, 2).c_str(), nullptr, 16) & 0xff);
        again += "0x" + ByteToHex(bytes.back()) + ",";
    }
    Require(again == line, "the export's lines are 0xHH, items only");
    return bytes;
}

void CheckExport(const BmpPicture& picture) {
    const std::vector<std::string> lines = TextFile(kExport).ReadLines();
    const size_t h = static_cast<size_t>(picture.height);
    Require(lines.size() == h + 7 &&
                lines[0] == "int wFUZZ = " + std::to_string(picture.width) + ";" &&
                lines[1] == "int hFUZZ = " + std::to_string(h) + ";" &&
                lines[3] == "char imgFUZZ[] = {" && lines[h + 5] == "};",
            "the export is the size and one array with a line per row");
    // Indices beyond the file's palette are refused, so a short palette is padded safely.
    std::vector<unsigned char> block = Items(lines[4]);
    block.resize(kPaletteBytes);
    for (size_t row = 0; row < h; ++row) {
        const std::vector<unsigned char> bytes = Items(lines[5 + row]);
        block.insert(block.end(), bytes.begin(), bytes.end());
    }
    Require(block.size() == BlockSize(picture.width, picture.height),
            "the export holds the rows' bytes");
    const RgbBuffer rgb = BlockToRgb(picture.width, picture.height, block.data());
    Require(std::memcmp(rgb.get(), picture.rgb.get(), 3 * h * picture.width) == 0,
            "the export shows the picture that was read");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteInputFile(kInput, data, size);
    std::remove(kExport);
    const BmpPicture pictures[] = {LoadBmp24(kInput), LoadBmp8(kInput), LoadBmp4(kInput)};
    int accepted = 0;
    for (const BmpPicture& picture : pictures) {
        if (picture.rgb == nullptr) {
            continue;
        }
        ++accepted;
        Require(picture.width >= 1 && picture.width <= kMaxImageSide && picture.height >= 1 &&
                    picture.height <= kMaxImageSide,
                "a picture's sides are in range");
        // Copying every byte lets AddressSanitizer prove the buffer is as large as claimed.
        const std::vector<unsigned char> copy(
            picture.rgb.get(), picture.rgb.get() + 3 * size_t(picture.width) * picture.height);
    }
    Require(accepted <= 1, "only the reader of the file's bit count takes it");
    Require((access(kExport, F_OK) == 0) == (pictures[2].rgb != nullptr),
            "LoadBmp4 exports what it reads, and only that");
    if (pictures[2].rgb != nullptr) {
        CheckExport(pictures[2]);
    }
    unlink("log.txt");
    return 0;
}
