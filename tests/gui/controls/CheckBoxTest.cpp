#include <gtest/gtest.h>

#include "gui/controls/CheckBox.h"
#include "support/FormFixture.h"

namespace {

const Area kBox{30, 30, 120, 26};
// A pixel of the tick inside the box: the tick's colour when checked, the box's when not.
const int kTickX = kBox.x + CheckBox::kMarkInset + 6;
const int kTickY = kBox.y + CheckBox::kMarkInset + 10;
// The caption, inside the dashed focus frame, and the frame's top edge above it.
const Area kCaption{kBox.x + CheckBox::kCaptionLeft, kBox.y + 3, kBox.w - 35, kBox.h - 5};
const Area kFocusTop{kBox.x + 23, kBox.y + 2, kBox.w - 30, 1};

using CheckBoxTest = FormFixture;

int clicks = 0;
int doubleClicks = 0;

} // namespace

// The click gives the box the focus, so the space bar that follows reaches it.
TEST_F(CheckBoxTest, ClickOrSpaceTogglesAndRunsTheCommandWhileEnabledOnly) {
    CheckBox box(form.get(), "Sound");
    box.SetCommand(CountCommand);
    Place(box, kBox);
    ClickAt(kBox.CentreX(), kBox.CentreY());
    Tap(XK_x);
    EXPECT_EQ(std::pair(box.IsChecked(), commands), std::pair(true, 1)) << "only space toggles";
    EXPECT_GT(Count(kCaption, 0x000000), 0) << "black caption";
    EXPECT_GT(Count(kFocusTop, 0x000000), 10) << "a dashed frame round the caption";
    Tap(XK_space);
    EXPECT_EQ(std::pair(box.IsChecked(), commands), std::pair(false, 2));
    box.SetChecked(true);
    EXPECT_EQ(commands, 2) << "only the user's toggles run the command";
    EXPECT_EQ(Pixel(kTickX, kTickY), 0x000000u);

    // Still focused, a disabled box is still sent the clicks; it must not toggle, but its
    // click hook and double clicks work as on any element.
    box.Enable(false);
    box.SetOnClick([](GUIElement*, uint64_t, int64_t) { ++clicks; });
    box.SetOnDoubleClick([](GUIElement*, uint64_t, int64_t) { ++doubleClicks; });
    clicks = doubleClicks = 0;
    ClickAt(kBox.CentreX(), kBox.CentreY());
    ClickAt(kBox.CentreX(), kBox.CentreY());
    Tap(XK_space);
    EXPECT_EQ(std::pair(box.IsChecked(), commands), std::pair(true, 2));
    // The second click follows the first at once; the first may count as a double click too.
    EXPECT_EQ(clicks, 2);
    EXPECT_GE(doubleClicks, 1);
    EXPECT_EQ(Pixel(kTickX, kTickY), 0x424242u) << "the disabled tick";
    EXPECT_EQ(Count(kCaption, 0x000000), 0);
    EXPECT_GT(Count(kCaption, 0x9b9b9b), 0);
    EXPECT_EQ(Count(kFocusTop, 0x000000), 0) << "no focus frame while disabled";
    // Enabled again the frame is back; a click beside the box takes the focus and the frame.
    box.Enable(true);
    EXPECT_GT(Count(kFocusTop, 0x000000), 10);
    ClickAt(kBox.x + kBox.w + 50, kBox.CentreY());
    EXPECT_EQ(Count(kFocusTop, 0x000000), 0);
}
