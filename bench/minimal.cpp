// The minimal client: the cheapest program that puts a board like the game's on the screen,
// as the second yardstick of the benchmark. It maps a window of the game's size and class and
// paints plain rectangles where the game shows pictures and buttons, the buttons' captions in
// the server's default font, and one yellow square last (bench/MinimalBoard.h). It converts
// no picture, loads no font and asks the server only for the close request's atom; an Expose
// repaints the board and the window manager's close request ends it. It blocks in XNextEvent.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/XlibHeaders.h"
#include "bench/MinimalBoard.h"
#include "game/BoardLayout.h"
#include "game/Product.h"

namespace {

const unsigned long kPictureColor = 0x808080;
const int kCaptionBaseline = 18;
const int kCaptionLeft = 10;

struct Box {
    const Area& area;
    unsigned long color;
    const char* caption;
};

const Box kBoard[] = {
    {kLogoArea, kPictureColor, nullptr},
    {kBarTopArea, kPictureColor, nullptr},
    {kBarLeftArea, kPictureColor, nullptr},
    {kBarRightArea, kPictureColor, nullptr},
    {kBarBottomArea, kPictureColor, nullptr},
    {kComputerHandArea, kPictureColor, nullptr},
    {kPlayerHandArea, kPictureColor, nullptr},
    {kResultArea, kPictureColor, nullptr},
    {kChoiceAreas[0], kPictureColor, nullptr},
    {kChoiceAreas[1], kPictureColor, nullptr},
    {kChoiceAreas[2], kPictureColor, nullptr},
    {kStartButtonArea, kStartFaceColor, kStartCaption},
    {kInfoButtonArea, kButtonFaceColor, "Info"},
    {kExitButtonArea, kButtonFaceColor, "Exit"},
    {kMinimalMarkerArea, kMinimalMarkerColor, nullptr},
};

void Fill(Display* display, Window window, GC gc, const Area& area, unsigned long color) {
    XSetForeground(display, gc, color);
    XFillRectangle(display, window, gc, area.x, area.y, static_cast<unsigned>(area.w),
                   static_cast<unsigned>(area.h));
}

void Paint(Display* display, Window window, GC gc) {
    for (const Box& box : kBoard) {
        Fill(display, window, gc, box.area, box.color);
        if (box.caption != nullptr) {
            XSetForeground(display, gc, kButtonTextColor);
            XDrawString(display, window, gc, box.area.x + kCaptionLeft,
                        box.area.y + kCaptionBaseline, box.caption,
                        static_cast<int>(std::strlen(box.caption)));
        }
    }
    XFlush(display);
}

} // namespace

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "brisgola-minimal: cannot open the display\n");
        return 1;
    }
    const int screen = DefaultScreen(display);
    const Window window =
        XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, kWindowWidth, kWindowHeight,
                            0, BlackPixel(display, screen), kBoardColor);
    XStoreName(display, window, "minimal");
    // Xlib takes the names as writable strings, though it only reads them.
    std::string className = kGameWindowClass;
    XClassHint classHint{className.data(), className.data()};
    XSetClassHint(display, window, &classHint);
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteWindow, 1);
    XSelectInput(display, window, ExposureMask);
    XMapWindow(display, window);
    GC gc = XCreateGC(display, window, 0, nullptr);

    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == Expose && event.xexpose.count == 0) {
            Paint(display, window, gc);
        } else if (event.type == ClientMessage &&
                   static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow) {
            break;
        }
    }
    XFreeGC(display, gc);
    XCloseDisplay(display);
    return 0;
}
