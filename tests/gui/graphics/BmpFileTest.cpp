#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <numeric>
#include <sys/stat.h>

#include "gui/graphics/BmpBuilder.h"
#include "gui/graphics/BmpFile.h"
#include "support/TempFolder.h"
#include "util/FileUtils.h"
#include "util/TextFile.h"

namespace {

// Colours that differ in every channel from entry to entry, blue in all of the first 256.
std::vector<Rgb> Palette(int entries) {
    std::vector<Rgb> palette;
    for (int i = 0; i < entries; ++i) {
        palette.push_back(Rgb{static_cast<unsigned char>(40 * i + 7),
                              static_cast<unsigned char>(90 * i + 3),
                              static_cast<unsigned char>(13 * i + 1)});
    }
    return palette;
}

std::vector<int> Indices(int count, int entries) {
    std::vector<int> indices;
    for (int i = 0; i < count; ++i) {
        indices.push_back((i * 7 + 3) % entries);
    }
    return indices;
}

BmpPicture Load(int bits, const std::string& path) {
    return bits == 4 ? LoadBmp4(path) : bits == 8 ? LoadBmp8(path) : LoadBmp24(path);
}

// How many pixels of the picture are not the palette colour of their index.
int WrongPixels(const BmpPicture& picture, const std::vector<Rgb>& palette,
                const std::vector<int>& indices) {
    int wrong = 0;
    for (size_t i = 0; i < indices.size(); ++i) {
        const unsigned char* p = picture.rgb.get() + 3 * i;
        wrong += !(Rgb{p[0], p[1], p[2]} == palette[static_cast<size_t>(indices[i])]);
    }
    return wrong;
}

} // namespace

// Widths 1 to 9 meet every row padding of every depth; both row orders give the same picture.
TEST(BmpFile, EveryDepthReadsBackExactPixels) {
    TempFolder dir{true};
    for (int bits : {4, 8, 24}) {
        const std::vector<Rgb> palette = Palette(bits == 8 ? 7 : 16);
        for (int w = 1; w <= 9; ++w) {
            const std::vector<int> indices = Indices(w * 3, static_cast<int>(palette.size()));
            for (bool topDown : {false, true}) {
                SCOPED_TRACE(std::to_string(bits) + " bits, width " + std::to_string(w) +
                             (topDown ? ", top-down" : ""));
                WriteRawFile("p.bmp", BmpBuilder(w, 3, bits, palette, indices, topDown).bytes);
                const BmpPicture picture = Load(bits, "p.bmp");
                ASSERT_NE(picture.rgb, nullptr);
                ASSERT_EQ(picture.width, w);
                ASSERT_EQ(picture.height, 3);
                EXPECT_EQ(WrongPixels(picture, palette, indices), 0);
            }
        }
    }
    EXPECT_FALSE(FileExists("log.txt"));
}

// An 8-bit picture names at most 256 colours. A file that carries more must never have them
// read into the reader's 256-entry palette (the sanitizer build catches a write past it): the
// first 256 are the palette, and the pixels still come from where the header says they are.
TEST(BmpFile, PaletteOfMoreThan256ColoursIsReadOnlyAsFarAsItsFirst256) {
    TempFolder dir{true};
    std::vector<int> indices(256);
    std::iota(indices.begin(), indices.end(), 0);
    const std::vector<Rgb> palette = Palette(300);
    WriteRawFile("wide.bmp", BmpBuilder(16, 16, 8, palette, indices).bytes);
    const BmpPicture picture = LoadBmp8("wide.bmp");
    ASSERT_NE(picture.rgb, nullptr);
    ASSERT_EQ(picture.width * picture.height, 256);
    EXPECT_EQ(WrongPixels(picture, palette, indices), 0);
}

TEST(BmpFile, FourBitReaderExportsCSourceByteForByte) {
    TempFolder dir{true};
    std::vector<Rgb> palette;
    for (unsigned char i = 0; i < 16; ++i) {
        palette.push_back(
            Rgb{i, static_cast<unsigned char>(0x10 + i), static_cast<unsigned char>(0xA0 + i)});
    }
    const std::vector<int> indices = {1, 2, 3, 4, 5, 6};
    const std::string path = dir.Path() + "/tiny_pic.bmp";
    WriteRawFile(path, BmpBuilder(3, 2, 4, palette, indices).bytes);
    // An older export, longer than the new one, must be replaced rather than written over.
    WriteRawFile(path + ".c", std::string(1000, 'x'));
    ASSERT_NE(LoadBmp4(path).rgb, nullptr);

    const std::string expected =
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
        "\n";
    EXPECT_EQ(ReadWholeFile(path + ".c"), expected);

    // A top-down file is exported bottom-up all the same, with a positive height.
    ASSERT_TRUE(MakeDirIfMissing("flipped"));
    WriteRawFile("flipped/tiny_pic.bmp", BmpBuilder(3, 2, 4, palette, indices, true).bytes);
    ASSERT_NE(LoadBmp4("flipped/tiny_pic.bmp").rgb, nullptr);
    EXPECT_EQ(ReadWholeFile("flipped/tiny_pic.bmp.c"), expected);

    // A file name that is no C name becomes one, and the log says what it became.
    WriteRawFile("tiny-pic.v2.bmp", BmpBuilder(3, 2, 4, palette, indices).bytes);
    ASSERT_NE(LoadBmp4("tiny-pic.v2.bmp").rgb, nullptr);
    std::string renamed = expected;
    for (size_t at = 0; (at = renamed.find("TINY_PIC", at)) != std::string::npos; at += 11) {
        renamed.replace(at, 8, "TINY_PIC_V2");
    }
    EXPECT_EQ(ReadWholeFile("tiny-pic.v2.bmp.c"), renamed);
    EXPECT_EQ(ReadWholeFile("log.txt"), "LoadBmp4: tiny-pic.v2.bmp is exported as TINY_PIC_V2\n");
}

TEST(BmpFile, HostileFilesAreRefusedWithOneLogLine) {
    TempFolder dir{true};
    ASSERT_TRUE(MakeDirIfMissing("folder.bmp"));
    // Opening a pipe for reading would wait for a writer if the reader were careless.
    ASSERT_EQ(mkfifo("pipe.bmp", 0600), 0);
    using Spoil = std::function<void(BmpBuilder&)>;
    const Spoil none = [](BmpBuilder&) {};
    struct Case {
        const char* name;
        int bits;     // the reader
        int fileBits; // the valid file that is spoilt
        Spoil spoil;
        const char* path = "spoilt.bmp";
    };
    const Case cases[] = {
        {"shorter than the headers", 4, 4, [](BmpBuilder& b) { b.bytes.resize(53); }},
        {"not a bitmap", 24, 24, [](BmpBuilder& b) { b.bytes[0] = 'X'; }},
        {"old 12-byte header", 8, 8, [](BmpBuilder& b) { b.SetI32(14, 12); }},
        {"negative width", 8, 8, [](BmpBuilder& b) { b.SetI32(18, -3); }},
        {"absurd width", 24, 24, [](BmpBuilder& b) { b.SetI32(18, INT_MAX); }},
        {"zero height", 4, 4, [](BmpBuilder& b) { b.SetI32(22, 0); }},
        {"most negative height", 24, 24, [](BmpBuilder& b) { b.SetI32(22, INT_MIN); }},
        {"sizes far beyond the file", 8, 8,
         [](BmpBuilder& b) { b.SetI32(18, 32767).SetI32(22, -32767); }},
        {"data offset at the end", 4, 4,
         [](BmpBuilder& b) { b.SetI32(10, static_cast<int32_t>(b.bytes.size())); }},
        {"data offset inside the header", 24, 24, [](BmpBuilder& b) { b.SetI32(10, 20); }},
        {"data offset of 4 GB", 8, 8, [](BmpBuilder& b) { b.SetI32(10, -1); }},
        {"pixels cut short", 24, 24, [](BmpBuilder& b) { b.bytes.pop_back(); }},
        // The first stored pixel follows the 5-entry palette at 54 + 20.
        {"index beyond the palette", 8, 8, [](BmpBuilder& b) { b.bytes[74] = 5; }},
        {"nibble beyond a short palette", 4, 4,
         [](BmpBuilder& b) {
             b = BmpBuilder(2, 1, 4, Palette(3), {1, 2});
             b.bytes[54 + 12] = 0x19;
         }},
        {"no palette at all", 8, 8, [](BmpBuilder& b) { b.SetI32(10, 54); }},
        {"8 bits given to the 4-bit reader", 4, 8, none},
        {"24 bits given to the 8-bit reader", 8, 24, none},
        {"run-length compressed", 4, 4, [](BmpBuilder& b) { b.SetI32(30, 2); }},
        {"missing", 4, 0, none, "missing.bmp"},
        {"a folder", 8, 0, none, "folder.bmp"},
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
        const BmpPicture picture = Load(c.bits, path);
        EXPECT_EQ(picture.rgb, nullptr);
        const std::vector<std::string> lines = TextFile("log.txt").ReadLines();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_NE(lines[0].find(path), std::string::npos) << lines[0];
        EXPECT_FALSE(FileExists(path + ".c")) << "a refused file is not exported";
    }
}
