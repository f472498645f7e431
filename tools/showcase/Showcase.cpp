#include "tools/showcase/Showcase.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "game/Product.h"
#include "game/RoundRules.h"
#include "gui/controls/FormMsgBox.h"
#include "tools/harness/WaitUntil.h"

namespace {

// A round takes about ten seconds on the game's one-second clock; the bounds are generous
// so a slow machine does not end the showcase early.
const int kWindowTimeoutMs = 15000;
const int kDialogTimeoutMs = 10000;
const int kStepTimeoutMs = 30000;
const int kStillTimeoutMs = 3000;
const auto kStillFor = std::chrono::milliseconds(120);
const Area kWholeWindow{0, 0, kWindowWidth, kWindowHeight};

std::string ScoreText(int player, int computer) {
    return "Score: " + std::to_string(player) + " - " + std::to_string(computer);
}

} // namespace

const std::vector<Showcase::Moment>& Showcase::Moments() {
    static const std::vector<Moment> moments = {
        {"idle-board", "The idle board"},
        {"about-box", "Info: the about box"},
        {"countdown", "The countdown"},
        {"choices", "Choose a hand"},
        {"win", "A round won"},
        {"loss", "A round lost"},
        {"tie", "A tie"},
        {"game-over", kGameOverStatus},
        {"exit-question", "Exit: the question"},
    };
    return moments;
}

Showcase::Showcase(GameDriver& driver, std::string folder, int rounds, unsigned seed,
                   std::FILE* progress)
    : driver(driver), folder(std::move(folder)), progress(progress), rounds(rounds), random(seed) {}

bool Showcase::Run() {
    if (!driver.FindGameWindow(kWindowTimeoutMs)) {
        return Fail("no game window came up");
    }
    if (!WaitUntil([&] { return driver.IdleBoardShown(); }, kWindowTimeoutMs)) {
        return Fail("the game did not show its idle board");
    }
    return Capture("idle-board") && ShowAbout() && PlayGame() && AnswerExit();
}

std::vector<std::string> Showcase::Missed() const {
    std::vector<std::string> missed;
    for (const Moment& moment : Moments()) {
        if (!Taken(moment.name)) {
            missed.push_back(moment.caption);
        }
    }
    return missed;
}

bool Showcase::ShowAbout() {
    driver.Press(kInfoButtonArea);
    const Window about = driver.windows.WaitForTitled(kAboutDialogTitle, kDialogTimeoutMs);
    if (about == 0) {
        return Fail("Info did not open the about box");
    }
    if (!Capture("about-box")) {
        return false;
    }
    driver.PressIn(about, GameDriver::AboutOkArea());
    if (!driver.windows.WaitUntilGone(kAboutDialogTitle, kDialogTimeoutMs)) {
        return Fail("OK did not close the about box");
    }
    return true;
}

bool Showcase::PlayGame() {
    driver.Press(kStartButtonArea);
    if (!WaitUntil([&] { return driver.StartCaptionShows(kCancelCaption); }, kStepTimeoutMs)) {
        return Fail("START did not begin a game");
    }
    std::uniform_int_distribution<int> anyHand(kPlayerPaper, kPlayerScissors);
    while (rounds == 0 || roundsPlayed < rounds) {
        bool choose = false;
        bool countdownSeen = false;
        const bool next = WaitUntil(
            [&] {
                const int picture = driver.ResultShown();
                countdownSeen = picture >= kCountdownThree && picture <= kCountdownOne;
                gameOver = driver.StatusLineShows(kGameOverStatus);
                choose = !gameOver && driver.ChoicesShown();
                return gameOver || choose || (countdownSeen && !Taken("countdown"));
            },
            kStepTimeoutMs);
        if (!next) {
            return Fail("neither the choices nor the end of the game came after round " +
                        std::to_string(roundsPlayed));
        }
        if (gameOver) {
            return Capture("game-over");
        }
        if (!choose) {
            if (!Capture("countdown")) {
                return false;
            }
            continue;
        }
        if (!Capture("choices")) {
            return false;
        }
        const RoundSeen seen = driver.PlayRound(anyHand(random), kStepTimeoutMs);
        if (!seen.played) {
            return Fail("round " + std::to_string(roundsPlayed + 1) + " showed no result");
        }
        ++roundsPlayed;
        scorePlayer += seen.result == kWonFrame ? 1 : 0;
        scoreComputer += seen.result == kLostFrame ? 1 : 0;
        // The score line follows the result picture; the screenshot should show both.
        const std::string score = ScoreText(scorePlayer, scoreComputer);
        if (!WaitUntil([&] { return driver.ScoreLineShows(score); }, kStepTimeoutMs)) {
            return Fail("the score line did not read \"" + score + "\"");
        }
        if (progress != nullptr) {
            std::fprintf(progress, "round %d: you %s, the computer %s: %s, %s\n", roundsPlayed,
                         GameDriver::HandName(seen.playerHand).c_str(),
                         GameDriver::HandName(seen.computerHand).c_str(),
                         GameDriver::ResultName(seen.result).c_str(), score.c_str());
            std::fflush(progress);
        }
        const char* name = seen.result == kWonFrame    ? "win"
                           : seen.result == kLostFrame ? "loss"
                                                       : "tie";
        if (!Capture(name)) {
            return false;
        }
    }
    return true;
}

bool Showcase::AnswerExit() {
    driver.Press(kExitButtonArea);
    const Window question = driver.windows.WaitForTitled(kExitDialogTitle, kDialogTimeoutMs);
    if (question == 0) {
        return Fail("Exit did not ask the question");
    }
    if (!Capture("exit-question")) {
        return false;
    }
    driver.PressIn(question, FormMsgBox::kYesArea);
    const Window game = driver.GetGameWindow();
    if (!WaitUntil([&] { return !driver.windows.IsShown(game); }, kDialogTimeoutMs)) {
        return Fail("YES did not end the game");
    }
    return true;
}

bool Showcase::Capture(const std::string& name) {
    if (Taken(name)) {
        return true;
    }
    const auto found = std::find_if(Moments().begin(), Moments().end(),
                                    [&](const Moment& moment) { return name == moment.name; });
    if (found == Moments().end()) {
        return Fail("no moment is called " + name);
    }
    // Pictures and dialogs are drawn piece by piece; wait for the screen to settle.
    const Window window = driver.GetGameWindow();
    Pixels seen = driver.screen.ReadScreen(window, kWholeWindow);
    auto stillSince = std::chrono::steady_clock::now();
    const bool still = WaitUntil(
        [&] {
            Pixels now = driver.screen.ReadScreen(window, kWholeWindow);
            if (now != seen) {
                seen = std::move(now);
                stillSince = std::chrono::steady_clock::now();
                return false;
            }
            return !seen.empty() && std::chrono::steady_clock::now() - stillSince >= kStillFor;
        },
        kStillTimeoutMs);
    if (!still) {
        return Fail("the screen did not settle for \"" + std::string(found->caption) + "\"");
    }
    Shot shot{name, found->caption, folder + "/" + name + ".png",
              PngImage(kWholeWindow.w, kWholeWindow.h, std::move(seen))};
    std::string reason;
    if (!shot.picture.Write(shot.path, reason)) {
        return Fail(reason);
    }
    shots.push_back(std::move(shot));
    return true;
}

bool Showcase::Taken(const std::string& name) const {
    return std::any_of(shots.begin(), shots.end(),
                       [&](const Shot& shot) { return shot.name == name; });
}

bool Showcase::Fail(const std::string& message) {
    error = message;
    return false;
}
