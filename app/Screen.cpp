#include "app/Screen.h"

#include <X11/Xproto.h>
#include <cerrno>
#include <fcntl.h>

#include "util/Log.h"

Screen* currentScreen = nullptr;

namespace {

XErrorHandler xlibHandler = nullptr;

// Focus can only be given to a viewable window, and the player may unmap (minimise) a window
// between the program's look at it and its request: that one refusal is harmless and is let
// pass. Every other error stays Xlib's to report, which ends the program.
int HandleXError(Display* display, XErrorEvent* error) {
    if (error->request_code == X_SetInputFocus && error->error_code == BadMatch) {
        return 0;
    }
    return xlibHandler != nullptr ? xlibHandler(display, error) : 0;
}

} // namespace

Screen::Screen(const char* title) : title(title), programName(program_invocation_short_name) {
    Open();
    if (currentScreen == nullptr) {
        currentScreen = this;
    }
}

Screen::~Screen() {
    if (currentScreen == this) {
        currentScreen = nullptr;
    }
    if (display != nullptr) {
        if (visualInfo != nullptr) {
            XFree(visualInfo);
        }
        XCloseDisplay(display);
    }
}

void Screen::Open() {
    display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        openFailed = 1;
        Log("XOpenDisplay(0) failed.");
        return;
    }
    // Sounds and links are started in forked children; the connection must not leak into the
    // programs they run.
    fcntl(ConnectionNumber(display), F_SETFD, FD_CLOEXEC);
    if (xlibHandler == nullptr) {
        xlibHandler = XSetErrorHandler(HandleXError);
    }

    screenNumber = DefaultScreen(display);
    XScreen* xScreen = ScreenOfDisplay(display, screenNumber);
    width = WidthOfScreen(xScreen);
    height = HeightOfScreen(xScreen);
    depth = DefaultDepthOfScreen(xScreen);
    if (depth < 24) {
        Log("This app requires 24-bit depth.");
    }

    XVisualInfo pattern{};
    pattern.screen = screenNumber;
    pattern.depth = depth;
    int count = 0;
    visualInfo = XGetVisualInfo(display, VisualScreenMask | VisualDepthMask, &pattern, &count);
    if (count == 0) {
        Log("GetVisualInfo failed.");
    }
    height = XDisplayHeight(display, screenNumber);
    width = XDisplayWidth(display, screenNumber);
}

bool Screen::Close() {
    if (display == nullptr) {
        return false;
    }
    if (visualInfo != nullptr) {
        XFree(visualInfo);
        visualInfo = nullptr;
    }
    XCloseDisplay(display);
    display = nullptr;
    return true;
}

int GetCurrentScreenWidth() {
    return currentScreen != nullptr ? currentScreen->GetWidth() : 0;
}

int GetCurrentScreenHeight() {
    return currentScreen != nullptr ? currentScreen->GetHeight() : 0;
}
