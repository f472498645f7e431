#include <gtest/gtest.h>

#include <functional>

#include "gui/controls/CellControl.h"
#include "support/FormFixture.h"
#include "tools/driver/ExpectedPixels.h"

namespace {

const unsigned long kBlue = 0x0000ff;
const unsigned long kLabelGrey = 0xb7b7b7;

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
        [](CellControl& c, bool other) { c.SetAlignment(other ? kAlignLeft : kAlignCenter); },
        [](CellControl& c, bool other) { c.SetBorder(other); },
        [](CellControl& c, bool other) { c.SetStarMark(other); },
        [](CellControl& c, bool other) { c.SetFontSize(other ? 9 : 8); },
        [](CellControl& c, bool other) { c.SetFontName(other ? "Other" : "Topaz"); },
    };
    for (size_t i = 0; i < std::size(setters); ++i) {
        SCOPED_TRACE("setter " + std::to_string(i));
        Fill({12, 12, 4, 4}, 0xff0000);
        setters[i](*cell, false);
        EXPECT_FALSE(cell->IsChanged());
        EXPECT_EQ(Pixel(12, 12), 0xff0000u) << "no repaint";
        setters[i](*cell, true);
        EXPECT_TRUE(cell->IsChanged());
        EXPECT_EQ(Pixel(12, 12), kBlue);
        cell->ClearChanged();
    }
    Fill({12, 12, 4, 4}, 0xff0000);
    cell->SetHighlighted(false);
    EXPECT_FALSE(cell->IsChanged()) << "highlighting is no change of the cell";
    EXPECT_EQ(Pixel(12, 12), kBlue);
}

TEST_F(CellTest, TextSitsInsideASunkenBorderInItsColours) {
    auto cell = MakeCell({10, 10, 100, 30}, kLabelGrey);
    cell->SetText("Hi");
    cell->SetTextColor(0x000000);
    cell->SetBorder(true);
    cell->ClearChanged();
    cell->RestoreBackColor();
    EXPECT_FALSE(cell->IsChanged()) << "no colour to restore before the cell is shown";
    // The text box inside the border is filled but for its last column, grey beforehand here.
    Fill({10, 10, 100, 30}, kLabelGrey);
    cell->Show();
    EXPECT_EQ(Read({10, 10, 1, 29}), Pixels(29, 0x000000)) << "dark left edge";
    EXPECT_EQ(Read({10, 10, 99, 1}), Pixels(99, 0x000000)) << "dark top edge";
    EXPECT_EQ(Read({109, 10, 1, 30}), Pixels(30, 0xffffff)) << "light right edge";
    EXPECT_EQ(Read({10, 39, 100, 1}), Pixels(100, 0xffffff)) << "light bottom edge";
    XFontStruct* font = LoadProgramFont(observer);
    EXPECT_EQ(Read({11, 11, 98, 28}),
              RenderText(observer, font, 98, 28, "Hi", 0x000000, kLabelGrey, kAlignCenter));
    XFreeFont(observer, font);

    auto white = MakeCell({150, 10, 100, 30}, 0xffffff);
    white->SetBorder(true);
    white->Show();
    EXPECT_EQ(Pixel(249, 20), 0x000000u) << "light edges would vanish on white";
    EXPECT_EQ(Pixel(200, 39), 0x000000u);

    cell->SetHighlighted(true);
    EXPECT_EQ(Pixel(50, 15), 0xffff00u);
    cell->SetHighlighted(false);
    cell->SetBackColor(0x00ff00);
    cell->RestoreBackColor();
    EXPECT_EQ(Pixel(50, 15), kLabelGrey) << "the colour at creation";
    EXPECT_TRUE(cell->IsChanged());
}

TEST_F(CellTest, StarMarkSitsInTheLowerRightCorner) {
    auto cell = MakeCell({10, 10, 100, 40}, kBlue);
    cell->SetStarMark(true);
    cell->Show();
    EXPECT_GT(Count({80, 20, 30, 30}, 0xffffff), 3);
    EXPECT_EQ(Count({10, 10, 60, 40}, 0xffffff), 0);
}

TEST_F(CellTest, BackgroundDefaultsToGreyAndHideClearsWithTheFormColour) {
    auto cell = MakeCell({10, 10, 100, 20}, -1);
    cell->Show();
    EXPECT_EQ(Pixel(50, 15), 0xaaaaaau);
    EXPECT_EQ(Pixel(109, 15), 0x000000u) << "(w - 1) columns are filled";
    cell->Hide();
    EXPECT_EQ(Count({10, 10, 100, 20}, 0x000000), 2000);
    EXPECT_FALSE(cell->IsCreated());
}
