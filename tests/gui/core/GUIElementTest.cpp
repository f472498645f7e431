#include <ctime>
#include <gtest/gtest.h>

#include "support/TestElements.h"

namespace {

int hookCalls = 0;
uint64_t lastTag = 0;
void CountLoad(GUIElement*, uint64_t tag) {
    ++hookCalls;
    lastTag = tag;
}
void CountNotify(GUIElement*) { ++hookCalls; }

// Starts right after a second boundary, so two quick calls land in the same second.
void WaitForFreshSecond() {
    const time_t start = time(nullptr);
    while (time(nullptr) == start) {
    }
}

} // namespace

TEST(GUIElement, NewElementHasDocumentedDefaults) {
    RecordingForm form;
    RecordingControl control(&form, "button", 100, 100, 100, 50);
    RecordingControl fresh(&form, "x", 0, 0, 0, 0);
    EXPECT_EQ(form.GetWidth(), 100);
    EXPECT_EQ(form.GetHeight(), 50);
    EXPECT_EQ(PointX(form.GetPosition()), 100);
    EXPECT_EQ(PointY(form.GetPosition()), 100);
    EXPECT_TRUE(form.IsEnabled());
    EXPECT_FALSE(form.IsVisible());
    EXPECT_FALSE(form.IsCreated());
    EXPECT_EQ(form.GetId(), 0u);
    EXPECT_EQ(form.GetBackColor(), -1);
    EXPECT_TRUE(form.IsTabStop());
    EXPECT_FALSE(form.IsAutoRedraw());
    EXPECT_FALSE(form.IsChild());
    EXPECT_TRUE(control.IsChild());
    EXPECT_EQ(control.GetKind(), "button");
}

TEST(GUIElement, PositionSettersClampOnlyThroughSetPosition) {
    RecordingForm form;
    RecordingControl control(&form, "c", 0, 0, 10, 10);
    control.SetPosition(-5, 20);
    EXPECT_EQ(control.GetPosition(), PackPoint(0, 20));
    control.MoveTo(PackPoint(-5, 20));
    EXPECT_EQ(PointX(control.GetPosition()), -5);
    EXPECT_EQ(PointY(control.GetPosition()), 20);
}

TEST(GUIElement, SetSizeWithCurrentSizeDoesNothingNatively) {
    RecordingForm form;
    RecordingControl control(&form, "c", 0, 0, 10, 10);
    control.Create();
    control.SetSize(10, 10);
    EXPECT_EQ(control.nativeResizes, 0);
    control.SetSize(11, 10);
    EXPECT_EQ(control.nativeResizes, 1);
    EXPECT_EQ(control.GetSize(), PackPoint(11, 10));
}

TEST(GUIElement, HitTestIncludesEdgesOfShownElementsOnly) {
    RecordingForm form;
    RecordingControl control(&form, "c", 10, 20, 100, 30);
    EXPECT_FALSE(control.HitTest(PackPoint(50, 30))) << "not created";
    control.Create();
    EXPECT_FALSE(control.HitTest(PackPoint(50, 30))) << "created but hidden";
    control.Show();
    EXPECT_TRUE(control.HitTest(PackPoint(10, 20)));
    EXPECT_TRUE(control.HitTest(PackPoint(110, 50)));
    EXPECT_TRUE(control.HitTest(PackPoint(110, 20)));
    EXPECT_TRUE(control.HitTest(PackPoint(10, 50)));
    EXPECT_FALSE(control.HitTest(PackPoint(111, 30)));
    EXPECT_FALSE(control.HitTest(PackPoint(9, 30)));
    EXPECT_FALSE(control.HitTest(PackPoint(50, 51)));
}

TEST(GUIElement, HandlersWithoutHooksAnswerTrue) {
    RecordingForm form;
    EXPECT_TRUE(form.OnKeyChar('a'));
    EXPECT_TRUE(form.OnClosing());
    form.OnClosed();
    EXPECT_TRUE(form.IsClosed());
}

TEST(GUIElement, LoadRunsTheHookOnceAndKeepsAnEarlierTag) {
    RecordingForm form;
    hookCalls = 0;
    form.SetOnLoad(CountLoad);
    form.GetTagRef() = 42;
    form.Load(7);
    form.Load(8);
    EXPECT_EQ(hookCalls, 1);
    EXPECT_EQ(lastTag, 42u);

    RecordingForm other;
    other.SetOnLoad(CountLoad);
    other.Load(9);
    EXPECT_EQ(other.GetTagRef(), 9u);
}

TEST(GUIElement, TwoClicksInOneSecondMakeADoubleClick) {
    std::vector<std::string> log;
    RecordingForm form;
    RecordingControl control(&form, "c", 0, 0, 10, 10, &log);
    DateTime longAgo = DateTime::Now();
    longAgo.AddSeconds(-5);
    control.SetLastClickTime(longAgo);
    WaitForFreshSecond();
    control.OnClick(0);
    control.OnClick(0);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0], "c0 Click 0,0");
    EXPECT_EQ(log[1], "c0 Click 0,0");
    EXPECT_EQ(log[2], "c0 DoubleClick");

    log.clear();
    DateTime earlier = DateTime::Now();
    earlier.AddSeconds(-2);
    control.SetLastClickTime(earlier);
    control.OnClick(0);
    EXPECT_EQ(log, std::vector<std::string>{"c0 Click 0,0"});
}

TEST(GUIElement, FocusOutReportsAChangeOnlyWhenTheTextChanged) {
    RecordingForm form;
    hookCalls = 0;
    form.SetOnChange(CountNotify);
    form.SetText("same");
    form.OnFocusIn();
    EXPECT_TRUE(form.HasFocus());
    form.OnFocusOut();
    EXPECT_FALSE(form.HasFocus());
    EXPECT_EQ(hookCalls, 0);
    form.OnFocusIn();
    form.SetText("different");
    form.OnFocusOut();
    EXPECT_EQ(hookCalls, 1);
}

TEST(GUIElement, MarksAreMutuallyExclusiveOnlyWhenSet) {
    RecordingForm form;
    RecordingControl control(&form, "c", 0, 0, 10, 10);
    control.SetMarkB(true);
    control.SetMarkA(false);
    EXPECT_TRUE(control.HasMarkB());
    control.SetMarkA(true);
    EXPECT_TRUE(control.HasMarkA());
    EXPECT_FALSE(control.HasMarkB());
}

TEST(GUIElement, AssignIdDrawsFromTheProcessCounterOnce) {
    RecordingForm form;
    RecordingControl first(&form, "c", 0, 0, 10, 10);
    RecordingControl second(&form, "c", 0, 0, 10, 10);
    first.Create();
    second.Create();
    EXPECT_EQ(first.GetId() + 1, second.GetId());
    EXPECT_EQ(first.GetTagRef(), first.GetId());
    const uint32_t before = first.GetId();
    first.AssignId();
    EXPECT_EQ(first.GetId(), before);
}
