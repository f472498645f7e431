#include "tests/e2e/GameTest.h"

#include <X11/keysym.h>

#include "game/RoundRules.h"

namespace {

class ExitQuestion : public GameTest {
protected:
    // The question's framed label: black text centred on light grey, inside a one-pixel
    // bevel at (10, 10) of 230 x 90.
    bool AsksWhetherToExit(Window question) {
        return driver.TextShownIn(question, 11, 11, 228, 88, kExitQuestionText, 0x000000, 0xb7b7b7,
                                  kTextCentre);
    }
};

// A point of the game window outside every control.
const int kPlainX = 60;
const int kPlainY = 420;

} // namespace

TEST_F(ExitQuestion, WindowManagerCloseAsksAndNoKeepsTheGameRunning) {
    ASSERT_TRUE(StartGame()) << DescribeBoard();
    driver.RequestClose(driver.GetGameWindow());
    const Window question = driver.WaitForDialog(kExitDialogTitle, kDialogTimeoutMs);
    ASSERT_NE(question, 0u) << "closing the window asked nothing";
    EXPECT_TRUE(driver.WaitFor([&] { return AsksWhetherToExit(question); }, kDialogTimeoutMs));
    EXPECT_TRUE(driver.IsWindowViewable(driver.GetGameWindow()));

    driver.ClickCentreIn(question, kQuestionNoArea);
    ASSERT_TRUE(driver.WaitForDialogGone(kExitDialogTitle, kDialogTimeoutMs));
    // The game goes on where it was, and the board that the question covered is whole.
    EXPECT_TRUE(driver.WaitFor([&] { return driver.ChoicesShown(); }, kRoundTimeoutMs))
        << DescribeBoard();
    EXPECT_TRUE(driver.DecorationShown());
    EXPECT_TRUE(driver.StartCaptionShows("CANCEL"));
    ExpectHealthy();

    // Asked again, YES ends the program (TearDown checks how it ended).
    driver.RequestClose(driver.GetGameWindow());
    const Window again = driver.WaitForDialog(kExitDialogTitle, kDialogTimeoutMs);
    ASSERT_NE(again, 0u);
    driver.ClickCentreIn(again, kQuestionYesArea);
    EXPECT_TRUE(game.WaitForExit(kExitTimeoutMs));
}

TEST_F(ExitQuestion, ExitButtonAsksAndYesEndsTheProgram) {
    driver.ClickCentre(kExitButtonArea);
    const Window question = driver.WaitForDialog(kExitDialogTitle, kDialogTimeoutMs);
    ASSERT_NE(question, 0u) << "Exit asked nothing";
    EXPECT_TRUE(driver.WaitFor([&] { return AsksWhetherToExit(question); }, kDialogTimeoutMs));
    EXPECT_FALSE(driver.TextShownIn(question, 11, 11, 228, 88, "Do you really want to exit?",
                                    0x000000, 0xb7b7b7, kTextCentre));
    ExpectHealthy();

    driver.ClickCentreIn(question, kQuestionYesArea);
    EXPECT_TRUE(game.WaitForExit(kExitTimeoutMs));
    EXPECT_FALSE(driver.IsWindowViewable(driver.GetGameWindow()));
}

// Typed as soon as the question has the keyboard, as a person would, without clicking into it
// first: the question gives Enter no meaning, only its buttons answer.
TEST_F(ExitQuestion, EnterRightAfterOpeningLeavesTheQuestionAsItIs) {
    driver.ClickCentre(kExitButtonArea);
    const Window question = driver.WaitForDialog(kExitDialogTitle, kDialogTimeoutMs);
    ASSERT_NE(question, 0u) << "Exit asked nothing";
    ASSERT_TRUE(driver.WaitFor([&] { return driver.HasFocus(question); }, kDialogTimeoutMs));
    driver.TapKey(XK_Return);
    driver.WaitFor([] { return false; }, kSilenceMs);
    EXPECT_EQ(driver.FindDialog(kExitDialogTitle), question)
        << "the question was closed or replaced by another one";
    EXPECT_EQ(driver.CountWindows(kExitDialogTitle), 1);
    ExpectHealthy();
}

TEST_F(ExitQuestion, ClickOnTheWindowBehindItBeepsAndRaisesTheQuestion) {
    driver.ClickCentre(kExitButtonArea);
    const Window question = driver.WaitForDialog(kExitDialogTitle, kDialogTimeoutMs);
    ASSERT_NE(question, 0u);

    const size_t before = CommandCount();
    // The window manager raises the window clicked on; the game must put the question back
    // on top.
    driver.Click(kPlainX, kPlainY);
    EXPECT_TRUE(WaitForCalls(before, "aplay", kBeep, 1, kSettleMs))
        << Describe(CommandsAfter(before));
    EXPECT_TRUE(driver.WaitFor(
        [&] { return driver.IsStackedAbove(question, driver.GetGameWindow()); }, kDialogTimeoutMs));
    // The click did nothing else: no game started.
    EXPECT_TRUE(driver.StartCaptionShows("START"));

    driver.ClickCentreIn(question, kQuestionNoArea);
    ASSERT_TRUE(driver.WaitForDialogGone(kExitDialogTitle, kDialogTimeoutMs));
    // Once the question is answered the window takes clicks again, without a beep.
    const size_t afterAnswer = CommandCount();
    driver.Click(kPlainX, kPlainY);
    driver.WaitFor([] { return false; }, kSilenceMs);
    EXPECT_EQ(CommandsAfter(afterAnswer).size(), 0u) << Describe(CommandsAfter(afterAnswer));
    EXPECT_TRUE(StartGame()) << DescribeBoard();
    ExpectHealthy();
}
