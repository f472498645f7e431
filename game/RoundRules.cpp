#include "game/RoundRules.h"

#include <cstdlib>
#include <ctime>

namespace {

struct Rule {
    int player;
    int computer;
    RoundOutcome outcome;
};

const Rule kRules[] = {
    {kPlayerRock, kComputerRock, {true, kTieFrame, nullptr, Scorer::kNobody}},
    {kPlayerRock, kComputerPaper, {true, kLostFrame, kLaughterSound, Scorer::kComputer}},
    {kPlayerRock, kComputerScissors, {true, kWonFrame, kApplauseSound, Scorer::kPlayer}},
    {kPlayerScissors, kComputerScissors, {true, kTieFrame, nullptr, Scorer::kNobody}},
    {kPlayerScissors, kComputerRock, {true, kLostFrame, kLaughterSound, Scorer::kComputer}},
    {kPlayerScissors, kComputerPaper, {true, kWonFrame, kApplauseSound, Scorer::kPlayer}},
    {kPlayerPaper, kComputerPaper, {true, kTieFrame, nullptr, Scorer::kNobody}},
    {kPlayerPaper, kComputerScissors, {true, kLostFrame, kLaughterSound, Scorer::kComputer}},
    {kPlayerPaper, kComputerRock, {true, kWonFrame, kApplauseSound, Scorer::kPlayer}},
};

} // namespace

RoundOutcome DecideRound(int playerHand, int computerHand) {
    for (const Rule& rule : kRules) {
        if (rule.player == playerHand && rule.computer == computerHand) {
            return rule.outcome;
        }
    }
    return {};
}

int RandomBetween(int low, int high) {
    static bool seeded = false;
    if (!seeded) {
        std::srand(static_cast<unsigned>(std::time(nullptr)));
        seeded = true;
    }
    return low + std::rand() % (high - low + 1);
}

int ComputerHand() {
    return RandomBetween(kComputerScissors, kComputerPaper);
}
