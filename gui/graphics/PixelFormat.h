#pragma once

#include "app/XlibHeaders.h"

// Colours are 0xRRGGBB values throughout the program; the X server wants pixel values laid out
// as its visual's masks say. On the usual 24-bit TrueColor visual the two are the same number;
// on others (15, 16 or 30 bits) each channel is moved to its place and cut or stretched to its
// width, so that every TrueColor screen shows the colours the program means.
class PixelFormat {
  public:
    // The format of the display's default visual, on which every window of the program lives.
    static const PixelFormat& Of(Display* display);
    explicit PixelFormat(const Visual* visual);

    unsigned long ToPixel(unsigned long color) const;
    unsigned long ToColor(unsigned long pixel) const;
    // True when pixel values are 0xRRGGBB themselves.
    bool IsPlainRgb() const { return plainRgb; }

  private:
    struct Channel {
        int shift = 0;
        int width = 8;
    };
    static Channel FromMask(unsigned long mask);
    static unsigned long Narrow(unsigned long value, const Channel& channel);
    static unsigned long Widen(unsigned long pixel, const Channel& channel);

    Channel red;
    Channel green;
    Channel blue;
    bool plainRgb = true;
};
