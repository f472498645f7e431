#pragma once

#include <string>
#include <vector>

#include "app/XlibHeaders.h"
#include "game/BoardLayout.h"
#include "game/Product.h" // the window class and the words the driver waits for
#include "tools/driver/InputSender.h"
#include "tools/driver/ScreenReader.h"
#include "tools/driver/WindowFinder.h"

// Plays the running game from outside, the way a person at the screen would: it finds the
// game's windows, clicks and types through XTest, and learns what happened only from the
// pixels on the screen. It never looks into the game's memory; it has its own connection and
// shares with the game only what the screen ought to show: the compiled-in pictures, the
// board's layout and the toolkit's way of placing text.

// The dialogs of the game, found by their titles.
inline constexpr const char* kExitDialogTitle = "Exit";
inline constexpr const char* kAboutDialogTitle = "Info...";

// What a picture area shows besides one of the pictures it may hold.
inline constexpr int kPictureHidden = -1;  // plain background
inline constexpr int kPictureUnknown = -2; // anything else

// The pictures seen at the end of one round; each is a frame number, kPictureHidden or
// kPictureUnknown.
struct RoundSeen {
    bool played = false; // false: the choices never came or the result never showed
    int playerHand = kPictureUnknown;
    int computerHand = kPictureUnknown;
    int result = kPictureUnknown;
};

class GameDriver {
  public:
    // Opens the named display, or the one named by DISPLAY for null.
    explicit GameDriver(const char* displayName = nullptr);
    ~GameDriver();
    GameDriver(const GameDriver&) = delete;
    GameDriver& operator=(const GameDriver&) = delete;

    // The connection and the game's windows
    bool IsConnected() const { return display != nullptr; }
    Display* GetDisplay() const { return display; }
    // Finds the game window (its class, a title starting with the product name) and waits
    // until the window manager has mapped, framed and placed it.
    bool FindGameWindow(int timeoutMs);
    Window GetGameWindow() const { return gameWindow; }
    // Clicks the middle of an area of the game window, or of another window of the game.
    void Press(const Area& area);
    void PressIn(Window window, const Area& area);
    // Where the about dialog and the message box keep their buttons and links.
    static Area AboutWebLinkArea();
    static Area AboutMailLinkArea();
    static Area AboutOkArea();

    // Reading the board
    // The frame of the result strip shown in the result area.
    int ResultShown();
    // The frames of the hands strip shown where the hands are.
    int ComputerHandShown();
    int PlayerHandShown();
    // The frame shown where the choice for this hand is (0 paper, 1 rock, 2 scissors).
    int ChoiceShown(int hand);
    bool ChoicesShown();
    bool ChoicesHidden();
    // Whether the logo and the four bars of the dark-red frame are on the screen.
    bool DecorationShown();
    // The idle board: title picture, computer's scissors, player's rock, no choices, the
    // logo, the frame and START.
    bool IdleBoardShown();
    // The window holds exactly the text as the toolkit draws it into the area: the area
    // filled with bg and the text in fg at the toolkit's places; the area's last column,
    // which the toolkit leaves unfilled, is compared only where the text reaches into it.
    bool TextShownIn(Window window, const Area& area, const std::string& text, unsigned long fg,
                     unsigned long bg, int alignment);
    bool ScoreLineShows(const std::string& text);
    bool StatusLineShows(const std::string& text);
    bool StartCaptionShows(const std::string& text);

    // Playing
    // Waits for the three choices, clicks the one for the hand, waits for the round's result
    // and reports the pictures then on the board.
    RoundSeen PlayRound(int hand, int timeoutMs);

    // Names of frames for people to read.
    static std::string HandName(int frame);
    static std::string ResultName(int frame);

  private:
    // Frame index of the picture in the area among the candidates, kPictureHidden or
    // kPictureUnknown.
    int PictureShown(const Area& area, const std::vector<Pixels>& candidates);
    // Whether the area shows the top left area.w x area.h part of the picture.
    bool PictureAt(const Area& area, const Pixels& picture, int pictureWidth);

    Display* display = nullptr;
    XFontStruct* font = nullptr;
    Window gameWindow = 0;
    std::vector<Pixels> resultPictures;
    std::vector<Pixels> handPictures;
    Pixels logoPicture;
    Pixels barTopPicture;
    Pixels barBottomPicture;
    Pixels barLeftPicture;
    Pixels barRightPicture;

  public:
    // The parts it is made of, for callers that need them directly.
    WindowFinder windows;
    InputSender input;
    ScreenReader screen;
};
