#include <gtest/gtest.h>

#include "gui/controls/CellControl.h"
#include "gui/graphics/DrawingContext.h"
#include "support/FormFixture.h"

namespace {

class CellTest : public FormFixture {
protected:
    std::unique_ptr<CellControl> MakeCell(int x, int y, int w, int h, int64_t color) {
        auto cell = std::make_unique<CellControl>(form.get());
        cell->Move(x, y);
        cell->SetSize(w, h);
        cell->SetBackColor(color);
        cell->SetTextColor(0xffffff);
        return cell;
    }
};

} // namespace

TEST_F(CellTest, SameTextNeitherRepaintsNorMarksChanged) {
    auto cell = MakeCell(10, 10, 100, 20, 0x0000ff);
    cell->SetText("Score");
    cell->Show();
    EXPECT_FALSE(cell->IsChanged()) << "creation clears the mark";
    {
        DrawingContext dc(form.get());
        FillRect(dc, 10, 10, 20, 20, 0, -1, 0xff0000);
    }
    cell->SetText("Score");
    EXPECT_FALSE(cell->IsChanged());
    EXPECT_EQ(Pixel(12, 12), 0xff0000u) << "no repaint";
    cell->SetText("Other");
    EXPECT_TRUE(cell->IsChanged());
    EXPECT_EQ(Pixel(12, 12), 0x0000ffu);
    cell->ClearChanged();
    cell->SetHighlighted(false);
    EXPECT_FALSE(cell->IsChanged()) << "the always-store setters leave the mark alone";
}

TEST_F(CellTest, BackgroundDefaultsToGreyAndHighlightOverridesIt) {
    auto cell = MakeCell(10, 10, 100, 20, -1);
    cell->Show();
    EXPECT_EQ(Pixel(50, 15), 0xaaaaaau);
    EXPECT_EQ(Pixel(109, 15), 0x000000u) << "(w - 1) columns are filled";
    cell->SetHighlighted(true);
    EXPECT_EQ(Pixel(50, 15), 0xffff00u);
}

TEST_F(CellTest, BorderIsSunkenAndDarkOnWhite) {
    auto grey = MakeCell(10, 10, 100, 30, 0xb7b7b7);
    grey->SetBorder(true);
    grey->Show();
    EXPECT_EQ(Pixel(10, 10), 0x000000u);
    EXPECT_EQ(Pixel(10, 38), 0x000000u);
    EXPECT_EQ(Pixel(109, 20), 0xffffffu);
    EXPECT_EQ(Pixel(50, 39), 0xffffffu);
    EXPECT_EQ(Pixel(11, 11), 0xb7b7b7u) << "the text box starts inside the border";

    auto white = MakeCell(150, 10, 100, 30, 0xffffff);
    white->SetBorder(true);
    white->Show();
    EXPECT_EQ(Pixel(249, 20), 0x000000u);
    EXPECT_EQ(Pixel(200, 39), 0x000000u);
}

TEST_F(CellTest, ShortCellsShowNoTextAndSingleLinesAreCentred) {
    auto tiny = MakeCell(10, 10, 100, 9, 0x0000ff);
    tiny->SetText("Hidden");
    tiny->Show();
    EXPECT_EQ(Count(10, 10, 100, 9, 0xffffff), 0);

    auto tall = MakeCell(10, 50, 200, 60, 0x0000ff);
    tall->SetText("Hi");
    tall->Show();
    EXPECT_EQ(Count(10, 50, 200, 18, 0xffffff), 0) << "a single line sits in the middle";
    EXPECT_GT(Count(10, 68, 200, 25, 0xffffff), 5);

    tall->SetText("a\nb");
    EXPECT_GT(Count(10, 50, 200, 16, 0xffffff), 3) << "several lines start at the top";
}

TEST_F(CellTest, StarMarkSitsInTheLowerRightCorner) {
    auto cell = MakeCell(10, 10, 100, 40, 0x0000ff);
    cell->SetStarMark(true);
    cell->Show();
    EXPECT_GT(Count(80, 20, 30, 30, 0xffffff), 3);
    EXPECT_EQ(Count(10, 10, 60, 40, 0xffffff), 0);
}

TEST_F(CellTest, RestoreBackColorPutsBackTheColourAtCreation) {
    auto cell = MakeCell(10, 10, 100, 20, 0x0000ff);
    cell->ClearChanged();
    cell->RestoreBackColor();
    EXPECT_FALSE(cell->IsChanged()) << "nothing before creation";
    cell->Show();
    cell->SetBackColor(0x00ff00);
    EXPECT_EQ(Pixel(50, 15), 0x00ff00u);
    cell->RestoreBackColor();
    EXPECT_EQ(Pixel(50, 15), 0x0000ffu);
    EXPECT_TRUE(cell->IsChanged());
}

TEST_F(CellTest, HideClearsWithTheFormColour) {
    auto cell = MakeCell(10, 10, 100, 20, 0x0000ff);
    cell->Show();
    cell->Hide();
    EXPECT_EQ(Count(10, 10, 100, 20, 0x000000), 2000);
    EXPECT_FALSE(cell->IsCreated());
}
