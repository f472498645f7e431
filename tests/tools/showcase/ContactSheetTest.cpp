#include <algorithm>
#include <gtest/gtest.h>

#include "support/DisplayTest.h"
#include "tools/showcase/ContactSheet.h"

using ContactSheetTest = DisplayTest;

// Where each thumbnail lands is the sheet's own business; what matters is that every picture
// shows whole, at half size, beside the others and not over them, with text on the sheet.
TEST_F(ContactSheetTest, ShowsEveryPictureWholeAtHalfSizeAndRefusesAnEmptySheet) {
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
    const std::vector<unsigned long>& pixels = image.Pixels();
    for (const unsigned long colour : colours) {
        EXPECT_EQ(std::count(pixels.begin(), pixels.end(), colour), 40 * 30) << colour;
    }
    EXPECT_GT(std::count(pixels.begin(), pixels.end(), 0xffffffUL), 0) << "no title or caption";
    error.clear();
    EXPECT_TRUE(ContactSheet("Nothing").Compose(observer, error).IsEmpty());
    EXPECT_FALSE(error.empty());
}
