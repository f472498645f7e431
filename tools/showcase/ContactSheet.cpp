#include "tools/showcase/ContactSheet.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "tools/driver/ExpectedPixels.h"

namespace {

const int kShrink = 2;
const int kColumns = 3;
const int kMargin = 16;
const int kTitleHeight = 40;
const int kCaptionHeight = 24;
const unsigned long kSheetColour = 0x202020;
const unsigned long kTextColour = 0xffffff;

int TextWidth(XFontStruct* font, const std::string& text) {
    return font == nullptr ? 0 : XTextWidth(font, text.data(), static_cast<int>(text.size()));
}

void DrawCentred(Display* display, Drawable drawable, GC gc, XFontStruct* font,
                 const std::string& text, int left, int width, int top, int height) {
    if (font == nullptr) {
        return;
    }
    const int x = left + std::max(0, (width - TextWidth(font, text)) / 2);
    const int y = top + (height + font->ascent - font->descent) / 2;
    XDrawString(display, drawable, gc, x, y, text.data(), static_cast<int>(text.size()));
}

// Copies the picture to the drawable through a client-side image in the server's format.
void PutPicture(Display* display, Drawable drawable, GC gc, Visual* visual, const PngImage& picture,
                int x, int y) {
    const size_t size = static_cast<size_t>(picture.Width()) * picture.Height() * 4;
    char* data = static_cast<char*>(std::malloc(size));
    if (data == nullptr) {
        return;
    }
    XImage* image =
        XCreateImage(display, visual, 24, ZPixmap, 0, data, static_cast<unsigned>(picture.Width()),
                     static_cast<unsigned>(picture.Height()), 32, 0);
    if (image == nullptr) {
        std::free(data);
        return;
    }
    const std::vector<unsigned long>& pixels = picture.Pixels();
    for (int row = 0; row < picture.Height(); ++row) {
        for (int column = 0; column < picture.Width(); ++column) {
            // On a 24-bit TrueColor visual a pixel value is the colour itself.
            XPutPixel(image, column, row,
                      pixels[static_cast<size_t>(row) * picture.Width() + column]);
        }
    }
    XPutImage(display, drawable, gc, image, 0, 0, x, y, static_cast<unsigned>(picture.Width()),
              static_cast<unsigned>(picture.Height()));
    XDestroyImage(image); // frees data too
}

} // namespace

void ContactSheet::Add(const std::string& caption, const PngImage& picture) {
    PngImage thumbnail = picture.Shrunk(kShrink);
    if (!thumbnail.IsEmpty()) {
        entries.push_back({caption, std::move(thumbnail)});
    }
}

PngImage ContactSheet::Compose(Display* display, std::string& error) const {
    if (entries.empty()) {
        error = "the contact sheet has no pictures";
        return {};
    }
    const int screen = DefaultScreen(display);
    Visual* visual = DefaultVisual(display, screen);
    if (DefaultDepth(display, screen) != 24 || visual->c_class != TrueColor) {
        error = "the contact sheet needs a 24-bit TrueColor screen";
        return {};
    }

    int cellWidth = 0;
    int cellHeight = 0;
    for (const Entry& entry : entries) {
        cellWidth = std::max(cellWidth, entry.thumbnail.Width());
        cellHeight = std::max(cellHeight, entry.thumbnail.Height());
    }
    const int count = static_cast<int>(entries.size());
    const int columns = std::min(kColumns, count);
    const int rows = (count + kColumns - 1) / kColumns;
    const int width = kMargin + columns * (cellWidth + kMargin);
    const int height = kTitleHeight + rows * (cellHeight + kCaptionHeight + kMargin);

    // The captions are in the game's own font.
    XFontStruct* font = LoadProgramFont(display);
    const Pixmap canvas =
        XCreatePixmap(display, RootWindow(display, screen), static_cast<unsigned>(width),
                      static_cast<unsigned>(height), 24);
    GC gc = XCreateGC(display, canvas, 0, nullptr);
    if (font != nullptr) {
        XSetFont(display, gc, font->fid);
    }
    XSetForeground(display, gc, kSheetColour);
    XFillRectangle(display, canvas, gc, 0, 0, static_cast<unsigned>(width),
                   static_cast<unsigned>(height));
    XSetForeground(display, gc, kTextColour);
    DrawCentred(display, canvas, gc, font, title, 0, width, 0, kTitleHeight);

    for (int i = 0; i < count; ++i) {
        const Entry& entry = entries[static_cast<size_t>(i)];
        const int left = kMargin + (i % kColumns) * (cellWidth + kMargin);
        const int top = kTitleHeight + (i / kColumns) * (cellHeight + kCaptionHeight + kMargin);
        // Smaller pictures sit centred in their cell.
        PutPicture(display, canvas, gc, visual, entry.thumbnail,
                   left + (cellWidth - entry.thumbnail.Width()) / 2,
                   top + (cellHeight - entry.thumbnail.Height()) / 2);
        DrawCentred(display, canvas, gc, font, entry.caption, left, cellWidth, top + cellHeight,
                    kCaptionHeight);
    }

    XImage* image = XGetImage(display, canvas, 0, 0, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    XFreeGC(display, gc);
    XFreePixmap(display, canvas);
    if (font != nullptr) {
        XFreeFont(display, font);
    }
    if (image == nullptr) {
        error = "the X server did not give the contact sheet back";
        return {};
    }
    std::vector<unsigned long> pixels;
    pixels.reserve(static_cast<size_t>(width) * height);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            pixels.push_back(XGetPixel(image, column, row) & 0xffffff);
        }
    }
    XDestroyImage(image);
    return PngImage(width, height, std::move(pixels));
}
