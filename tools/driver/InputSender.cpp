#include "tools/driver/InputSender.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>

#include "tools/driver/XErrorTrap.h"

InputSender::InputSender(Display* display) : display(display) {}

void InputSender::MoveTo(Window window, int x, int y) {
    if (display == nullptr || window == 0) {
        return;
    }
    const Window root = DefaultRootWindow(display);
    int rootX = 0;
    int rootY = 0;
    {
        XErrorTrap trap(display);
        Window child = 0;
        const bool translated =
            XTranslateCoordinates(display, window, root, x, y, &rootX, &rootY, &child) != 0;
        if (trap.Failed() || !translated) {
            return;
        }
    }
    XTestFakeMotionEvent(display, DefaultScreen(display), rootX, rootY, CurrentTime);
    XSync(display, False);
}

void InputSender::Press(Window window, int x, int y, unsigned int button) {
    MoveTo(window, x, y);
    if (display != nullptr) {
        XTestFakeButtonEvent(display, button, True, CurrentTime);
        XSync(display, False);
    }
}

void InputSender::Release(unsigned int button) {
    if (display != nullptr) {
        XTestFakeButtonEvent(display, button, False, CurrentTime);
        XSync(display, False);
    }
}

void InputSender::Click(Window window, int x, int y, unsigned int button) {
    Press(window, x, y, button);
    Release(button);
}

void InputSender::ClickCentre(Window window, const Area& area) {
    Click(window, area.CentreX(), area.CentreY());
}

void InputSender::ClickNow(unsigned int button) {
    if (display != nullptr) {
        XTestFakeButtonEvent(display, button, True, CurrentTime);
        XTestFakeButtonEvent(display, button, False, CurrentTime);
        XFlush(display);
    }
}

void InputSender::FocusKeyboardOn(Window window) {
    if (display != nullptr && window != 0) {
        XErrorTrap trap(display);
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
    }
}

KeyCode InputSender::CodeOf(KeySym key) {
    return display != nullptr ? XKeysymToKeycode(display, key) : 0;
}

void InputSender::PressKey(KeySym key) {
    if (const KeyCode code = CodeOf(key)) {
        XTestFakeKeyEvent(display, code, True, CurrentTime);
        XSync(display, False);
    }
}

void InputSender::ReleaseKey(KeySym key) {
    if (const KeyCode code = CodeOf(key)) {
        XTestFakeKeyEvent(display, code, False, CurrentTime);
        XSync(display, False);
    }
}

void InputSender::TapKey(KeySym key) {
    PressKey(key);
    ReleaseKey(key);
}

void InputSender::TapKeyNow(KeySym key) {
    if (const KeyCode code = CodeOf(key)) {
        XTestFakeKeyEvent(display, code, True, CurrentTime);
        XTestFakeKeyEvent(display, code, False, CurrentTime);
        XFlush(display);
    }
}

void InputSender::Type(const std::string& text) {
    for (const char character : text) {
        // Printable ASCII characters are their own key symbols.
        if (character < ' ' || character > '~') {
            continue;
        }
        const KeySym key = static_cast<KeySym>(character);
        const KeyCode code = CodeOf(key);
        if (code == 0) {
            continue;
        }
        // A symbol that is not the first one on its key needs Shift.
        const bool shifted = XkbKeycodeToKeysym(display, code, 0, 0) != key;
        if (shifted) {
            PressKey(XK_Shift_L);
        }
        TapKey(key);
        if (shifted) {
            ReleaseKey(XK_Shift_L);
        }
    }
}
