#include <gtest/gtest.h>

#include "gui/core/PackedPoint.h"
#include "gui/graphics/ImageFrame.h"
#include "gui/graphics/TestBlocks.h"
#include "support/FormFixture.h"

namespace {

// Four 6 x 4 frames: red, green, blue, and red in a black ring, which shows the background
// where the frame is keyed. In a sheet of columns x rows, frame f sits at column f % columns.
std::vector<unsigned char> Frames(int columns, int rows, int first) {
    std::vector<int> indices;
    for (int y = 0; y < 4 * rows; ++y) {
        for (int x = 0; x < 6 * columns; ++x) {
            const int frame = first + y / 4 * columns + x / 6;
            indices.push_back(frame < 3 ? frame + 1 : x % 6 % 5 == 0 || y % 4 % 3 == 0 ? 0 : 1);
        }
    }
    return MakeBlock(6 * columns, 4 * rows, {0x000000, kRed, kGreen, kBlue}, indices);
}

class ImageFrameTest : public FormFixture {
  protected:
    void SetUp() override {
        FormFixture::SetUp();
        for (int frame = 0; frame < 4; ++frame) {
            blocks.push_back(Frames(1, 1, frame));
            table.push_back(blocks.back().data());
            images.push_back(CreateImageFromBlock(form.get(), blocks.back().data(), 6, 4));
        }
        table.push_back(nullptr);
        blocks.push_back(Frames(2, 2, 0));
        sheet = CreateImageFromBlock(form.get(), blocks.back().data(), 12, 8);
    }
    void TearDown() override {
        for (XImage* image : images) {
            DestroyImage(image);
        }
        DestroyImage(sheet);
        FormFixture::TearDown();
    }
    // Sizes and places a new frame, each in a spot of its own along the top of the form.
    std::unique_ptr<ImageFrame> Place(ImageFrame* frame) {
        frame->SetSize(6, 4);
        frame->Move(10 + 10 * placed++, 10);
        return std::unique_ptr<ImageFrame>(frame);
    }
    static Area SpotOf(ImageFrame& frame) { return {PointX(frame.GetPosition()), 10, 6, 4}; }

    std::vector<std::vector<unsigned char>> blocks;
    std::vector<const unsigned char*> table;
    std::vector<XImage*> images;
    XImage* sheet = nullptr;
    int placed = 0;
};

} // namespace

// A frame from a list is entry column + row; a frame from a sheet is the rectangle at column,
// row. Keyed, black shows the parent's colour and nothing of the frame before; whichever the
// source, the caller's pictures are left as they were.
TEST_F(ImageFrameTest, EverySourceShowsTheSelectedFrameAndKeysOutBlack) {
    const unsigned long kPanel = 0x806040;
    RecordingControl panel(form.get(), "panel", 0, 0, 400, 300);
    panel.Show();
    panel.SetBackColor(kPanel);
    struct Case {
        const char* name;
        std::unique_ptr<ImageFrame> frame;
        int blueColumn, blueRow, ringColumn, ringRow;
    };
    Case cases[] = {
        {"blocks", Place(new ImageFrame(&panel, table.data(), 4, 0, 0)), 0, 2, 3, 0},
        {"images", Place(new ImageFrame(&panel, images.data(), 4, 0, 0)), 2, 0, 2, 1},
        {"sheet", Place(new ImageFrame(&panel, sheet, 0, 0)), 0, 1, 1, 1},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Area spot = SpotOf(*c.frame);
        c.frame->SetFrame(1, 0);
        c.frame->Show();
        EXPECT_EQ(Count(spot, kGreen), 24) << "the frame chosen before the first paint";
        c.frame->SetFrame(c.blueColumn, c.blueRow, true);
        EXPECT_EQ(Count(spot, kBlue), 24);
        c.frame->SetKeyed(true);
        c.frame->SetFrame(c.ringColumn, c.ringRow);
        EXPECT_EQ(Count(spot, kPanel), 16);
        EXPECT_EQ(Count(spot, kRed), 8);
        c.frame->SetKeyed(false);
        EXPECT_EQ(Count(spot, 0x000000), 16) << "keying left the frame itself unchanged";
        c.frame->SetFrame(1, 0);
        EXPECT_EQ(Count(spot, kGreen), 24) << "the first frame, shown again";
    }
    // Setting the frame shown paints nothing; hidden, the frame leaves the parent's colour.
    const Area spot = SpotOf(*cases[0].frame);
    Fill(spot, kYellow);
    cases[0].frame->SetFrame(1, 0);
    EXPECT_EQ(Count(spot, kYellow), 24);
    cases[0].frame->Hide();
    EXPECT_EQ(Count(spot, kPanel), 24);
}

// Frame number count is one past the end of a list. Where the caller's list goes on, the entry
// there must not show; where it ends, the sanitizer build catches a read past it.
TEST_F(ImageFrameTest, FramesOutsideTheListOrTheSheetDrawNothing) {
    std::vector<XImage*> exact(images);
    ASSERT_EQ(exact.capacity(), 4u);
    struct Case {
        const char* name;
        std::unique_ptr<ImageFrame> frame;
        int column, row;
    };
    const auto list = [&](auto frames, int count) {
        return Place(new ImageFrame(form.get(), frames, count, 0, 0));
    };
    const auto cut = [&] { return Place(new ImageFrame(form.get(), sheet, 0, 0)); };
    Case cases[] = {
        {"frame 3 of a table counted 3", list(table.data(), 3), 3, 0},
        {"beyond a table counted 9", list(table.data(), 9), 4, 0},
        {"a negative frame", list(table.data(), 4), -1, 0},
        {"a frame far out", list(table.data(), 4), 2000000000, 2000000000},
        {"frame 4 of exactly 4 images", list(exact.data(), 4), 4, 0},
        {"right of the sheet", cut(), 2, 0},
        {"below the sheet", cut(), 0, 2},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Area spot = SpotOf(*c.frame);
        c.frame->Show();
        ASSERT_EQ(Count(spot, kRed), 24);
        Fill(spot, kYellow);
        c.frame->SetFrame(c.column, c.row);
        EXPECT_EQ(Count(spot, kYellow), 24);
    }
}
