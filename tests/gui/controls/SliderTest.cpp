#include <gtest/gtest.h>

#include <climits>

#include "gui/controls/Slider.h"
#include "gui/core/PackedPoint.h"
#include "support/FormFixture.h"

namespace {

std::vector<int> reported;
void Report(Slider*, int value) {
    reported.push_back(value);
}

class SliderTest : public FormFixture {
  protected:
    // A shown slider at (20, 20) with the focus; changes are reported and counted as commands.
    void Make(bool vertical, int minimum, int maximum, int w, int h) {
        slider = std::make_unique<Slider>(form.get(), vertical, minimum, maximum);
        slider->SetOnValueChanged(Report);
        slider->SetOnChange(CountCommand);
        Place(*slider, {20, 20, w, h});
        slider->SetFocus();
        reported.clear();
    }
    std::unique_ptr<Slider> slider;
};

} // namespace

// Every step gets the same whole number of pixels, at least eight; the last tick sits at the
// end of the track and nothing is drawn beyond the size the slider takes.
TEST_F(SliderTest, SizeRulesGiveEveryStepTheSameWholePixels) {
    struct Case {
        bool vertical;
        int minimum, maximum, w, h, takenW, takenH;
    };
    const Case cases[] = {
        {false, 0, 10, 100, 20, 120, 36}, {false, 10, 0, 155, 40, 150, 40},
        {false, -1, 2, 100, 36, 100, 36}, {true, 0, 5, 10, 50, 40, 76},
        {true, 0, 5, 50, 100, 50, 96},    {false, 5, 5, 10, 10, 40, 36},
        {true, 7, 7, 10, 10, 40, 36},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.vertical ? "vertical " : "horizontal ") << c.w << "x"
                                        << c.h << " for " << c.minimum << ".." << c.maximum);
        Fill({0, 0, 300, 250}, 0xff0000);
        Make(c.vertical, c.minimum, c.maximum, c.w, c.h);
        EXPECT_EQ(slider->GetSize(), PackPoint(c.takenW, c.takenH));
        EXPECT_EQ(Count({0, 0, 300, 250}, 0xff0000), 300 * 250 - c.takenW * c.takenH);
        // Along the track and across it: the last tick at the end of the track (the only one,
        // at its start, for a slider of one value), and the thumb beside the tick of the value.
        auto at = [&](int along, int across) {
            return c.vertical ? Pixel(across, along) : Pixel(along, across);
        };
        const int start = 20 + (c.vertical ? 18 : 20);
        const int middle = 20 + ((c.vertical ? c.takenW : c.takenH) + 1) / 2;
        const int last = c.minimum == c.maximum ? 0 : c.vertical ? c.takenH - 35 : c.takenW - 39;
        EXPECT_EQ(at(start + last, middle - 3), 0x000000u);
        EXPECT_EQ(at(start + last + 1, middle - 3), 0xddddddu);
        EXPECT_EQ(at(start, c.vertical ? middle + 10 : middle - 10), 0x000000u);
    }
}

// The 0..10 slider made 155 wide takes 150: ticks 11 pixels apart from x = 40, the last at the
// end of the track, x = 151.
TEST_F(SliderTest, PressPicksTheFirstTickWithinTwoPixelsAndValuesStayInTheRange) {
    Make(false, 0, 10, 155, 36);
    const std::pair<int, int> presses[] = {
        {40 + 3 * 11, 3}, {40 + 3 * 11 + 2, 3}, {40 + 3 * 11 + 3, 4}, {21, 0},
        {151 + 2, 10},    {151 + 3, 10},        {40 + 7 * 11 - 5, 7},
    };
    for (const auto& [x, value] : presses) {
        SCOPED_TRACE(x);
        ClickAt(x, 38);
        EXPECT_EQ(slider->GetValue(), value);
        EXPECT_FALSE(slider->IsDragging());
    }
    EXPECT_EQ(reported, (std::vector<int>{3, 4, 0, 10, 7})) << "only changes are told";
    EXPECT_EQ(commands, 5);
    for (const auto& [set, kept] : {std::pair{-5, 0}, {99, 10}, {INT_MIN, 0}}) {
        slider->SetValue(set);
        EXPECT_EQ(slider->GetValue(), kept) << set;
    }
    EXPECT_EQ(commands, 5) << "SetValue tells nobody";

    // Disabled, it keeps its value through presses, drags and keys, tells nobody and looks
    // the same afterwards. Only a focused one is sent them, as when it was disabled in use.
    slider->SetValue(4);
    slider->SetFocus();
    slider->Enable(false);
    reported.clear();
    const Pixels before = Read({20, 20, 150, 36});
    ClickAt(40 + 7 * 11, 38);
    SendButton(form.get(), form.get(), ButtonPress, Button1, 40, 38);
    EXPECT_FALSE(slider->IsDragging());
    SendButton(form.get(), form.get(), ButtonRelease, Button1, 151, 38);
    Tap(XK_Right);
    EXPECT_EQ(std::pair(slider->GetValue(), reported.size()), std::pair(4, size_t{0}));
    EXPECT_TRUE(Read({20, 20, 150, 36}) == before) << "the disabled slider was drawn differently";

    // Wider than the ticks a track holds, each tick stands for evenly spread values.
    Make(false, 0, 2 * Slider::kMaxTicks, 100, 36);
    ClickAt(40 + 3 * Slider::kMinimumStep, 38);
    EXPECT_EQ(slider->GetValue(), 6);
}

// Held down, the button drags the thumb from tick to tick, outside the slider too, with real
// pointer motion through the window manager. The 0..5 slider takes 50 x 96: ticks 12 pixels
// apart from y = 38, the last at y = 99.
TEST_F(SliderTest, DraggingAVerticalSliderFollowsThePointerUntilTheButtonIsReleased) {
    Make(true, 0, 5, 50, 100);
    const Window window = form->GetWindow();
    input.Press(window, 45, 50);
    EXPECT_TRUE(PumpUntil(form.get(), [&] { return slider->GetValue() == 1; }));
    EXPECT_TRUE(slider->IsDragging());
    for (const auto& [y, value] : {std::pair{75, 3}, {250, 3}, {0, 0}, {97, 5}}) {
        input.MoveTo(window, 150, y);
        const int expected = value;
        EXPECT_TRUE(PumpUntil(form.get(), [&] { return slider->GetValue() == expected; }))
            << "at y = " << y;
    }
    input.Release();
    EXPECT_TRUE(PumpUntil(form.get(), [&] { return !slider->IsDragging(); }));
    EXPECT_EQ(reported, (std::vector<int>{1, 3, 0, 5}));
}

TEST_F(SliderTest, KeysStepAndWrapAroundAndTellOnlyChanges) {
    struct Case {
        int minimum, maximum, start;
        KeySym key;
        int after;
        bool enabled = true;
    };
    const Case cases[] = {
        {0, 10, 10, XK_Right, 0},
        {0, 10, 0, XK_Up, 10},
        {0, 10, 4, XK_space, 5},
        {0, 10, 4, XK_Home, 4},
        {3, 3, 3, XK_Right, 3},
        {0, 10, 4, XK_Right, 4, false},
        {INT_MAX - 2, INT_MAX, INT_MAX, XK_Down, INT_MAX - 2},
        // A range wider than the ticks a track can hold keeps every value.
        {INT_MIN, INT_MAX, INT_MIN, XK_Left, INT_MAX},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << " key " << c.key);
        Make(false, c.minimum, c.maximum, 100, 36);
        slider->SetValue(c.start);
        slider->Enable(c.enabled);
        Tap(c.key);
        EXPECT_EQ(slider->GetValue(), c.after);
        EXPECT_EQ(reported, c.after == c.start ? std::vector<int>{} : std::vector<int>{c.after});
    }
}
