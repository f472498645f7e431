#include "tests/e2e/GameTest.h"

#include <cstdio>
#include <cstdlib>

#include "game/RoundRules.h"
#include "tools/harness/ProcReader.h"
#include "tools/harness/WaitUntil.h"

namespace {

class Soak : public GameTest {};

const int kDefaultRounds = 20;
// The pictures are converted and the fonts loaded in the first rounds, so by the middle of
// the run the game's memory is what it needs; the second half may only add the allocator's
// and the sanitizer's own slack. A quarter more is far beyond that slack and far below what a
// leak of even one picture a round would cost over the rounds of the soak.
const double kGrowthAllowed = 1.25;

} // namespace

// Round after round, game after game: no memory, descriptor or child is left behind, and the
// sanitizer finds no leak when the game ends (TearDown: nothing on stderr, no zombie). A round
// takes over ten seconds on the game's clock, so make test plays twenty and make soak a hundred.
TEST_F(Soak, RoundsLeaveNoMemoryDescriptorOrChildBehind) {
    const char* setting = std::getenv("BRISGOLA_SOAK_ROUNDS");
    const int rounds = setting != nullptr ? std::atoi(setting) : kDefaultRounds;
    ASSERT_GE(rounds, 2);
    const int descriptors = CountDescriptors(game.Pid());
    long long memory[3] = {StatusField(game.Pid(), "VmRSS"), 0, 0};

    int player = 0;
    int computer = 0;
    for (int round = 1; round <= rounds; ++round) {
        if (round == 1 || player == kWinningScore || computer == kWinningScore) {
            ASSERT_TRUE(WaitUntil([&] { return driver.StartCaptionShows("START"); },
                                  kStepTimeoutMs));
            ASSERT_TRUE(StartGame()) << "round " << round << ": " << DescribeBoard();
            player = computer = 0;
        }
        const int hand = round % 3;
        const RoundSeen seen = driver.PlayRound(hand, kRoundTimeoutMs);
        ASSERT_TRUE(seen.played) << "round " << round << ": " << DescribeBoard();
        const RoundOutcome outcome = DecideRound(hand, seen.computerHand);
        player += outcome.scorer == Scorer::kPlayer;
        computer += outcome.scorer == Scorer::kComputer;
        if (round == rounds / 2) {
            memory[1] = StatusField(game.Pid(), "VmRSS");
        }
    }
    memory[2] = StatusField(game.Pid(), "VmRSS");
    std::printf("soak of %d rounds: resident %lld kB at the start, %lld kB in the middle, "
                "%lld kB at the end; %d descriptors\n",
                rounds, memory[0], memory[1], memory[2], descriptors);
    EXPECT_LE(memory[2], memory[1] * kGrowthAllowed);
    // Sound children come and go; none of them costs the game a descriptor.
    EXPECT_TRUE(WaitUntil([&] { return CountDescriptors(game.Pid()) == descriptors; }, kSettleMs))
        << CountDescriptors(game.Pid()) << " descriptors at the end, " << descriptors
        << " at the start";
}
