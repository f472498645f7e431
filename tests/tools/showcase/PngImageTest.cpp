#include <gtest/gtest.h>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "support/PngDecoder.h"
#include "support/TempFolder.h"
#include "tools/showcase/PngImage.h"

namespace {

// width × height pixels, each a different colour (count must not pass 2^24).
std::vector<unsigned long> DistinctColours(int width, int height) {
    std::vector<unsigned long> pixels;
    for (int i = 0; i < width * height; ++i) {
        // Spread over all three channels so each one's byte order is exercised.
        pixels.push_back((static_cast<unsigned long>(i) * 0x010307UL + 0x80ff01UL) & 0xffffff);
    }
    return pixels;
}

std::vector<unsigned char> ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(file), {});
}

} // namespace

TEST(PngImage, FewColoursGoThroughAPaletteAndReadBackExactly) {
    // Odd sizes, black, white and colours with every high bit set.
    const std::vector<unsigned long> pixels = {
        0x000000, 0xffffff, 0xff0080, 0x000000, 0x80ff00, //
        0xffffff, 0x000000, 0x123456, 0x123456, 0xff0080, //
        0x80ff00, 0x80ff00, 0x000000, 0xffffff, 0x123456,
    };
    const PngImage image(5, 3, pixels);
    ASSERT_FALSE(image.IsEmpty());
    const PngDecoder png(image.Encode());
    ASSERT_TRUE(png.Ok()) << png.Error();
    EXPECT_EQ(png.Chunks(), (std::vector<std::string>{"IHDR", "PLTE", "IDAT", "IEND"}));
    EXPECT_EQ(png.ColourType(), 3);
    EXPECT_EQ(png.Width(), 5);
    EXPECT_EQ(png.Height(), 3);
    EXPECT_EQ(png.Pixels(), pixels);
    // Bits above the colour do not make a pixel another colour.
    std::vector<unsigned long> marked = pixels;
    marked[2] |= 0xff000000UL;
    EXPECT_EQ(PngImage(5, 3, marked).Encode(), image.Encode());

    // A palette holds 256 colours at most: one more and the file is true colour.
    const PngImage full(16, 16, DistinctColours(16, 16));
    const PngDecoder fullPng(full.Encode());
    ASSERT_TRUE(fullPng.Ok()) << fullPng.Error();
    EXPECT_EQ(fullPng.ColourType(), 3);
    EXPECT_EQ(fullPng.Pixels(), full.Pixels());

    const PngImage many(17, 16, DistinctColours(17, 16));
    const PngDecoder manyPng(many.Encode());
    ASSERT_TRUE(manyPng.Ok()) << manyPng.Error();
    EXPECT_EQ(manyPng.Chunks(), (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    EXPECT_EQ(manyPng.ColourType(), 2);
    EXPECT_EQ(manyPng.Width(), 17);
    EXPECT_EQ(manyPng.Pixels(), many.Pixels());
}

TEST(PngImage, PixelsThatDoNotFitTheSizeGiveAnEmptyPicture) {
    TempFolder folder;
    const std::vector<PngImage> bad = {
        PngImage(),
        PngImage(2, 2, {1, 2, 3}),
        PngImage(2, 2, {1, 2, 3, 4, 5}),
        PngImage(0, 0, {}),
        PngImage(-2, -2, {1, 2, 3, 4}),
    };
    for (const PngImage& image : bad) {
        EXPECT_TRUE(image.IsEmpty());
        EXPECT_EQ(image.Width(), 0);
        EXPECT_TRUE(image.Encode().empty());
        std::string error;
        const std::string path = folder.Path() + "/empty.png";
        EXPECT_FALSE(image.Write(path, error));
        EXPECT_NE(error.find(path), std::string::npos) << error;
        EXPECT_NE(access(path.c_str(), F_OK), 0);
    }
}

TEST(PngImage, ShrinkingTakesTheRoundedMeanOfEachSquare) {
    // 5 × 3 by 2: one row of two squares; the last column and row are dropped.
    const PngImage image(5, 3,
                         {
                             0xff0000, 0x00ff00, 0x000000, 0x010101, 0x777777, //
                             0x0000ff, 0xffffff, 0x000000, 0x010101, 0x777777, //
                             0x777777, 0x777777, 0x777777, 0x777777, 0x777777,
                         });
    const PngImage half = image.Shrunk(2);
    ASSERT_EQ(half.Width(), 2);
    ASSERT_EQ(half.Height(), 1);
    // Each channel on its own: (255 + 255) / 4 = 127.5 rounds up; (1 + 1) / 4 = 0.5 too.
    EXPECT_EQ(half.Pixels(), (std::vector<unsigned long>{0x808080, 0x010101}));

    EXPECT_EQ(image.Shrunk(1).Pixels(), image.Pixels());
    EXPECT_EQ(image.Shrunk(3).Width(), 1);
    EXPECT_TRUE(image.Shrunk(0).IsEmpty());
    EXPECT_TRUE(image.Shrunk(-1).IsEmpty());
    EXPECT_TRUE(image.Shrunk(4).IsEmpty()); // taller than the picture
    EXPECT_TRUE(PngImage().Shrunk(1).IsEmpty());
}

TEST(PngImage, WriteReplacesTheFileWholeAndLeavesNothingElse) {
    TempFolder folder;
    const std::string path = folder.Path() + "/shot.png";
    const PngImage first(3, 1, {0x000000, 0x111111, 0x222222});
    const PngImage second(1, 2, {0xabcdef, 0x000001});
    std::string error;
    ASSERT_TRUE(first.Write(path, error)) << error;
    EXPECT_EQ(ReadBytes(path), first.Encode());
    ASSERT_TRUE(second.Write(path, error)) << error;
    const PngDecoder png = PngDecoder::FromFile(path);
    ASSERT_TRUE(png.Ok()) << png.Error();
    EXPECT_EQ(png.Pixels(), second.Pixels());
    EXPECT_NE(access((path + ".part").c_str(), F_OK), 0);

    const std::string nowhere = folder.Path() + "/missing/shot.png";
    EXPECT_FALSE(first.Write(nowhere, error));
    EXPECT_NE(error.find("missing/shot.png"), std::string::npos) << error;
}
