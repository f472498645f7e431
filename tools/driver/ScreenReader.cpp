#include "tools/driver/ScreenReader.h"

#include "tools/driver/XErrorTrap.h"

ScreenReader::ScreenReader(Display* display) : display(display) {}

Pixels ScreenReader::Read(Drawable drawable, const Area& area) {
    Pixels pixels;
    XImage* image = XGetImage(display, drawable, area.x, area.y, static_cast<unsigned>(area.w),
                              static_cast<unsigned>(area.h), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return pixels;
    }
    pixels.reserve(static_cast<size_t>(area.w) * static_cast<size_t>(area.h));
    for (int row = 0; row < area.h; ++row) {
        for (int column = 0; column < area.w; ++column) {
            pixels.push_back(XGetPixel(image, column, row) & 0xffffff);
        }
    }
    XDestroyImage(image);
    return pixels;
}

Pixels ScreenReader::ReadScreen(Window window, const Area& area) {
    if (display == nullptr || window == 0 || area.w <= 0 || area.h <= 0) {
        return {};
    }
    // A window's hidden parts come back from the server as plain black, which would pass for
    // an empty board, while the screen shows what covers them. Reading outside the screen, or
    // a window that is gone, is an error; the trap turns it into an empty answer.
    XErrorTrap trap(display);
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes) == 0 ||
        attributes.map_state != IsViewable) {
        return {};
    }
    const Window root = DefaultRootWindow(display);
    Area onRoot = area;
    Window child = 0;
    if (XTranslateCoordinates(display, window, root, area.x, area.y, &onRoot.x, &onRoot.y,
                              &child) == 0 ||
        trap.Failed()) {
        return {};
    }
    Pixels pixels = Read(root, onRoot);
    return trap.Failed() ? Pixels{} : pixels;
}

Pixels ScreenReader::ReadWindow(Window window, const Area& area) {
    if (display == nullptr || window == 0 || area.w <= 0 || area.h <= 0) {
        return {};
    }
    XErrorTrap trap(display);
    Pixels pixels = Read(window, area);
    return trap.Failed() ? Pixels{} : pixels;
}

unsigned long ScreenReader::Pixel(Window window, int x, int y) {
    const Pixels pixels = ReadWindow(window, {x, y, 1, 1});
    return pixels.empty() ? kUnreadable : pixels.front();
}

int ScreenReader::Count(Window window, const Area& area, unsigned long color) {
    const Pixels pixels = ReadWindow(window, area);
    if (pixels.empty()) {
        return -1;
    }
    int count = 0;
    for (unsigned long pixel : pixels) {
        count += pixel == color ? 1 : 0;
    }
    return count;
}
