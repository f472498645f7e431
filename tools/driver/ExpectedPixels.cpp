#include "tools/driver/ExpectedPixels.h"

#include "gui/graphics/DrawingContext.h"
#include "gui/graphics/Font.h"
#include "gui/graphics/ImageBlock.h"

Pixels DecodePicture(const unsigned char* block, int w, int h) {
    Pixels pixels;
    const RgbBuffer rgb = BlockToRgb(w, h, block);
    if (rgb == nullptr) {
        return pixels;
    }
    pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<unsigned long>(rgb[3 * i]) << 16 |
                    static_cast<unsigned long>(rgb[3 * i + 1]) << 8 | rgb[3 * i + 2];
    }
    return pixels;
}

XFontStruct* LoadProgramFont(Display* display) {
    // The program draws with a default font record; its pattern is the toolkit's to compose.
    XFontStruct* font = XLoadQueryFont(display, Font().BuildName().c_str());
    return font != nullptr ? font : XLoadQueryFont(display, kFallbackFontName);
}

Pixels RenderText(Display* display, XFontStruct* font, int w, int h, const std::string& text,
                  unsigned long fg, unsigned long bg, int alignment) {
    if (display == nullptr || font == nullptr || w <= 0 || h <= 0) {
        return {};
    }
    const int screen = DefaultScreen(display);
    const Pixmap canvas = XCreatePixmap(display, RootWindow(display, screen),
                                        static_cast<unsigned>(w), static_cast<unsigned>(h),
                                        static_cast<unsigned>(DefaultDepth(display, screen)));
    GC gc = XCreateGC(display, canvas, 0, nullptr);
    XSetFont(display, gc, font->fid);
    XSetForeground(display, gc, bg);
    XFillRectangle(display, canvas, gc, 0, 0, static_cast<unsigned>(w), static_cast<unsigned>(h));
    XSetForeground(display, gc, fg);
    for (const TextLine& line : LayOutText(font, 0, 0, w, h, text, alignment)) {
        XDrawString(display, canvas, gc, line.x, line.baseline, line.text.data(),
                    static_cast<int>(line.text.size()));
    }
    ScreenReader reader(display);
    Pixels pixels = reader.ReadWindow(canvas, {0, 0, w, h});
    XFreeGC(display, gc);
    XFreePixmap(display, canvas);
    return pixels;
}
