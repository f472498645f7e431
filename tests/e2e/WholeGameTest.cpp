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
    const size_t before = CallCount();
    ASSERT_TRUE(StartGame()) << DescribeBoard();
    int player = 0;
    int computer = 0;
    int rounds = 0;
    while (player < kWinningScore && computer < kWinningScore) {
        ASSERT_LT(rounds, kMaxRounds) << "the game did not end";
        const int hand = rounds++ % 3;
        const RoundSeen seen = driver.PlayRound(hand, kRoundTimeoutMs);
        ASSERT_TRUE(seen.played) << "round " << rounds << ": " << DescribeBoard();
        const RoundOutcome expected = DecideRound(hand, seen.computerHand);
        ASSERT_EQ(seen.result, expected.resultFrame)
            << "round " << rounds << ": " << DescribeBoard();
        player += expected.scorer == Scorer::kPlayer;
        computer += expected.scorer == Scorer::kComputer;
        ASSERT_TRUE(WaitUntil(
            [&] { return driver.ScoreLineShows(ScoreLine(player, computer)); }, 2000))
            << "round " << rounds << ": expected " << ScoreLine(player, computer);
    }

    // The game ends two ticks after the winning click; the last round stays on the board and
    // no further round begins.
    EXPECT_TRUE(WaitUntil(
        [&] { return driver.StatusLineShows("Game over!") && driver.StartCaptionShows("START"); },
        kStepTimeoutMs))
        << DescribeBoard();
    const int lastResult = driver.ResultShown();
    EXPECT_TRUE(lastResult == kWonFrame || lastResult == kLostFrame) << DescribeBoard();
    EXPECT_FALSE(WaitUntil([&] { return driver.ResultShown() != lastResult; }, 4000))
        << DescribeBoard();

    // One applause per won round, one laughter per lost round, three beeps per countdown and
    // nothing else.
    EXPECT_EQ(CountCalls(before, "aplay", {kApplauseSound}), player);
    EXPECT_EQ(CountCalls(before, "aplay", {kLaughterSound}), computer);
    EXPECT_EQ(CountCalls(before, "aplay", {kBeepSound}), 3 * rounds);
    EXPECT_EQ(CallCount() - before, static_cast<size_t>(player + computer + 3 * rounds));

    // START after the end begins a new game from nothing.
    ASSERT_TRUE(StartGame()) << DescribeBoard();
    EXPECT_TRUE(WaitUntil(
        [&] { return driver.ScoreLineShows(ScoreLine(0, 0)) && driver.StatusLineShows(""); },
        2000));
}
