#include "tests/e2e/GameTest.h"

#include "game/RoundRules.h"
#include "tools/harness/WaitUntil.h"

namespace {

class WholeGame : public GameTest {};

// With a third of the rounds tied, a game needs about 25 rounds; this many means the game
// does not end.
const int kMaxRounds = 90;

} // namespace

TEST_F(WholeGame, PlaysUntilOneSideHasTenWins) {
    const size_t before = game.Recorded().Calls().size();
    ASSERT_TRUE(StartGame()) << DescribeBoard();
    int player = 0;
    int computer = 0;
    int rounds = 0;
    while (player < kWinningScore && computer < kWinningScore) {
        ASSERT_LT(rounds, kMaxRounds) << "the game did not end";
        const int hand = rounds % 3;
        ++rounds;
        const RoundSeen seen = driver.PlayRound(hand, kRoundTimeoutMs);
        ASSERT_TRUE(seen.played) << "round " << rounds << ": " << DescribeBoard();
        const Expected expected = ExpectedRound(hand, seen.computerHand);
        ASSERT_EQ(GameDriver::ResultName(seen.result), GameDriver::ResultName(expected.result))
            << "round " << rounds << ": player " << GameDriver::HandName(hand) << ", computer "
            << GameDriver::HandName(seen.computerHand);
        player += expected.playerPoints;
        computer += expected.computerPoints;
        ASSERT_TRUE(WaitUntil(
            [&] { return driver.ScoreLineShows(ScoreLine(player, computer)); }, 2000))
            << "round " << rounds << ": expected " << ScoreLine(player, computer);
    }

    // The game ends two ticks after the winning click.
    EXPECT_TRUE(WaitUntil(
        [&] { return driver.StatusLineShows("Game over!") && driver.StartCaptionShows("START"); },
        kStepTimeoutMs))
        << DescribeBoard();
    EXPECT_TRUE(driver.ScoreLineShows(ScoreLine(player, computer)));
    // The last round stays on the board and no further round begins.
    const int lastResult = driver.ResultShown();
    EXPECT_TRUE(lastResult == kWonFrame || lastResult == kLostFrame) << DescribeBoard();
    EXPECT_FALSE(WaitUntil([&] { return driver.ResultShown() != lastResult; }, 4000))
        << DescribeBoard();

    // One applause per won round, one laughter per lost round, nothing else but beeps.
    const std::vector<StandIns::Call> commands = CallsAfter(before);
    EXPECT_EQ(CountCalls(commands, "aplay", {"Data/applauso.wav"}), player);
    EXPECT_EQ(CountCalls(commands, "aplay", {"Data/risata.wav"}), computer);
    EXPECT_EQ(CountCalls(commands, "aplay", kBeep) + player + computer,
              static_cast<int>(commands.size()));
    // Three beeps for every countdown.
    EXPECT_EQ(CountCalls(commands, "aplay", kBeep), 3 * rounds);
    ExpectHealthy();

    // START after the end begins a new game from nothing.
    ASSERT_TRUE(StartGame()) << DescribeBoard();
    EXPECT_TRUE(WaitUntil([&] { return driver.ScoreLineShows(ScoreLine(0, 0)); }, 2000));
    EXPECT_TRUE(driver.StatusLineShows(""));
    EXPECT_TRUE(WaitUntil([&] { return driver.ChoicesShown(); }, kRoundTimeoutMs))
        << DescribeBoard();
}
