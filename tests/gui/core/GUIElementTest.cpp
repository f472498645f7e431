#include <ctime>
#include <gtest/gtest.h>
#include <tuple>

#include "gui/core/PackedPoint.h"
#include "support/TestElements.h"

// The event loop gives a click to the element that answers true here, so it decides which
// control a click lands on: all four edges belong to it, the pixels beyond them do not.
TEST(GUIElement, HitTestTakesTheEdgesOfShownElementsOnly) {
    RecordingForm form;
    RecordingControl control(&form, "c", 10, 20, 100, 30);
    EXPECT_FALSE(control.HitTest(PackPoint(50, 30))) << "not created";
    control.Create();
    EXPECT_FALSE(control.HitTest(PackPoint(50, 30))) << "created but hidden";
    control.Show();
    const std::tuple<int, int, bool> points[] = {
        {10, 20, true},   {110, 50, true}, {9, 30, false},
        {111, 30, false}, {50, 19, false}, {50, 51, false},
    };
    for (const auto& [x, y, inside] : points) {
        EXPECT_EQ(control.HitTest(PackPoint(x, y)), inside) << x << "," << y;
    }
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
