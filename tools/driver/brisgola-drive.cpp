// Drives a running game from the command line, for benchmarks and demonstrations:
//   brisgola-drive idle       waits until the game shows its idle board
//   brisgola-drive rounds N   presses START on the idle board and plays N rounds, choosing
//                             paper, rock, scissors in turn; a finished game is followed by
//                             a new one until N rounds are played
// It prints one line per round and exits 0 when everything it waited for came in time.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "game/Product.h"
#include "game/RoundRules.h"
#include "tools/driver/GameDriver.h"
#include "tools/harness/WaitUntil.h"

namespace {

using Clock = std::chrono::steady_clock;

// Generous bounds: a round takes about twelve seconds on the game's one-second clock.
const int kWindowTimeoutMs = 15000;
const int kStepTimeoutMs = 30000;
const long kMaxRounds = 100000;

int Fail(const char* message) {
    std::fprintf(stderr, "brisgola-drive: %s\n", message);
    return 1;
}

int Usage() {
    std::fprintf(stderr, "usage: brisgola-drive idle | rounds N\n");
    return 2;
}

bool StartGame(GameDriver& driver) {
    driver.Press(kStartButtonArea);
    return WaitUntil([&] { return driver.StartCaptionShows(kCancelCaption); }, kStepTimeoutMs);
}

long Milliseconds(Clock::duration duration) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(duration).count());
}

int PlayRounds(GameDriver& driver, long rounds) {
    if (!StartGame(driver)) {
        return Fail("START did not turn into CANCEL");
    }
    int scorePlayer = 0;
    int scoreComputer = 0;
    auto since = Clock::now();
    for (long round = 1; round <= rounds; ++round) {
        // Between rounds the game either counts down to the next choice or has ended.
        bool gameOver = false;
        if (!WaitUntil(
                [&] {
                    gameOver = driver.StatusLineShows(kGameOverStatus) &&
                               driver.StartCaptionShows(kStartCaption);
                    return gameOver || driver.ChoicesShown();
                },
                kStepTimeoutMs)) {
            return Fail("the choices did not appear");
        }
        if (gameOver) {
            std::printf("game over: %d - %d\n", scorePlayer, scoreComputer);
            scorePlayer = 0;
            scoreComputer = 0;
            if (!StartGame(driver)) {
                return Fail("START did not begin a new game");
            }
        }
        const int hand = static_cast<int>((round - 1) % 3);
        const RoundSeen seen = driver.PlayRound(hand, kStepTimeoutMs);
        if (!seen.played) {
            return Fail("the round showed no result");
        }
        if (seen.result == kWonFrame) {
            ++scorePlayer;
        } else if (seen.result == kLostFrame) {
            ++scoreComputer;
        }
        const auto now = Clock::now();
        std::printf("round %ld: player %s, computer %s, %s, score %d - %d, %ld ms\n", round,
                    GameDriver::HandName(seen.playerHand).c_str(),
                    GameDriver::HandName(seen.computerHand).c_str(),
                    GameDriver::ResultName(seen.result).c_str(), scorePlayer, scoreComputer,
                    Milliseconds(now - since));
        std::fflush(stdout);
        since = now;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const bool idle = argc == 2 && std::strcmp(argv[1], "idle") == 0;
    const bool rounds = argc == 3 && std::strcmp(argv[1], "rounds") == 0;
    if (!idle && !rounds) {
        return Usage();
    }
    long count = 0;
    if (rounds) {
        char* end = nullptr;
        count = std::strtol(argv[2], &end, 10);
        if (end == argv[2] || *end != '\0' || count < 1 || count > kMaxRounds) {
            return Usage();
        }
    }

    GameDriver driver;
    if (!driver.IsConnected()) {
        return Fail("cannot open the display, or it has no XTest extension");
    }
    if (!driver.FindGameWindow(kWindowTimeoutMs)) {
        return Fail("no game window came up");
    }
    if (!WaitUntil([&] { return driver.IdleBoardShown(); }, kWindowTimeoutMs)) {
        return Fail("the game does not show its idle board");
    }
    if (idle) {
        std::printf("idle board shown\n");
        return 0;
    }
    return PlayRounds(driver, count);
}
