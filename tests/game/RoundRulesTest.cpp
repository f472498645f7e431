#include <gtest/gtest.h>
#include <set>
#include <string>

#include "game/RoundRules.h"

namespace {

// A hand as the player shows it and as the computer shows it.
struct Kind {
    const char* name;
    int player, computer;
};
const Kind kKinds[] = {{"rock", kPlayerRock, kComputerRock},
                       {"paper", kPlayerPaper, kComputerPaper},
                       {"scissors", kPlayerScissors, kComputerScissors}};

// What the board and the speakers make of a round, or "?" for a mix of announcements that
// belong to different outcomes.
std::string Announced(const RoundOutcome& outcome) {
    const auto is = [&](int frame, const char* sound, Scorer scorer) {
        return outcome.decided && outcome.resultFrame == frame && outcome.scorer == scorer &&
               std::string(outcome.sound ? outcome.sound : "") == (sound ? sound : "");
    };
    return is(kWonFrame, kApplauseSound, Scorer::kPlayer)      ? "won"
           : is(kLostFrame, kLaughterSound, Scorer::kComputer) ? "lost"
           : is(kTieFrame, nullptr, Scorer::kNobody)           ? "tie"
                                                               : "?";
}

} // namespace

// Every hand ties with itself and beats exactly one of the others, which beats it back the
// other way round; rock beats scissors fixes which way the circle turns.
TEST(RoundRules, EachHandBeatsExactlyOneOtherAndTiesWithItself) {
    for (const Kind& mine : kKinds) {
        int beaten = 0;
        for (const Kind& theirs : kKinds) {
            SCOPED_TRACE(std::string(mine.name) + " against " + theirs.name);
            const std::string result = Announced(DecideRound(mine.player, theirs.computer));
            const std::string mirrored = Announced(DecideRound(theirs.player, mine.computer));
            if (&mine == &theirs) {
                EXPECT_EQ(result, "tie");
                continue;
            }
            beaten += result == "won";
            EXPECT_TRUE((result == "won" && mirrored == "lost") ||
                        (result == "lost" && mirrored == "won"))
                << result << ", the other way round " << mirrored;
        }
        EXPECT_EQ(beaten, 1) << mine.name;
    }
    EXPECT_EQ(Announced(DecideRound(kPlayerRock, kComputerScissors)), "won");
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
