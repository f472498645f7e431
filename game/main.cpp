// Brisgola: rock, paper, scissors against the computer, on a small toolkit of its own that
// talks to the X server through Xlib. To understand the rest, start here: main opens the one
// display connection, builds the game window and hands control to the event loop in
// app/EventLoop.cpp until the player confirms that they want to quit.
#include <cstdlib>
#include <string>

#include "app/EventLoop.h"
#include "app/Screen.h"
#include "game/FormMain.h"
#include "game/Product.h"
#include "util/FileUtils.h"
#include "util/Log.h"

int main() {
    // The log holds only the current run. Only a file of the program's own kind is removed:
    // a folder or a link of that name is somebody else's, and the log then goes to standard
    // output alone.
    if (IsRegularFile("log.txt")) {
        RemoveFile("log.txt");
    }
    const std::string title = std::string(kProductName) + " " + kCopyrightNotice;

    auto* screen = new Screen(title.c_str());
    if (screen->HasFailed()) {
        // Without a display there is nothing the program can show; the reason is logged.
        delete screen;
        return EXIT_FAILURE;
    }
    screen->SetProgramName(kGameWindowClass);

    auto* window = new FormMain(screen, title);
    const bool quit = Run(window);
    delete window;

    if (!screen->Close()) {
        Log("Chiusura screen non riuscita");
    }
    delete screen;
    // A loop that could no longer wait for events ended the game without the player asking.
    return quit ? 0 : EXIT_FAILURE;
}
