#include "bench/ServerDescription.h"

#include "tools/driver/WindowFinder.h"

std::string DescribeServer(Display* display) {
    if (display == nullptr) {
        return "no X server";
    }
    const std::string server = std::string("X server ") + ServerVendor(display) + " " +
                               std::to_string(VendorRelease(display)) + ", depth " +
                               std::to_string(DefaultDepth(display, DefaultScreen(display)));
    // A window manager names itself on the window that _NET_SUPPORTING_WM_CHECK points to.
    WindowFinder windows(display, "");
    const std::vector<long> check =
        windows.LongProperty(DefaultRootWindow(display), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
    const std::string manager =
        check.size() == 1 ? windows.StringProperty(static_cast<Window>(check[0]), "_NET_WM_NAME")
                          : "";
    return server + ", " + (manager.empty() ? "no window manager" : manager);
}
