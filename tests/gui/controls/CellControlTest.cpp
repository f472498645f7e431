#include <gtest/gtest.h>

#include <functional>

#include "gui/controls/CellControl.h"
#include "support/FormFixture.h"

namespace {

const unsigned long kBlue = 0x0000ff;
const unsigned long kGrey = 0xb7b7b7;

class CellTest : public FormFixture {
  protected:
    std::unique_ptr<CellControl> MakeCell(const Area& area, int64_t color) {
        auto cell = std::make_unique<CellControl>(form.get());
        cell->Move(area.x, area.y);
        cell->SetSize(area.w, area.h);
        cell->SetBackColor(color);
        cell->SetTextColor(0xffffff);
        return cell;
    }
};

} // namespace

// The game repaints only the cells marked changed, so a setter must mark exactly when the
// value differs, and repaint the cell when it does.
TEST_F(CellTest, SettersMarkAndRepaintOnlyForANewValue) {
    auto cell = MakeCell({10, 10, 100, 30}, kBlue);
    cell->SetText("Score");
    cell->Show();
    EXPECT_FALSE(cell->IsChanged()) << "creation clears the mark";
    // Each setter is given the cell's own value first, then another.
    const std::function<void(CellControl&, bool)> setters[] = {
        [](CellControl& c, bool other) { c.SetText(other ? "Other" : "Score"); },
        [](CellControl& c, bool other) { c.SetTextColor(other ? 0x00ff00 : 0xffffff); },
        [](CellControl& c, bool other) { c.SetBorder(other); },
    };
    for (const auto& set : setters) {
        Fill({12, 12, 4, 4}, 0xff0000);
        set(*cell, false);
        EXPECT_FALSE(cell->IsChanged());
        EXPECT_EQ(Pixel(12, 12), 0xff0000u) << "no repaint";
        set(*cell, true);
        EXPECT_TRUE(cell->IsChanged());
        EXPECT_EQ(Pixel(12, 12), kBlue);
        cell->ClearChanged();
    }
    Fill({12, 12, 4, 4}, 0xff0000);
    cell->SetHighlighted(false);
    EXPECT_FALSE(cell->IsChanged()) << "highlighting is no change of the cell";
    EXPECT_EQ(Pixel(12, 12), kBlue);
}

// Sunken: dark top and left, light right and bottom, which turn dark on a white cell.
TEST_F(CellTest, TextSitsInsideASunkenBorderInItsColours) {
    auto cell = MakeCell({10, 10, 100, 30}, kGrey);
    cell->SetText("Hi");
    cell->SetTextColor(0x000000);
    cell->SetBorder(true);
    // The text box inside the border is filled but for its last column, grey beforehand here.
    Fill({10, 10, 100, 30}, kGrey);
    cell->Show();
    EXPECT_EQ(Read({10, 10, 1, 29}), Pixels(29, 0x000000)) << "left edge";
    EXPECT_EQ(Read({10, 10, 99, 1}), Pixels(99, 0x000000)) << "top edge";
    EXPECT_EQ(Read({109, 10, 1, 30}), Pixels(30, 0xffffff)) << "right edge";
    EXPECT_EQ(Read({10, 39, 100, 1}), Pixels(100, 0xffffff)) << "bottom edge";
    EXPECT_EQ(Read({11, 11, 98, 28}), Text(98, 28, "Hi", 0x000000, kGrey, kAlignCenter));
    auto white = MakeCell({150, 10, 100, 30}, 0xffffff);
    white->SetBorder(true);
    white->Show();
    EXPECT_EQ(Pixel(249, 20), 0x000000u);
    EXPECT_EQ(Pixel(200, 39), 0x000000u);

    cell->SetHighlighted(true);
    EXPECT_EQ(Pixel(50, 15), 0xffff00u);
    cell->SetHighlighted(false);
    cell->SetBackColor(0x00ff00);
    cell->ClearChanged();
    cell->RestoreBackColor();
    EXPECT_EQ(Pixel(50, 15), kGrey) << "the colour at creation, not the one before it";
    EXPECT_TRUE(cell->IsChanged());
}

TEST_F(CellTest, StarMarkSitsLowerRightOnTheDefaultGreyAndHideLeavesTheFormColour) {
    auto cell = MakeCell({10, 10, 100, 40}, -1);
    cell->SetStarMark(true);
    cell->Show();
    EXPECT_EQ(Pixel(50, 15), 0xaaaaaau);
    EXPECT_GT(Count({80, 20, 30, 30}, 0xffffff), 3);
    EXPECT_EQ(Count({10, 10, 60, 40}, 0xffffff), 0);
    cell->Hide();
    EXPECT_EQ(Count({10, 10, 100, 40}, 0x000000), 4000);
    EXPECT_FALSE(cell->IsCreated());
}
