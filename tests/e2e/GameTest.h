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
    // What the round table says about one pair of hands.
    struct Expected {
        int result = -1;   // frame of the result strip
        std::string sound; // the file played, empty for none
        int playerPoints = 0;
        int computerPoints = 0;
    };
    static Expected ExpectedRound(int playerHand, int computerHand);

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
    // The call count at a moment, to look at what came after it.
    size_t CommandCount() const { return game.Commands().size(); }
    std::vector<RecordedCommand> CommandsAfter(size_t count) const;
    static int CountCalls(const std::vector<RecordedCommand>& commands, const std::string& program,
                          const std::vector<std::string>& arguments);
    // Waits until at least `times` calls of the program with exactly these arguments came
    // after the count.
    bool WaitForCalls(size_t after, const std::string& program,
                      const std::vector<std::string>& arguments, int times, int timeoutMs);
    static std::string Describe(const std::vector<RecordedCommand>& commands);

    // Health, checked at any point: the game runs, has reaped its children and has written
    // nothing to stderr (where Xlib reports protocol errors).
    void ExpectHealthy();
    // After the end: status 0, nothing on stderr, no log, only Data/ left as it was.
    void ExpectCleanEnd();

    GameProcess game;
    GameDriver driver;
};

inline const std::vector<std::string> kBeep{"Data/beep.wav"};
inline const char* const kGameTitle = "Brisgola Copyright (c) 2026 The Brisgola Authors";
inline const char* const kExitQuestionText = "Do you really want to go exit?";

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
