#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <sys/stat.h>

#include "gui/graphics/BmpBuilder.h"
#include "gui/graphics/BmpFile.h"
#include "support/TempFolder.h"
#include "util/FileUtils.h"
#include "util/TextFile.h"

namespace {

// Colours that differ in every channel from entry to entry, all of the first 256 apart.
std::vector<unsigned long> Palette(int entries) {
    std::vector<unsigned long> palette;
    for (unsigned long i = 0; i < static_cast<unsigned long>(entries); ++i) {
        palette.push_back((40 * i + 7) % 256 << 16 | (90 * i + 3) % 256 << 8 | (13 * i + 1) % 256);
    }
    return palette;
}

// The highest index first, then a spread of the others.
std::vector<int> Indices(int count, int entries) {
    std::vector<int> indices;
    for (int i = 0; i < count; ++i) {
        indices.push_back((entries - 1 + i * 7) % entries);
    }
    return indices;
}

BmpPicture Load(int bits, const std::string& path) {
    return bits == 4 ? LoadBmp4(path) : bits == 8 ? LoadBmp8(path) : LoadBmp24(path);
}

} // namespace

// Widths 1 to 9 meet every row padding of every depth; both row orders give the same picture.
// An 8-bit picture names at most 256 colours, and these files carry 300: the rest must never
// be read into the reader's 256-entry palette (the sanitizer build catches a write past it),
// and the pixels still come from where the header says they are.
TEST(BmpFile, EveryDepthReadsBackExactPixels) {
    TempFolder dir{true};
    for (int bits : {4, 8, 24}) {
        const std::vector<unsigned long> palette = Palette(bits == 8 ? 300 : 16);
        for (int w = 1; w <= 9; ++w) {
            const std::vector<int> indices = Indices(w * 3, bits == 8 ? 256 : 16);
            for (bool topDown : {false, true}) {
                SCOPED_TRACE(std::to_string(bits) + " bits, width " + std::to_string(w) +
                             (topDown ? ", top-down" : ""));
                WriteRawFile("p.bmp", BmpBuilder(w, 3, bits, palette, indices, topDown).bytes);
                const BmpPicture picture = Load(bits, "p.bmp");
                ASSERT_NE(picture.rgb, nullptr);
                ASSERT_EQ(std::pair(picture.width, picture.height), std::pair(w, 3));
                int wrong = 0;
                for (size_t i = 0; i < indices.size(); ++i) {
                    const unsigned char* p = picture.rgb.get() + 3 * i;
                    wrong += static_cast<unsigned long>(p[0] << 16 | p[1] << 8 | p[2]) !=
                             palette[size_t(indices[i])];
                }
                EXPECT_EQ(wrong, 0);
            }
        }
    }
    EXPECT_FALSE(FileExists("log.txt"));
}

// The palette, 16 colours of three bytes, then the rows top-down, two pixels a byte.
TEST(BmpFile, FourBitReaderExportsCSourceByteForByte) {
    TempFolder dir{true};
    std::vector<unsigned long> palette;
    for (unsigned long i = 0; i < 16; ++i) {
        palette.push_back(i << 16 | (0x10 + i) << 8 | (0xA0 + i));
    }
    const std::string file = BmpBuilder(3, 2, 4, palette, {1, 2, 3, 4, 5, 6}).bytes;
    WriteRawFile("tiny_pic.bmp", file);
    // An older export, longer than the new one, must be replaced rather than written over.
    WriteRawFile("tiny_pic.bmp.c", std::string(1000, 'x'));
    ASSERT_NE(LoadBmp4("tiny_pic.bmp").rgb, nullptr);
    EXPECT_EQ(
        ReadWholeFile("tiny_pic.bmp.c"),
        "int wTINY_PIC = 3;\n"
        "int hTINY_PIC = 2;\n"
        "\n"
        "char imgTINY_PIC[] = {\n"
        "0x00,0x10,0xA0,0x01,0x11,0xA1,0x02,0x12,0xA2,0x03,0x13,0xA3,0x04,0x14,0xA4,0x05,0x15,"
        "0xA5,0x06,0x16,0xA6,0x07,0x17,0xA7,0x08,0x18,0xA8,0x09,0x19,0xA9,0x0A,0x1A,0xAA,0x0B,"
        "0x1B,0xAB,0x0C,0x1C,0xAC,0x0D,0x1D,0xAD,0x0E,0x1E,0xAE,0x0F,0x1F,0xAF,\n"
        "0x45,0x60,\n"
        "0x12,0x30,\n"
        "};\n"
        "\n");

    // A file name that is no C name becomes one, and the log says what it became.
    WriteRawFile("tiny-pic.v2.bmp", file);
    ASSERT_NE(LoadBmp4("tiny-pic.v2.bmp").rgb, nullptr);
    EXPECT_EQ(ReadWholeFile("tiny-pic.v2.bmp.c").substr(0, 44),
              "int wTINY_PIC_V2 = 3;\nint hTINY_PIC_V2 = 2;\n");
    EXPECT_EQ(ReadWholeFile("log.txt"), "LoadBmp4: tiny-pic.v2.bmp is exported as TINY_PIC_V2\n");

    // An export the user may not write, and a folder of that name, are kept; the picture is
    // read all the same and the log says what was not written.
    ASSERT_TRUE(RunsAsOrdinaryUser());
    ASSERT_EQ(chmod("tiny_pic.bmp.c", 0444), 0);
    ASSERT_EQ(mkdir("folder.bmp.c", 0755), 0);
    WriteRawFile("folder.bmp", file);
    for (const std::string path : {"tiny_pic.bmp", "folder.bmp"}) {
        RemoveFile("log.txt");
        const std::string before = PathPrint(path + ".c");
        EXPECT_NE(LoadBmp4(path).rgb, nullptr);
        EXPECT_EQ(PathPrint(path + ".c"), before);
        EXPECT_EQ(ReadWholeFile("log.txt"), "LoadBmp4: cannot write " + path + ".c\n");
    }
}

// Each spoils one field of a valid file, at the edge of what the reader must refuse.
TEST(BmpFile, HostileFilesAreRefusedWithOneLogLine) {
    TempFolder dir{true};
    // Opening a pipe for reading would wait for a writer if the reader were careless.
    ASSERT_EQ(mkfifo("pipe.bmp", 0600), 0);
    using Spoil = std::function<void(BmpBuilder&)>;
    const Spoil none = [](BmpBuilder&) {};
    struct Case {
        const char* name;
        int bits;     // the reader
        int fileBits; // the valid file that is spoilt, 0 for none
        Spoil spoil;
        const char* path = "spoilt.bmp";
    };
    const Case cases[] = {
        {"shorter than the headers", 4, 4, [](BmpBuilder& b) { b.bytes.resize(53); }},
        {"not a bitmap", 24, 24, [](BmpBuilder& b) { b.bytes[0] = 'X'; }},
        {"old 12-byte header", 8, 8, [](BmpBuilder& b) { b.Set(14, 12); }},
        {"negative width", 8, 8, [](BmpBuilder& b) { b.Set(18, -3); }},
        {"absurd width", 24, 24, [](BmpBuilder& b) { b.Set(18, INT_MAX); }},
        {"zero height", 4, 4, [](BmpBuilder& b) { b.Set(22, 0); }},
        {"most negative height", 24, 24, [](BmpBuilder& b) { b.Set(22, INT_MIN); }},
        {"data offset at the end", 4, 4,
         [](BmpBuilder& b) { b.Set(10, static_cast<int32_t>(b.bytes.size())); }},
        {"data offset inside the header", 24, 24, [](BmpBuilder& b) { b.Set(10, 20); }},
        {"pixels cut short", 24, 24, [](BmpBuilder& b) { b.bytes.pop_back(); }},
        // The first stored pixel follows the 5-entry palette at 54 + 20.
        {"index one past the palette", 8, 8, [](BmpBuilder& b) { b.bytes[74] = 5; }},
        {"8 bits given to the 4-bit reader", 4, 8, none},
        {"run-length compressed", 4, 4, [](BmpBuilder& b) { b.Set(30, 2); }},
        {"missing", 4, 0, none, "missing.bmp"},
        {"a pipe", 24, 0, none, "pipe.bmp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.Path() + "/" + c.path;
        if (c.fileBits != 0) {
            const int entries = c.fileBits == 8 ? 5 : 16;
            BmpBuilder file(5, 3, c.fileBits, Palette(entries), Indices(15, entries));
            c.spoil(file);
            WriteRawFile(path, file.bytes);
        }
        RemoveFile("log.txt");
        EXPECT_EQ(Load(c.bits, path).rgb, nullptr);
        const std::vector<std::string> lines = TextFile("log.txt").ReadLines();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_NE(lines[0].find(path), std::string::npos) << lines[0];
        EXPECT_FALSE(FileExists(path + ".c")) << "a refused file is not exported";
    }
}
