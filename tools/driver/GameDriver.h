#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/XlibHeaders.h"

// Plays the running game from outside, the way a person at the screen would: it finds the
// game's window on the X server, clicks and types through the XTest extension, and learns
// what happened only from the pixels on the screen. It never looks into the game's memory;
// it has its own connection and shares with the game nothing but the compiled-in pictures and
// the font name, which it needs to know what the screen ought to show.

// A rectangle in window coordinates.
struct Area {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};

// Where the game window keeps its controls.
inline constexpr Area kStartButtonArea{432, 30, 100, 28};
inline constexpr Area kInfoButtonArea{552, 30, 100, 28};
inline constexpr Area kExitButtonArea{672, 30, 100, 28};
inline constexpr Area kScoreLineArea{432, 65, 160, 18};
inline constexpr Area kStatusLineArea{250, 85, 300, 18};
inline constexpr Area kResultArea{333, 209, 133, 100};
inline constexpr Area kComputerHandArea{201, 209, 70, 100};
inline constexpr Area kPlayerHandArea{518, 209, 70, 100};
// Indexed by the hand each one picks: paper, rock, scissors.
inline constexpr Area kChoiceAreas[3] = {
    {230, 469, 70, 100}, {350, 469, 70, 100}, {470, 469, 70, 100}};

// The dialogs, in their own window coordinates.
inline constexpr const char* kExitDialogTitle = "Exit";
inline constexpr const char* kAboutDialogTitle = "Info...";
inline constexpr Area kQuestionYesArea{130, 110, 110, 28};
inline constexpr Area kQuestionNoArea{10, 110, 110, 28};
inline constexpr Area kAboutWebLinkArea{208, 68, 200, 12};
inline constexpr Area kAboutMailLinkArea{418, 68, 150, 12};
inline constexpr Area kAboutOkArea{359, 173, 80, 28};

// What a picture area shows besides one of the pictures it may hold.
inline constexpr int kPictureHidden = -1;  // plain background
inline constexpr int kPictureUnknown = -2; // anything else

// Colours of the game window's texts, as 0xRRGGBB.
inline constexpr unsigned long kLineTextColor = 0xffffff;
inline constexpr unsigned long kBoardColor = 0x000000;
inline constexpr unsigned long kStartCaptionColor = 0xffff00;
inline constexpr unsigned long kStartFaceColor = 0xff0000;

// The text alignments of the toolkit.
inline constexpr int kTextLeft = 0;
inline constexpr int kTextRight = 1;
inline constexpr int kTextCentre = 2;

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
    // Colours as 0xRRGGBB, row by row.
    using Pixels = std::vector<unsigned long>;

    // Connection
    // Opens the named display, or the one named by DISPLAY for null.
    explicit GameDriver(const char* displayName = nullptr);
    ~GameDriver();
    GameDriver(const GameDriver&) = delete;
    GameDriver& operator=(const GameDriver&) = delete;

    bool IsConnected() const { return display != nullptr; }
    Display* GetDisplay() const { return display; }
    Window GetGameWindow() const { return gameWindow; }

    // Windows
    // Finds the game window (class "Brisgola.exe", title starting with "Brisgola ") and waits
    // until the window manager has mapped, framed and placed it. False when no such window
    // came up in time.
    bool FindGameWindow(int timeoutMs);
    // The game's top-level window with exactly this title, or 0.
    Window FindDialog(const std::string& title);
    // How many windows of the game with this title exist, shown or not.
    int CountWindows(const std::string& title);
    // Waits for the dialog and for the window manager to frame it; 0 when it never came.
    Window WaitForDialog(const std::string& title, int timeoutMs);
    bool WaitForDialogGone(const std::string& title, int timeoutMs);
    // Viewable, reparented into a frame and no longer moving.
    bool WaitUntilManaged(Window window, int timeoutMs);
    bool IsWindowViewable(Window window);
    std::string WindowTitle(Window window);
    // res_name and res_class of WM_CLASS.
    std::vector<std::string> WindowClass(Window window);
    // Minimum and maximum size from WM_NORMAL_HINTS: {min w, min h, max w, max h}, empty
    // when the window has no such hints.
    std::vector<int> SizeHints(Window window);
    // The window's own size as {w, h}, empty when it cannot be read.
    std::vector<int> WindowSize(Window window);
    // Whether the frame holding upper is above the frame holding lower among the root
    // window's children (the window manager's stacking order).
    bool IsStackedAbove(Window upper, Window lower);
    // Asks the window manager to close the window, as its close button does.
    void RequestClose(Window window);

    // Input
    void Click(int x, int y);
    void ClickIn(Window window, int x, int y);
    void ClickCentre(const Area& area);
    void ClickCentreIn(Window window, const Area& area);
    // Whether the window has the keyboard focus, so that keys typed go to it.
    bool HasFocus(Window window);
    void TapKey(KeySym key);

    // Reading the screen of the game window
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
    // logo and the frame.
    bool IdleBoardShown();
    // The window holds exactly one line of text as the toolkit draws it into the box (x, y,
    // w, h): the box filled with bg and the text in fg at the toolkit's place for that
    // alignment; the box's last column, which the toolkit leaves unfilled, is compared only
    // where the text reaches into it. The text must fit the box on one line, and the box
    // must be high enough for the toolkit to draw text at all (more than 9 rows).
    bool TextShown(int x, int y, int w, int h, const std::string& text, unsigned long fg,
                   unsigned long bg, int alignment);
    bool TextShownIn(Window window, int x, int y, int w, int h, const std::string& text,
                     unsigned long fg, unsigned long bg, int alignment);
    bool ScoreLineShows(const std::string& text);
    bool StatusLineShows(const std::string& text);
    bool StartCaptionShows(const std::string& text);
    // The pixels that the screen shows in the window's area, windows above it included;
    // empty when the window is not on the screen.
    Pixels ReadArea(Window window, const Area& area);

    // Waiting
    // Checks the condition every few milliseconds until it holds or the time is up.
    bool WaitFor(const std::function<bool()>& condition, int timeoutMs);

    // Playing
    // Waits for the three choices, clicks the one for the hand, waits for the round's result
    // and reports the pictures then on the board.
    RoundSeen PlayRound(int hand, int timeoutMs);

    // Names of frames for people to read.
    static std::string HandName(int frame);
    static std::string ResultName(int frame);

    // What the screen ought to show
    // A compiled-in picture as 0xRRGGBB pixels, row by row; empty for a block that cannot be
    // decoded.
    static Pixels DecodePicture(const unsigned char* block, int w, int h);
    // One line of text as the toolkit draws it into a w × h box: the box in bg, the line
    // centred vertically and placed as aligned, in fg. Empty when it cannot be rendered.
    static Pixels RenderTextLine(Display* display, XFontStruct* font, int w, int h,
                                 const std::string& text, unsigned long fg, unsigned long bg,
                                 int alignment);
    // The font the game draws with, or its fallback, as the game finds it on this server;
    // the caller frees it.
    static XFontStruct* LoadGameFont(Display* display);

private:
    // Frame index of the picture in the area among the candidates, kPictureHidden or
    // kPictureUnknown.
    int PictureShown(const Area& area, const std::vector<Pixels>& candidates);
    bool PictureAt(const Area& area, const Pixels& picture, int pictureWidth);
    // The windows below the root that are wanted, all of them or only the first found.
    std::vector<Window> FindWindows(const std::function<bool(Window)>& wanted, bool firstOnly);
    Window FindWindow(const std::function<bool(Window)>& wanted);
    Window FrameOf(Window window);
    bool RootPosition(Window window, int& x, int& y);

    Display* display = nullptr;
    Window root = 0;
    Window gameWindow = 0;
    XFontStruct* font = nullptr;
    std::vector<Pixels> resultPictures;
    std::vector<Pixels> handPictures;
    Pixels logoPicture;
    Pixels barTopPicture;
    Pixels barBottomPicture;
    Pixels barLeftPicture;
    Pixels barRightPicture;
};
