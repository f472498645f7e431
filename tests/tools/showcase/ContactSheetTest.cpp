#include <gtest/gtest.h>

#include "support/DisplayTest.h"
#include "tools/showcase/ContactSheet.h"

namespace {

// The sheet's own geometry: thumbnails at half size, three to a row, 16 px apart, a 40 px
// title above them and a 24 px caption under each.
const int kMargin = 16;
const int kTitleHeight = 40;
const int kCaptionHeight = 24;
const unsigned long kSheetColour = 0x202020;

// How many pixels of the rectangle have the colour.
int Count(const PngImage& image, int left, int top, int width, int height, unsigned long colour) {
    int count = 0;
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            count += image.Pixels()[static_cast<size_t>(y) * image.Width() + x] == colour;
        }
    }
    return count;
}

using ContactSheetTest = DisplayTest;

} // namespace

TEST_F(ContactSheetTest, LaysOutHalfSizePicturesWithTheirCaptionsAndRefusesNone) {
    ContactSheet sheet("Four pictures");
    const unsigned long colours[] = {0xff0000, 0x00ff00, 0x0000ff, 0xffff00};
    for (unsigned long colour : colours) {
        sheet.Add("caption", PngImage(80, 60, std::vector<unsigned long>(80 * 60, colour)));
    }
    sheet.Add("too small to shrink", PngImage(1, 1, {0x123456}));
    EXPECT_EQ(sheet.Count(), 4u);
    std::string error;
    const PngImage image = sheet.Compose(observer, error);
    ASSERT_FALSE(image.IsEmpty()) << error;
    // Two rows of three 40 × 30 cells.
    const int cellWidth = 40, cellHeight = 30, rowHeight = cellHeight + kCaptionHeight + kMargin;
    EXPECT_EQ(image.Width(), kMargin + 3 * (cellWidth + kMargin));
    EXPECT_EQ(image.Height(), kTitleHeight + 2 * rowHeight);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const int left = kMargin + (i % 3) * (cellWidth + kMargin);
        const int top = kTitleHeight + (i / 3) * rowHeight;
        // The picture exactly, the sheet's colour right around it, the caption in white.
        EXPECT_EQ(Count(image, left, top, cellWidth, cellHeight, colours[i]),
                  cellWidth * cellHeight);
        EXPECT_EQ(Count(image, left - 1, top - 1, cellWidth + 2, cellHeight + 2, colours[i]),
                  cellWidth * cellHeight);
        EXPECT_GT(Count(image, left, top + cellHeight, cellWidth, kCaptionHeight, 0xffffff), 0);
    }
    EXPECT_GT(Count(image, 0, 0, image.Width(), kTitleHeight, 0xffffff), 0) << "title";
    // The empty sixth cell is left plain.
    EXPECT_EQ(Count(image, kMargin + 2 * (cellWidth + kMargin), kTitleHeight + rowHeight, cellWidth,
                    rowHeight - kMargin, kSheetColour),
              cellWidth * (rowHeight - kMargin));
    // Nothing to show is an error, not an empty file.
    error.clear();
    EXPECT_TRUE(ContactSheet("Nothing").Compose(observer, error).IsEmpty());
    EXPECT_FALSE(error.empty());
}
