#include <ctime>
#include <gtest/gtest.h>

#include "gui/core/PackedPoint.h"
#include "support/TestElements.h"

// The event loop asks the focused element whether a release lands on it; its edges are tested
// through Application::FindChildAt.
TEST(GUIElement, OnlyAShownElementIsHit) {
    RecordingForm form;
    RecordingControl control(&form, "c", 10, 20, 100, 30);
    EXPECT_FALSE(control.HitTest(PackPoint(50, 30))) << "not created";
    control.Create();
    EXPECT_FALSE(control.HitTest(PackPoint(50, 30))) << "created but hidden";
    control.Show();
    EXPECT_TRUE(control.HitTest(PackPoint(50, 30)));
}

TEST(GUIElement, TwoClicksInOneSecondMakeADoubleClick) {
    std::vector<std::string> log;
    RecordingForm form;
    RecordingControl control(&form, "c", 0, 0, 10, 10, &log);
    DateTime earlier = DateTime::Now();
    earlier.AddSeconds(-2);
    control.SetLastClickTime(earlier);
    // Right after a second boundary, so that the two clicks land in the same second.
    const time_t start = time(nullptr);
    while (time(nullptr) == start) {
    }
    control.OnClick(0);
    control.OnClick(0);
    EXPECT_EQ(log, (std::vector<std::string>{"c0 Click 0,0", "c0 Click 0,0", "c0 DoubleClick"}))
        << "a click two seconds after the last is a single one";
}
