#include "gui/graphics/BmpFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <memory>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

#include "gui/core/Form.h"
#include "gui/graphics/DrawingContext.h"
#include "util/FileUtils.h"
#include "util/Log.h"
#include "util/StringUtils.h"
#include "util/TextFile.h"

namespace {

// The file header (14 bytes) and the common 40-byte info header; later header versions are
// longer and keep these fields where they are.
const size_t kFileHeaderSize = 14;
const size_t kMinInfoHeaderSize = 40;
const size_t kHeaderSize = kFileHeaderSize + kMinInfoHeaderSize;
const size_t kMaxPaletteBytes = 1024;
const size_t kPaletteEntrySize = 4;
const uint32_t kUncompressed = 0;

const size_t kOffsetSignature = 0;
const size_t kOffsetDataOffset = 10;
const size_t kOffsetInfoSize = 14;
const size_t kOffsetWidth = 18;
const size_t kOffsetHeight = 22;
const size_t kOffsetBitCount = 28;
const size_t kOffsetCompression = 30;

uint32_t ReadU32(const unsigned char* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

int32_t ReadI32(const unsigned char* bytes) {
    return static_cast<int32_t>(ReadU32(bytes));
}

uint16_t ReadU16(const unsigned char* bytes) {
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

// An open descriptor, closed when the reader returns whichever way it leaves.
class Descriptor {
  public:
    explicit Descriptor(const std::string& path)
        // Close-on-exec keeps the file out of the sound and link children; non-blocking keeps
        // a named pipe given as a picture from stalling the program until someone writes to it.
        : fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}
    ~Descriptor() {
        if (fd >= 0) {
            close(fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    bool IsOpen() const { return fd >= 0; }

    // Reads exactly size bytes at offset; false when the file ends first or a read fails.
    bool ReadAt(void* buffer, size_t size, off_t offset) const {
        unsigned char* target = static_cast<unsigned char*>(buffer);
        while (size > 0) {
            const ssize_t count = pread(fd, target, size, offset);
            if (count < 0 && errno == EINTR) {
                continue;
            }
            if (count <= 0) {
                return false;
            }
            target += count;
            size -= static_cast<size_t>(count);
            offset += count;
        }
        return true;
    }

    // The size of a regular file, or -1 for anything else (folders, pipes, devices).
    int64_t RegularFileSize() const {
        struct stat status;
        if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
            return -1;
        }
        return status.st_size;
    }

  private:
    int fd;
};

// Everything a reader needs from a file that passed the checks.
struct Bitmap {
    int width = 0;
    int height = 0; // always positive
    bool topDown = false;
    size_t paletteEntries = 0;
    unsigned char palette[kMaxPaletteBytes] = {};
    size_t rowStride = 0; // bytes per stored row, padding included
    std::unique_ptr<unsigned char[]> data;

    // The stored row that holds picture row `row` (0 at the top).
    const unsigned char* Row(int row) const {
        const int stored = topDown ? row : height - 1 - row;
        return data.get() + static_cast<size_t>(stored) * rowStride;
    }
};

// Reads and checks the file; on refusal answers the reason and leaves `bitmap` unusable.
std::string ReadBitmap(const std::string& path, int bitCount, Bitmap& bitmap) {
    Descriptor file(path);
    if (!file.IsOpen()) {
        return "the file cannot be opened";
    }
    const int64_t fileSize = file.RegularFileSize();
    if (fileSize < 0) {
        return "not a regular file";
    }
    unsigned char header[kHeaderSize];
    if (static_cast<uint64_t>(fileSize) < kHeaderSize || !file.ReadAt(header, kHeaderSize, 0)) {
        return "the file is too short for a BMP header";
    }
    if (header[kOffsetSignature] != 'B' || header[kOffsetSignature + 1] != 'M') {
        return "not a BMP file";
    }
    const uint64_t infoSize = ReadU32(header + kOffsetInfoSize);
    if (infoSize < kMinInfoHeaderSize || kFileHeaderSize + infoSize > uint64_t(fileSize)) {
        return "unsupported info header of " + std::to_string(infoSize) + " bytes";
    }
    const int fileBits = ReadU16(header + kOffsetBitCount);
    if (fileBits != bitCount) {
        return std::to_string(fileBits) + " bits per pixel, expected " + std::to_string(bitCount);
    }
    if (ReadU32(header + kOffsetCompression) != kUncompressed) {
        return "compressed bitmaps are not supported";
    }
    const int64_t width = ReadI32(header + kOffsetWidth);
    const int64_t height = ReadI32(header + kOffsetHeight);
    if (width <= 0 || width > kMaxImageSide) {
        return "width " + std::to_string(width) + " out of range";
    }
    if (height == 0 || height > kMaxImageSide || height < -kMaxImageSide) {
        return "height " + std::to_string(height) + " out of range";
    }
    bitmap.width = static_cast<int>(width);
    bitmap.topDown = height < 0;
    bitmap.height = static_cast<int>(height < 0 ? -height : height);

    // The palette sits between the headers and the pixel data.
    const uint64_t paletteStart = kFileHeaderSize + infoSize;
    const uint64_t dataOffset = ReadU32(header + kOffsetDataOffset);
    if (dataOffset < paletteStart || dataOffset >= uint64_t(fileSize)) {
        return "data offset " + std::to_string(dataOffset) + " outside the file";
    }
    if (bitCount <= 8) {
        const uint64_t paletteBytes =
            std::min<uint64_t>(dataOffset - paletteStart, kMaxPaletteBytes);
        bitmap.paletteEntries = paletteBytes / kPaletteEntrySize;
        const size_t readBytes = bitmap.paletteEntries * kPaletteEntrySize;
        if (!file.ReadAt(bitmap.palette, readBytes, static_cast<off_t>(paletteStart))) {
            return "the palette cannot be read";
        }
    }

    // Rows are padded to whole 32-bit words. The sides are bounded above, so none of these
    // products can overflow 64 bits.
    bitmap.rowStride = static_cast<size_t>((uint64_t(width) * bitCount + 31) / 32 * 4);
    const uint64_t dataBytes = uint64_t(bitmap.rowStride) * uint64_t(bitmap.height);
    if (dataBytes > uint64_t(fileSize) - dataOffset) {
        return "the file is truncated: " + std::to_string(dataBytes) + " bytes of pixels at " +
               std::to_string(dataOffset) + " in a file of " + std::to_string(fileSize);
    }
    bitmap.data.reset(new (std::nothrow) unsigned char[dataBytes]);
    if (bitmap.data == nullptr) {
        return "no memory for the pixels";
    }
    if (!file.ReadAt(bitmap.data.get(), dataBytes, static_cast<off_t>(dataOffset))) {
        return "the pixels cannot be read";
    }
    return std::string();
}

RgbBuffer NewRgb(const Bitmap& bitmap) {
    return RgbBuffer(
        new (std::nothrow) unsigned char[static_cast<size_t>(bitmap.width) * 3 * bitmap.height]);
}

// Converts the pixels of a checked bitmap; on refusal answers the reason and leaves `rgb` null.
std::string Convert(const Bitmap& bitmap, int bitCount, RgbBuffer& rgb) {
    RgbBuffer pixels = NewRgb(bitmap);
    if (pixels == nullptr) {
        return "no memory for the picture";
    }
    unsigned char* target = pixels.get();
    for (int row = 0; row < bitmap.height; ++row) {
        const unsigned char* source = bitmap.Row(row);
        for (int column = 0; column < bitmap.width; ++column) {
            if (bitCount == 24) {
                const unsigned char* pixel = source + 3 * column;
                *target++ = pixel[2];
                *target++ = pixel[1];
                *target++ = pixel[0];
                continue;
            }
            size_t index = 0;
            if (bitCount == 4) {
                const unsigned char byte = source[column / 2];
                index = column % 2 == 0 ? byte >> 4 : byte & 0x0F;
            } else {
                index = source[column];
            }
            if (index >= bitmap.paletteEntries) {
                return "pixel index " + std::to_string(index) + " beyond the palette of " +
                       std::to_string(bitmap.paletteEntries) + " colours";
            }
            const unsigned char* entry = bitmap.palette + kPaletteEntrySize * index;
            *target++ = entry[2];
            *target++ = entry[1];
            *target++ = entry[0];
        }
    }
    rgb = std::move(pixels);
    return std::string();
}

BmpPicture Read(const char* reader, const std::string& path, int bitCount, Bitmap& bitmap) {
    BmpPicture picture;
    std::string refusal = ReadBitmap(path, bitCount, bitmap);
    if (refusal.empty()) {
        refusal = Convert(bitmap, bitCount, picture.rgb);
    }
    if (!refusal.empty()) {
        LogString(std::string(reader) + ": " + path + ": " + refusal);
        return BmpPicture();
    }
    picture.width = bitmap.width;
    picture.height = bitmap.height;
    return picture;
}

std::string HexValue(unsigned char value) {
    return "0x" + ByteToHex(value) + ",";
}

// The C source of a 4-bit bitmap: its size, then one line with the palette and one line per
// row of pixel bytes (padding left out), rows bottom-up as the image block wants them.
std::string ExportText(const std::string& path, const Bitmap& bitmap) {
    std::string name = GetFileName(path);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) {
        name.erase(dot);
    }
    name = ToUpper(name);
    // The name becomes part of C identifiers (wNAME, hNAME, imgNAME): anything but letters,
    // digits and "_" would not compile. Behind its prefix a leading digit is fine.
    std::string identifier = name;
    for (char& c : identifier) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') {
            c = '_';
        }
    }
    if (identifier != name) {
        LogString("LoadBmp4: " + GetFileName(path) + " is exported as " + identifier);
        name = identifier;
    }

    std::string text = "int w" + name + " = " + std::to_string(bitmap.width) + ";\n";
    text += "int h" + name + " = " + std::to_string(bitmap.height) + ";\n\n";
    text += "char img" + name + "[] = {\n";
    for (size_t entry = 0; entry < bitmap.paletteEntries; ++entry) {
        const unsigned char* colour = bitmap.palette + kPaletteEntrySize * entry;
        text += HexValue(colour[2]) + HexValue(colour[1]) + HexValue(colour[0]);
    }
    text += "\n";
    const size_t rowBytes = static_cast<size_t>((bitmap.width + 1) / 2);
    for (int row = bitmap.height - 1; row >= 0; --row) {
        const unsigned char* bytes = bitmap.Row(row);
        for (size_t i = 0; i < rowBytes; ++i) {
            text += HexValue(bytes[i]);
        }
        text += "\n";
    }
    text += "};\n";
    return text;
}

// An earlier export is replaced whole, so a failed write leaves it as it was. A target the
// user may not write, or one that is not a plain file, is left alone: removing it first, as
// a fresh write would, could delete a protected file or an empty folder of that name.
void ExportSource(const std::string& path, const Bitmap& bitmap) {
    const std::string target = path + ".c";
    TextFile file(target);
    if (!file.ReplaceLines({ExportText(path, bitmap)})) {
        LogString("LoadBmp4: cannot write " + target);
    }
}

// Drawing reads without exporting: showing a picture never writes files.
BmpPicture ReadForDrawing(int bitsPerPixel, const std::string& path) {
    Bitmap bitmap;
    switch (bitsPerPixel) {
    case 4:
        return Read("DrawBmpFile", path, 4, bitmap);
    case 8:
        return Read("DrawBmpFile", path, 8, bitmap);
    case 24:
        return Read("DrawBmpFile", path, 24, bitmap);
    default:
        LogString("DrawBmpFile: " + path + ": " + std::to_string(bitsPerPixel) +
                  " bits per pixel are not supported");
        return BmpPicture();
    }
}

void Draw(DrawingContext& dc, int x, int y, int w, int h, int bitsPerPixel, const std::string& path,
          bool keyed) {
    if (!dc.IsValid()) {
        return;
    }
    const BmpPicture picture = ReadForDrawing(bitsPerPixel, path);
    if (picture.rgb == nullptr) {
        return;
    }
    // The image has the file's own size, so asking for more than the file holds only draws
    // less, and asking for less draws the top-left part.
    XImage* image =
        CreateImageFromRgb(dc.GetForm(), picture.rgb.get(), picture.width, picture.height);
    if (image == nullptr) {
        return;
    }
    if (keyed) {
        PutImageKeyed(dc, x, y, w, h, image, 0);
    } else {
        PutImage(dc, x, y, w, h, image);
    }
    DestroyImage(image);
}

} // namespace

BmpPicture LoadBmp24(const std::string& path) {
    Bitmap bitmap;
    return Read("LoadBmp24", path, 24, bitmap);
}

BmpPicture LoadBmp8(const std::string& path) {
    Bitmap bitmap;
    return Read("LoadBmp8", path, 8, bitmap);
}

BmpPicture LoadBmp4(const std::string& path) {
    Bitmap bitmap;
    BmpPicture picture = Read("LoadBmp4", path, 4, bitmap);
    if (picture.rgb != nullptr) {
        ExportSource(path, bitmap);
    }
    return picture;
}

void DrawBmpFile(DrawingContext& dc, int x, int y, int w, int h, int bitsPerPixel,
                 const std::string& path) {
    Draw(dc, x, y, w, h, bitsPerPixel, path, false);
}

void DrawBmpFileKeyed(DrawingContext& dc, int x, int y, int w, int h, int bitsPerPixel,
                      const std::string& path) {
    Draw(dc, x, y, w, h, bitsPerPixel, path, true);
}
