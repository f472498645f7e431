#include "support/EventPump.h"

#include <chrono>
#include <poll.h>

#include "app/EventLoop.h"
#include "app/Screen.h"
#include "gui/core/Form.h"

bool PumpUntil(Form* mainForm, const std::function<bool()>& condition, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
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

void DispatchPending(Form* mainForm) {
    // The round trip makes sure every event sent before it has been read.
    XSync(mainForm->GetScreen()->GetDisplay(), False);
    const auto once = [] { return true; };
    PumpUntil(mainForm, once, 0);
}

void PumpEvents(Form* mainForm, int milliseconds) {
    PumpUntil(
        mainForm, [] { return false; }, milliseconds);
}

void SendKey(Form* mainForm, Form* target, int type, KeySym key) {
    Display* display = target->GetScreen()->GetDisplay();
    XEvent event{};
    event.type = type;
    event.xkey.window = target->GetWindow();
    event.xkey.display = display;
    event.xkey.keycode = XKeysymToKeycode(display, key);
    DispatchEvent(mainForm, event);
}

void SendButton(Form* mainForm, Form* target, int type, unsigned int button, int x, int y) {
    XEvent event{};
    event.type = type;
    event.xbutton.window = target->GetWindow();
    event.xbutton.display = target->GetScreen()->GetDisplay();
    event.xbutton.button = button;
    event.xbutton.x = x;
    event.xbutton.y = y;
    DispatchEvent(mainForm, event);
}

void SendKeyTap(Form* mainForm, Form* target, KeySym key) {
    SendKey(mainForm, target, KeyPress, key);
    SendKey(mainForm, target, KeyRelease, key);
}

void SendClick(Form* mainForm, Form* target, int x, int y, unsigned int button) {
    SendButton(mainForm, target, ButtonPress, button, x, y);
    SendButton(mainForm, target, ButtonRelease, button, x, y);
}
