#pragma once

#include <string>

#include "app/XlibHeaders.h"
#include "tools/driver/ScreenReader.h"

// What the screen ought to show, worked out apart from the running program: the compiled-in
// pictures decoded from their blocks, and text drawn by the X server with the program's font
// where the toolkit places it.

// A compiled-in picture as 0xRRGGBB pixels, row by row; empty for a block that cannot be
// decoded.
Pixels DecodePicture(const unsigned char* block, int w, int h);
// The font the program draws with, or its fallback, as the program finds it on this server;
// the caller frees it.
XFontStruct* LoadProgramFont(Display* display);
// A text as the toolkit draws it into a w x h box: the box in bg, the lines placed as the
// toolkit places them, in fg. Empty when it cannot be rendered.
Pixels RenderText(Display* display, XFontStruct* font, int w, int h, const std::string& text,
                  unsigned long fg, unsigned long bg, int alignment);
