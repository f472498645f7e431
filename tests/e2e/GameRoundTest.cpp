#include "tests/e2e/GameTest.h"

#include <algorithm>

#include "game/RoundRules.h"
#include "tools/harness/WaitUntil.h"

class GameRound : public GameTest {};

TEST_F(GameRound, StartCountsDownWithABeepPerStepAndThenOffersTheChoices) {
    const size_t before = game.Recorded().Calls().size();
    ASSERT_TRUE(StartGame()) << DescribeBoard();
    // A new game clears the board and shows the score.
    EXPECT_TRUE(WaitUntil([&] { return driver.ScoreLineShows(ScoreLine(0, 0)); }, 2000));
    EXPECT_TRUE(driver.StatusLineShows(""));

    int beeps = 0;
    for (int frame : {kCountdownThree, kCountdownTwo, kCountdownOne}) {
        ASSERT_TRUE(WaitUntil([&] { return driver.ResultShown() == frame; }, kStepTimeoutMs))
            << "countdown picture " << GameDriver::ResultName(frame) << " never came; "
            << DescribeBoard();
        EXPECT_TRUE(WaitForCalls(before, "aplay", kBeep, ++beeps, kSettleMs))
            << "no beep with picture " << GameDriver::ResultName(frame);
        // The hands stay hidden until the player picks.
        EXPECT_EQ(driver.ComputerHandShown(), kPictureHidden);
        EXPECT_EQ(driver.PlayerHandShown(), kPictureHidden);
    }
    ASSERT_TRUE(WaitUntil([&] { return driver.ChoicesShown(); }, kStepTimeoutMs))
        << DescribeBoard();
    EXPECT_EQ(driver.ResultShown(), kPictureHidden);

    // Each step needs more than one whole second since the last on the one-second clock.
    const std::vector<StandIns::Call> calls = CallsAfter(before);
    ASSERT_EQ(calls.size(), 3u) << Describe(calls);
    for (size_t i = 1; i < calls.size(); ++i) {
        const double gap = calls[i].time - calls[i - 1].time;
        EXPECT_GE(gap, 1.4) << "beeps " << i << " and " << i + 1;
        EXPECT_LE(gap, 3.6) << "beeps " << i << " and " << i + 1;
    }
}

TEST_F(GameRound, EachChoiceIsDecidedByTheRoundTableWithItsSound) {
    ASSERT_TRUE(StartGame()) << DescribeBoard();
    int player = 0;
    int computer = 0;
    for (int hand : {kPlayerPaper, kPlayerRock, kPlayerScissors}) {
        SCOPED_TRACE("player picks " + GameDriver::HandName(hand));
        const size_t before = game.Recorded().Calls().size();
        const RoundSeen seen = driver.PlayRound(hand, kRoundTimeoutMs);
        ASSERT_TRUE(seen.played) << DescribeBoard();
        EXPECT_EQ(seen.playerHand, hand);
        ASSERT_GE(seen.computerHand, kComputerScissors) << DescribeBoard();
        ASSERT_LE(seen.computerHand, kComputerPaper) << DescribeBoard();

        const Expected expected = ExpectedRound(hand, seen.computerHand);
        SCOPED_TRACE("computer shows " + GameDriver::HandName(seen.computerHand));
        EXPECT_EQ(GameDriver::ResultName(seen.result), GameDriver::ResultName(expected.result));
        EXPECT_TRUE(driver.ChoicesHidden()) << DescribeBoard();
        player += expected.playerPoints;
        computer += expected.computerPoints;
        EXPECT_TRUE(WaitUntil([&] { return driver.ScoreLineShows(ScoreLine(player, computer)); },
                              2000))
            << "expected " << ScoreLine(player, computer);

        if (!expected.sound.empty()) {
            EXPECT_TRUE(WaitForCalls(before, "aplay", {expected.sound}, 1, kSettleMs))
                << Describe(CallsAfter(before));
        } else {
            WaitUntil([] { return false; }, kSilenceMs);
        }
        // Beeps belong to the next countdown; anything else is the round's own sound.
        std::vector<StandIns::Call> sounds = CallsAfter(before);
        sounds.erase(std::remove_if(sounds.begin(), sounds.end(),
                                    [](const StandIns::Call& call) { return call.arguments == kBeep; }),
                     sounds.end());
        EXPECT_EQ(sounds.size(), expected.sound.empty() ? 0u : 1u) << Describe(sounds);
        ExpectHealthy();
    }
}

TEST_F(GameRound, CancelWhileChoosingStopsTheClockAndReturnsToTheIdleBoard) {
    ASSERT_TRUE(StartGame()) << DescribeBoard();
    ASSERT_TRUE(WaitUntil([&] { return driver.ChoicesShown(); }, kRoundTimeoutMs))
        << DescribeBoard();
    driver.Press(kStartButtonArea);
    ASSERT_TRUE(WaitUntil([&] { return driver.IdleBoardShown(); }, kStepTimeoutMs))
        << DescribeBoard();
    // The score line keeps its text until the next game.
    EXPECT_TRUE(driver.ScoreLineShows(ScoreLine(0, 0)));
    const size_t before = game.Recorded().Calls().size();
    EXPECT_FALSE(WaitUntil([&] { return !driver.IdleBoardShown(); }, 3000)) << DescribeBoard();
    EXPECT_EQ(CallsAfter(before).size(), 0u) << Describe(CallsAfter(before));
}
