#include <gtest/gtest.h>

#include <functional>

#include "gui/controls/CellControl.h"
#include "support/FormFixture.h"

namespace {

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
    cell->SetHighlighted(true);
    EXPECT_FALSE(cell->IsChanged()) << "highlighting is no change of the cell";
    EXPECT_EQ(Pixel(50, 15), 0xffff00u);
}

// Sunken: dark top and left, light right and bottom, which turn dark on a white cell. The text
// box inside the border is filled but for its last column, grey beforehand here.
TEST_F(CellTest, TextSitsInsideASunkenBorderInItsColours) {
    auto cell = MakeCell({10, 10, 100, 30}, kGrey);
    auto white = MakeCell({150, 10, 100, 30}, 0xffffff);
    cell->SetText("Hi");
    cell->SetTextColor(0x000000);
    Fill({10, 10, 240, 30}, kGrey);
    for (auto* shown : {cell.get(), white.get()}) {
        shown->SetBorder(true);
        shown->Show();
    }
    const Pixels edges = {Pixel(10, 38), Pixel(108, 10), Pixel(109, 11), Pixel(11, 39)};
    EXPECT_EQ(edges, (Pixels{0x000000, 0x000000, 0xffffff, 0xffffff}));
    EXPECT_EQ(std::pair(Pixel(249, 20), Pixel(200, 39)), std::pair(0ul, 0ul)) << "on white";
    EXPECT_EQ(Read({11, 11, 98, 28}), Text(98, 28, "Hi", 0x000000, kGrey, kAlignCenter));

    cell->SetBackColor(0x00ff00);
    cell->ClearChanged();
    cell->RestoreBackColor();
    EXPECT_EQ(Pixel(50, 15), kGrey) << "the colour at creation, not the one before it";
    EXPECT_TRUE(cell->IsChanged());
}
