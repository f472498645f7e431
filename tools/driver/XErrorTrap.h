#pragma once

#include "app/XlibHeaders.h"

// While a trap is set, errors of the process's own requests are counted instead of ending the
// process, which is what Xlib's default handler would do. Tools and tests ask about windows
// that may vanish at any moment (the game closes dialogs and ends), so an error there is an
// answer, not a fault.
class XErrorTrap {
  public:
    explicit XErrorTrap(Display* display);
    ~XErrorTrap();
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;

    // Whether any request made since the trap was set has failed.
    bool Failed();

    // For a program whose every request may meet a vanished window: errors are counted from
    // now on, for good, and callers compare counts around their requests instead of syncing.
    static void CountAlways();
    // How many errors have been counted since the program began.
    static unsigned long ErrorsSeen();

  private:
    Display* display;
    XErrorHandler previous = nullptr;
    unsigned long errorsBefore = 0;
};
