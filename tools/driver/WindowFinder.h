#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/XlibHeaders.h"
#include "gui/core/Area.h"

// Finds top-level windows on the X server and reads what the window manager and another
// client see of them: titles, classes, size hints, stacking, the keyboard focus. It uses only
// its own connection and never assumes a window still exists: a window that vanished is
// simply not found. With a class name, only windows of that WM_CLASS (name and class) count.
class WindowFinder {
  public:
    WindowFinder(Display* display, std::string className);

    // Finding
    // The first window below the root (at any depth, inside the window manager's frames) for
    // which wanted holds, or 0.
    Window Find(const std::function<bool(Window)>& wanted);
    std::vector<Window> FindAll(const std::function<bool(Window)>& wanted);
    // A viewable window of the class with exactly this title, or 0.
    Window FindTitled(const std::string& title);
    // How many windows of the class have this title, shown or not.
    int CountTitled(const std::string& title);
    // Waits for a window of the class with the title and for the window manager to frame and
    // place it; 0 when it never came.
    Window WaitForTitled(const std::string& title, int timeoutMs);
    bool WaitUntilGone(const std::string& title, int timeoutMs);
    // Viewable, reparented into a frame, its WM_STATE set (and its frame extents announced,
    // where the window manager supports them) and no longer moving.
    bool WaitUntilManaged(Window window, int timeoutMs);

    // Reading
    bool HasClass(Window window);
    // Viewable: mapped, and its parents too.
    bool IsShown(Window window);
    std::string Title(Window window);
    // res_name and res_class of WM_CLASS.
    std::vector<std::string> Class(Window window);
    // Minimum and maximum size from WM_NORMAL_HINTS: {min w, min h, max w, max h}, empty when
    // the window has no such hints.
    std::vector<int> SizeHints(Window window);
    // The window's own size as {w, h}, empty when it cannot be read.
    std::vector<int> Size(Window window);
    std::string StringProperty(Window window, const char* property);
    std::vector<long> LongProperty(Window window, const char* property, Atom type);
    // Whether the frame holding upper is above the frame holding lower among the root
    // window's children (the window manager's stacking order).
    bool IsStackedAbove(Window upper, Window lower);
    // Whether the window has the keyboard focus, so that keys typed go to it.
    bool HasFocus(Window window);
    // The window manager's frame around the window: the root's child that holds it.
    Window FrameOf(Window window);
    // Where the window lies on the screen, in the root window's coordinates; an empty area
    // when it cannot be read (the window has gone).
    Area RootArea(Window window);
    // Whether the window manager lists the hint in _NET_SUPPORTED on the root window.
    bool ManagerSupports(const char* hint);
    // The running window manager's _NET_WM_NAME, or a description when it names none.
    std::string ManagerName();
    // What is wrong with where the manager put a window of fixed size: not at the size its
    // hints fix (a tiling manager's tile), or not wholly on the screen with its frame; empty
    // when nothing.
    std::string PlacementFaults(Window window);
    // Waits until the dialog of the owner keeps, for a moment, a dialog's promises: transient
    // for the owner and modal, placed without fault, its client area centred on the owner's
    // within a pixel, stacked above the owner and holding the keyboard. Answers what a player
    // would still find wrong at the end, one clause per broken promise after the manager's
    // name; empty when all held.
    std::string DialogFaults(Window dialog, Window owner, int timeoutMs);

    // Asking
    // Asks the window manager to close the window, as its close button does (under a manager
    // that takes no such requests, sends what its close button would).
    void RequestClose(Window window);
    // Sends the window the WM_DELETE_WINDOW message itself, without a window manager.
    void SendDeleteWindow(Window window);

  private:
    bool RootPosition(Window window, int& x, int& y);
    std::string DialogFaultsNow(Window dialog, Window owner);

    Display* display;
    Window root;
    std::string className;
};
