#include "tests/e2e/GameTest.h"

#include "game/FormMain.h"
#include "game/RoundRules.h"
#include "gui/controls/FormMsgBox.h"
#include "gui/graphics/DrawingContext.h"
#include "tools/harness/WaitUntil.h"

class ExitQuestion : public GameTest {};

// While the question is open the game behind it takes no input: Enter means nothing to the
// question, and a click behind it only beeps and brings it back on top, with the keyboard.
// NO closes it and leaves a running game running; the game ends only on YES, at the end of
// the test. However it was asked, the question opens in reach of the player.
TEST_F(ExitQuestion, OnlyYesEndsTheGameAndTheGameBehindTheQuestionTakesNoInput) {
    driver.Press(kExitButtonArea);
    Window question = driver.windows.WaitForTitled(kExitDialogTitle, kDialogTimeoutMs);
    ASSERT_NE(question, 0u) << "Exit asked nothing";
    EXPECT_EQ(DialogFaults(question), "");
    // The framed label: black text centred on light grey, inside a one-pixel bevel.
    EXPECT_TRUE(WaitUntil(
        [&] {
            return driver.TextShownIn(question, FormMsgBox::kMessageArea.Inset(1, 1), kExitQuestion,
                                      0x000000, 0xb7b7b7, kAlignCenter);
        },
        kDialogTimeoutMs));
    // Typed as soon as the question has the keyboard, as a person would. Events are handled
    // in order, so the click behind finds the question as Enter left it.
    driver.input.TapKey(XK_Return);
    const size_t before = CallCount();
    driver.Press(kStartButtonArea);
    EXPECT_TRUE(WaitForCalls(before, "aplay", {kBeepSound}));
    EXPECT_EQ(DialogFaults(question), "") << "after a click on the game";
    EXPECT_EQ(driver.windows.FindTitled(kExitDialogTitle), question);
    driver.PressIn(question, FormMsgBox::kNoArea);
    ASSERT_TRUE(driver.windows.WaitUntilGone(kExitDialogTitle, kDialogTimeoutMs));
    // The board uncovered is being repainted; a game started behind the question would show
    // CANCEL throughout.
    EXPECT_TRUE(
        WaitUntil([&] { return driver.StartCaptionShows(kStartCaption); }, kDialogTimeoutMs))
        << "a click behind the question started a game";

    ASSERT_TRUE(StartGame()) << DescribeBoard();
    driver.windows.RequestClose(driver.GetGameWindow());
    question = driver.windows.WaitForTitled(kExitDialogTitle, kDialogTimeoutMs);
    ASSERT_NE(question, 0u) << "closing the window asked nothing";
    EXPECT_EQ(DialogFaults(question), "") << "asked by the close button";
    driver.PressIn(question, FormMsgBox::kNoArea);
    ASSERT_TRUE(driver.windows.WaitUntilGone(kExitDialogTitle, kDialogTimeoutMs));
    // The game goes on where it was, and the board that the question covered is whole.
    EXPECT_TRUE(WaitUntil([&] { return driver.ChoicesShown(); }, kRoundTimeoutMs))
        << DescribeBoard();
    EXPECT_TRUE(driver.DecorationShown() && driver.StartCaptionShows(kCancelCaption));
}
