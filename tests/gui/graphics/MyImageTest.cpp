#include <gtest/gtest.h>

#include "gui/graphics/MyImage.h"
#include "gui/graphics/TestBlocks.h"
#include "support/FormFixture.h"

namespace {

const unsigned long kRed = 0xff0000;
const unsigned long kBlue = 0x0000ff;
const unsigned long kYellow = 0xffff00;
const unsigned long kPanel = 0x00ff00;

class MyImageTest : public FormFixture {
  protected:
    const std::vector<unsigned char> red = SolidBlock(10, 8, kRed);
    const std::vector<unsigned char> blue = SolidBlock(10, 8, kBlue);
};

} // namespace

// However large the element becomes before its first paint, the block holds 4 x 3 pixels; the
// sanitizer build catches a read past its end.
TEST_F(MyImageTest, ShowDrawsTheBlockAtItsOwnSizeAndSettersRepaint) {
    Pixels palette;
    std::vector<int> indices;
    for (int i = 0; i < 12; ++i) {
        palette.push_back(0x100000ul * static_cast<unsigned long>(i + 1) + 0x0a0b);
        indices.push_back(i);
    }
    const std::vector<unsigned char> block = MakeBlock(4, 3, palette, indices);
    MyImage picture(form.get(), block.data(), 4, 3);
    picture.Move(20, 30);
    picture.SetSize(8, 6);
    picture.Show();
    EXPECT_EQ(Read({20, 30, 4, 3}), palette);
    EXPECT_EQ(Count({20, 30, 8, 6}, backColor), 8 * 6 - 12);

    picture.SetSize(4, 3);
    const std::vector<unsigned char> smallBlue = SolidBlock(4, 3, kBlue);
    picture.SetImageBlock(smallBlue.data());
    EXPECT_EQ(Count({20, 30, 4, 3}, kBlue), 12);
    // Dark top and left, light right and bottom, drawn last, so they own the far corners.
    picture.SetBevel(true);
    const unsigned long w = 0xffffff;
    EXPECT_EQ(Read({20, 30, 4, 3}), (Pixels{0, 0, 0, w, 0, kBlue, kBlue, w, w, w, w, w}));
}

// The sanitizer build turns any release of the caller's image by the element into a failure.
TEST_F(MyImageTest, GivenImagesStayTheCallers) {
    const RgbBuffer yellowRgb = BlockToRgb(10, 8, SolidBlock(10, 8, kYellow).data());
    XImage* mine = CreateImageFromRgb(form.get(), yellowRgb.get(), 10, 8);
    XImage* alsoMine = CreateImageFromRgb(form.get(), yellowRgb.get(), 10, 8);
    {
        // Given to a shown element, and to one whose block was never converted.
        MyImage shown(form.get(), red.data(), 10, 8);
        MyImage unpainted(form.get(), red.data(), 10, 8);
        shown.Move(20, 20);
        unpainted.Move(40, 20);
        shown.Show();
        shown.SetImage(mine);
        unpainted.SetImage(alsoMine);
        unpainted.Show();
        EXPECT_EQ(Count({20, 20, 30, 8}, kYellow), 160);
        // A block given later replaces the caller's image without releasing it.
        MyImage replaced(form.get(), mine);
        replaced.SetSize(10, 8);
        replaced.Move(60, 20);
        replaced.Show();
        replaced.SetImageBlock(blue.data());
        EXPECT_EQ(Count({60, 20, 10, 8}, kBlue), 80);
    }
    EXPECT_EQ(XGetPixel(mine, 9, 7) & 0xffffff, kYellow);
    DestroyImage(mine);
    DestroyImage(alsoMine);
}

TEST_F(MyImageTest, HideAndResizeClearExactlyTheOldAreaWithTheParentColour) {
    // A panel with a colour of its own; the picture sits at (5, 5) inside it.
    RecordingControl panel(form.get(), "panel", 50, 40, 100, 100);
    panel.Show();
    panel.SetBackColor(kPanel);
    MyImage picture(&panel, red.data(), 10, 8);
    picture.Move(5, 5);
    Fill({54, 44, 12, 10}, kYellow);
    picture.Show();
    ASSERT_EQ(Count({55, 45, 10, 8}, kRed), 80);
    picture.Hide();
    EXPECT_FALSE(picture.IsCreated());
    EXPECT_EQ(Count({55, 45, 10, 8}, kPanel), 80);
    EXPECT_EQ(Count({54, 44, 12, 10}, kYellow), 12 * 10 - 80) << "nothing beyond w x h";
    picture.Show();
    picture.SetSize(5, 4);
    EXPECT_EQ(Count({55, 45, 5, 4}, kRed), 20) << "the picture is cropped";
    EXPECT_EQ(Count({55, 45, 10, 8}, kPanel), 60);
    picture.SetSize(20, 16);
    EXPECT_EQ(Count({55, 45, 20, 16}, kRed), 80) << "and never shows more than it has";
}

TEST_F(MyImageTest, PictureWithNothingToShowFillsWithTheDefaultGrey) {
    form->SetBackColor(-1);
    Fill({20, 20, 10, 8}, kRed);
    MyImage empty(form.get(), nullptr);
    empty.SetSize(10, 8);
    empty.Move(20, 20);
    empty.Show();
    EXPECT_EQ(Count({20, 20, 10, 8}, 0xaaaaaa), 9 * 7) << "FillRect leaves its last row and column";
}
