#include <gtest/gtest.h>
#include <set>
#include <string>
#include <tuple>

#include "game/RoundRules.h"

TEST(RoundRules, EveryPairFollowsRockPaperScissorsAndOtherPairsDecideNothing) {
    // player, computer, result frame, sound ("" for none), who scores
    const std::tuple<int, int, int, std::string, Scorer> cases[] = {
        {kPlayerRock, kComputerRock, kTieFrame, "", Scorer::kNobody},
        {kPlayerRock, kComputerPaper, kLostFrame, "Data/risata.wav", Scorer::kComputer},
        {kPlayerRock, kComputerScissors, kWonFrame, "Data/applauso.wav", Scorer::kPlayer},
        {kPlayerScissors, kComputerScissors, kTieFrame, "", Scorer::kNobody},
        {kPlayerScissors, kComputerRock, kLostFrame, "Data/risata.wav", Scorer::kComputer},
        {kPlayerScissors, kComputerPaper, kWonFrame, "Data/applauso.wav", Scorer::kPlayer},
        {kPlayerPaper, kComputerPaper, kTieFrame, "", Scorer::kNobody},
        {kPlayerPaper, kComputerScissors, kLostFrame, "Data/risata.wav", Scorer::kComputer},
        {kPlayerPaper, kComputerRock, kWonFrame, "Data/applauso.wav", Scorer::kPlayer}};
    for (const auto& [player, computer, frame, sound, scorer] : cases) {
        const RoundOutcome outcome = DecideRound(player, computer);
        EXPECT_EQ(std::make_tuple(outcome.decided, outcome.resultFrame,
                                  std::string(outcome.sound == nullptr ? "" : outcome.sound),
                                  outcome.scorer),
                  std::make_tuple(true, frame, sound, scorer))
            << player << " against " << computer;
    }
    // Two player hands, or hands past either end of the strip, are no round at all.
    const std::pair<int, int> noRounds[] = {{kPlayerRock, kPlayerRock}, {3, 0}, {0, 6}, {-1, 4}};
    for (const auto& pair : noRounds) {
        EXPECT_FALSE(DecideRound(pair.first, pair.second).decided);
    }
}

// The computer plays each of its own three hands, and never one of the player's. A fair draw
// misses one of the three in 600 draws with a chance of about one in 10^105.
TEST(RoundRules, TheComputerPlaysEveryOneOfItsHandsAndNoOther) {
    std::set<int> seen;
    for (int i = 0; i < 600; ++i) {
        seen.insert(ComputerHand());
    }
    EXPECT_EQ(seen, (std::set<int>{kComputerScissors, kComputerRock, kComputerPaper}));
    EXPECT_EQ(RandomBetween(7, 7), 7);
}
