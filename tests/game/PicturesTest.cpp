#include <gtest/gtest.h>

#include <cstring>

#include "game/BoardLayout.h"
#include "game/Pictures.h"
#include "gui/graphics/BmpFile.h"
#include "support/TempFolder.h"
#include "util/FileUtils.h"

// Each compiled-in picture has the size the board is laid out for and is, pixel for pixel,
// the picture drawn in its BMP; the strips list their frames in the order the rounds use.
TEST(Pictures, EveryPictureIsItsArtworkAtTheSizeTheBoardLaysOut) {
    struct Picture {
        std::string file;
        const unsigned char* block;
        int w, h, laidOutW, laidOutH;
    };
    std::vector<Picture> pictures = {
        {"logo", imgLOGO, wLOGO, hLOGO, kLogoArea.w, kLogoArea.h},
        {"bar_top", imgBAR_TOP, wBAR_TOP, hBAR_TOP, kBarTopArea.w, kBarTopArea.h},
        {"bar_bottom", imgBAR_BOTTOM, wBAR_BOTTOM, hBAR_BOTTOM, kBarBottomArea.w, kBarBottomArea.h},
        {"bar_left", imgBAR_LEFT, wBAR_LEFT, hBAR_LEFT, kBarLeftArea.w, kBarLeftArea.h},
        {"bar_right", imgBAR_RIGHT, wBAR_RIGHT, hBAR_RIGHT, kBarRightArea.w, kBarRightArea.h},
    };
    const int handSizes[][2] = {{wHAND0, hHAND0}, {wHAND1, hHAND1}, {wHAND2, hHAND2},
                                {wHAND3, hHAND3}, {wHAND4, hHAND4}, {wHAND5, hHAND5}};
    for (int i = 0; i < kHandsStripFrames; ++i) {
        pictures.push_back({"hand" + std::to_string(i), handsStrip[i], handSizes[i][0],
                            handSizes[i][1], kHandWidth, kHandHeight});
    }
    EXPECT_EQ(handsStrip[kHandsStripFrames], nullptr);
    const int resultSizes[][2] = {{wRESULT0, hRESULT0}, {wRESULT1, hRESULT1}, {wRESULT2, hRESULT2},
                                  {wRESULT3, hRESULT3}, {wRESULT4, hRESULT4}, {wRESULT5, hRESULT5},
                                  {wRESULT6, hRESULT6}};
    for (int i = 0; i < kResultStripFrames; ++i) {
        pictures.push_back({"result" + std::to_string(i), resultStrip[i], resultSizes[i][0],
                            resultSizes[i][1], kResultArea.w, kResultArea.h});
    }
    EXPECT_EQ(resultStrip[kResultStripFrames], nullptr);

    TempFolder dir{true};
    for (const Picture& picture : pictures) {
        SCOPED_TRACE(picture.file);
        EXPECT_EQ(picture.w, picture.laidOutW);
        EXPECT_EQ(picture.h, picture.laidOutH);
        // The reader writes its export beside the file it reads, so it reads a copy.
        const std::string copy = picture.file + ".bmp";
        ASSERT_TRUE(CopyFile(BRISGOLA_ASSETS_DIR "/game/" + copy, copy));
        const BmpPicture artwork = LoadBmp4(copy);
        ASSERT_NE(artwork.rgb, nullptr);
        ASSERT_EQ(artwork.width, picture.w);
        ASSERT_EQ(artwork.height, picture.h);
        const RgbBuffer compiled = BlockToRgb(picture.w, picture.h, picture.block);
        ASSERT_NE(compiled, nullptr);
        EXPECT_EQ(std::memcmp(compiled.get(), artwork.rgb.get(),
                              static_cast<size_t>(picture.w) * picture.h * 3),
                  0);
    }
}

TEST(Pictures, ComputerHandsMirrorThePlayersHands) {
    for (int i = 0; i < 3; ++i) {
        const RgbBuffer player = BlockToRgb(wHAND0, hHAND0, handsStrip[i]);
        const RgbBuffer computer = BlockToRgb(wHAND0, hHAND0, handsStrip[5 - i]);
        int differences = 0;
        for (int y = 0; y < hHAND0; ++y) {
            for (int x = 0; x < wHAND0; ++x) {
                const unsigned char* left = player.get() + 3 * (y * wHAND0 + x);
                const unsigned char* right = computer.get() + 3 * (y * wHAND0 + wHAND0 - 1 - x);
                differences += std::memcmp(left, right, 3) != 0;
            }
        }
        EXPECT_EQ(differences, 0) << "hand " << i << " and hand " << 5 - i;
    }
}
