// Saves what the screen shows of one window as a PNG file, for pictures of programs that the
// showcase does not play (make gallery):
//   brisgola-screenshot TITLE FILE.png
// It waits for a window with that title on the display named by DISPLAY, for the window
// manager to place it, and for its contents to settle, since a program goes on painting for a
// moment after its window appears.
#include <cstdio>
#include <string>

#include "tools/driver/ScreenReader.h"
#include "tools/driver/WindowFinder.h"
#include "tools/harness/WaitUntil.h"
#include "tools/showcase/PngImage.h"

namespace {

const int kWindowTimeoutMs = 30000;
const int kSettleTimeoutMs = 10000;
// Two readings this far apart that agree count as settled.
const int kSettleMs = 300;

int Fail(const std::string& why) {
    std::fprintf(stderr, "brisgola-screenshot: %s\n", why.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: brisgola-screenshot TITLE FILE.png\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return Fail("cannot open the display");
    }
    WindowFinder windows(display, "");
    ScreenReader reader(display);
    const Window window = windows.WaitForTitled(argv[1], kWindowTimeoutMs);
    const std::vector<int> size = window != 0 ? windows.Size(window) : std::vector<int>{};
    Pixels shown;
    auto unchanged = [&] {
        Pixels now = reader.ReadScreen(window, {0, 0, size[0], size[1]});
        const bool same = !now.empty() && now == shown;
        shown = std::move(now);
        return same;
    };
    const bool settled = size.size() == 2 && WaitUntil(unchanged, kSettleTimeoutMs, kSettleMs);
    XCloseDisplay(display);
    if (!settled) {
        return Fail(std::string("no settled window titled \"") + argv[1] + "\"");
    }
    std::string error;
    if (!PngImage(size[0], size[1], shown).Write(argv[2], error)) {
        return Fail(error);
    }
    std::printf("%s\n", argv[2]);
    return 0;
}
