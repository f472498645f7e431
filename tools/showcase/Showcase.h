#pragma once

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "tools/driver/GameDriver.h"
#include "tools/showcase/PngImage.h"

// Plays one game on a running Brisgola the way a person would (random hands, real clicks)
// and saves a screenshot of each moment that shows what the game looks like: the idle board,
// the about box, the countdown, the choices, a round won, lost and tied, "Game over!" and the
// exit question, which it then answers YES so the game ends. Screenshots are what the screen
// shows over the game window, dialogs on top included, saved as <folder>/<name>.png.
class Showcase {
  public:
    struct Shot {
        std::string name;    // file name without ".png"
        std::string caption; // for people
        std::string path;
        PngImage picture;
    };

    // rounds: how many rounds to play before asking to exit; 0 plays until the game is over.
    // With a progress stream, one line per round played goes there as the game goes on.
    Showcase(GameDriver& driver, std::string folder, int rounds, unsigned seed,
             std::FILE* progress = nullptr);

    // False, with Error(), when the game did not do what a player would see it do in time.
    bool Run();

    const std::vector<Shot>& Shots() const { return shots; }
    // Captions of the moments that did not happen (a game without a tie, or a short run).
    std::vector<std::string> Missed() const;
    int PlayerScore() const { return scorePlayer; }
    int ComputerScore() const { return scoreComputer; }
    int RoundsPlayed() const { return roundsPlayed; }
    bool GameOver() const { return gameOver; }
    const std::string& Error() const { return error; }

    // Every moment, in the order they come in a game.
    struct Moment {
        const char* name;
        const char* caption;
    };
    static const std::vector<Moment>& Moments();

  private:
    bool ShowAbout();
    bool PlayGame();
    bool AnswerExit();
    // Saves the screen once it has stopped changing; does nothing for a moment already shot.
    bool Capture(const std::string& name);
    bool Taken(const std::string& name) const;
    bool Fail(const std::string& message);

    GameDriver& driver;
    std::string folder;
    std::FILE* progress;
    int rounds;
    std::mt19937 random;
    std::vector<Shot> shots;
    int scorePlayer = 0;
    int scoreComputer = 0;
    int roundsPlayed = 0;
    bool gameOver = false;
    std::string error;
};
