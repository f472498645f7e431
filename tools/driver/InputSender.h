#pragma once

#include <string>

#include "app/XlibHeaders.h"
#include "gui/core/Area.h"

// Real input through the XTest extension: the X server takes it for the user's own pointer
// and keyboard, so it reaches whichever window is under the pointer or has the focus, through
// the window manager, as a person's would. Coordinates are a window's own.
class InputSender {
  public:
    static constexpr unsigned int kLeftButton = 1;

    explicit InputSender(Display* display);

    // Pointer
    void MoveTo(Window window, int x, int y);
    void Press(Window window, int x, int y, unsigned int button = kLeftButton);
    void Release(unsigned int button = kLeftButton);
    void Click(Window window, int x, int y, unsigned int button = kLeftButton);
    void ClickCentre(Window window, const Area& area);
    // A press and a release where the pointer is, sent at once without waiting for the
    // server: for timing how long a program takes to answer a click.
    void ClickNow(unsigned int button = kLeftButton);

    // Keyboard
    // Sends the keyboard's input to the window, as a window manager does when it focuses one.
    void FocusKeyboardOn(Window window);
    void PressKey(KeySym key);
    void ReleaseKey(KeySym key);
    void TapKey(KeySym key);
    // A press and a release of the key sent at once without waiting for the server: for
    // timing how long a program takes to answer a keystroke.
    void TapKeyNow(KeySym key);
    // Types the printable ASCII characters of the text, with Shift where the keyboard map
    // needs it; other characters are left out.
    void Type(const std::string& text);

  private:
    // The key code for the key symbol, or 0 when the keyboard has none.
    KeyCode CodeOf(KeySym key);

    Display* display;
};
