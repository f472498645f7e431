#include <gtest/gtest.h>

#include "tools/showcase/ContactSheet.h"

namespace {

// The sheet's own geometry: thumbnails at half size, three to a row, 16 px apart, a 40 px
// title above them and a 24 px caption under each.
const int kMargin = 16;
const int kTitleHeight = 40;
const int kCaptionHeight = 24;
const unsigned long kSheetColour = 0x202020;

PngImage Solid(int width, int height, unsigned long colour) {
    return PngImage(width, height,
                    std::vector<unsigned long>(static_cast<size_t>(width) * height, colour));
}

unsigned long At(const PngImage& image, int x, int y) {
    return image.Pixels()[static_cast<size_t>(y) * image.Width() + x];
}

// Whether every pixel of the rectangle has the colour.
bool Filled(const PngImage& image, int left, int top, int width, int height,
            unsigned long colour) {
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            if (At(image, x, y) != colour) {
                return false;
            }
        }
    }
    return true;
}

int CountColour(const PngImage& image, int left, int top, int width, int height,
                unsigned long colour) {
    int count = 0;
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            count += At(image, x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

class ContactSheetTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(display, nullptr) << "these tests need DISPLAY"; }
    void TearDown() override {
        if (display != nullptr) {
            XCloseDisplay(display);
        }
    }
    Display* display = XOpenDisplay(nullptr);
};

} // namespace

TEST_F(ContactSheetTest, LaysOutHalfSizePicturesWithTheirCaptions) {
    ContactSheet sheet("Four pictures");
    const unsigned long colours[] = {0xff0000, 0x00ff00, 0x0000ff, 0xffff00};
    for (unsigned long colour : colours) {
        sheet.Add("caption", Solid(80, 60, colour));
    }
    sheet.Add("too small to shrink", Solid(1, 1, 0x123456));
    EXPECT_EQ(sheet.Count(), 4u);

    std::string error;
    const PngImage image = sheet.Compose(display, error);
    ASSERT_FALSE(image.IsEmpty()) << error;
    // Two rows of three 40 × 30 cells.
    const int cellWidth = 40;
    const int cellHeight = 30;
    EXPECT_EQ(image.Width(), kMargin + 3 * (cellWidth + kMargin));
    EXPECT_EQ(image.Height(), kTitleHeight + 2 * (cellHeight + kCaptionHeight + kMargin));

    for (int i = 0; i < 4; ++i) {
        const int left = kMargin + (i % 3) * (cellWidth + kMargin);
        const int top = kTitleHeight + (i / 3) * (cellHeight + kCaptionHeight + kMargin);
        EXPECT_TRUE(Filled(image, left, top, cellWidth, cellHeight, colours[i])) << "picture " << i;
        // The sheet's colour right around the picture.
        EXPECT_EQ(At(image, left - 1, top), kSheetColour) << "picture " << i;
        EXPECT_EQ(At(image, left + cellWidth, top + cellHeight - 1), kSheetColour)
            << "picture " << i;
        // The caption is drawn in white under it.
        EXPECT_GT(CountColour(image, left, top + cellHeight, cellWidth, kCaptionHeight, 0xffffff),
                  0)
            << "caption " << i;
    }
    EXPECT_GT(CountColour(image, 0, 0, image.Width(), kTitleHeight, 0xffffff), 0) << "title";
    // The empty sixth cell is left plain.
    EXPECT_TRUE(Filled(image, kMargin + 2 * (cellWidth + kMargin),
                       kTitleHeight + cellHeight + kCaptionHeight + kMargin, cellWidth,
                       cellHeight + kCaptionHeight, kSheetColour));
}

TEST_F(ContactSheetTest, NothingToShowIsAnErrorNotAnEmptyFile) {
    ContactSheet sheet("Nothing");
    std::string error;
    EXPECT_TRUE(sheet.Compose(display, error).IsEmpty());
    EXPECT_FALSE(error.empty());
}
