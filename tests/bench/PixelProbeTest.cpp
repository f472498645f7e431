#include <gtest/gtest.h>

#include "bench/PixelProbe.h"
#include "support/DisplayTest.h"
#include "tools/driver/XErrorTrap.h"

namespace {

// A window of the test's own, painted in known colours, as a probe sees a program's window.
class PixelProbeTest : public DisplayTest {
  protected:
    void SetUp() override {
        DisplayTest::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        // As in the benchmark: a read of a window that is gone is an answer, not a fault.
        XErrorTrap::CountAlways();
        window = XCreateSimpleWindow(observer, DefaultRootWindow(observer), 0, 0, 200, 100, 0, 0,
                                     0x102030);
        XMapWindow(observer, window);
        // Painted once the window manager has placed it, so that no later exposure clears it.
        ASSERT_TRUE(windows.WaitUntilManaged(window, 5000));
        Fill(10, 20, 5, 4, 0xff0000);
        Fill(100, 50, 3, 3, 0x00ff00);
    }
    void Fill(int x, int y, unsigned w, unsigned h, unsigned long colour) {
        XSetForeground(observer, DefaultGC(observer, DefaultScreen(observer)), colour);
        XFillRectangle(observer, window, DefaultGC(observer, DefaultScreen(observer)), x, y, w, h);
        XSync(observer, False);
    }

    Window window = 0;
};

} // namespace

TEST_F(PixelProbeTest, ReadsEveryAreaRowByRowAndSeesChangesBetweenReads) {
    // A point, a 2 x 2 area across the red patch's right edge, the green patch's centre.
    PixelProbe probe(observer, window, {{10, 20, 1, 1}, {14, 22, 2, 2}, {101, 51, 1, 1}});
    EXPECT_EQ(probe.PixelCount(), 6u);
    EXPECT_EQ(probe.Read(), (Pixels{0xff0000, 0xff0000, 0x102030, 0xff0000, 0x102030, 0x00ff00}));
    Fill(101, 51, 1, 1, 0x0000ff);
    EXPECT_EQ(probe.Read().back(), 0x0000ffu);
}

TEST_F(PixelProbeTest, HiddenWindowReadsAsUnreadableAndAGoneOneAsNothing) {
    PixelProbe probe(observer, window, {{10, 20, 1, 1}});
    XUnmapWindow(observer, window);
    XSync(observer, False);
    // Not the red it showed before.
    EXPECT_EQ(probe.Read(), (Pixels{PixelProbe::kUnreadable}));
    XDestroyWindow(observer, window);
    EXPECT_TRUE(probe.Read().empty());
}
