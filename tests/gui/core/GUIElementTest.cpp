#include <ctime>
#include <gtest/gtest.h>

#include "gui/core/PackedPoint.h"
#include "support/TestElements.h"

namespace {

int changes = 0;
void CountChange(GUIElement*) {
    ++changes;
}

} // namespace

// The event loop gives a click to the element that answers true here, so it decides which
// control a click lands on.
TEST(GUIElement, HitTestTakesTheEdgesOfShownElementsOnly) {
    RecordingForm form;
    RecordingControl control(&form, "c", 10, 20, 100, 30);
    EXPECT_FALSE(control.HitTest(PackPoint(50, 30))) << "not created";
    control.Create();
    EXPECT_FALSE(control.HitTest(PackPoint(50, 30))) << "created but hidden";
    control.Show();
    const std::pair<int, int> inside[] = {{10, 20}, {110, 50}, {110, 20}, {10, 50}, {50, 30}};
    const std::pair<int, int> outside[] = {{111, 30}, {9, 30}, {50, 51}, {50, 19}};
    for (const auto& [x, y] : inside) {
        EXPECT_TRUE(control.HitTest(PackPoint(x, y))) << x << "," << y;
    }
    for (const auto& [x, y] : outside) {
        EXPECT_FALSE(control.HitTest(PackPoint(x, y))) << x << "," << y;
    }
}

TEST(GUIElement, TwoClicksInOneSecondMakeADoubleClick) {
    std::vector<std::string> log;
    RecordingForm form;
    RecordingControl control(&form, "c", 0, 0, 10, 10, &log);
    DateTime longAgo = DateTime::Now();
    longAgo.AddSeconds(-5);
    control.SetLastClickTime(longAgo);
    // Right after a second boundary, so that the two clicks land in the same second.
    const time_t start = time(nullptr);
    while (time(nullptr) == start) {
    }
    control.OnClick(0);
    control.OnClick(0);
    EXPECT_EQ(log, (std::vector<std::string>{"c0 Click 0,0", "c0 Click 0,0", "c0 DoubleClick"}));

    log.clear();
    DateTime earlier = DateTime::Now();
    earlier.AddSeconds(-2);
    control.SetLastClickTime(earlier);
    control.OnClick(0);
    EXPECT_EQ(log, std::vector<std::string>{"c0 Click 0,0"});
}

TEST(GUIElement, LeavingAnElementReportsAChangeOnlyWhenItsTextChanged) {
    RecordingForm form;
    changes = 0;
    form.SetOnChange(CountChange);
    form.SetText("same");
    form.OnFocusIn();
    form.OnFocusOut();
    EXPECT_EQ(changes, 0);
    form.OnFocusIn();
    form.SetText("different");
    form.OnFocusOut();
    EXPECT_EQ(changes, 1);
}
