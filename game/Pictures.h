#pragma once

// The game's pictures, compiled in from assets/game/: the build exports each BMP as an image
// block (gui/graphics/ImageBlock.h) named after its file, with its width and height beside it.
// They are read-only.
extern "C" {

// Title, countdown and result banners, 133 x 100.
extern const unsigned char imgRESULT0[];
extern const int wRESULT0;
extern const int hRESULT0;
extern const unsigned char imgRESULT1[];
extern const int wRESULT1;
extern const int hRESULT1;
extern const unsigned char imgRESULT2[];
extern const int wRESULT2;
extern const int hRESULT2;
extern const unsigned char imgRESULT3[];
extern const int wRESULT3;
extern const int hRESULT3;
extern const unsigned char imgRESULT4[];
extern const int wRESULT4;
extern const int hRESULT4;
extern const unsigned char imgRESULT5[];
extern const int wRESULT5;
extern const int hRESULT5;
extern const unsigned char imgRESULT6[];
extern const int wRESULT6;
extern const int hRESULT6;

// Hands, 70 x 100.
extern const unsigned char imgHAND0[];
extern const int wHAND0;
extern const int hHAND0;
extern const unsigned char imgHAND1[];
extern const int wHAND1;
extern const int hHAND1;
extern const unsigned char imgHAND2[];
extern const int wHAND2;
extern const int hHAND2;
extern const unsigned char imgHAND3[];
extern const int wHAND3;
extern const int hHAND3;
extern const unsigned char imgHAND4[];
extern const int wHAND4;
extern const int hHAND4;
extern const unsigned char imgHAND5[];
extern const int wHAND5;
extern const int hHAND5;

// The window frame: horizontal bars 519 x 16, vertical bars 19 x 203.
extern const unsigned char imgBAR_TOP[];
extern const int wBAR_TOP;
extern const int hBAR_TOP;
extern const unsigned char imgBAR_BOTTOM[];
extern const int wBAR_BOTTOM;
extern const int hBAR_BOTTOM;
extern const unsigned char imgBAR_LEFT[];
extern const int wBAR_LEFT;
extern const int hBAR_LEFT;
extern const unsigned char imgBAR_RIGHT[];
extern const int wBAR_RIGHT;
extern const int hBAR_RIGHT;

// The logo, 163 x 50.
extern const unsigned char imgLOGO[];
extern const int wLOGO;
extern const int hLOGO;

} // extern "C"

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
