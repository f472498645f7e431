#pragma once

#include <string>
#include <sys/types.h>

// What one benchmark run measures and how often. The defaults are the full run of `make
// bench`; --quick shrinks every count and span to a smoke run of well under a minute.
struct BenchOptions {
    // The two programs (both required), the folder they run in (the game finds its Data/
    // folder there) and a file that also gets the table.
    std::string game;
    std::string floor;
    // The minimal client, the second yardstick; without it its column stays empty.
    std::string minimal;
    // The toolkit's text-box program; without it no typing figures are taken.
    std::string textbox;
    std::string workDir = ".";
    std::string output;

    // Launches of each program, alternating; the first `runs` of them also sit idle for
    // `idleSeconds` before their memory is read.
    int launches = 15;
    int runs = 7;
    double idleSeconds = 10;
    // Samples taken in each launch.
    int exposesPerRun = 5;
    int captionsPerRun = 3;
    int clicksPerRun = 5; // the floor's; the game's clicks are the long game's rounds
    // Keystrokes timed in each of the typing programs (the floor's and two text boxes).
    int keystrokes = 30;
    // The long game, with its CPU read over spans of `windowSeconds`.
    int rounds = 100;
    double windowSeconds = 30;

    // How often timed waits read the screen. Shorter periods time more finely but load the
    // X server that the programs under test share with the harness.
    int pollMicroseconds = 100;
    pid_t xserverPid = 0; // 0: found from DISPLAY
    bool quick = false;
    bool verbose = false; // every sample on standard error as it is taken
};

// False with a message for an unknown option, a value out of range or a missing program.
bool ParseBenchOptions(int argc, const char* const* argv, BenchOptions& options,
                       std::string& error);
std::string BenchUsage();
