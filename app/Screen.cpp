#include "app/Screen.h"

#include <fcntl.h>

#include "util/Log.h"

Screen* currentScreen = nullptr;

Screen::Screen(const char* title) : title(title) {
    Open();
    if (currentScreen == nullptr) {
        currentScreen = this;
    }
}

Screen::~Screen() {
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

int GetCurrentScreenWidth() { return currentScreen != nullptr ? currentScreen->GetWidth() : 0; }

int GetCurrentScreenHeight() { return currentScreen != nullptr ? currentScreen->GetHeight() : 0; }
