#include <gtest/gtest.h>

#include <cmath>

#include "gui/controls/ProgressBar.h"
#include "support/FormFixture.h"

namespace {

const unsigned long kFormColour = 0x336699;
const unsigned long kTrough = 0xaaaaaa;
const unsigned long kBlue = 0x0000ff;
const Area kBar{30, 40, 150, 25};

class ProgressBarTest : public FormFixture {
  protected:
    ProgressBarTest() { backColor = kFormColour; }

    std::unique_ptr<ProgressBar> Make(int minimum, int maximum) {
        auto bar = std::make_unique<ProgressBar>(form.get(), minimum, maximum);
        bar->Move(kBar.x, kBar.y);
        bar->SetSize(kBar.w, kBar.h);
        bar->Show();
        return bar;
    }
    int BarPixels() { return Count({kBar.x, kBar.CentreY(), kBar.w, 1}, kBlue); }
};

} // namespace

// The bar is as long as the value's share of the range, of the inside of the frame; a value
// outside the range shows as the nearer end.
TEST_F(ProgressBarTest, BarLengthFollowsTheValueClampedToTheRange) {
    struct Case {
        int minimum, maximum, set, shown;
    };
    const Case cases[] = {
        {0, 10, 5, 5}, {0, 10, -3, 0}, {0, 10, 99, 10}, {-20, 20, 10, 10},
        {10, 0, 4, 4}, {5, 5, 7, 5},   {0, 3, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.minimum << ".." << c.maximum << " set " << c.set);
        auto bar = Make(c.minimum, c.maximum);
        bar->SetValue(c.set);
        EXPECT_EQ(bar->GetValue(), c.shown);
        const int low = std::min(c.minimum, c.maximum);
        const int range = std::abs(c.maximum - c.minimum);
        const double share = range == 0 ? 0.0 : static_cast<double>(c.shown - low) / range;
        // FillRect leaves out its last column, so the bar is one pixel short of its width.
        const int length = static_cast<int>(std::trunc((kBar.w - 2) * share));
        EXPECT_EQ(BarPixels(), std::max(length - 1, 0));
        bar->Hide();
    }
}

TEST_F(ProgressBarTest, FrameComesAndGoesAndAHiddenBarStaysHidden) {
    auto bar = Make(0, 10);
    bar->SetValue(10);
    EXPECT_EQ(Count({kBar.x + kBar.w - 1, kBar.y, 1, kBar.h}, 0xffffff), kBar.h) << "light edge";
    bar->SetBorder(false);
    EXPECT_EQ(Pixel(kBar.x, kBar.y + 5), kTrough);

    bar->Hide();
    EXPECT_EQ(Count(kBar, kFormColour), kBar.w * kBar.h);
    bar->SetValue(3);
    EXPECT_EQ(Count(kBar, kFormColour), kBar.w * kBar.h) << "a value set while hidden";
    bar->Show();
    EXPECT_GT(BarPixels(), 0);
}
