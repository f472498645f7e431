// Plays one whole game of Brisgola on the display named by DISPLAY and keeps screenshots of
// it, for people who want to see the game without a desktop (make run without a display):
//   brisgola-showcase FOLDER [--rounds N] [--seed S]
// The game must already be running. FOLDER receives one PNG per moment and a contact sheet
// of them all, "contact-sheet.png"; the program prints where they are and the final score,
// and answers the game's exit question with YES. --rounds stops after N rounds instead of
// playing to the end; --seed makes the player's hands repeatable.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <sys/stat.h>

#include "tools/driver/GameDriver.h"
#include "tools/showcase/ContactSheet.h"
#include "tools/showcase/Showcase.h"

namespace {

const long kMaxRounds = 1000;

int Usage() {
    std::fprintf(stderr, "usage: brisgola-showcase FOLDER [--rounds N] [--seed S]\n");
    return 2;
}

bool ParseNumber(const char* text, long low, long high, long& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && errno == 0 && value >= low && value <= high;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argv[1][0] == '-') {
        return Usage();
    }
    const std::string folder = argv[1];
    long rounds = 0;
    long seed = static_cast<long>(std::random_device{}() & 0x7fffffff);
    for (int i = 2; i < argc; i += 2) {
        if (i + 1 >= argc) {
            return Usage();
        }
        const bool known =
            (std::strcmp(argv[i], "--rounds") == 0 &&
             ParseNumber(argv[i + 1], 1, kMaxRounds, rounds)) ||
            (std::strcmp(argv[i], "--seed") == 0 && ParseNumber(argv[i + 1], 0, 0x7fffffff, seed));
        if (!known) {
            return Usage();
        }
    }
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        std::fprintf(stderr, "brisgola-showcase: %s is not a folder\n", folder.c_str());
        return 1;
    }

    GameDriver driver;
    if (!driver.IsConnected()) {
        std::fprintf(stderr, "brisgola-showcase: cannot open the display, or it has no XTest\n");
        return 1;
    }
    Showcase showcase(driver, folder, static_cast<int>(rounds), static_cast<unsigned>(seed),
                      stdout);
    const bool played = showcase.Run();
    const std::string score =
        std::to_string(showcase.PlayerScore()) + " - " + std::to_string(showcase.ComputerScore());

    // Whatever was shot is kept, so a game that went wrong can still be looked at.
    ContactSheet sheet("Brisgola: " + std::to_string(showcase.RoundsPlayed()) + " rounds, " +
                       (showcase.GameOver() ? "final score " : "score ") + score);
    for (const Showcase::Shot& shot : showcase.Shots()) {
        std::printf("%s\n", shot.path.c_str());
        sheet.Add(shot.caption, shot.picture);
    }
    std::string error;
    const PngImage composed = sheet.Compose(driver.GetDisplay(), error);
    const std::string sheetPath = folder + "/contact-sheet.png";
    const bool sheetWritten = !composed.IsEmpty() && composed.Write(sheetPath, error);
    if (sheetWritten) {
        std::printf("%s\n", sheetPath.c_str());
    } else {
        std::fprintf(stderr, "brisgola-showcase: no contact sheet: %s\n", error.c_str());
    }
    for (const std::string& caption : showcase.Missed()) {
        std::printf("not seen in this game: %s\n", caption.c_str());
    }
    if (!played) {
        std::fprintf(stderr, "brisgola-showcase: %s\n", showcase.Error().c_str());
        return 1;
    }
    std::printf("%s after %d rounds: you %d, the computer %d\n",
                showcase.GameOver() ? "Final score" : "Score", showcase.RoundsPlayed(),
                showcase.PlayerScore(), showcase.ComputerScore());
    return sheetWritten ? 0 : 1;
}
