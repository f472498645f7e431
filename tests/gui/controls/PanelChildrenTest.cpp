#include <gtest/gtest.h>

#include "gui/controls/CellControl.h"
#include "gui/controls/PanelChildren.h"
#include "support/FormFixture.h"

namespace {

const Area kPanel{20, 20, 100, 80};

// A blue panel holding a green label at (10, 10), neither shown yet.
class PanelTest : public FormFixture {
  protected:
    void SetUp() override {
        FormFixture::SetUp();
        panel = std::make_unique<PanelChildren>(form.get());
        panel->SetBackColor(0x0000ff);
        label = std::make_unique<CellControl>(panel.get());
        label->SetBackColor(0x00ff00);
        label->Move(10, 10);
        label->SetSize(40, 20);
    }
    std::unique_ptr<PanelChildren> panel;
    std::unique_ptr<CellControl> label;
};

} // namespace

TEST_F(PanelTest, ShowsItsFrameAndItsChildrenPlacedInsideIt) {
    panel->SetBorder(true);
    Place(*panel, kPanel);
    EXPECT_TRUE(label->IsCreated()) << "the panel shows its children";
    EXPECT_EQ(Pixel(20, 20), 0x000000u) << "sunken: dark top-left";
    EXPECT_EQ(Pixel(119, 50), 0xffffffu) << "light right edge";
    EXPECT_EQ(Pixel(25, 25), 0x0000ffu);
    EXPECT_EQ(Count({30, 30, 39, 20}, 0x00ff00), 39 * 20) << "the child sits relative to the panel";
    EXPECT_EQ(Count({21, 21, 98, 10}, 0x000000), 0) << "no caption without text";
    // A repaint, as an exposure of the form makes, gives every child the children's colour.
    panel->SetChildBackColor(0xff00ff);
    panel->Paint();
    EXPECT_EQ(Pixel(35, 35), 0xff00ffu);

    PanelChildren flat(form.get());
    flat.SetBackColor(0x0000ff);
    flat.SetFlatBorder(true);
    flat.SetText("Cap");
    flat.SetCaptionColor(0xffffff);
    Place(flat, {200, 20, 100, 80});
    EXPECT_EQ(std::pair(Pixel(250, 20), Pixel(200, 60)), std::pair(0ul, 0ul))
        << "a flat frame is dark all round";
    EXPECT_GT(Count({204, 22, 90, 10}, 0xffffff), 3) << "the caption";
}

TEST_F(PanelTest, MovingAndHidingTakeTheChildrenAlong) {
    Place(*panel, kPanel);
    panel->Move(200, 100);
    EXPECT_EQ(Count({20, 20, 101, 81}, backColor), 101 * 81);
    EXPECT_EQ(std::pair(Pixel(205, 105), Pixel(215, 115)), std::pair(0x0000fful, 0x00ff00ul));
    panel->Hide();
    EXPECT_FALSE(label->IsCreated());
    EXPECT_EQ(Count({200, 100, 101, 81}, backColor), 101 * 81);
}
