#pragma once

// The game's pictures, compiled in from assets/game/. The build declares each one in
// game/PictureBlocks.h, which it writes: an image block (gui/graphics/ImageBlock.h) named
// after its file, imgHAND0 for hand0.bmp, with its width wHAND0 and height hHAND0 beside it.
// The results are 133 x 100, the hands 70 x 100, the horizontal bars of the window's frame
// 519 x 16, the vertical ones 19 x 203 and the logo 163 x 50. They are read-only.
#include "game/PictureBlocks.h"

// Frame tables for ImageFrame, null-terminated. The rounds are decided by these indices, so
// the order is fixed.

// The player's paper, rock, scissors (fingers to the left), then the computer's scissors,
// rock, paper (mirrored): entries i and 5 - i show one gesture facing opposite ways.
const int kHandsStripFrames = 6;
inline const unsigned char* const handsStrip[kHandsStripFrames + 1] = {
    imgHAND0, imgHAND1, imgHAND2, imgHAND3, imgHAND4, imgHAND5, nullptr};

// The title, the countdown 3, 2, 1, then YOU WON, YOU LOST, TIE.
const int kResultStripFrames = 7;
inline const unsigned char* const resultStrip[kResultStripFrames + 1] = {
    imgRESULT0, imgRESULT1, imgRESULT2, imgRESULT3, imgRESULT4, imgRESULT5, imgRESULT6, nullptr};
