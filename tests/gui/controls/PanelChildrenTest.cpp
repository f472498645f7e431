#include <gtest/gtest.h>

#include "gui/controls/CellControl.h"
#include "gui/controls/PanelChildren.h"
#include "support/FormFixture.h"

namespace {

class PanelTest : public FormFixture {
  protected:
    void SetUp() override {
        FormFixture::SetUp();
        panel = std::make_unique<PanelChildren>(form.get());
        panel->Move(20, 20);
        panel->SetSize(100, 80);
        panel->SetBackColor(0x0000ff);
        label = std::make_unique<CellControl>(panel.get());
        label->Move(10, 10);
        label->SetSize(40, 20);
        label->SetBackColor(0x00ff00);
    }
    std::unique_ptr<PanelChildren> panel;
    std::unique_ptr<CellControl> label;
};

} // namespace

TEST_F(PanelTest, ShowsItsFrameAndItsChildrenPlacedInsideIt) {
    panel->SetBorder(true);
    panel->Show();
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
    flat.Move(200, 20);
    flat.SetSize(100, 80);
    flat.SetBackColor(0x0000ff);
    flat.SetFlatBorder(true);
    flat.SetText("Cap");
    flat.SetCaptionColor(0xffffff);
    flat.Show();
    EXPECT_EQ(Pixel(250, 20), 0x000000u) << "a flat frame is dark all round";
    EXPECT_EQ(Pixel(200, 60), 0x000000u);
    EXPECT_GT(Count({204, 22, 90, 10}, 0xffffff), 3) << "the caption";
}

TEST_F(PanelTest, MovingAndHidingTakeTheChildrenAlong) {
    panel->Show();
    panel->Move(200, 100);
    EXPECT_EQ(Count({20, 20, 101, 81}, 0x000000), 101 * 81);
    EXPECT_EQ(Pixel(205, 105), 0x0000ffu);
    EXPECT_EQ(Pixel(215, 115), 0x00ff00u);
    panel->Hide();
    EXPECT_FALSE(label->IsCreated());
    EXPECT_EQ(Count({200, 100, 101, 81}, 0x000000), 101 * 81);
}
