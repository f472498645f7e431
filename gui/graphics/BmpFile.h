#pragma once

#include <string>

#include "gui/graphics/ImageBlock.h"

class DrawingContext;

// Readers of Windows bitmap files (uncompressed, 4, 8 or 24 bits per pixel) and the exporter
// that turns a 16-colour bitmap into C source in the image-block format, which is how the
// pictures compiled into the program are made.
//
// Each reader takes only files of its own bit count. A file that is missing, truncated or
// malformed in any way gives a null buffer and one log line naming it; nothing is read beyond
// what the file holds. Bottom-up and top-down files are both read; the buffer is always top-down.

struct BmpPicture {
    RgbBuffer rgb; // null when the file was refused
    int width = 0;
    int height = 0;
};

// Readers
BmpPicture LoadBmp24(const std::string& path);
BmpPicture LoadBmp8(const std::string& path);
// Also writes the picture as C source to path + ".c", replacing any file of that name. For a
// bitmap with 16 palette entries the array in it is exactly an image block.
BmpPicture LoadBmp4(const std::string& path);

// Drawing: reads the file with the reader for bitsPerPixel (4, 8 or 24; the file must have
// that bit count) and draws the top-left w x h of it at (x, y); w or h 0 means the picture's
// own. Nothing is drawn when the file is refused.
void DrawBmpFile(DrawingContext& dc, int x, int y, int w, int h, int bitsPerPixel,
                 const std::string& path);
// The same with black transparent.
void DrawBmpFileKeyed(DrawingContext& dc, int x, int y, int w, int h, int bitsPerPixel,
                      const std::string& path);
