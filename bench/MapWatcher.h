#pragma once

#include <chrono>
#include <string>

#include "app/XlibHeaders.h"

// Sees a program's top-level window come onto the screen, from the X server's events rather
// than by polling, so the moment is known to within one event delivery. Made before the
// program starts: from then on it hears of every window the window manager takes in.
class MapWatcher {
  public:
    using Clock = std::chrono::steady_clock;

    explicit MapWatcher(Display* display);
    // Stops listening and drops the events it no longer needs.
    ~MapWatcher();
    MapWatcher(const MapWatcher&) = delete;
    MapWatcher& operator=(const MapWatcher&) = delete;

    // Waits until a window of the class (WM_CLASS name and class) is viewable: the window
    // manager has framed it and mapped both. False when none is by the deadline.
    bool WaitForViewable(const std::string& className, int timeoutMs);
    Window GetWindow() const { return window; }
    Clock::time_point ViewableAt() const { return viewableAt; }

  private:
    bool HasClass(Window candidate, const std::string& className);
    bool IsOnScreen(Window candidate);

    Display* display;
    Window root;
    Window window = 0;
    Clock::time_point viewableAt;
};
