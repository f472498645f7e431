// The floor: the game's idle board painted the way a bare Xlib client paints it, as the yardstick
// the benchmark holds the game against. It opens the same window (size, size hints, title,
// class) and paints the same pictures, buttons and lines, but with nothing between it and
// Xlib: one graphics context for the whole run, every picture converted once into an X image
// of the server's own pixel format, one XPutImage per picture, one flush per paint.
//
// It answers exactly the input the benchmark sends: a press on the choice pictures' row puts
// one result picture (the floor of a click answered by one picture), a click on START swaps
// its caption between START and CANCEL, an Expose repaints the board and the window manager's
// close request ends the program. With --typing it also takes keys: a printable character is
// drawn with one request at one place below the board (the floor of a keystroke), whose
// rectangle it prints on start as "cell x y w h", and BackSpace clears that place. It blocks
// in XNextEvent and nothing else, so it costs nothing while idle.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/XlibHeaders.h"
#include "game/BoardLayout.h"
#include "game/Pictures.h"
#include "game/Product.h"
#include "gui/controls/ButtonCustom.h"
#include "gui/graphics/DrawingContext.h"
#include "gui/graphics/Font.h"

namespace {

// One compiled-in picture converted for the screen, with where the board shows it.
struct Picture {
    XImage* image = nullptr;
    int x = 0;
    int y = 0;
};

struct Floor {
    Display* display = nullptr;
    Window window = 0;
    GC gc = nullptr;
    XFontStruct* font = nullptr;
    Atom deleteWindow = 0;
    std::vector<Picture> board;
    // Pictures a click on the choice row puts in turn into the result box.
    std::vector<XImage*> results;
    size_t nextResult = 0;
    bool startShowsCancel = false;
    // Where --typing draws a character.
    Area typingCell;
};

// Decodes a 16-colour block (palette, then 4-bit rows bottom-up, high nibble first) straight
// into a 32-bit ZPixmap image. On a 24-bit TrueColor visual with the usual masks a pixel value
// is 0xRRGGBB, so each palette entry becomes one pixel value, computed once.
XImage* ConvertBlock(Display* display, Visual* visual, const unsigned char* block, int w, int h) {
    const bool usualMasks =
        visual->red_mask == 0xff0000 && visual->green_mask == 0x00ff00 && visual->blue_mask == 0xff;
    unsigned long palette[16];
    for (int i = 0; i < 16; ++i) {
        palette[i] = static_cast<unsigned long>(block[3 * i]) << 16 |
                     static_cast<unsigned long>(block[3 * i + 1]) << 8 | block[3 * i + 2];
    }
    char* data = static_cast<char*>(std::malloc(static_cast<size_t>(w) * h * 4));
    if (data == nullptr) {
        return nullptr;
    }
    XImage* image = XCreateImage(display, visual, 24, ZPixmap, 0, data, static_cast<unsigned>(w),
                                 static_cast<unsigned>(h), 32, 0);
    if (image == nullptr) {
        std::free(data);
        return nullptr;
    }
    const unsigned char* pixels = block + 48;
    const int rowBytes = (w + 1) / 2;
    for (int stored = 0; stored < h; ++stored) {
        const unsigned char* source = pixels + static_cast<size_t>(stored) * rowBytes;
        const int row = h - 1 - stored;
        if (usualMasks && image->bits_per_pixel == 32) {
            auto* target = reinterpret_cast<uint32_t*>(image->data + row * image->bytes_per_line);
            for (int column = 0; column < w; ++column) {
                const unsigned char byte = source[column / 2];
                target[column] =
                    static_cast<uint32_t>(palette[column % 2 == 0 ? byte >> 4 : byte & 0x0f]);
            }
        } else {
            // Any other layout goes through Xlib's own pixel store, slowly but correctly.
            for (int column = 0; column < w; ++column) {
                const unsigned char byte = source[column / 2];
                XPutPixel(image, column, row, palette[column % 2 == 0 ? byte >> 4 : byte & 0x0f]);
            }
        }
    }
    return image;
}

// Draws a text in a box the way the game does: the box filled with the background and the
// lines where the toolkit places them.
void DrawTextLine(Floor& floor, const Area& box, const char* text, unsigned long fg,
                  unsigned long bg, int alignment) {
    XSetForeground(floor.display, floor.gc, bg);
    XFillRectangle(floor.display, floor.window, floor.gc, box.x, box.y,
                   static_cast<unsigned>(box.w - 1), static_cast<unsigned>(box.h));
    XSetForeground(floor.display, floor.gc, fg);
    for (const TextLine& line :
         LayOutText(floor.font, box.x, box.y, box.w, box.h, text, alignment)) {
        XDrawString(floor.display, floor.window, floor.gc, line.x, line.baseline, line.text.data(),
                    static_cast<int>(line.text.size()));
    }
}

void PaintButton(Floor& floor, const Area& box, const char* caption, unsigned long face,
                 unsigned long text) {
    XSetForeground(floor.display, floor.gc, face);
    XFillRectangle(floor.display, floor.window, floor.gc, box.x, box.y,
                   static_cast<unsigned>(box.w), static_cast<unsigned>(box.h));
    // The caption sits in the button less its bevel margins, as in the game.
    DrawTextLine(floor, box.Inset(ButtonCustom::kCaptionMarginX, ButtonCustom::kCaptionMarginY),
                 caption, text, face, kAlignCenter);
}

void PaintStart(Floor& floor) {
    PaintButton(floor, kStartButtonArea, floor.startShowsCancel ? kCancelCaption : kStartCaption,
                kStartFaceColor, kStartCaptionColor);
}

void PaintBoard(Floor& floor) {
    for (const Picture& picture : floor.board) {
        XPutImage(floor.display, floor.window, floor.gc, picture.image, 0, 0, picture.x, picture.y,
                  static_cast<unsigned>(picture.image->width),
                  static_cast<unsigned>(picture.image->height));
    }
    PaintStart(floor);
    PaintButton(floor, kInfoButtonArea, "Info", kButtonFaceColor, kButtonTextColor);
    PaintButton(floor, kExitButtonArea, "Exit", kButtonFaceColor, kButtonTextColor);
    DrawTextLine(floor, kScoreLineArea, "", kLineTextColor, kBoardColor, kAlignLeft);
    DrawTextLine(floor, kStatusLineArea, "", kLineTextColor, kBoardColor, kAlignCenter);
    XFlush(floor.display);
}

void PutNextResult(Floor& floor) {
    XImage* image = floor.results[floor.nextResult];
    floor.nextResult = (floor.nextResult + 1) % floor.results.size();
    XPutImage(floor.display, floor.window, floor.gc, image, 0, 0, kResultArea.x, kResultArea.y,
              static_cast<unsigned>(image->width), static_cast<unsigned>(image->height));
    XFlush(floor.display);
}

void SetProperties(Floor& floor, const std::string& title) {
    XSizeHints* size = XAllocSizeHints();
    XWMHints* wm = XAllocWMHints();
    XClassHint* classHint = XAllocClassHint();
    if (size != nullptr && wm != nullptr && classHint != nullptr) {
        size->flags = PPosition | PSize | PMinSize | PMaxSize;
        size->width = size->min_width = size->max_width = kWindowWidth;
        size->height = size->min_height = size->max_height = kWindowHeight;
        wm->flags = InputHint | StateHint | IconPixmapHint;
        wm->input = True;
        wm->initial_state = NormalState;
        wm->icon_pixmap = None;
        // Xlib takes the names as writable strings, though it only reads them.
        std::string className = kGameWindowClass;
        classHint->res_name = className.data();
        classHint->res_class = className.data();

        std::string titleCopy = title;
        char* titleList[] = {titleCopy.data()};
        char* iconList[] = {className.data()};
        XTextProperty windowName{};
        XTextProperty iconName{};
        const bool haveWindowName = XStringListToTextProperty(titleList, 1, &windowName) != 0;
        const bool haveIconName = XStringListToTextProperty(iconList, 1, &iconName) != 0;
        XSetWMProperties(floor.display, floor.window, haveWindowName ? &windowName : nullptr,
                         haveIconName ? &iconName : nullptr, nullptr, 0, size, wm, classHint);
        if (haveWindowName) {
            XFree(windowName.value);
        }
        if (haveIconName) {
            XFree(iconName.value);
        }
    }
    XFree(size);
    XFree(wm);
    XFree(classHint);
    floor.deleteWindow = XInternAtom(floor.display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(floor.display, floor.window, &floor.deleteWindow, 1);
}

bool AddPicture(Floor& floor, Visual* visual, const unsigned char* block, const Area& area) {
    XImage* image = ConvertBlock(floor.display, visual, block, area.w, area.h);
    if (image == nullptr) {
        return false;
    }
    floor.board.push_back({image, area.x, area.y});
    return true;
}

// The board's pictures at the game's places, in the order the game makes them.
bool ConvertPictures(Floor& floor, Visual* visual) {
    bool converted = AddPicture(floor, visual, imgLOGO, kLogoArea) &&
                     AddPicture(floor, visual, imgBAR_TOP, kBarTopArea) &&
                     AddPicture(floor, visual, imgBAR_LEFT, kBarLeftArea) &&
                     AddPicture(floor, visual, imgBAR_RIGHT, kBarRightArea) &&
                     AddPicture(floor, visual, imgBAR_BOTTOM, kBarBottomArea) &&
                     AddPicture(floor, visual, imgHAND3, kComputerHandArea) &&
                     AddPicture(floor, visual, imgHAND1, kPlayerHandArea) &&
                     AddPicture(floor, visual, imgRESULT0, kResultArea);
    for (const unsigned char* block : {imgRESULT4, imgRESULT5, imgRESULT6, imgRESULT0}) {
        XImage* image =
            converted ? ConvertBlock(floor.display, visual, block, wRESULT0, hRESULT0) : nullptr;
        converted = converted && image != nullptr;
        if (image != nullptr) {
            floor.results.push_back(image);
        }
    }
    return converted;
}

// One character with one request: the image string paints its own background.
void TypeKey(Floor& floor, XKeyEvent& key) {
    char typed[8] = {};
    KeySym symbol = 0;
    const int count = XLookupString(&key, typed, sizeof typed, &symbol, nullptr);
    const Area& cell = floor.typingCell;
    if (symbol == XK_BackSpace) {
        XSetForeground(floor.display, floor.gc, kBoardColor);
        XFillRectangle(floor.display, floor.window, floor.gc, cell.x, cell.y,
                       static_cast<unsigned>(cell.w), static_cast<unsigned>(cell.h));
    } else if (count == 1 && typed[0] >= ' ' && typed[0] <= '~' && floor.font != nullptr) {
        XSetForeground(floor.display, floor.gc, kLineTextColor);
        XSetBackground(floor.display, floor.gc, kBoardColor);
        XDrawImageString(floor.display, floor.window, floor.gc, cell.x, cell.y + floor.font->ascent,
                         typed, 1);
    }
    XFlush(floor.display);
}

void Release(Floor& floor) {
    for (Picture& picture : floor.board) {
        XDestroyImage(picture.image);
    }
    for (XImage* image : floor.results) {
        XDestroyImage(image);
    }
    if (floor.font != nullptr) {
        XFreeFont(floor.display, floor.font);
    }
    if (floor.gc != nullptr) {
        XFreeGC(floor.display, floor.gc);
    }
    XCloseDisplay(floor.display);
}

} // namespace

int main(int argc, char** argv) {
    const bool typing = argc == 2 && std::strcmp(argv[1], "--typing") == 0;
    if (argc > 1 && !typing) {
        std::fprintf(stderr, "usage: brisgola-floor [--typing]\n");
        return 2;
    }
    Floor floor;
    floor.display = XOpenDisplay(nullptr);
    if (floor.display == nullptr) {
        std::fprintf(stderr, "brisgola-floor: cannot open the display\n");
        return 1;
    }
    Display* display = floor.display;
    const int screen = DefaultScreen(display);
    if (DefaultDepth(display, screen) != 24) {
        std::fprintf(stderr, "brisgola-floor: the display is not 24 bits deep\n");
        XCloseDisplay(display);
        return 1;
    }
    const std::string title = std::string(kProductName) + " " + kCopyrightNotice;
    floor.window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, kWindowWidth,
                                       kWindowHeight, 1, BlackPixel(display, screen), kBoardColor);
    SetProperties(floor, title);
    XSelectInput(display, floor.window,
                 ExposureMask | ButtonPressMask | ButtonReleaseMask | (typing ? KeyPressMask : 0));
    // Mapping first lets the window manager frame the window while the pictures convert.
    XMapWindow(display, floor.window);
    XFlush(display);

    XGCValues values{};
    values.graphics_exposures = False;
    floor.gc = XCreateGC(display, floor.window, GCGraphicsExposures, &values);
    // The font the game draws with: the toolkit's default record names it.
    floor.font = XLoadQueryFont(display, Font().BuildName().c_str());
    if (floor.font == nullptr) {
        floor.font = XLoadQueryFont(display, kFallbackFontName);
    }
    if (floor.font != nullptr) {
        XSetFont(display, floor.gc, floor.font->fid);
    }
    if (!ConvertPictures(floor, DefaultVisual(display, screen))) {
        std::fprintf(stderr, "brisgola-floor: the pictures could not be converted\n");
        Release(floor);
        return 1;
    }
    if (typing && floor.font != nullptr) {
        // Below the choices, on the plain board.
        floor.typingCell = {kChoiceLeft, kChoiceRowArea.y + kChoiceRowArea.h + 4,
                            floor.font->max_bounds.width, floor.font->ascent + floor.font->descent};
        const Area& cell = floor.typingCell;
        std::printf("cell %d %d %d %d\n", cell.x, cell.y, cell.w, cell.h);
        std::fflush(stdout);
    }

    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        switch (event.type) {
        case Expose:
            // The last of a series: one repaint covers all of them.
            if (event.xexpose.count == 0) {
                PaintBoard(floor);
            }
            break;
        case ButtonPress:
            if (event.xbutton.button == Button1 &&
                kChoiceRowArea.Contains(event.xbutton.x, event.xbutton.y)) {
                PutNextResult(floor);
            }
            break;
        case KeyPress:
            TypeKey(floor, event.xkey);
            break;
        case ButtonRelease:
            if (event.xbutton.button == Button1 &&
                kStartButtonArea.Contains(event.xbutton.x, event.xbutton.y)) {
                floor.startShowsCancel = !floor.startShowsCancel;
                PaintStart(floor);
                XFlush(display);
            }
            break;
        case ClientMessage:
            if (static_cast<Atom>(event.xclient.data.l[0]) == floor.deleteWindow) {
                Release(floor);
                return 0;
            }
            break;
        default:
            break;
        }
    }
}
