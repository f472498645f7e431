#include <gtest/gtest.h>

#include "gui/graphics/MyImage.h"
#include "gui/graphics/TestBlocks.h"
#include "support/FormFixture.h"

namespace {

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
    Place(picture, {20, 30, 8, 6});
    EXPECT_EQ(Read({20, 30, 4, 3}), palette);
    EXPECT_EQ(Count({20, 30, 8, 6}, kFormColour), 8 * 6 - 12);

    picture.SetSize(4, 3);
    const std::vector<unsigned char> smallBlue = SolidBlock(4, 3, kBlue);
    picture.SetImageBlock(smallBlue.data());
    EXPECT_EQ(Count({20, 30, 4, 3}, kBlue), 12);
    // Dark top and left, light right and bottom, drawn last, so they own the far corners.
    picture.SetBevel(true);
    const unsigned long w = 0xffffff;
    EXPECT_EQ(Read({20, 30, 4, 3}), (Pixels{0, 0, 0, w, 0, kBlue, kBlue, w, w, w, w, w}));
}

// Given to a shown element, to one whose block was never converted, and to one that is later
// given a block: the sanitizer build turns any release of the caller's image into a failure.
TEST_F(MyImageTest, GivenImagesStayTheCallers) {
    const std::vector<unsigned char> yellow = SolidBlock(10, 8, kYellow);
    XImage* mine = CreateImageFromBlock(form.get(), yellow.data(), 10, 8);
    XImage* alsoMine = CreateImageFromBlock(form.get(), yellow.data(), 10, 8);
    {
        MyImage shown(form.get(), red.data(), 10, 8);
        MyImage unpainted(form.get(), red.data(), 10, 8);
        MyImage replaced(form.get(), mine);
        Place(shown, {20, 20, 10, 8});
        shown.SetImage(mine);
        unpainted.SetImage(alsoMine);
        Place(unpainted, {40, 20, 10, 8});
        EXPECT_EQ(Count({20, 20, 30, 8}, kYellow), 160);
        Place(replaced, {60, 20, 10, 8});
        replaced.SetImageBlock(blue.data());
        EXPECT_EQ(Count({60, 20, 10, 8}, kBlue), 80);
    }
    EXPECT_EQ(XGetPixel(mine, 9, 7) & 0xffffff, kYellow);
    DestroyImage(mine);
    DestroyImage(alsoMine);
}

// A picture with nothing to show fills with the default grey; one on a panel of its own
// colour clears exactly the area it leaves in that colour.
TEST_F(MyImageTest, HideAndResizeClearExactlyTheOldAreaWithTheParentColour) {
    form->SetBackColor(-1);
    Fill({200, 20, 10, 8}, kRed);
    MyImage empty(form.get(), nullptr);
    Place(empty, {200, 20, 10, 8});
    EXPECT_EQ(Count({200, 20, 10, 8}, 0xaaaaaa), 9 * 7)
        << "FillRect leaves its last row and column";

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
