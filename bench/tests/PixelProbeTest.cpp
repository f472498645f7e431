#include <gtest/gtest.h>

#include "bench/PixelProbe.h"
#include "support/XTestSupport.h"

namespace {

// A window of the test's own, painted in known colours, as a probe sees a program's window.
class PixelProbeTest : public ::testing::Test {
protected:
    void SetUp() override {
        display = xtest::OpenDisplay();
        ASSERT_NE(display, nullptr);
        InstallErrorCounter();
        const int screen = DefaultScreen(display);
        window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, 200, 100, 0, 0,
                                     0x000000);
        XSelectInput(display, window, ExposureMask);
        XMapWindow(display, window);
        // Painted once the window manager has placed it, so that no later exposure clears it.
        ASSERT_TRUE(xtest::WaitForManaged(display, window));
        gc = XCreateGC(display, window, 0, nullptr);
        Fill(0, 0, 200, 100, 0x102030);
        Fill(10, 20, 5, 4, 0xff0000);
        Fill(100, 50, 3, 3, 0x00ff00);
        XSync(display, False);
    }
    void TearDown() override {
        if (display != nullptr) {
            XFreeGC(display, gc);
            XDestroyWindow(display, window);
            XCloseDisplay(display);
        }
    }
    void Fill(int x, int y, int w, int h, unsigned long colour) {
        XSetForeground(display, gc, colour);
        XFillRectangle(display, window, gc, x, y, static_cast<unsigned>(w),
                       static_cast<unsigned>(h));
    }

    Display* display = nullptr;
    Window window = 0;
    GC gc = nullptr;
};

} // namespace

TEST_F(PixelProbeTest, ReadsEveryAreaInOrderRowByRow) {
    // A point, then a 2 x 2 area across the red patch's corner, then the green patch's centre.
    PixelProbe probe(display, window, {{10, 20, 1, 1}, {14, 23, 2, 2}, {101, 51, 1, 1}});
    EXPECT_EQ(probe.PixelCount(), 6u);
    EXPECT_EQ(probe.Read(), (Pixels{0xff0000, 0xff0000, 0x102030, 0x102030, 0x102030, 0x00ff00}));
}

TEST_F(PixelProbeTest, SeesChangesBetweenReads) {
    PixelProbe probe(display, window, {{100, 50, 1, 1}});
    EXPECT_EQ(probe.Read(), (Pixels{0x00ff00}));
    Fill(100, 50, 1, 1, 0x0000ff);
    XSync(display, False);
    EXPECT_EQ(probe.Read(), (Pixels{0x0000ff}));
}

TEST_F(PixelProbeTest, UnmappedWindowReadsAsUnreadableNotAsItsOldPixels) {
    PixelProbe probe(display, window, {{10, 20, 1, 1}});
    EXPECT_EQ(probe.Read(), (Pixels{0xff0000}));
    XUnmapWindow(display, window);
    XSync(display, False);
    EXPECT_EQ(probe.Read(), (Pixels{PixelProbe::kUnreadable}));
}

TEST_F(PixelProbeTest, WindowThatIsGoneGivesAnEmptyRead) {
    PixelProbe probe(display, window, {{10, 20, 1, 1}});
    XDestroyWindow(display, window);
    window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    EXPECT_TRUE(probe.Read().empty());
}
