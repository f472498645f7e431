#include <gtest/gtest.h>

#include "gui/core/PackedPoint.h"
#include "gui/graphics/DrawingContext.h"
#include "gui/graphics/ImageFrame.h"
#include "gui/graphics/TestBlocks.h"
#include "support/FormFixture.h"

namespace {

const unsigned long kBack = 0x336699;
const unsigned long kRed = 0xff0000;
const unsigned long kGreen = 0x00ff00;
const unsigned long kBlue = 0x0000ff;
const unsigned long kWhite = 0xffffff;
const unsigned long kYellow = 0xffff00;
const unsigned long kPanel = 0x806040;

class ImageFrameTest : public FormFixture {
  protected:
    ImageFrameTest() { backColor = kBack; }

    void SetUp() override {
        FormFixture::SetUp();
        for (unsigned long colour : {kRed, kGreen, kBlue, kWhite}) {
            blocks.push_back(SolidBlock(6, 4, colour));
        }
        // Red with a black ring: black shows the background when keyed.
        std::vector<int> ring(24, 1);
        for (int i = 0; i < 24; ++i) {
            const int x = i % 6;
            const int y = i / 6;
            ring[static_cast<size_t>(i)] = x == 0 || x == 5 || y == 0 || y == 3 ? 0 : 1;
        }
        blocks.push_back(MakeBlock(6, 4, {0x000000, kRed}, ring));
        for (const std::vector<unsigned char>& block : blocks) {
            table.push_back(block.data());
        }
        table.push_back(nullptr);
    }

    std::unique_ptr<ImageFrame> MakeFrame(GUIElement* parent, int count, int column) {
        auto frame = std::make_unique<ImageFrame>(parent, table.data(), count, column, 0);
        frame->SetSize(6, 4);
        frame->Move(10, 10);
        return frame;
    }

    void Fill(int x, int y, int w, int h, long colour) {
        DrawingContext dc(form.get());
        FillRect(dc, x, y, w + 1, h + 1, 0, -1, colour);
    }

    std::vector<std::vector<unsigned char>> blocks;
    std::vector<const unsigned char*> table;
};

} // namespace

TEST_F(ImageFrameTest, SelectedFrameIsShownAndSetFrameRepaintsOnlyOnChange) {
    auto frame = MakeFrame(form.get(), 4, 1);
    frame->Show();
    EXPECT_EQ(Count(10, 10, 6, 4, kGreen), 24);
    Fill(10, 10, 6, 4, kYellow);
    frame->SetFrame(1, 0);
    EXPECT_EQ(Count(10, 10, 6, 4, kYellow), 24) << "the same frame is not repainted";
    frame->SetFrame(3, 0);
    EXPECT_EQ(Count(10, 10, 6, 4, kWhite), 24);
    EXPECT_EQ(frame->GetFrame(), PackPoint(3, 0));
    frame->SetFrame(0, 2, true);
    EXPECT_EQ(Count(10, 10, 6, 4, kBlue), 24) << "a list frame is entry column + row";
}

TEST_F(ImageFrameTest, FramesOutsideTheListDrawNothing) {
    // The count claims more frames than the table holds before its terminator.
    auto frame = MakeFrame(form.get(), 9, 0);
    frame->Show();
    ASSERT_EQ(Count(10, 10, 6, 4, kRed), 24);
    frame->SetKeyed(true);
    Fill(10, 10, 6, 4, kYellow);
    for (int column : {5, 6, -1, 2000000000}) {
        frame->SetFrame(column, 0);
        EXPECT_EQ(Count(10, 10, 6, 4, kYellow), 24) << column;
    }
    frame->SetFrame(2000000000, 2000000000);
    EXPECT_EQ(Count(10, 10, 6, 4, kYellow), 24);
}

TEST_F(ImageFrameTest, KeyedFramesShowTheParentColourWhereBlackAndKeepTheirSource) {
    RecordingControl panel(form.get(), "panel", 40, 40, 100, 100);
    panel.Show();
    panel.SetBackColor(kPanel);
    auto frame = MakeFrame(&panel, 5, 0);
    frame->SetKeyed(true);
    frame->SetFrame(4, 0);
    EXPECT_EQ(Count(50, 50, 6, 4, kRed), 0) << "a control not shown only stores";
    frame->Show();
    EXPECT_EQ(Count(50, 50, 6, 4, kPanel), 16);
    EXPECT_EQ(Count(50, 50, 6, 4, kRed), 8);
    frame->SetKeyed(false);
    EXPECT_EQ(Count(50, 50, 6, 4, 0x000000), 16) << "keying left the frame itself unchanged";
    // No pixel of the previous frame survives under the black of the next, the last row and
    // column included.
    frame->SetFrame(3, 0);
    frame->SetKeyed(true);
    frame->SetFrame(4, 0);
    EXPECT_EQ(Count(50, 50, 6, 4, kPanel), 16);
    frame->Hide();
    EXPECT_EQ(Count(50, 50, 6, 4, kPanel), 24);
    EXPECT_FALSE(frame->IsCreated());
}

TEST_F(ImageFrameTest, CallersImagesAndSheetsAreShownAndLeftUntouched) {
    std::vector<XImage*> images;
    for (const std::vector<unsigned char>& block : blocks) {
        images.push_back(
            CreateImageFromRgb(form.get(), BlockToRgb(6, 4, block.data()).get(), 6, 4));
    }
    // A sheet of 2 x 2 frames of 6 x 4: red, green / blue, ring.
    std::vector<int> grid(12 * 8);
    for (int i = 0; i < 12 * 8; ++i) {
        const int x = i % 12;
        const int y = i / 12;
        const int quarter = (y / 4) * 2 + x / 6;
        const bool ring = x == 6 || x == 11 || y == 4 || y == 7;
        grid[static_cast<size_t>(i)] = quarter == 3 && ring ? 4 : quarter;
    }
    const std::vector<unsigned char> sheetBlock =
        MakeBlock(12, 8, {kRed, kGreen, kBlue, kRed, 0x000000}, grid);
    XImage* sheet =
        CreateImageFromRgb(form.get(), BlockToRgb(12, 8, sheetBlock.data()).get(), 12, 8);
    {
        ImageFrame list(form.get(), images.data(), 5, 2, 0);
        list.SetSize(6, 4);
        list.Move(10, 10);
        list.Show();
        EXPECT_EQ(Count(10, 10, 6, 4, kBlue), 24);
        list.SetKeyed(true);
        list.SetFrame(4, 0);
        EXPECT_EQ(Count(10, 10, 6, 4, kBack), 16);

        ImageFrame cut(form.get(), sheet, 1, 0);
        cut.SetSize(6, 4);
        cut.Move(30, 10);
        cut.Show();
        EXPECT_EQ(Count(30, 10, 6, 4, kGreen), 24);
        cut.SetFrame(0, 1);
        EXPECT_EQ(Count(30, 10, 6, 4, kBlue), 24);
        cut.SetKeyed(true);
        cut.SetFrame(1, 1);
        EXPECT_EQ(Count(30, 10, 6, 4, kBack), 16);
        EXPECT_EQ(Count(30, 10, 6, 4, kRed), 8);
        cut.SetFrame(2, 0);
        cut.SetFrame(0, 2);
        EXPECT_EQ(Count(30, 10, 6, 4, kBack), 16) << "rectangles outside the sheet draw nothing";
    }
    EXPECT_EQ(XGetPixel(images[4], 0, 0) & 0xffffff, 0u);
    EXPECT_EQ(XGetPixel(sheet, 6, 4) & 0xffffff, 0u);
    for (XImage* image : images) {
        DestroyImage(image);
    }
    DestroyImage(sheet);
}
