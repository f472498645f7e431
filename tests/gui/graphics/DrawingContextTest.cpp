#include <gtest/gtest.h>

#include "gui/graphics/DrawingContext.h"
#include "support/FormFixture.h"

namespace {

const unsigned long kRed = 0xff0000;
const unsigned long kBlue = 0x0000ff;
const unsigned long kWhite = 0xffffff;
const unsigned long kBlack = 0x000000;
const unsigned long kGrey = 0xaaaaaa;

// A black window to draw on, and readers for what the server shows.
class DrawingTest : public FormFixture {
protected:
    // The bounding box of the pixels of one colour inside a rectangle.
    struct Box {
        int left = 10000, top = 10000, right = -1, bottom = -1;
    };
    Box Bounds(int x, int y, int w, int h, unsigned long color) {
        Box box;
        for (int row = y; row < y + h; ++row) {
            for (int column = x; column < x + w; ++column) {
                if (Pixel(column, row) == color) {
                    box.left = std::min(box.left, column);
                    box.right = std::max(box.right, column);
                    box.top = std::min(box.top, row);
                    box.bottom = std::max(box.bottom, row);
                }
            }
        }
        return box;
    }
};

// A w x h image in the screen's 32-bit layout, filled with one colour.
XImage* MakeImage(Display* display, int w, int h, unsigned long color) {
    char* data = static_cast<char*>(malloc(static_cast<size_t>(w * h * 4)));
    XImage* image = XCreateImage(display, DefaultVisual(display, DefaultScreen(display)), 24,
                                 ZPixmap, 0, data, static_cast<unsigned>(w),
                                 static_cast<unsigned>(h), 32, 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            XPutPixel(image, x, y, color);
        }
    }
    return image;
}

} // namespace

TEST_F(DrawingTest, FillRectLeavesTheLastRowAndColumnAndDrawRectOutlinesAll) {
    DrawingContext dc(form.get());
    FillRect(dc, 0, 0, 10, 10, 0, -1, kRed);
    EXPECT_EQ(Count(0, 0, 12, 12, kRed), 81);
    EXPECT_EQ(Pixel(8, 8), kRed);
    EXPECT_EQ(Pixel(9, 9), kBlack);

    DrawRect(dc, 20, 0, 10, 10, 1, kBlue);
    EXPECT_EQ(Count(20, 0, 12, 12, kBlue), 36);
    EXPECT_EQ(Pixel(29, 9), kBlue);
    EXPECT_EQ(Pixel(25, 5), kBlack);

    FillRect(dc, 40, 0, 10, 10, 1, kWhite, kRed);
    EXPECT_EQ(Count(40, 0, 12, 12, kWhite), 32) << "the border outlines the 9 x 9 fill";
}

TEST_F(DrawingTest, MinusOneKeepsThePreviousForeground) {
    DrawingContext dc(form.get());
    FillRect(dc, 0, 0, 5, 5, 0, -1, kRed);
    DrawLine(dc, 0, 20, 9, 20, 1, -1);
    EXPECT_EQ(Count(0, 20, 10, 1, kRed), 10);
}

TEST_F(DrawingTest, DashedLinesLeaveGapsAndSolidLinesAfterThemDoNot) {
    DrawingContext dc(form.get());
    DrawLine(dc, 0, 10, 99, 10, kLineDashed, 1, kWhite);
    const int dashed = Count(0, 10, 100, 1, kWhite);
    EXPECT_GT(dashed, 20);
    EXPECT_LT(dashed, 80);
    DrawLine(dc, 0, 20, 99, 20, 5, kWhite);
    EXPECT_EQ(Count(0, 19, 100, 3, kWhite), 100) << "solid and 1 pixel wide again";
}

TEST_F(DrawingTest, PolygonsAndEllipsesFillTheirShapes) {
    DrawingContext dc(form.get());
    XPoint triangle[] = {{10, 10}, {60, 10}, {10, 60}, {10, 10}};
    FillPolygon(dc, triangle, 4, 1, kWhite, kRed);
    EXPECT_EQ(Pixel(15, 15), kRed);
    EXPECT_EQ(Pixel(55, 55), kBlack);
    EXPECT_EQ(Pixel(30, 10), kWhite);

    FillEllipse(dc, 100, 10, 60, 40, 0, -1, kBlue);
    EXPECT_EQ(Pixel(130, 30), kBlue);
    EXPECT_EQ(Pixel(101, 11), kBlack) << "corners of the box stay outside the ellipse";
    const Box box = Bounds(95, 5, 70, 50, kBlue);
    EXPECT_EQ(box.left, 100);
    EXPECT_EQ(box.top, 10);

    DrawEllipse(dc, 200, 10, 40, 40, 1, kWhite);
    EXPECT_EQ(Pixel(220, 30), kBlack) << "an outline is hollow";
    EXPECT_GT(Count(200, 10, 41, 41, kWhite), 60);
}

TEST_F(DrawingTest, TextOfOneLineIsCentredInItsBox) {
    DrawingContext dc(form.get());
    DrawText(dc, 10, 10, 200, 40, "Hi", kWhite, kBlue, kAlignCenter);
    EXPECT_EQ(Pixel(10, 10), kBlue) << "the box is filled first";
    EXPECT_EQ(Pixel(208, 49), kBlue);
    EXPECT_EQ(Pixel(209, 10), kBlack) << "(w - 1) x h is filled";
    const Box text = Bounds(10, 10, 200, 40, kWhite);
    ASSERT_GE(text.right, 0);
    const int middle = (text.left + text.right) / 2;
    EXPECT_NEAR(middle, 110, 3);
    EXPECT_NEAR((text.top + text.bottom) / 2, 30, 5);
}

TEST_F(DrawingTest, TextAlignsLeftAndRight) {
    DrawingContext dc(form.get());
    DrawText(dc, 10, 10, 200, 30, "Hi", kWhite, -1, kAlignLeft);
    DrawText(dc, 10, 50, 200, 30, "Hi", kWhite, -1, kAlignRight);
    const Box left = Bounds(10, 10, 200, 30, kWhite);
    const Box right = Bounds(10, 50, 200, 30, kWhite);
    EXPECT_LE(left.left, 12);
    EXPECT_GE(right.right, 205);
}

TEST_F(DrawingTest, WordsThatDoNotFitWrapFlushLeft) {
    DrawingContext dc(form.get());
    const int word = dc.CharWidth() * 3;
    // Wider than one word, narrower than both: the second word goes to the second line, and
    // both lines start at the left although centring was asked for.
    DrawText(dc, 10, 10, word + 10, 60, "abc def", kWhite, -1, kAlignCenter);
    const int lineHeight = 15;
    const Box first = Bounds(10, 10, word + 10, lineHeight, kWhite);
    const Box second = Bounds(10, 10 + lineHeight, word + 10, lineHeight, kWhite);
    ASSERT_GE(first.right, 0);
    ASSERT_GE(second.right, 0);
    EXPECT_LE(first.left, 12);
    EXPECT_LE(second.left, 12);
    EXPECT_EQ(Count(10, 10 + 2 * lineHeight, word + 10, 30, kWhite), 0);
}

TEST_F(DrawingTest, ALineFeedGivesTwoCentredLinesFromTheTop) {
    DrawingContext dc(form.get());
    DrawText(dc, 0, 0, 200, 100, "ab\ncd", kWhite, -1, kAlignCenter);
    const Box first = Bounds(0, 0, 200, 15, kWhite);
    const Box second = Bounds(0, 15, 200, 15, kWhite);
    ASSERT_GE(first.right, 0);
    ASSERT_GE(second.right, 0);
    EXPECT_NEAR((first.left + first.right) / 2, 100, 4);
    EXPECT_NEAR((second.left + second.right) / 2, 100, 4);
    EXPECT_EQ(Count(0, 30, 200, 70, kWhite), 0) << "not centred vertically";
}

TEST_F(DrawingTest, AWordWiderThanTheBoxIsCutByCharacters) {
    DrawingContext dc(form.get());
    const int letter = dc.CharWidth();
    DrawText(dc, 0, 0, letter * 3, 200, "MMMMMMM", kWhite, -1, kAlignLeft);
    EXPECT_GT(Count(0, 0, letter * 3, 15, kWhite), 0);
    EXPECT_GT(Count(0, 15, letter * 3, 15, kWhite), 0);
    EXPECT_GT(Count(0, 30, letter * 3, 15, kWhite), 0);
    EXPECT_EQ(Count(0, 45, letter * 3, 100, kWhite), 0);
    EXPECT_EQ(Count(letter * 3, 0, 100, 100, kWhite), 0) << "nothing beyond the box";
}

TEST_F(DrawingTest, BoxesOfNineOrFewerRowsShowNothing) {
    DrawingContext dc(form.get());
    DrawText(dc, 0, 0, 100, 9, "Hi", kWhite, kBlue, kAlignLeft);
    EXPECT_EQ(Count(0, 0, 100, 12, kBlack), 1200);
    DrawText(dc, 0, 20, 100, 10, "Hi", kWhite, kBlue, kAlignLeft);
    EXPECT_GT(Count(0, 20, 100, 11, kBlue), 0);
}

TEST_F(DrawingTest, PutImageDrawsWholeImagesAndParts) {
    DrawingContext dc(form.get());
    XImage* image = MakeImage(screen->GetDisplay(), 20, 10, kRed);
    XPutPixel(image, 19, 9, kBlue);
    PutImage(dc, 5, 5, 0, 0, image);
    EXPECT_EQ(Count(5, 5, 20, 10, kRed), 199);
    EXPECT_EQ(Pixel(24, 14), kBlue);
    PutImagePart(dc, 100, 100, 5, 5, image, 15, 5);
    EXPECT_EQ(Pixel(104, 104), kBlue);
    EXPECT_EQ(Count(100, 100, 5, 5, kRed), 24);
    PutImagePart(dc, 200, 100, 5, 5, image, 40, 40);
    EXPECT_EQ(Count(200, 100, 5, 5, kBlack), 25) << "a part outside the image draws nothing";
    XDestroyImage(image);
}

TEST_F(DrawingTest, KeyedImagesShowTheBackgroundAndStayUnchanged) {
    DrawingContext dc(form.get());
    XImage* image = MakeImage(screen->GetDisplay(), 10, 10, kBlack);
    XPutPixel(image, 5, 5, kRed);
    FillRect(dc, 0, 0, 50, 50, 0, -1, kGrey);
    FillRect(dc, 50, 0, 50, 50, 0, -1, kBlue);
    PutImageKeyed(dc, 10, 10, 10, 10, image);
    PutImageKeyed(dc, 60, 10, 10, 10, image);
    EXPECT_EQ(Count(10, 10, 10, 10, kGrey), 99);
    EXPECT_EQ(Pixel(15, 15), kRed);
    EXPECT_EQ(Count(60, 10, 10, 10, kBlue), 99) << "the second paint is still transparent";
    EXPECT_EQ(XGetPixel(image, 0, 0) & 0xffffff, kBlack) << "the caller's picture is unchanged";

    PutImageRegionKeyed(dc, 110, 10, 5, 5, image, 5, 5);
    EXPECT_EQ(Pixel(110, 10), kRed);
    EXPECT_EQ(Pixel(111, 11), kBlack) << "the window was black there";
    XDestroyImage(image);
}

TEST_F(DrawingTest, GetPixelReadsTheWindow) {
    DrawingContext dc(form.get());
    DrawPoint(dc, 7, 8, 0x123456);
    EXPECT_EQ(GetPixel(dc, 7, 8) & 0xffffff, 0x123456u);
    EXPECT_EQ(GetPixel(dc, 8, 8) & 0xffffff, 0u);
}

TEST_F(DrawingTest, TextMetricsComeFromTheProgramFont) {
    DrawingContext dc(form.get());
    EXPECT_GT(dc.TextHeight(), 5);
    EXPECT_EQ(dc.TextHeight(), dc.TextHeight(123));
    EXPECT_GT(dc.CharWidth(), 3);
}

TEST_F(DrawingTest, AContextWithoutAWindowLogsAndDrawsNothing) {
    RecordingForm unshown;
    unshown.SetScreen(screen.get());
    testing::internal::CaptureStdout();
    DrawingContext dc(&unshown);
    FillRect(dc, 0, 0, 10, 10, 1, kWhite, kRed);
    DrawText(dc, 0, 0, 100, 30, "x", kWhite, kBlue, kAlignLeft);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Errore nella creazione del GC\n");
    EXPECT_FALSE(dc.IsValid());
}
