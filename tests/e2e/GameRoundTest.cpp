#include "tests/e2e/GameTest.h"

#include <algorithm>

#include "game/RoundRules.h"

namespace {

class GameRound : public GameTest {};

std::string ScoreLine(int player, int computer) {
    return "Score: " + std::to_string(player) + " - " + std::to_string(computer);
}

} // namespace

TEST_F(GameRound, StartCountsDownWithABeepPerStepAndThenOffersTheChoices) {
    const size_t before = CommandCount();
    ASSERT_TRUE(StartGame()) << DescribeBoard();
    // A new game clears the board and shows the score.
    EXPECT_TRUE(driver.WaitFor([&] { return driver.ScoreLineShows(ScoreLine(0, 0)); }, 2000));
    EXPECT_TRUE(driver.StatusLineShows(""));

    int beeps = 0;
    for (int frame : {kCountdownThree, kCountdownTwo, kCountdownOne}) {
        ASSERT_TRUE(driver.WaitFor([&] { return driver.ResultShown() == frame; }, kStepTimeoutMs))
            << "countdown picture " << GameDriver::ResultName(frame) << " never came; "
            << DescribeBoard();
        ++beeps;
        EXPECT_TRUE(WaitForCalls(before, "aplay", kBeep, beeps, kSettleMs))
            << "no beep with picture " << GameDriver::ResultName(frame);
        // The hands stay hidden until the player picks.
        EXPECT_EQ(driver.ComputerHandShown(), kPictureHidden);
        EXPECT_EQ(driver.PlayerHandShown(), kPictureHidden);
    }
    ASSERT_TRUE(driver.WaitFor([&] { return driver.ChoicesShown(); }, kStepTimeoutMs))
        << DescribeBoard();
    EXPECT_EQ(driver.ResultShown(), kPictureHidden);
    EXPECT_EQ(driver.ComputerHandShown(), kPictureHidden);
    EXPECT_EQ(driver.PlayerHandShown(), kPictureHidden);

    // Each step needs more than one whole second since the last on the one-second clock.
    const std::vector<RecordedCommand> commands = CommandsAfter(before);
    ASSERT_EQ(commands.size(), 3u) << Describe(commands);
    for (size_t i = 1; i < commands.size(); ++i) {
        const double gap = commands[i].time - commands[i - 1].time;
        EXPECT_GE(gap, 1.4) << "beeps " << i << " and " << i + 1;
        EXPECT_LE(gap, 3.6) << "beeps " << i << " and " << i + 1;
    }
    ExpectHealthy();
}

TEST_F(GameRound, EachChoiceIsDecidedByTheRoundTable) {
    ASSERT_TRUE(StartGame()) << DescribeBoard();
    int player = 0;
    int computer = 0;
    for (int hand : {kPlayerPaper, kPlayerRock, kPlayerScissors}) {
        SCOPED_TRACE("player picks " + GameDriver::HandName(hand));
        const size_t before = CommandCount();
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
        EXPECT_TRUE(driver.WaitFor(
            [&] { return driver.ScoreLineShows(ScoreLine(player, computer)); }, 2000))
            << "expected " << ScoreLine(player, computer);

        if (!expected.sound.empty()) {
            EXPECT_TRUE(WaitForCalls(before, "aplay", {expected.sound}, 1, kSettleMs))
                << Describe(CommandsAfter(before));
        } else {
            driver.WaitFor([] { return false; }, kSilenceMs);
        }
        // Beeps belong to the next countdown; anything else is the round's own sound.
        std::vector<RecordedCommand> sounds = CommandsAfter(before);
        sounds.erase(std::remove_if(
                         sounds.begin(), sounds.end(),
                         [](const RecordedCommand& command) { return command.arguments == kBeep; }),
                     sounds.end());
        EXPECT_EQ(sounds.size(), expected.sound.empty() ? 0u : 1u) << Describe(sounds);
        ExpectHealthy();
    }
}

TEST_F(GameRound, CancelWhileChoosingReturnsToTheIdleBoard) {
    ASSERT_TRUE(StartGame()) << DescribeBoard();
    ASSERT_TRUE(driver.WaitFor([&] { return driver.ChoicesShown(); }, kRoundTimeoutMs))
        << DescribeBoard();
    driver.ClickCentre(kStartButtonArea);
    ASSERT_TRUE(driver.WaitFor([&] { return driver.IdleBoardShown(); }, kStepTimeoutMs))
        << DescribeBoard();
    // The score line keeps its text until the next game.
    EXPECT_TRUE(driver.ScoreLineShows(ScoreLine(0, 0)));

    // The clock has stopped: no further countdown comes.
    const size_t before = CommandCount();
    EXPECT_FALSE(driver.WaitFor([&] { return !driver.IdleBoardShown(); }, 3000)) << DescribeBoard();
    EXPECT_EQ(CommandsAfter(before).size(), 0u) << Describe(CommandsAfter(before));
    ExpectHealthy();
}
