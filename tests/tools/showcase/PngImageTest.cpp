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

    // A write that cannot finish leaves nothing behind: here a folder holds the name, so the
    // finished file cannot take it. A file cut short reads as no picture.
    const std::string whole = ReadWholeFile(path);
    const std::string blocked = folder.File("blocked.png");
    ASSERT_EQ(mkdir(blocked.c_str(), 0700), 0);
    EXPECT_FALSE(PngImage(1, 1, {7}).Write(blocked, error));
    EXPECT_NE(error.find(blocked), std::string::npos) << error;
    EXPECT_NE(access((blocked + ".part").c_str(), F_OK), 0);
    WriteRawFile(path, whole.substr(0, whole.size() / 2));
    EXPECT_TRUE(PngImage::Read(path, error).IsEmpty());
    EXPECT_NE(error.find(path), std::string::npos) << error;
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
