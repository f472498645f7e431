#pragma once

#include <cstddef>
#include <memory>

#include "app/XlibHeaders.h"

class GUIElement;

// Pictures are compiled into the program as image blocks: a palette of 16 colours (red, green,
// blue bytes) followed by 4-bit pixel rows of ceil(w / 2) bytes, stored bottom-up, high nibble
// first. A block carries no size; its width and height travel beside it. Blocks become 24-bit
// RGB buffers (w x h pixels of red, green, blue, rows top-down, no padding) and those become X
// images laid out the way the screen wants its pixels.

// RGB buffers belong to whoever asked for them.
using RgbBuffer = std::unique_ptr<unsigned char[]>;

// How the server lays out one pixel, learned once per process by ProbePixelFormat. The channel
// indices are byte positions inside one pixel; the defaults are the usual little-endian ones.
struct PixelLayout {
    int ixRosso = 2;
    int ixVerde = 1;
    int ixBlu = 0;
    int format = ZPixmap;
    int depth = 0; // 0 until probed
    int bitsPerPixel = 0;
    int bitmapPad = 0;
    int bitmapUnit = 0;
    int bitmapBitOrder = 0;
    int byteOrder = 0;
    int xOffset = 0;
};
extern PixelLayout pixelLayout;

// X coordinates are 16-bit signed numbers, so no picture the program can show is larger.
const int kMaxImageSide = 32767;

// Block layout
const int kPaletteEntries = 16;
const int kPaletteBytes = 3 * kPaletteEntries;
// The bytes of a w x h block, palette included; 0 for an empty or negative size.
size_t BlockSize(int w, int h);

// Conversions
// Null for a null block or a size that is not positive.
RgbBuffer BlockToRgb(int w, int h, const unsigned char* block);
void ProbePixelFormat(GUIElement* element);
// An X image for the screen of the element's form; null when rgb is null or no image can be
// made. The caller releases it with DestroyImage.
XImage* CreateImageFromRgb(GUIElement* element, const unsigned char* rgb, int w, int h);
// The image CreateImageFromRgb makes of BlockToRgb's buffer, made straight from the block.
XImage* CreateImageFromBlock(GUIElement* element, const unsigned char* block, int w, int h);
void DestroyImage(XImage* image);
// An X image made here, owned: it goes, pixels and all, with its holder.
struct ImageDeleter {
    void operator()(XImage* image) const { DestroyImage(image); }
};
using ClientImage = std::unique_ptr<XImage, ImageDeleter>;
// A pixmap holding the whole image, on the window of the element's form; the caller frees it.
// None when there is no image or no form to make it on.
Pixmap CreatePixmapFromImage(GUIElement* element, XImage* image);
// Frees a pixmap made for the element; once the connection is closed the server has freed it.
void FreePixmap(GUIElement* element, Pixmap pixmap);
