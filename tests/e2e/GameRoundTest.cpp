#include "tests/e2e/GameTest.h"

#include "game/RoundRules.h"
#include "tools/harness/WaitUntil.h"

class GameRound : public GameTest {};

// A game as a player first meets it: the window as it opens, START, the countdown, a round
// with each hand, and CANCEL while the next round waits for a choice.
TEST_F(GameRound, CountsDownDecidesEachHandByTheTableAndCancelsBackToTheIdleBoard) {
    const Window window = driver.GetGameWindow();
    EXPECT_EQ(driver.windows.Title(window), "Brisgola Copyright (c) 2026 The Brisgola Authors");
    EXPECT_TRUE(driver.ScoreLineShows("") && driver.StatusLineShows(""));

    const size_t before = CallCount();
    ASSERT_TRUE(StartGame()) << DescribeBoard();
    EXPECT_TRUE(WaitUntil([&] { return driver.ScoreLineShows(ScoreLine(0, 0)); }, 2000));
    int beeps = 0;
    for (int frame : {kCountdownThree, kCountdownTwo, kCountdownOne}) {
        ASSERT_TRUE(WaitUntil([&] { return driver.ResultShown() == frame; }, kStepTimeoutMs))
            << GameDriver::ResultName(frame) << " never came; " << DescribeBoard();
        EXPECT_TRUE(WaitForCalls(before, "aplay", {kBeepSound}, ++beeps))
            << "no beep with " << GameDriver::ResultName(frame);
        EXPECT_EQ(driver.ComputerHandShown(), kPictureHidden);
        EXPECT_EQ(driver.PlayerHandShown(), kPictureHidden);
    }
    ASSERT_TRUE(WaitUntil([&] { return driver.ChoicesShown(); }, kStepTimeoutMs))
        << DescribeBoard();
    // Each step needs more than one whole second since the last on the one-second clock.
    const std::vector<StandIns::Call> calls = standIns.Calls();
    ASSERT_EQ(calls.size(), before + 3);
    for (size_t i = before + 1; i < calls.size(); ++i) {
        EXPECT_GE(calls[i].time - calls[i - 1].time, 1.4) << "beep " << i - before;
        EXPECT_LE(calls[i].time - calls[i - 1].time, 3.6) << "beep " << i - before;
    }

    int player = 0;
    int computer = 0;
    for (int hand : {kPlayerPaper, kPlayerRock, kPlayerScissors}) {
        const size_t atClick = CallCount();
        const RoundSeen seen = driver.PlayRound(hand, kRoundTimeoutMs);
        ASSERT_TRUE(seen.played) << DescribeBoard();
        SCOPED_TRACE(GameDriver::HandName(hand) + " against " +
                     GameDriver::HandName(seen.computerHand));
        EXPECT_EQ(seen.playerHand, hand);
        const RoundOutcome expected = DecideRound(hand, seen.computerHand);
        ASSERT_TRUE(expected.decided) << "the computer shows no hand of its own";
        EXPECT_EQ(seen.result, expected.resultFrame) << GameDriver::ResultName(seen.result);
        EXPECT_TRUE(driver.ChoicesHidden()) << DescribeBoard();
        player += expected.scorer == Scorer::kPlayer;
        computer += expected.scorer == Scorer::kComputer;
        EXPECT_TRUE(
            WaitUntil([&] { return driver.ScoreLineShows(ScoreLine(player, computer)); }, 2000))
            << "expected " << ScoreLine(player, computer);
        // The round's own sound once, or none for a tie; beeps belong to the next countdown.
        if (expected.sound != nullptr) {
            EXPECT_TRUE(WaitForCalls(atClick, "aplay", {expected.sound}));
        } else {
            WaitUntil([] { return false; }, kSilenceMs);
        }
        EXPECT_EQ(CountCalls(atClick, "aplay", {kApplauseSound}) +
                      CountCalls(atClick, "aplay", {kLaughterSound}),
                  expected.sound != nullptr ? 1 : 0);
    }

    ASSERT_TRUE(WaitUntil([&] { return driver.ChoicesShown(); }, kRoundTimeoutMs))
        << DescribeBoard();
    driver.Press(kStartButtonArea);
    ASSERT_TRUE(WaitUntil([&] { return driver.IdleBoardShown(); }, kStepTimeoutMs))
        << DescribeBoard();
    EXPECT_TRUE(driver.ScoreLineShows(ScoreLine(player, computer))) << "kept until the next game";
    // The clock has stopped: nothing moves and nothing sounds any more.
    const size_t atCancel = CallCount();
    EXPECT_FALSE(WaitUntil([&] { return !driver.IdleBoardShown(); }, 3000)) << DescribeBoard();
    EXPECT_EQ(CallCount(), atCancel);
}
