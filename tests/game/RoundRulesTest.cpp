#include <gtest/gtest.h>
#include <set>
#include <string>

#include "game/RoundRules.h"

TEST(RoundRules, EveryPairFollowsRockPaperScissors) {
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
        const RoundOutcome outcome = DecideRound(c.player, c.computer);
        const std::string pair = std::to_string(c.player) + " vs " + std::to_string(c.computer);
        EXPECT_TRUE(outcome.decided) << pair;
        EXPECT_EQ(outcome.resultFrame, c.frame) << pair;
        EXPECT_EQ(outcome.scorer, c.scorer) << pair;
        if (c.sound == nullptr) {
            EXPECT_EQ(outcome.sound, nullptr) << pair;
        } else {
            ASSERT_NE(outcome.sound, nullptr) << pair;
            EXPECT_STREQ(outcome.sound, c.sound) << pair;
        }
    }
}

TEST(RoundRules, PairsThatAreNoRoundDecideNothing) {
    const std::pair<int, int> pairs[] = {{kPlayerRock, kPlayerRock}, {3, 0}, {0, 6}, {-1, 4}};
    for (const auto& pair : pairs) {
        EXPECT_FALSE(DecideRound(pair.first, pair.second).decided);
    }
}

TEST(RoundRules, RandomBetweenStaysInRangeAndReachesEveryValue) {
    std::set<int> seen;
    for (int i = 0; i < 600; ++i) {
        const int value = RandomBetween(3, 5);
        ASSERT_GE(value, 3);
        ASSERT_LE(value, 5);
        seen.insert(value);
    }
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_EQ(RandomBetween(7, 7), 7);
}
