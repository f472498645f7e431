#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/TempFolder.h"
#include "tools/showcase/PngImage.h"

TEST(PngImage, FilesReadBackExactlyAndAreNeverLeftHalfWrittenOrHalfRead) {
    TempFolder folder;
    const std::string path = folder.File("shot.png");
    std::string error;
    // count pixels cycling through `distinct` colours spread over all three channels. Marked
    // repeats carry bits above the colour, which must not make them colours of their own.
    const auto colours = [](int count, int distinct, unsigned long mark) {
        std::vector<unsigned long> pixels;
        for (int i = 0; i < count; ++i) {
            pixels.push_back((((i % distinct) * 0x010307UL + 0x80ff01UL) & 0xffffff) |
                             (i >= distinct ? mark : 0));
        }
        return pixels;
    };
    // With two colours eight pixels share a byte, and a row of 7 ends inside one.
    for (const auto& [width, distinct, palette] :
         {std::tuple(7, 2, true), std::tuple(43, 256, true), std::tuple(43, 257, false)}) {
        const PngImage image(width, 6, colours(width * 6, distinct, 0xff000000UL));
        // The header comes first, so byte 25 is always its colour type: 3 palette, 2 true colour.
        EXPECT_EQ(image.Encode().at(25), palette ? 3 : 2) << distinct;
        ASSERT_TRUE(image.Write(path, error)) << error;
        const PngImage read = PngImage::Read(path, error);
        EXPECT_EQ(read.Width(), width) << error;
        EXPECT_EQ(read.Pixels(), colours(width * 6, distinct, 0)) << distinct;
    }

    // Pixels that do not fit the size never make a file. Then: the temporary file is blocked
    // by a folder; that folder is in the way, so its own temporary file must go again; the
    // folder is missing.
    const std::string whole = ReadWholeFile(path);
    const std::string empty = folder.File("empty.png");
    const PngImage picture(1, 1, {7});
    ASSERT_EQ(mkdir((path + ".part").c_str(), 0700), 0);
    for (const auto& [image, target] :
         {std::pair(PngImage(2, 2, {1, 2, 3}), empty),
          std::pair(PngImage(2, 2, {1, 2, 3, 4, 5}), empty),
          std::pair(PngImage(-2, -2, {1, 2, 3, 4}), empty), std::pair(picture, path),
          std::pair(picture, path + ".part"), std::pair(picture, folder.File("a/b.png"))}) {
        EXPECT_FALSE(image.Write(target, error));
        EXPECT_NE(error.find(target), std::string::npos) << error;
    }
    EXPECT_NE(access(empty.c_str(), F_OK), 0);
    EXPECT_NE(access((path + ".part.part").c_str(), F_OK), 0);
    EXPECT_EQ(ReadWholeFile(path), whole);

    // Nothing, text, half a file, a changed byte, all but the end marker.
    std::string damaged = whole;
    damaged[whole.size() / 2] ^= 0x10;
    for (const std::string& content :
         {std::string(), std::string("not a picture"), whole.substr(0, whole.size() / 2), damaged,
          whole.substr(0, whole.size() - 12)}) {
        WriteRawFile(path, content);
        EXPECT_TRUE(PngImage::Read(path, error).IsEmpty()) << content.size();
        EXPECT_NE(error.find(path), std::string::npos) << error;
    }
    EXPECT_TRUE(PngImage::Read(folder.File("none.png"), error).IsEmpty());
}

TEST(PngImage, ShrinkingTakesTheRoundedMeanOfEachSquare) {
    // 5 × 3 by 2: one row of two squares; the last column and row are dropped.
    const PngImage image(5, 3,
                         {0xff0000, 0x00ff00, 0, 0x010101, 7, //
                          0x0000ff, 0xffffff, 0, 0x010101, 7, //
                          7, 7, 7, 7, 7});
    // Each channel on its own: (255 + 255) / 4 = 127.5 rounds up; (1 + 1) / 4 = 0.5 too.
    EXPECT_EQ(image.Shrunk(2).Pixels(), (std::vector<unsigned long>{0x808080, 0x010101}));
    EXPECT_EQ(image.Shrunk(1).Pixels(), image.Pixels());
    EXPECT_EQ(image.Shrunk(3).Width(), 1);
    for (const int factor : {0, -1, 4}) {
        EXPECT_TRUE(image.Shrunk(factor).IsEmpty()) << factor;
    }
}
