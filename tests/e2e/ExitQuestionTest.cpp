#include "tests/e2e/GameTest.h"

#include "game/FormMain.h"
#include "gui/controls/FormMsgBox.h"
#include "gui/graphics/DrawingContext.h"
#include "tools/harness/WaitUntil.h"

class ExitQuestion : public GameTest {};

namespace {

// A point of the game window outside every control.
const int kPlainX = 60;
const int kPlainY = 420;

// The question's framed label: black text centred on light grey, inside a one-pixel bevel.
bool Asks(GameDriver& driver, Window question, const std::string& text) {
    return driver.TextShownIn(question, FormMsgBox::kMessageArea.Inset(1, 1), text, 0x000000,
                              0xb7b7b7, kAlignCenter);
}

} // namespace

TEST_F(ExitQuestion, WindowManagerCloseAsksAndNoKeepsTheGameGoing) {
    ASSERT_TRUE(StartGame()) << DescribeBoard();
    driver.windows.RequestClose(driver.GetGameWindow());
    const Window question = driver.windows.WaitForTitled(kExitDialogTitle, kDialogTimeoutMs);
    ASSERT_NE(question, 0u) << "closing the window asked nothing";
    EXPECT_TRUE(WaitUntil([&] { return Asks(driver, question, kExitQuestion); }, kDialogTimeoutMs));
    EXPECT_FALSE(Asks(driver, question, "Do you really want to exit?"));

    driver.PressIn(question, FormMsgBox::kNoArea);
    ASSERT_TRUE(driver.windows.WaitUntilGone(kExitDialogTitle, kDialogTimeoutMs));
    // The game goes on where it was, and the board that the question covered is whole.
    EXPECT_TRUE(WaitUntil([&] { return driver.ChoicesShown(); }, kRoundTimeoutMs))
        << DescribeBoard();
    EXPECT_TRUE(driver.DecorationShown());
    EXPECT_TRUE(driver.StartCaptionShows("CANCEL"));
    ExpectHealthy();
    // Asked again through Exit, YES ends the program (TearDown checks how it ended).
    QuitThroughQuestion();
    EXPECT_FALSE(game.Program().IsRunning());
    EXPECT_FALSE(driver.windows.IsShown(driver.GetGameWindow()));
}

// Typed as soon as the question has the keyboard, as a person would, without clicking into it
// first: the question gives Enter no meaning, only its buttons answer.
TEST_F(ExitQuestion, EnterRightAfterTheQuestionOpensLeavesItAsItIs) {
    driver.Press(kExitButtonArea);
    const Window question = driver.windows.WaitForTitled(kExitDialogTitle, kDialogTimeoutMs);
    ASSERT_NE(question, 0u) << "Exit asked nothing";
    ASSERT_TRUE(WaitUntil([&] { return driver.windows.HasFocus(question); }, kDialogTimeoutMs));
    driver.input.TapKey(XK_Return);
    WaitUntil([] { return false; }, kSilenceMs);
    EXPECT_EQ(driver.windows.FindTitled(kExitDialogTitle), question)
        << "the question was closed or replaced by another one";
    EXPECT_EQ(driver.windows.CountTitled(kExitDialogTitle), 1);
}

TEST_F(ExitQuestion, ClickBehindTheQuestionBeepsAndRaisesItButDoesNothingElse) {
    driver.Press(kExitButtonArea);
    const Window question = driver.windows.WaitForTitled(kExitDialogTitle, kDialogTimeoutMs);
    ASSERT_NE(question, 0u);

    const size_t before = game.Recorded().Calls().size();
    // The window manager raises the window clicked on; the game must put the question back.
    driver.input.Click(driver.GetGameWindow(), kPlainX, kPlainY);
    EXPECT_TRUE(WaitForCalls(before, "aplay", kBeep, 1, kSettleMs)) << Describe(CallsAfter(before));
    EXPECT_TRUE(WaitUntil(
        [&] { return driver.windows.IsStackedAbove(question, driver.GetGameWindow()); },
        kDialogTimeoutMs));
    driver.Press(kStartButtonArea);
    WaitUntil([] { return false; }, kSilenceMs);
    EXPECT_TRUE(driver.StartCaptionShows("START")) << "a click behind the question started a game";

    driver.PressIn(question, FormMsgBox::kNoArea);
    ASSERT_TRUE(driver.windows.WaitUntilGone(kExitDialogTitle, kDialogTimeoutMs));
    // Once the question is answered the window takes clicks again, without a beep.
    const size_t afterAnswer = game.Recorded().Calls().size();
    driver.input.Click(driver.GetGameWindow(), kPlainX, kPlainY);
    WaitUntil([] { return false; }, kSilenceMs);
    EXPECT_EQ(CallsAfter(afterAnswer).size(), 0u) << Describe(CallsAfter(afterAnswer));
    EXPECT_TRUE(StartGame()) << DescribeBoard();
}
