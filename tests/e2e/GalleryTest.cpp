#include <gtest/gtest.h>

#include <map>

#include "examples/gallery/GalleryLayout.h"
#include "gui/controls/CheckBox.h"
#include "gui/controls/FormMsgBox.h"
#include "gui/controls/OptionBox.h"
#include "gui/graphics/DrawingContext.h"
#include "support/DisplayTest.h"
#include "tools/driver/ExpectedPixels.h"
#include "tools/harness/RunningProgram.h"
#include "tools/harness/WaitUntil.h"

using namespace Gallery;

namespace {

const int kTimeoutMs = 15000;

// The marks as they are meant to look: g, d, l, w and s are fixed greys, i the inside, k the
// tick or the dot, and "." shows what lies behind an option mark.
const char* const kCheckPattern[] = {
    "gggggggggggggggggggw", "gdddddddddddddddddlw", "gdiiiiiiiiiiiiiiiilw", "gdiiiiiiiiiiiiiiiilw",
    "gdiiiiiiiiiiiiiiiilw", "gdiiiiiiiiiiiiiiiilw", "gdiiiiiiiiiiiikkiilw", "gdiiiiiiiiiiikkkiilw",
    "gdiiikkiiiiikkkiiilw", "gdiiikkkiiikkkiiiilw", "gdiiiikkkikkkiiiiilw", "gdiiiiikkkkkiiiiiilw",
    "gdiiiiiikkkiiiiiiilw", "gdiiiiiiikiiiiiiiilw", "gdiiiiiiiiiiiiiiiilw", "gdiiiiiiiiiiiiiiiilw",
    "gdiiiiiiiiiiiiiiiilw", "gdiiiiiiiiiiiiiiiilw", "gllllllllllllllllllw", "wwwwwwwwwwwwwwwwwwww",
};
const char* const kOptionPattern[] = {
    "....................", "....................", ".......gggggg.......", "......ggddddgg......",
    ".....gddiiiiddg.....", "....gdiiiiiiiils....", "...ggdiikkkkiilss...", "...gdiikkkkkkiils...",
    "...gdiikkkkkkiils...", "...gdiikkkkkkiils...", "...gdiikkkkkkiils...", "...ggdiikkkkiilss...",
    "....gdiiiiiiiils....", ".....glliiiills.....", "......ssllllss......", ".......ssssss.......",
    "....................", "....................", "....................", "....................",
};

enum class Mark { kOn, kOff, kDisabledOn, kDisabledOff };

Pixels Expected(const char* const pattern[], Mark mark, unsigned long tick) {
    const bool enabled = mark == Mark::kOn || mark == Mark::kOff;
    const bool on = mark == Mark::kOn || mark == Mark::kDisabledOn;
    std::map<char, unsigned long> colours = {{'g', 0x848484}, {'d', 0x424242}, {'l', 0xd6d6ce},
                                             {'w', 0xffffff}, {'s', 0x9b9b9b}, {'.', kBackground}};
    colours['i'] = enabled ? 0xffffff : 0x9b9b9b;
    colours['k'] = !on ? colours['i'] : enabled ? tick : 0x424242;
    Pixels pixels;
    for (int row = 0; row < 20; ++row) {
        for (const char* c = pattern[row]; *c != '\0'; ++c) {
            pixels.push_back(colours.at(*c));
        }
    }
    return pixels;
}

// The gallery running on the test's X server, in the test's own folder, with its window found.
// Each test ends it by closing the window, after which it must have ended cleanly.
class GalleryRun : public DisplayTest {
  protected:
    void SetUp() override {
        DisplayTest::SetUp();
        ASSERT_TRUE(gallery.Start({BRISGOLA_GALLERY}, {}, workDir.Path(), workDir.File("output")))
            << gallery.Error();
        window = windows.WaitForTitled(kTitle, kTimeoutMs);
        ASSERT_NE(window, 0u) << "no gallery window";
        input.FocusKeyboardOn(window);
    }
    void TearDown() override {
        if (window != 0) {
            windows.RequestClose(window);
        }
        EXPECT_TRUE(gallery.WaitForExit(kTimeoutMs));
        EXPECT_EQ(gallery.ExitStatus(), 0);
        EXPECT_EQ(ReadWholeFile(workDir.File("output")), "") << "nothing logged, no X errors";
    }

    bool Shows(const Area& area, const Pixels& expected) {
        return WaitUntil([&] { return reader.ReadWindow(window, area) == expected; }, kTimeoutMs);
    }
    bool CheckShows(const Area& box, Mark mark) {
        const int inset = CheckBox::kMarkInset;
        return Shows({box.x + inset, box.y + inset, 20, 20},
                     Expected(kCheckPattern, mark, 0x000000));
    }
    bool OptionShows(const Area& box, int row, Mark mark) {
        const int top = box.y + row * OptionBox::kRowHeight + OptionBox::kMarkTop;
        return Shows({box.x + OptionBox::kMarkLeft, top, 20, 20},
                     Expected(kOptionPattern, mark, 0x010101));
    }
    // The progress bar's blue, along its middle row.
    int BarPixels() {
        return reader.Count(window, {kProgressArea.x, kProgressArea.CentreY(), kProgressArea.w, 1},
                            0x0000ff);
    }
    // The bar's share of the inside of its frame, less the last column that FillRect leaves.
    static int BarLength(int value) {
        const int range = kHorizontalMaximum - kHorizontalMinimum;
        return std::max((kProgressArea.w - 2) * (value - kHorizontalMinimum) / range - 1, 0);
    }
    bool BarShows(int value) {
        return WaitUntil([&] { return BarPixels() == BarLength(value); }, kTimeoutMs);
    }
    // Whether a bordered cell shows the text as it draws it, inside its border. DrawText leaves
    // the last column of its box alone, so that one is not compared.
    bool CellShows(const Area& cell, const std::string& text, unsigned long background,
                   int alignment) {
        const Area inside{cell.x + 1, cell.y + 1, cell.w - 2, cell.h - 2};
        XFontStruct* font = LoadProgramFont(observer);
        const Pixels drawn =
            RenderText(observer, font, inside.w, inside.h, text, 0x000000, background, alignment);
        XFreeFont(observer, font);
        return WaitUntil(
            [&] {
                const Pixels shown = reader.ReadWindow(window, inside);
                for (size_t at = 0; at < shown.size(); ++at) {
                    if (static_cast<int>(at % inside.w) + 1 < inside.w && shown[at] != drawn[at]) {
                        return false;
                    }
                }
                return true;
            },
            kTimeoutMs);
    }

    RunningProgram gallery;
    Window window = 0;
};

// The horizontal slider's ticks, as its size rules place them: every step the same whole
// number of pixels, at least eight, the last at the end of the track.
int TickX(int value) {
    const int steps = kHorizontalMaximum - kHorizontalMinimum;
    const int w = std::max(kHorizontalSliderArea.w, steps * 8 + 40);
    const int taken = (w - 40) / steps * steps + 40;
    const int index = value - kHorizontalMinimum;
    return kHorizontalSliderArea.x + 20 +
           (index == steps ? taken - 39 : index * ((taken - 39) / steps));
}
const int kTrackY = kHorizontalSliderArea.y + (std::max(kHorizontalSliderArea.h, 36) + 1) / 2;

} // namespace

TEST_F(GalleryRun, MarksMatchTheirPatternsAndOnlyEnabledOnesAnswerClicks) {
    EXPECT_TRUE(CheckShows(kUncheckedArea, Mark::kOff));
    EXPECT_TRUE(CheckShows(kCheckedArea, Mark::kOn));
    EXPECT_TRUE(CheckShows(kDisabledUncheckedArea, Mark::kDisabledOff));
    EXPECT_TRUE(CheckShows(kDisabledCheckedArea, Mark::kDisabledOn));
    EXPECT_TRUE(OptionShows(kHandOptionsArea, 0, Mark::kOff));
    EXPECT_TRUE(OptionShows(kHandOptionsArea, 1, Mark::kOn));
    EXPECT_TRUE(OptionShows(kLevelOptionsArea, 0, Mark::kDisabledOff));
    EXPECT_TRUE(OptionShows(kLevelOptionsArea, kChosenLevel, Mark::kDisabledOn));

    // The window manager holds each click for a moment, so every click is seen through before
    // the pointer moves on: otherwise its release could land where the pointer went next.
    input.ClickCentre(window, kUncheckedArea);
    EXPECT_TRUE(CheckShows(kUncheckedArea, Mark::kOn));
    // The click on the disabled box reaches no control: it only takes the focus away.
    const Area focusFrameTop{kUncheckedArea.x + 23, kUncheckedArea.y + 2, 20, 1};
    ASSERT_GT(reader.Count(window, focusFrameTop, 0x000000), 0);
    input.ClickCentre(window, kDisabledUncheckedArea);
    EXPECT_TRUE(
        WaitUntil([&] { return reader.Count(window, focusFrameTop, 0x000000) == 0; }, kTimeoutMs));
    EXPECT_TRUE(CheckShows(kDisabledUncheckedArea, Mark::kDisabledOff));
}

TEST_F(GalleryRun, SliderKeepsItsSizeRulesAndDrivesTheProgressBar) {
    ASSERT_TRUE(BarShows(kHorizontalStart));
    for (int value = kHorizontalMinimum; value <= kHorizontalMaximum; ++value) {
        SCOPED_TRACE(value);
        EXPECT_EQ(reader.Pixel(window, TickX(value), kTrackY - 3), 0x000000u);
        EXPECT_EQ(reader.Pixel(window, TickX(value) + 1, kTrackY - 3), 0xddddddu);
    }
    input.Click(window, TickX(7), kTrackY);
    EXPECT_TRUE(BarShows(7));

    // A drag goes on outside the slider until the button is let go.
    input.Press(window, TickX(5), kTrackY);
    EXPECT_TRUE(BarShows(5));
    input.MoveTo(window, kHorizontalSliderArea.x - 10, kTrackY);
    EXPECT_TRUE(BarShows(kHorizontalMinimum)) << "left of the slider";
    input.MoveTo(window, TickX(4), kTrackY + 120);
    EXPECT_TRUE(BarShows(4)) << "below the slider";
    input.Release();
    input.MoveTo(window, TickX(9), kTrackY);
    // Once the check box shows the click that came after the move, the move was handled too.
    input.ClickCentre(window, kUncheckedArea);
    ASSERT_TRUE(CheckShows(kUncheckedArea, Mark::kOn));
    EXPECT_EQ(BarPixels(), BarLength(4)) << "the drag ended on release";
}

TEST_F(GalleryRun, ButtonsOpenTheDialogsAndANamedScoreJoinsTheTable) {
    input.ClickCentre(window, kMessageButtonArea);
    const Window question = windows.WaitForTitled(kQuestionTitle, kTimeoutMs);
    ASSERT_NE(question, 0u);
    input.ClickCentre(question, FormMsgBox::kYesArea);
    EXPECT_TRUE(windows.WaitUntilGone(kQuestionTitle, kTimeoutMs));

    input.ClickCentre(window, kScoreButtonArea);
    const Window dialog = windows.WaitForTitled(kNameTitle, kTimeoutMs);
    ASSERT_NE(dialog, 0u);
    // The name is typed straight away: the form must have taken the keyboard by itself.
    EXPECT_EQ(windows.DialogFaults(dialog, window, kTimeoutMs), "");
    input.Type("Anna");
    input.TapKey(XK_Return);
    EXPECT_TRUE(windows.WaitUntilGone(kNameTitle, kTimeoutMs));

    static_assert(kHorizontalStart * kScorePerStep == 30);
    EXPECT_TRUE(CellShows(kScoresArea, "00000030 Anna", kScoresBackground, kAlignLeft));
}

// A text box that was typed in tells the line at the bottom when it is left. "Disable" turns
// the first control of each group off, and "Enable" on again.
TEST_F(GalleryRun, TextBoxesTellTheirChangesAndDisableTurnsTheFirstControlsOff) {
    const Area plain = TextRow(kTextBoxColumn, 0);
    // Right of the text, the caret goes to its end; a click on the bare form leaves the box.
    const int boxX = plain.x + plain.w - 5;
    const int awayX = kScoresArea.x + kScoresArea.w + 10;
    input.Click(window, boxX, plain.CentreY());
    // A window manager may hold the click a moment; the keys wait for the caret it brings.
    ASSERT_TRUE(WaitUntil([&] { return reader.Count(window, plain, 0xffff00) > 0; }, kTimeoutMs));
    input.Type("!");
    input.Click(window, awayX, kEventsArea.y + kEventsArea.h + 20);
    EXPECT_TRUE(
        CellShows(kEventsArea, "Plain now reads \"Edit me!\"", kEventsBackground, kAlignCenter));

    input.ClickCentre(window, kToggleButtonArea);
    EXPECT_TRUE(CheckShows(kUncheckedArea, Mark::kDisabledOff));
    EXPECT_TRUE(OptionShows(kHandOptionsArea, 1, Mark::kDisabledOn));
    input.ClickCentre(window, kToggleButtonArea);
    EXPECT_TRUE(CheckShows(kUncheckedArea, Mark::kOff));
    EXPECT_TRUE(OptionShows(kHandOptionsArea, 1, Mark::kOn));
}
