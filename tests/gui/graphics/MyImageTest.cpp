#include <gtest/gtest.h>

#include "gui/graphics/DrawingContext.h"
#include "gui/graphics/MyImage.h"
#include "gui/graphics/TestBlocks.h"
#include "support/FormFixture.h"

namespace {

const unsigned long kBack = 0x336699;
const unsigned long kRed = 0xff0000;
const unsigned long kBlue = 0x0000ff;
const unsigned long kYellow = 0xffff00;

class MyImageTest : public FormFixture {
  protected:
    MyImageTest() { backColor = kBack; }

    void Fill(int x, int y, int w, int h, long colour) {
        DrawingContext dc(form.get());
        FillRect(dc, x, y, w + 1, h + 1, 0, -1, colour);
    }

    const std::vector<unsigned char> red = SolidBlock(10, 8, kRed);
    const std::vector<unsigned char> blue = SolidBlock(10, 8, kBlue);
};

} // namespace

TEST_F(MyImageTest, ShowDrawsTheBlockAndSetImageBlockRepaints) {
    std::vector<unsigned long> palette;
    std::vector<int> indices;
    for (int i = 0; i < 12; ++i) {
        palette.push_back(0x100000ul * static_cast<unsigned long>(i + 1) + 0x0a0b);
        indices.push_back(i);
    }
    const std::vector<unsigned char> block = MakeBlock(4, 3, palette, indices);
    MyImage picture(form.get(), block.data(), 4, 3);
    picture.Move(20, 30);
    EXPECT_EQ(picture.GetImage(), nullptr) << "nothing is converted before the first paint";
    picture.Show();
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(Pixel(20 + i % 4, 30 + i / 4), palette[static_cast<size_t>(i)]) << i;
    }
    XImage* converted = picture.GetImage();
    picture.Paint();
    EXPECT_EQ(picture.GetImage(), converted) << "the conversion is kept";

    const std::vector<unsigned char> smallBlue = SolidBlock(4, 3, kBlue);
    picture.SetImageBlock(smallBlue.data());
    EXPECT_EQ(Count(20, 30, 4, 3, kBlue), 12);
    // The light edges are drawn last, so they own the two far corners.
    picture.SetBevel(true);
    EXPECT_EQ(Count(20, 30, 3, 1, 0x000000), 3);
    EXPECT_EQ(Count(20, 30, 1, 2, 0x000000), 2);
    EXPECT_EQ(Count(23, 30, 1, 3, 0xffffff), 3);
    EXPECT_EQ(Count(20, 32, 4, 1, 0xffffff), 4);
    EXPECT_EQ(Count(21, 31, 2, 1, kBlue), 2);
}

// The sanitizer build turns any release of the caller's image by the element into a failure.
TEST_F(MyImageTest, GivenImagesStayTheCallers) {
    const RgbBuffer yellowRgb = BlockToRgb(10, 8, SolidBlock(10, 8, kYellow).data());
    XImage* mine = CreateImageFromRgb(form.get(), yellowRgb.get(), 10, 8);
    XImage* alsoMine = CreateImageFromRgb(form.get(), yellowRgb.get(), 10, 8);
    {
        MyImage shown(form.get(), red.data(), 10, 8);
        shown.Move(20, 20);
        shown.Show();
        shown.SetImage(mine);
        EXPECT_EQ(shown.GetImage(), mine);
        EXPECT_EQ(Count(20, 20, 10, 8, kYellow), 80);

        // Given before the block was ever converted.
        MyImage unpainted(form.get(), red.data(), 10, 8);
        unpainted.SetImage(alsoMine);
        unpainted.Move(40, 20);
        unpainted.Show();
        EXPECT_EQ(Count(40, 20, 10, 8, kYellow), 80);

        // A block given later replaces the caller's image without releasing it.
        MyImage replaced(form.get(), mine);
        replaced.SetSize(10, 8);
        replaced.Move(60, 20);
        replaced.Show();
        replaced.SetImageBlock(blue.data());
        EXPECT_EQ(Count(60, 20, 10, 8, kBlue), 80);
    }
    EXPECT_EQ(XGetPixel(mine, 9, 7) & 0xffffff, kYellow);
    DestroyImage(mine);
    DestroyImage(alsoMine);
}

TEST_F(MyImageTest, HideAndResizeClearExactlyTheOldAreaWithTheParentColour) {
    // A panel with a colour of its own; the picture sits at (5, 5) inside it.
    RecordingControl panel(form.get(), "panel", 50, 40, 100, 100);
    panel.Show();
    panel.SetBackColor(0x00ff00);
    MyImage picture(&panel, red.data(), 10, 8);
    picture.Move(5, 5);
    Fill(54, 44, 12, 10, kYellow);
    picture.Show();
    ASSERT_EQ(Count(55, 45, 10, 8, kRed), 80);
    picture.Hide();
    EXPECT_FALSE(picture.IsCreated());
    EXPECT_EQ(Count(55, 45, 10, 8, 0x00ff00), 80);
    EXPECT_EQ(Count(54, 44, 12, 10, kYellow), 12 * 10 - 80) << "nothing beyond w x h";
    picture.Show();
    EXPECT_EQ(Count(55, 45, 10, 8, kRed), 80);

    picture.SetSize(5, 4);
    EXPECT_EQ(Count(55, 45, 5, 4, kRed), 20) << "the picture is cropped";
    EXPECT_EQ(Count(55, 45, 10, 8, 0x00ff00), 60);
    picture.SetSize(20, 16);
    EXPECT_EQ(Count(55, 45, 20, 16, kRed), 80) << "and never shows more than it has";
}

// The block holds 10 x 8 pixels however large the element becomes before its first paint; the
// sanitizer build catches a read past its end.
TEST_F(MyImageTest, ResizingBeforeTheFirstPaintKeepsThePictureSize) {
    MyImage picture(form.get(), red.data(), 10, 8);
    picture.Move(20, 20);
    picture.SetSize(40, 30);
    picture.Show();
    EXPECT_EQ(Count(20, 20, 40, 30, kRed), 80);
}

TEST_F(MyImageTest, NothingIsPaintedWhilePaintingIsSuspended) {
    MyImage picture(form.get(), red.data(), 10, 8);
    picture.Move(20, 20);
    Application::suspendPaint = true;
    picture.Show();
    const int whileSuspended = Count(20, 20, 10, 8, kRed);
    Application::suspendPaint = false;
    EXPECT_EQ(whileSuspended, 0);
    picture.Paint();
    EXPECT_EQ(Count(20, 20, 10, 8, kRed), 80);
}

namespace {
class MyImageWithoutColours : public MyImageTest {
  protected:
    MyImageWithoutColours() { backColor = -1; }
};
} // namespace

TEST_F(MyImageWithoutColours, PictureWithNothingToShowFillsWithTheDefaultGrey) {
    Fill(20, 20, 10, 8, kRed);
    MyImage empty(form.get(), nullptr);
    empty.SetSize(10, 8);
    empty.Move(20, 20);
    empty.Show();
    EXPECT_EQ(Count(20, 20, 10, 8, 0xaaaaaa), 9 * 7) << "FillRect leaves its last row and column";
    EXPECT_EQ(Pixel(29, 27), kRed);
}
