#include "tests/e2e/GameTest.h"

#include <cstdio>
#include <cstdlib>

#include "game/RoundRules.h"
#include "tools/harness/ProcReader.h"
#include "tools/harness/WaitUntil.h"

namespace {

class WholeGame : public GameTest {};

// With a third of the rounds tied, a game needs about 25 rounds; this many means the game
// does not end.
const int kMaxRounds = 90;
// The sanitizer build makes this a soak: whole games until at least this many rounds, after
// which its leak check at the end of the game means something. BRISGOLA_SOAK_ROUNDS asks for
// more (make soak).
#ifdef BRISGOLA_SOAK_DEFAULT_ROUNDS
const int kSoakRounds = BRISGOLA_SOAK_DEFAULT_ROUNDS;
#else
const int kSoakRounds = 0;
#endif
// The pictures are converted and the fonts loaded in the first rounds, so by the middle of
// the run the game's memory is what it needs; the second half may only add the allocator's
// and the sanitizer's own slack. A quarter more is far beyond that slack and far below what a
// leak of even one picture a round would cost.
const double kGrowthAllowed = 1.25;

} // namespace

// Whole games from outside: every round as the table says, one sound for each won or lost
// round and three beeps for each countdown, the end on the board; and nothing left behind:
// descriptors as at the start, resident memory flat, no zombie and no leak (TearDown).
TEST_F(WholeGame, PlaysUntilOneSideHasTenWinsAndLeavesNothingBehind) {
    const char* setting = std::getenv("BRISGOLA_SOAK_ROUNDS");
    const int soakRounds = setting != nullptr ? std::atoi(setting) : kSoakRounds;
    const int descriptors = CountDescriptors(game.Pid());
    long long memory[3] = {StatusField(game.Pid(), "VmRSS"), 0, 0};
    int rounds = 0;
    do {
        const size_t before = CallCount();
        ASSERT_TRUE(StartGame()) << DescribeBoard();
        int player = 0;
        int computer = 0;
        int gameRounds = 0;
        while (player < kWinningScore && computer < kWinningScore) {
            ASSERT_LT(gameRounds, kMaxRounds) << "the game did not end";
            const int hand = gameRounds++ % 3;
            const RoundSeen seen = driver.PlayRound(hand, kRoundTimeoutMs);
            ASSERT_TRUE(seen.played) << "round " << gameRounds << ": " << DescribeBoard();
            const RoundOutcome expected = DecideRound(hand, seen.computerHand);
            ASSERT_EQ(seen.result, expected.resultFrame)
                << "round " << gameRounds << ": " << DescribeBoard();
            player += expected.scorer == Scorer::kPlayer;
            computer += expected.scorer == Scorer::kComputer;
            ASSERT_TRUE(
                WaitUntil([&] { return driver.ScoreLineShows(ScoreLine(player, computer)); }, 2000))
                << "round " << gameRounds << ": expected " << ScoreLine(player, computer);
            if (++rounds == soakRounds / 2) {
                memory[1] = StatusField(game.Pid(), "VmRSS");
            }
        }

        // The game ends two ticks after the winning click; the last round stays on the board
        // and no further round begins.
        EXPECT_TRUE(WaitUntil(
            [&] {
                return driver.StatusLineShows(kGameOverStatus) &&
                       driver.StartCaptionShows(kStartCaption);
            },
            kStepTimeoutMs))
            << DescribeBoard();
        const int lastResult = driver.ResultShown();
        EXPECT_TRUE(lastResult == kWonFrame || lastResult == kLostFrame) << DescribeBoard();
        EXPECT_FALSE(WaitUntil([&] { return driver.ResultShown() != lastResult; }, 4000))
            << DescribeBoard();
        EXPECT_EQ(CountCalls(before, "aplay", {kApplauseSound}), player);
        EXPECT_EQ(CountCalls(before, "aplay", {kLaughterSound}), computer);
        EXPECT_EQ(CountCalls(before, "aplay", {kBeepSound}), 3 * gameRounds);
        EXPECT_EQ(CallCount() - before, static_cast<size_t>(player + computer + 3 * gameRounds));
    } while (rounds < soakRounds);

    memory[2] = StatusField(game.Pid(), "VmRSS");
    std::printf("%d rounds: resident %lld kB at the start, %lld kB in the middle, %lld kB at "
                "the end; %d descriptors\n",
                rounds, memory[0], memory[1], memory[2], descriptors);
    if (soakRounds > 0) {
        EXPECT_LE(memory[2], memory[1] * kGrowthAllowed);
    }
    // Sound children come and go; none of them costs the game a descriptor.
    EXPECT_TRUE(WaitUntil([&] { return CountDescriptors(game.Pid()) == descriptors; }, kSettleMs))
        << CountDescriptors(game.Pid()) << " descriptors at the end, " << descriptors
        << " at the start";

    // START after the end begins a new game from nothing.
    ASSERT_TRUE(StartGame()) << DescribeBoard();
    EXPECT_TRUE(WaitUntil(
        [&] { return driver.ScoreLineShows(ScoreLine(0, 0)) && driver.StatusLineShows(""); },
        2000));
}
