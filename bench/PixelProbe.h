#pragma once

#include <vector>

#include "app/XlibHeaders.h"
#include "gui/core/Area.h"
#include "tools/driver/ScreenReader.h"

// Reads a fixed set of small areas of a window with one round trip. Each read copies the areas
// side by side into a pixmap of the probe's own (requests that need no reply) and fetches that
// pixmap with one XGetImage, so a poll costs the server little and the program under test
// hardly feels it. A part of the window that cannot be read (unmapped, off the screen) comes
// back as kUnreadable, never as a stale colour of an earlier read. Pixels come area after
// area, each area row by row.
class PixelProbe {
  public:
    // A colour that none of the game's pictures, faces or texts uses, so an unreadable pixel
    // never matches what a test expects.
    static constexpr unsigned long kUnreadable = 0x010203;

    PixelProbe(Display* display, Window window, const std::vector<Area>& areas);
    ~PixelProbe();
    PixelProbe(const PixelProbe&) = delete;
    PixelProbe& operator=(const PixelProbe&) = delete;

    // Empty when the window or the server failed the read.
    Pixels Read();
    size_t PixelCount() const { return pixelCount; }

  private:
    Display* display;
    Window window;
    std::vector<Area> areas;
    std::vector<int> offsets; // where each area lands in the canvas
    int canvasWidth = 0;
    int canvasHeight = 0;
    size_t pixelCount = 0;
    Pixmap canvas = 0;
    GC gc = nullptr;
};
