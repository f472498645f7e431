#include "bench/PixelProbe.h"

#include <algorithm>

#include "tools/driver/XErrorTrap.h"

namespace {

const unsigned long kColourBits = 0xffffff;

} // namespace

PixelProbe::PixelProbe(Display* display, Window window, const std::vector<Area>& areas)
    : display(display), window(window), areas(areas) {
    for (const Area& area : areas) {
        offsets.push_back(canvasWidth);
        canvasWidth += std::max(area.w, 0);
        canvasHeight = std::max(canvasHeight, area.h);
        pixelCount += static_cast<size_t>(std::max(area.w, 0)) * std::max(area.h, 0);
    }
    if (display == nullptr || canvasWidth <= 0 || canvasHeight <= 0) {
        return;
    }
    const int screen = DefaultScreen(display);
    canvas = XCreatePixmap(display, RootWindow(display, screen), static_cast<unsigned>(canvasWidth),
                           static_cast<unsigned>(canvasHeight),
                           static_cast<unsigned>(DefaultDepth(display, screen)));
    XGCValues values{};
    // Copies from a partly hidden window would otherwise send GraphicsExpose events.
    values.graphics_exposures = False;
    gc = XCreateGC(display, canvas, GCGraphicsExposures, &values);
}

PixelProbe::~PixelProbe() {
    if (gc != nullptr) {
        XFreeGC(display, gc);
    }
    if (canvas != 0) {
        XFreePixmap(display, canvas);
    }
}

Pixels PixelProbe::Read() {
    if (gc == nullptr || window == 0) {
        return {};
    }
    const unsigned long errorsBefore = XErrorTrap::ErrorsSeen();
    // Parts of the window that cannot be copied leave the canvas as it was, so it is painted
    // over before every read.
    XSetForeground(display, gc, kUnreadable);
    XFillRectangle(display, canvas, gc, 0, 0, static_cast<unsigned>(canvasWidth),
                   static_cast<unsigned>(canvasHeight));
    for (size_t i = 0; i < areas.size(); ++i) {
        const Area& area = areas[i];
        XCopyArea(display, window, canvas, gc, area.x, area.y, static_cast<unsigned>(area.w),
                  static_cast<unsigned>(area.h), offsets[i], 0);
    }
    XImage* image = XGetImage(display, canvas, 0, 0, static_cast<unsigned>(canvasWidth),
                              static_cast<unsigned>(canvasHeight), AllPlanes, ZPixmap);
    // The reply of XGetImage comes after any error of the copies before it, so the count is
    // complete here.
    if (image == nullptr || XErrorTrap::ErrorsSeen() != errorsBefore) {
        if (image != nullptr) {
            XDestroyImage(image);
        }
        return {};
    }
    Pixels pixels;
    pixels.reserve(pixelCount);
    for (size_t i = 0; i < areas.size(); ++i) {
        for (int row = 0; row < areas[i].h; ++row) {
            for (int column = 0; column < areas[i].w; ++column) {
                pixels.push_back(XGetPixel(image, offsets[i] + column, row) & kColourBits);
            }
        }
    }
    XDestroyImage(image);
    return pixels;
}
