#include "bench/MapWatcher.h"

#include <poll.h>

MapWatcher::MapWatcher(Display* display) : display(display), root(DefaultRootWindow(display)) {
    XSelectInput(display, root, SubstructureNotifyMask);
    // Whatever was queued before belongs to earlier programs.
    XSync(display, True);
}

MapWatcher::~MapWatcher() {
    XSelectInput(display, root, NoEventMask);
    if (window != 0) {
        XSelectInput(display, window, NoEventMask);
    }
    XSync(display, True);
}

bool MapWatcher::HasClass(Window candidate, const std::string& className) {
    XClassHint hint{};
    if (XGetClassHint(display, candidate, &hint) == 0) {
        return false;
    }
    const bool matches = hint.res_name != nullptr && hint.res_class != nullptr &&
                         className == hint.res_name && className == hint.res_class;
    XFree(hint.res_name);
    XFree(hint.res_class);
    return matches;
}

bool MapWatcher::IsOnScreen(Window candidate) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, candidate, &attributes) != 0 &&
           attributes.map_state == IsViewable;
}

bool MapWatcher::WaitForViewable(const std::string& className, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    Window candidate = 0;
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            bool recheck = false;
            if (event.type == ReparentNotify && candidate == 0 &&
                HasClass(event.xreparent.window, className)) {
                // The window manager takes a new client in by reparenting it into its frame;
                // by then the client has set its class. Its own map comes through its own
                // structure events, the frame's through the root's.
                candidate = event.xreparent.window;
                XSelectInput(display, candidate, StructureNotifyMask);
                recheck = true;
            } else if (event.type == MapNotify && candidate != 0) {
                recheck = true;
            }
            if (recheck && IsOnScreen(candidate)) {
                viewableAt = Clock::now();
                window = candidate;
                return true;
            }
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            return false;
        }
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        poll(&connection, 1, static_cast<int>(left));
    }
}
