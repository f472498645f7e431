#pragma once

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "tests/e2e/GameProcess.h"
#include "tools/driver/GameDriver.h"

// Base of the end-to-end tests: each test starts the real game program in a sandbox, finds
// its window, waits for the idle board and then acts and looks only from outside, through
// the driver. Whatever the test did, the game is ended at the end through the exit question
// (SIGTERM only when that fails, which fails the test), and then it must have exited with
// status 0, written nothing to stderr, logged nothing and left nothing behind.
class GameTest : public ::testing::Test {
protected:
    // What the round table says about one pair of hands, written out apart from the game:
    // rock beats scissors, scissors beat paper, paper beats rock; a hand against the same
    // hand is a tie.
    struct Expected {
        int result = -1;   // frame of the result strip
        std::string sound; // the file played, empty for none
        int playerPoints = 0;
        int computerPoints = 0;
    };
    static Expected ExpectedRound(int playerHand, int computerHand);
    static std::string ScoreLine(int player, int computer);

    void SetUp() override;
    void TearDown() override;

    // Acting
    // Presses START on the idle board and waits for the caption to become CANCEL.
    bool StartGame();
    // Opens the exit question with the Exit button when it is not open yet, answers YES and
    // waits for the program to end.
    void QuitThroughQuestion();

    // Looking
    // What the board shows, for failure messages.
    std::string DescribeBoard();
    // The calls of the stand-ins from the count on, to look at what came after a moment.
    std::vector<StandIns::Call> CallsAfter(size_t count);
    // Waits until at least `times` calls of the program with exactly these arguments came
    // after the count.
    bool WaitForCalls(size_t after, const std::string& program,
                      const std::vector<std::string>& arguments, int times, int timeoutMs);
    static int CountCalls(const std::vector<StandIns::Call>& calls, const std::string& program,
                          const std::vector<std::string>& arguments);
    static std::string Describe(const std::vector<StandIns::Call>& calls);

    // Health, checked at any point: the game runs, has reaped its children and has written
    // nothing to stderr (where Xlib reports protocol errors).
    void ExpectHealthy();

    GameProcess game;
    GameDriver driver;
};

inline const std::vector<std::string> kBeep{"Data/beep.wav"};

// Generous bounds: the game's clock ticks once a second and a countdown step needs two.
const int kWindowTimeoutMs = 15000;
const int kDialogTimeoutMs = 5000;
const int kStepTimeoutMs = 6000;
const int kRoundTimeoutMs = 20000;
const int kExitTimeoutMs = 15000;
// How long to wait before concluding that a child process was not reaped, or that a sound
// did not come.
const int kSettleMs = 3000;
const int kSilenceMs = 1500;
