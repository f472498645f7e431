#pragma once

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "support/StandIns.h"
#include "support/TempFolder.h"
#include "tools/driver/GameDriver.h"
#include "tools/harness/RunningProgram.h"

// Base of the end-to-end tests: each test starts the real game program in a sandbox of its
// own, whose "work" folder holds Data/ with the three sounds and whose stand-ins for aplay,
// firefox and thunderbird come first on the game's PATH. The test finds the game's window,
// waits for the idle board and then acts and looks only from outside, through the driver.
// Whatever the test did, the game must not have left a finished child unreaped; it is ended
// through the exit question, and then it must have exited with status 0, written nothing to
// stderr, logged nothing and left nothing behind.
class GameTest : public ::testing::Test {
  protected:
    using Arguments = std::vector<std::string>;

    GameTest();
    void SetUp() override;
    void TearDown() override;

    // Steps of SetUp, for tests that start the game another way: the work folder, with or
    // without Data/ and its sounds; then the game started in it through the launcher (a
    // command that runs the rest, such as one that drops to another user) with the
    // environment changes, until its idle board shows.
    void MakeWorkFolder(bool withData);
    void Launch(const Arguments& launcher, const Arguments& environment);

    // Acting
    // Presses START on the idle board and waits for the caption to become CANCEL.
    bool StartGame();
    // Answers YES to the exit question, opened with Exit when it is not open yet, and waits
    // for the program to end. Nothing else may be open.
    void QuitThroughQuestion();

    // Looking
    // What is wrong with the game's dialog (WindowFinder::DialogFaults), after waiting a
    // while for it to come right; empty when it is in reach.
    std::string DialogFaults(Window dialog);
    static std::string ScoreLine(int player, int computer);
    // What the board shows, for failure messages.
    std::string DescribeBoard();
    // How many calls the stand-ins have recorded; the calls of the program with exactly these
    // arguments among those after the first `after`, and a wait for at least `times` of them.
    size_t CallCount() const { return standIns.Calls().size(); }
    int CountCalls(size_t after, const std::string& program, const Arguments& arguments) const;
    // The calls after the first `after`, each with its arguments and how long ago it came,
    // for failure messages.
    std::string DescribeCalls(size_t after) const;
    bool WaitForCalls(size_t after, const std::string& program, const Arguments& arguments,
                      int times = 1);

    // Whether TearDown expects the work folder as it was made and an empty log; a test that
    // changes them looks at them itself.
    bool checkWorkFolder = true;
    TempFolder sandbox;
    StandIns standIns{sandbox.Path()};
    RunningProgram game;
    GameDriver driver;
};

// Generous bounds: the game's clock ticks once a second and a countdown step needs two.
const int kDialogTimeoutMs = 5000;
const int kStepTimeoutMs = 6000;
const int kRoundTimeoutMs = 20000;
// How long a sound or a link's program may take to come, with a dozen tests sharing two cores,
// and how long to listen before concluding none will.
const int kSettleMs = 10000;
const int kSilenceMs = 1500;
