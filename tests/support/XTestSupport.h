#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/XlibHeaders.h"

class Form;

// Helpers for tests that run against the real X server named by DISPLAY: reading back
// window properties and pixels, waiting for the window manager, and sending real input
// through the XTest extension.
namespace xtest {

// Opens DISPLAY or fails the test; the connection is closed by the caller.
Display* OpenDisplay();

std::string ReadStringProperty(Display* display, Window window, const char* property);
std::vector<long> ReadLongProperty(Display* display, Window window, const char* property,
                                   Atom type);

// Waits (bounded) until the window is viewable, i.e. the window manager has mapped it.
bool WaitForViewable(Display* display, Window window, int timeoutMs = 5000);
// Whether the window exists and is viewable; a window that is gone is no error.
bool IsOnScreen(Display* display, Window window);
// Waits (bounded) until the window manager has framed and placed the window, so that input
// sent to its coordinates lands in it.
bool WaitForManaged(Display* display, Window window, int timeoutMs = 5000);
// Polls a condition every few milliseconds until it holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);

// Reads one pixel of a window back from the server as 0xRRGGBB.
unsigned long ReadPixel(Display* display, Window window, int x, int y);
// Counts the pixels of a rectangle that have the given colour.
int CountPixels(Display* display, Window window, int x, int y, int w, int h,
                unsigned long color);

// Dispatches the events that arrive within the given time through the toolkit's dispatch.
void PumpEvents(Form* mainForm, int milliseconds);
// Pumps events until the condition holds or the time is up.
bool PumpUntil(Form* mainForm, const std::function<bool()>& condition, int timeoutMs = 5000);

// Real input through XTest, at window coordinates.
void MovePointer(Display* display, Window window, int x, int y);
void Click(Display* display, Window window, int x, int y, unsigned int button = 1);
void PressButton(Display* display, Window window, int x, int y, unsigned int button = 1);
void ReleaseButton(Display* display, unsigned int button = 1);
void TapKey(Display* display, KeySym key);
// Asks the window to close as the window manager's close button does.
void SendDeleteWindow(Display* display, Window window);

} // namespace xtest
