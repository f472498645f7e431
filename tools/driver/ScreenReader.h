#pragma once

#include <vector>

#include "app/XlibHeaders.h"
#include "gui/core/Area.h"

// Colours as 0xRRGGBB, row by row.
using Pixels = std::vector<unsigned long>;

// Reads pixels back from the X server, as another client sees them. The screen is what a
// person sees: a window's area with whatever covers it. A window's own contents are what it
// drew there, covered or not. The program needs a 24-bit TrueColor visual, where a pixel value
// is 0xRRGGBB.
class ScreenReader {
  public:
    explicit ScreenReader(Display* display);

    // What the screen shows over the window's area, windows above it included; empty when the
    // window is not on the screen or the area leaves the screen.
    Pixels ReadScreen(Window window, const Area& area);
    // The window's own contents; empty when the window is gone or the area leaves it.
    Pixels ReadWindow(Window window, const Area& area);
    // One pixel of the window's own contents, or kUnreadable.
    unsigned long Pixel(Window window, int x, int y);
    // How many pixels of the window's area have the colour; -1 when it cannot be read.
    int Count(Window window, const Area& area, unsigned long color);

    // No colour of 24 bits: a pixel that could not be read never matches one that can.
    static constexpr unsigned long kUnreadable = 0xdeadbeef;

  private:
    Pixels Read(Drawable drawable, const Area& area);

    Display* display;
};
