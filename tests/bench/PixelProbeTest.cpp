#include <gtest/gtest.h>

#include "bench/PixelProbe.h"
#include "support/DisplayTest.h"
#include "tools/driver/XErrorTrap.h"

using PixelProbeTest = DisplayTest;

TEST_F(PixelProbeTest, ReadsEveryAreaRowByRowUntilTheWindowIsHiddenOrGone) {
    // As in the benchmark: a read of a window that is gone is an answer, not a fault.
    XErrorTrap::CountAlways();
    const Window window =
        XCreateSimpleWindow(observer, DefaultRootWindow(observer), 0, 0, 200, 100, 0, 0, 0x102030);
    XMapWindow(observer, window);
    // Painted once the window manager has placed it, so that no later exposure clears it.
    ASSERT_TRUE(windows.WaitUntilManaged(window, 5000));
    const auto fill = [&](int x, int y, unsigned size, unsigned long colour) {
        XSetForeground(observer, DefaultGC(observer, DefaultScreen(observer)), colour);
        XFillRectangle(observer, window, DefaultGC(observer, DefaultScreen(observer)), x, y, size,
                       size);
        XSync(observer, False);
    };
    fill(10, 20, 5, 0xff0000);
    fill(100, 50, 3, 0x00ff00);
    // A point, a 2 x 2 area across the red patch's right edge, the green patch's centre.
    PixelProbe probe(observer, window, {{10, 20, 1, 1}, {14, 22, 2, 2}, {101, 51, 1, 1}});
    EXPECT_EQ(probe.PixelCount(), 6u);
    EXPECT_EQ(probe.Read(), (Pixels{0xff0000, 0xff0000, 0x102030, 0xff0000, 0x102030, 0x00ff00}));
    fill(101, 51, 1, 0x0000ff);
    EXPECT_EQ(probe.Read().back(), 0x0000ffu);
    XUnmapWindow(observer, window);
    XSync(observer, False);
    // Not the colours it showed before.
    EXPECT_EQ(probe.Read(), Pixels(6, PixelProbe::kUnreadable));
    XDestroyWindow(observer, window);
    EXPECT_TRUE(probe.Read().empty());
}
