#pragma once

// The rules of one round, apart from any window: which hand beats which, what picture and
// sound announce it, and who scores.

// Hands are the frames of the hands strip: the player's three facing left, then the
// computer's three mirrored.
enum Hand {
    kPlayerPaper = 0,
    kPlayerRock = 1,
    kPlayerScissors = 2,
    kComputerScissors = 3,
    kComputerRock = 4,
    kComputerPaper = 5,
};

// Frames of the result strip: the title, the countdown 3, 2, 1, then the outcomes.
enum ResultFrame {
    kTitleFrame = 0,
    kCountdownThree = 1,
    kCountdownTwo = 2,
    kCountdownOne = 3,
    kWonFrame = 4,
    kLostFrame = 5,
    kTieFrame = 6,
};

enum class Scorer { kNobody, kPlayer, kComputer };

struct RoundOutcome {
    bool decided = false; // false for a pair of frames that is not a round
    int resultFrame = kTitleFrame;
    const char* sound = nullptr; // null: the round is silent
    Scorer scorer = Scorer::kNobody;
};

// Sound files of the game, relative to the working folder.
inline constexpr const char* kBeepSound = "Data/beep.wav";
inline constexpr const char* kApplauseSound = "Data/applauso.wav";
inline constexpr const char* kLaughterSound = "Data/risata.wav";

// A game ends when one side has won this many rounds.
inline constexpr int kWinningScore = 10;

RoundOutcome DecideRound(int playerHand, int computerHand);

// A value in [low, high]; the C library generator is seeded from the clock on first use.
int RandomBetween(int low, int high);
// The computer's hand for a round: any of its three, each as likely as the others.
int ComputerHand();
