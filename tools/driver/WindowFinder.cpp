#include "tools/driver/WindowFinder.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "tools/driver/XErrorTrap.h"
#include "tools/harness/WaitUntil.h"

namespace {

using Clock = std::chrono::steady_clock;

// A window that has not moved for this long has been placed by the window manager, and
// what has held for this long holds.
const auto kSettledFor = std::chrono::milliseconds(150);

std::vector<Window> ChildrenOf(Display* display, Window window, Window* parent = nullptr) {
    Window rootReturn = 0;
    Window parentReturn = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<Window> list;
    if (XQueryTree(display, window, &rootReturn, &parentReturn, &children, &count) == 0) {
        return list;
    }
    if (children != nullptr) {
        list.assign(children, children + count);
        XFree(children);
    }
    if (parent != nullptr) {
        *parent = parentReturn;
    }
    return list;
}

// The readings below make requests without a trap of their own, for callers that hold one.
std::string TitleOf(Display* display, Window window) {
    char* name = nullptr;
    if (XFetchName(display, window, &name) == 0 || name == nullptr) {
        return {};
    }
    std::string title(name);
    XFree(name);
    return title;
}

std::vector<std::string> ClassOf(Display* display, Window window) {
    XClassHint hint{};
    if (XGetClassHint(display, window, &hint) == 0) {
        return {};
    }
    std::vector<std::string> names{hint.res_name != nullptr ? hint.res_name : "",
                                   hint.res_class != nullptr ? hint.res_class : ""};
    XFree(hint.res_name);
    XFree(hint.res_class);
    return names;
}

bool ViewableUntrapped(Display* display, Window window) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) != 0 &&
           attributes.map_state == IsViewable;
}

// The raw data of a property, as 8-bit items or as longs; empty when there is none.
template <typename Item>
std::vector<Item> PropertyItems(Display* display, Window window, const char* property, Atom type) {
    const Atom atom = XInternAtom(display, property, False);
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    std::vector<Item> items;
    if (XGetWindowProperty(display, window, atom, 0, 1024, False, type, &actualType, &format,
                           &count, &remaining, &data) != Success ||
        data == nullptr) {
        return items;
    }
    const auto* first = reinterpret_cast<const Item*>(data);
    items.assign(first, first + count);
    XFree(data);
    return items;
}

// A length given in half pixels, for people to read.
std::string HalfPixels(int halves) {
    const std::string whole = std::to_string(std::abs(halves) / 2) + (halves % 2 != 0 ? ".5" : "");
    return halves < 0 ? "-" + whole : whole;
}

} // namespace

WindowFinder::WindowFinder(Display* display, std::string className)
    : display(display), root(display != nullptr ? DefaultRootWindow(display) : 0),
      className(std::move(className)) {}

std::vector<Window> WindowFinder::FindAll(const std::function<bool(Window)>& wanted) {
    std::vector<Window> found;
    if (display == nullptr) {
        return found;
    }
    XErrorTrap trap(display);
    // Window managers put a client a few levels below the root, inside their frame.
    std::vector<Window> pending{root};
    while (!pending.empty()) {
        const Window window = pending.back();
        pending.pop_back();
        for (Window child : ChildrenOf(display, window)) {
            if (wanted(child)) {
                found.push_back(child);
            }
            pending.push_back(child);
        }
    }
    return found;
}

Window WindowFinder::Find(const std::function<bool(Window)>& wanted) {
    const std::vector<Window> found = FindAll(wanted);
    return found.empty() ? 0 : found.front();
}

Window WindowFinder::FindTitled(const std::string& title) {
    return Find([&](Window window) {
        return HasClass(window) && TitleOf(display, window) == title &&
               ViewableUntrapped(display, window);
    });
}

int WindowFinder::CountTitled(const std::string& title) {
    return static_cast<int>(FindAll([&](Window window) {
                                return HasClass(window) && TitleOf(display, window) == title;
                            }).size());
}

Window WindowFinder::WaitForTitled(const std::string& title, int timeoutMs) {
    Window window = 0;
    if (!WaitUntil(
            [&] {
                window = FindTitled(title);
                return window != 0;
            },
            timeoutMs)) {
        return 0;
    }
    return WaitUntilManaged(window, timeoutMs) ? window : 0;
}

bool WindowFinder::WaitUntilGone(const std::string& title, int timeoutMs) {
    return WaitUntil([&] { return FindTitled(title) == 0; }, timeoutMs);
}

bool WindowFinder::WaitUntilManaged(Window window, int timeoutMs) {
    if (display == nullptr || window == 0) {
        return false;
    }
    const bool announcesExtents = ManagerSupports("_NET_FRAME_EXTENTS");
    int lastX = -1;
    int lastY = -1;
    auto stillSince = Clock::now();
    return WaitUntil(
        [&] {
            // Every manager sets WM_STATE once it has taken the window on; those that know
            // frame extents announce the frame's borders once they have framed it.
            if (!IsShown(window) || FrameOf(window) == window ||
                LongProperty(window, "WM_STATE", AnyPropertyType).empty() ||
                (announcesExtents &&
                 LongProperty(window, "_NET_FRAME_EXTENTS", XA_CARDINAL).size() != 4)) {
                return false;
            }
            int x = 0;
            int y = 0;
            if (!RootPosition(window, x, y)) {
                return false;
            }
            if (x != lastX || y != lastY) {
                lastX = x;
                lastY = y;
                stillSince = Clock::now();
                return false;
            }
            return Clock::now() - stillSince >= kSettledFor;
        },
        timeoutMs);
}

bool WindowFinder::HasClass(Window window) {
    if (className.empty()) {
        return true;
    }
    const std::vector<std::string> names = ClassOf(display, window);
    return names.size() == 2 && names[0] == className && names[1] == className;
}

bool WindowFinder::IsShown(Window window) {
    if (display == nullptr || window == 0) {
        return false;
    }
    XErrorTrap trap(display);
    const bool viewable = ViewableUntrapped(display, window);
    return !trap.Failed() && viewable;
}

std::string WindowFinder::Title(Window window) {
    if (display == nullptr || window == 0) {
        return {};
    }
    XErrorTrap trap(display);
    return TitleOf(display, window);
}

std::vector<std::string> WindowFinder::Class(Window window) {
    if (display == nullptr || window == 0) {
        return {};
    }
    XErrorTrap trap(display);
    return ClassOf(display, window);
}

std::vector<int> WindowFinder::SizeHints(Window window) {
    if (display == nullptr || window == 0) {
        return {};
    }
    XErrorTrap trap(display);
    XSizeHints hints{};
    long supplied = 0;
    if (XGetWMNormalHints(display, window, &hints, &supplied) == 0 ||
        (hints.flags & (PMinSize | PMaxSize)) != (PMinSize | PMaxSize)) {
        return {};
    }
    return {hints.min_width, hints.min_height, hints.max_width, hints.max_height};
}

std::vector<int> WindowFinder::Size(Window window) {
    if (display == nullptr || window == 0) {
        return {};
    }
    XErrorTrap trap(display);
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes) == 0 || trap.Failed()) {
        return {};
    }
    return {attributes.width, attributes.height};
}

Area WindowFinder::RootArea(Window window) {
    const std::vector<int> size = Size(window);
    Area area;
    if (size.size() == 2 && RootPosition(window, area.x, area.y)) {
        area.w = size[0];
        area.h = size[1];
    }
    return area;
}

bool WindowFinder::ManagerSupports(const char* hint) {
    if (display == nullptr) {
        return false;
    }
    const std::vector<long> supported = LongProperty(root, "_NET_SUPPORTED", XA_ATOM);
    const long wanted = static_cast<long>(XInternAtom(display, hint, False));
    return std::find(supported.begin(), supported.end(), wanted) != supported.end();
}

std::string WindowFinder::ManagerName() {
    const std::vector<long> check = LongProperty(root, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
    const std::string name =
        check.size() == 1 ? StringProperty(static_cast<Window>(check[0]), "_NET_WM_NAME") : "";
    return name.empty() ? "a window manager that names itself nowhere" : name;
}

std::string WindowFinder::PlacementFaults(Window window) {
    std::string faults;
    const std::vector<int> hints = SizeHints(window);
    const Area area = RootArea(window);
    if (hints.size() != 4 || area.w != hints[0] || area.h != hints[1]) {
        faults = "not at its own size";
    }
    // With its frame: the title bar is what the player moves the window by.
    const Area framed = RootArea(FrameOf(window));
    const Area screen = RootArea(root);
    if (framed.w == 0 || framed.x < 0 || framed.y < 0 || framed.x + framed.w > screen.w ||
        framed.y + framed.h > screen.h) {
        faults += std::string(faults.empty() ? "" : "; ") + "not wholly on the screen";
    }
    return faults;
}

std::string WindowFinder::DialogFaults(Window dialog, Window owner, int timeoutMs) {
    std::string faults;
    // A manager may still be answering the click that asked for the dialog: only promises
    // that keep holding for a moment count as kept.
    auto keptSince = Clock::now();
    WaitUntil(
        [&] {
            faults = DialogFaultsNow(dialog, owner);
            if (!faults.empty()) {
                keptSince = Clock::now();
            }
            return faults.empty() && Clock::now() - keptSince >= kSettledFor;
        },
        timeoutMs);
    return faults.empty() ? faults : "under " + ManagerName() + ": " + faults;
}

std::string WindowFinder::DialogFaultsNow(Window dialog, Window owner) {
    std::string faults;
    const auto fault = [&](const std::string& clause) {
        faults += (faults.empty() ? "" : "; ") + clause;
    };
    const std::vector<long> transientFor = LongProperty(dialog, "WM_TRANSIENT_FOR", XA_WINDOW);
    if (transientFor != std::vector<long>{static_cast<long>(owner)}) {
        fault("not transient for its owner");
    }
    const std::vector<long> states = LongProperty(dialog, "_NET_WM_STATE", XA_ATOM);
    const long modal = static_cast<long>(XInternAtom(display, "_NET_WM_STATE_MODAL", False));
    if (std::find(states.begin(), states.end(), modal) == states.end()) {
        fault("not modal");
    }
    const std::string placement = PlacementFaults(dialog);
    if (!placement.empty()) {
        fault(placement);
    }
    const Area inner = RootArea(dialog);
    const Area outer = RootArea(owner);
    // Twice the centres, so that odd sizes compare exactly.
    const int dx = (2 * inner.x + inner.w) - (2 * outer.x + outer.w);
    const int dy = (2 * inner.y + inner.h) - (2 * outer.y + outer.h);
    if (std::abs(dx) > 2 || std::abs(dy) > 2) {
        fault("centre off the owner's by (" + HalfPixels(dx) + ", " + HalfPixels(dy) + ")");
    }
    if (!IsStackedAbove(dialog, owner)) {
        fault("below its owner");
    }
    if (!HasFocus(dialog)) {
        fault("without the keyboard");
    }
    return faults;
}

std::string WindowFinder::StringProperty(Window window, const char* property) {
    if (display == nullptr || window == 0) {
        return {};
    }
    XErrorTrap trap(display);
    const std::vector<char> bytes = PropertyItems<char>(display, window, property, AnyPropertyType);
    return std::string(bytes.begin(), bytes.end());
}

std::vector<long> WindowFinder::LongProperty(Window window, const char* property, Atom type) {
    if (display == nullptr || window == 0) {
        return {};
    }
    XErrorTrap trap(display);
    return PropertyItems<long>(display, window, property, type);
}

bool WindowFinder::IsStackedAbove(Window upper, Window lower) {
    if (display == nullptr) {
        return false;
    }
    const Window upperFrame = FrameOf(upper);
    const Window lowerFrame = FrameOf(lower);
    std::vector<Window> stack;
    {
        XErrorTrap trap(display);
        stack = ChildrenOf(display, root);
    }
    // The root's children come bottom first.
    const auto upperAt = std::find(stack.begin(), stack.end(), upperFrame);
    const auto lowerAt = std::find(stack.begin(), stack.end(), lowerFrame);
    return upperAt != stack.end() && lowerAt != stack.end() && upperAt > lowerAt;
}

bool WindowFinder::HasFocus(Window window) {
    if (display == nullptr || window == 0) {
        return false;
    }
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    return focus == window;
}

Window WindowFinder::FrameOf(Window window) {
    XErrorTrap trap(display);
    Window current = window;
    for (;;) {
        Window parent = 0;
        ChildrenOf(display, current, &parent);
        if (trap.Failed() || parent == 0) {
            return 0;
        }
        if (parent == root) {
            return current;
        }
        current = parent;
    }
}

void WindowFinder::RequestClose(Window window) {
    if (display == nullptr || window == 0) {
        return;
    }
    // A manager without EWMH closes a window from its menu by sending it the message itself.
    if (!ManagerSupports("_NET_CLOSE_WINDOW")) {
        SendDeleteWindow(window);
        return;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "_NET_CLOSE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = CurrentTime;
    // Source 2: the request comes from the user, through a pager or the like.
    event.xclient.data.l[1] = 2;
    XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XSync(display, False);
}

void WindowFinder::SendDeleteWindow(Window window) {
    if (display == nullptr || window == 0) {
        return;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
}

bool WindowFinder::RootPosition(Window window, int& x, int& y) {
    XErrorTrap trap(display);
    Window child = 0;
    const bool translated = XTranslateCoordinates(display, window, root, 0, 0, &x, &y, &child) != 0;
    return translated && !trap.Failed();
}
