// Compiles one picture into the program: exports a 16-colour BMP as C source in the image-block
// format with the program's own exporter (LoadBmp4 writes the file's path + ".c"), then checks
// that what it wrote is a whole block of the picture's size, so that a picture saved with the
// wrong palette fails the build instead of being read past its end at run time.
//
// Usage: bmp2block picture.bmp

#include <cstdio>
#include <string>
#include <vector>

#include "gui/graphics/BmpFile.h"
#include "gui/graphics/ImageBlock.h"
#include "util/FileUtils.h"
#include "util/TextFile.h"

namespace {

// The exported text: two size lines, a blank line, the array's opening line, the palette line,
// one line per pixel row, the closing line.
const size_t kPaletteLine = 4;

size_t CountValues(const std::string& line) {
    size_t count = 0;
    for (size_t at = line.find("0x"); at != std::string::npos; at = line.find("0x", at + 2)) {
        ++count;
    }
    return count;
}

bool IsWholeBlock(const std::vector<std::string>& lines, const BmpPicture& picture) {
    if (lines.size() <= kPaletteLine || CountValues(lines[kPaletteLine]) != kPaletteBytes) {
        return false;
    }
    size_t values = 0;
    for (const std::string& line : lines) {
        values += CountValues(line);
    }
    return values == BlockSize(picture.width, picture.height);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bmp2block picture.bmp\n");
        return 2;
    }
    const std::string path = argv[1];
    const std::string source = path + ".c";
    const BmpPicture picture = LoadBmp4(path);
    if (picture.rgb == nullptr) {
        std::fprintf(stderr, "bmp2block: %s is not a 4-bit BMP that can be read\n", path.c_str());
        return 1;
    }
    TextFile exported(source);
    if (!IsWholeBlock(exported.ReadLines(), picture)) {
        std::fprintf(stderr,
                     "bmp2block: %s does not hold a %d x %d picture with 16 palette colours\n",
                     source.c_str(), picture.width, picture.height);
        RemoveFile(source);
        return 1;
    }
    return 0;
}
