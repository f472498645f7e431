#pragma once

#include <string>
#include <vector>

#include "app/XlibHeaders.h"
#include "bench/PixelProbe.h"

// What the benchmark expects to read where, worked out from the pictures compiled into the
// game and from the server's own rendering of the game's font: sets of areas to probe, each
// with the patterns of pixels that tell one state of the board from another.

// A set of areas and the patterns they may show, each pattern as long as the probe's read.
struct SampleSet {
    std::vector<Area> areas;
    std::vector<Pixels> patterns;
};

// Pictures, as DecodePicture gives them
// Up to `count` single-pixel areas of the picture, in its own coordinates, whose colour is
// not the black of the board: once one of them shows its colour the picture has been painted.
// They are spread over the picture's rows.
std::vector<Area> PicturePoints(const Pixels& picture, int w, int h, int count);
// For each of several pictures of one size, up to three points where it shows a colour of its
// own that is not black: no other picture has that colour there. Empty when the pictures do
// not all have the size.
std::vector<Area> DistinguishingPoints(const std::vector<Pixels>& pictures, int w, int h);

// Matching
// The index of the first pattern the pixels show, or -1.
int MatchPattern(const Pixels& seen, const std::vector<Pixels>& patterns);

// The board
// One pattern: every picture, button face and caption of the idle board painted.
SampleSet IdleBoardSamples(Display* display, XFontStruct* font);
// Patterns 0 to 6 are the frames of the result strip in the result area; kResultHidden is
// the empty (black) area.
inline constexpr int kResultHidden = 7;
SampleSet ResultSamples();
// Pattern kChoicesShown: the three choice pictures; kChoicesHidden: none of them.
inline constexpr int kChoicesShown = 0;
inline constexpr int kChoicesHidden = 1;
SampleSet ChoiceSamples();
// Pattern kCaptionStart: the START caption; kCaptionCancel: CANCEL.
inline constexpr int kCaptionStart = 0;
inline constexpr int kCaptionCancel = 1;
SampleSet StartCaptionSamples(Display* display, XFontStruct* font);
