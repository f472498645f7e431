#include <gtest/gtest.h>

#include "gui/controls/ProgressBar.h"
#include "support/FormFixture.h"

namespace {

const Area kBar{30, 40, 150, 25};

using ProgressBarTest = FormFixture;

} // namespace

// The bar is as long as the value's share of the range, of the 148 pixels inside the frame,
// less the last column FillRect leaves out; a value outside the range shows as the nearer end.
TEST_F(ProgressBarTest, BarLengthFollowsTheValueClampedToTheRange) {
    struct Case {
        int minimum, maximum, set, shown, length;
    };
    const Case cases[] = {
        {0, 10, 5, 5, 73}, {0, 10, -3, 0, 0}, {0, 10, 99, 10, 147}, {-20, 20, 10, 10, 110},
        {10, 0, 4, 4, 58}, {5, 5, 7, 5, 0},   {0, 3, 1, 1, 48},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.minimum << ".." << c.maximum << " set " << c.set);
        ProgressBar bar(form.get(), c.minimum, c.maximum);
        Place(bar, kBar);
        bar.SetValue(c.set);
        EXPECT_EQ(bar.GetValue(), c.shown);
        EXPECT_EQ(Count({kBar.x, kBar.CentreY(), kBar.w, 1}, 0x0000ff), c.length);
        bar.Hide();
    }
}

TEST_F(ProgressBarTest, FrameComesAndGoesAndAHiddenBarStaysHidden) {
    ProgressBar bar(form.get(), 0, 10);
    Place(bar, kBar);
    bar.SetValue(10);
    EXPECT_EQ(Count({kBar.x + kBar.w - 1, kBar.y, 1, kBar.h}, 0xffffff), kBar.h) << "light edge";
    bar.SetBorder(false);
    EXPECT_EQ(Pixel(kBar.x, kBar.y + 5), 0xaaaaaau) << "the trough";
    bar.Hide();
    bar.SetValue(3);
    EXPECT_EQ(Count(kBar, backColor), kBar.w * kBar.h) << "a value set while hidden";
}
