#include <gtest/gtest.h>

#include "support/XTestSupport.h"

#include <X11/extensions/XTest.h>
#include <chrono>
#include <poll.h>
#include <thread>

#include "app/EventLoop.h"
#include "app/Screen.h"
#include "gui/core/Form.h"

namespace xtest {

using Clock = std::chrono::steady_clock;

Display* OpenDisplay() {
    Display* display = XOpenDisplay(nullptr);
    EXPECT_NE(display, nullptr) << "these tests need the X server named by DISPLAY";
    return display;
}

std::string ReadStringProperty(Display* display, Window window, const char* property) {
    const Atom atom = XInternAtom(display, property, False);
    Atom actualType;
    int format;
    unsigned long count, remaining;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, atom, 0, 1024, False, AnyPropertyType, &actualType,
                           &format, &count, &remaining, &data) != Success ||
        data == nullptr) {
        return {};
    }
    std::string value(reinterpret_cast<char*>(data), count * (format / 8));
    XFree(data);
    return value;
}

std::vector<long> ReadLongProperty(Display* display, Window window, const char* property,
                                   Atom type) {
    const Atom atom = XInternAtom(display, property, False);
    Atom actualType;
    int format;
    unsigned long count, remaining;
    unsigned char* data = nullptr;
    std::vector<long> values;
    if (XGetWindowProperty(display, window, atom, 0, 1024, False, type, &actualType, &format,
                           &count, &remaining, &data) != Success ||
        data == nullptr) {
        return values;
    }
    const long* longs = reinterpret_cast<const long*>(data);
    values.assign(longs, longs + count);
    XFree(data);
    return values;
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (Clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

bool WaitForViewable(Display* display, Window window, int timeoutMs) {
    return WaitUntil(
        [&] {
            XWindowAttributes attributes;
            return XGetWindowAttributes(display, window, &attributes) != 0 &&
                   attributes.map_state == IsViewable;
        },
        timeoutMs);
}

namespace {
int IgnoreError(Display*, XErrorEvent*) { return 0; }
} // namespace

bool IsOnScreen(Display* display, Window window) {
    XSync(display, False);
    auto* previous = XSetErrorHandler(IgnoreError);
    XWindowAttributes attributes;
    const bool viewable = XGetWindowAttributes(display, window, &attributes) != 0 &&
                          attributes.map_state == IsViewable;
    XSync(display, False);
    XSetErrorHandler(previous);
    return viewable;
}

bool WaitForManaged(Display* display, Window window, int timeoutMs) {
    if (!WaitForViewable(display, window, timeoutMs)) {
        return false;
    }
    const bool framed = WaitUntil(
        [&] {
            return !ReadLongProperty(display, window, "_NET_FRAME_EXTENTS", XA_CARDINAL).empty();
        },
        timeoutMs);
    // The frame is drawn and the window placed right after the extents are announced.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return framed;
}

unsigned long ReadPixel(Display* display, Window window, int x, int y) {
    XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) {
        return 0xdeadbeef;
    }
    const unsigned long pixel = XGetPixel(image, 0, 0) & 0xffffff;
    XDestroyImage(image);
    return pixel;
}

int CountPixels(Display* display, Window window, int x, int y, int w, int h,
                unsigned long color) {
    XImage* image = XGetImage(display, window, x, y, static_cast<unsigned>(w),
                              static_cast<unsigned>(h), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return -1;
    }
    int count = 0;
    for (int row = 0; row < h; ++row) {
        for (int column = 0; column < w; ++column) {
            if ((XGetPixel(image, column, row) & 0xffffff) == color) {
                ++count;
            }
        }
    }
    XDestroyImage(image);
    return count;
}

bool PumpUntil(Form* mainForm, const std::function<bool()>& condition, int timeoutMs) {
    Display* display = mainForm->GetScreen()->GetDisplay();
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            DispatchEvent(mainForm, event);
        }
        if (condition()) {
            return true;
        }
        if (Clock::now() > deadline) {
            return false;
        }
        pollfd watched{ConnectionNumber(display), POLLIN, 0};
        poll(&watched, 1, 10);
    }
}

void PumpEvents(Form* mainForm, int milliseconds) {
    PumpUntil(mainForm, [] { return false; }, milliseconds);
}

void MovePointer(Display* display, Window window, int x, int y) {
    int rootX = 0, rootY = 0;
    Window child;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &rootX, &rootY,
                          &child);
    XTestFakeMotionEvent(display, DefaultScreen(display), rootX, rootY, CurrentTime);
    XSync(display, False);
}

void PressButton(Display* display, Window window, int x, int y, unsigned int button) {
    MovePointer(display, window, x, y);
    XTestFakeButtonEvent(display, button, True, CurrentTime);
    XSync(display, False);
}

void ReleaseButton(Display* display, unsigned int button) {
    XTestFakeButtonEvent(display, button, False, CurrentTime);
    XSync(display, False);
}

void Click(Display* display, Window window, int x, int y, unsigned int button) {
    PressButton(display, window, x, y, button);
    ReleaseButton(display, button);
}

void TapKey(Display* display, KeySym key) {
    const KeyCode code = XKeysymToKeycode(display, key);
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XSync(display, False);
}

void SendDeleteWindow(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
}

} // namespace xtest
