#include <gtest/gtest.h>
#include <set>
#include <string>

#include "game/RoundRules.h"

TEST(RoundRules, EveryPairFollowsRockPaperScissorsAndOtherPairsDecideNothing) {
    struct Case {
        int player;
        int computer;
        int frame;
        const char* sound;
        Scorer scorer;
    };
    const Case cases[] = {
        {kPlayerRock, kComputerRock, kTieFrame, nullptr, Scorer::kNobody},
        {kPlayerRock, kComputerPaper, kLostFrame, "Data/risata.wav", Scorer::kComputer},
        {kPlayerRock, kComputerScissors, kWonFrame, "Data/applauso.wav", Scorer::kPlayer},
        {kPlayerScissors, kComputerScissors, kTieFrame, nullptr, Scorer::kNobody},
        {kPlayerScissors, kComputerRock, kLostFrame, "Data/risata.wav", Scorer::kComputer},
        {kPlayerScissors, kComputerPaper, kWonFrame, "Data/applauso.wav", Scorer::kPlayer},
        {kPlayerPaper, kComputerPaper, kTieFrame, nullptr, Scorer::kNobody},
        {kPlayerPaper, kComputerScissors, kLostFrame, "Data/risata.wav", Scorer::kComputer},
        {kPlayerPaper, kComputerRock, kWonFrame, "Data/applauso.wav", Scorer::kPlayer},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.player) + " vs " + std::to_string(c.computer));
        const RoundOutcome outcome = DecideRound(c.player, c.computer);
        EXPECT_TRUE(outcome.decided);
        EXPECT_EQ(outcome.resultFrame, c.frame);
        EXPECT_EQ(outcome.scorer, c.scorer);
        EXPECT_STREQ(outcome.sound == nullptr ? "none" : outcome.sound,
                     c.sound == nullptr ? "none" : c.sound);
    }
    // Two player hands, or hands past either end of the strip, are no round at all.
    const std::pair<int, int> noRounds[] = {{kPlayerRock, kPlayerRock}, {3, 0}, {0, 6}, {-1, 4}};
    for (const auto& pair : noRounds) {
        EXPECT_FALSE(DecideRound(pair.first, pair.second).decided);
    }
}

TEST(RoundRules, RandomBetweenStaysInRangeAndReachesEveryValue) {
    std::set<int> seen;
    for (int i = 0; i < 600; ++i) {
        seen.insert(RandomBetween(3, 5));
    }
    EXPECT_EQ(seen, (std::set<int>{3, 4, 5}));
    EXPECT_EQ(RandomBetween(7, 7), 7);
}
