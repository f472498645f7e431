#include "tools/driver/GameDriver.h"

#include <X11/extensions/XTest.h>
#include <algorithm>
#include <chrono>
#include <fcntl.h>

#include "game/FormAbout.h"
#include "game/Pictures.h"
#include "game/Product.h"
#include "game/RoundRules.h"
#include "gui/controls/ButtonCustom.h"
#include "gui/graphics/DrawingContext.h"
#include "tools/driver/ExpectedPixels.h"
#include "tools/harness/WaitUntil.h"

namespace {

// A connection that can send input, or null: without XTest the driver cannot play.
Display* OpenWithXTest(const char* displayName) {
    Display* display = XOpenDisplay(displayName);
    if (display == nullptr) {
        return nullptr;
    }
    int eventBase, errorBase, major, minor;
    if (!XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
        XCloseDisplay(display);
        return nullptr;
    }
    // The programs the driver's callers start must not inherit its connection.
    const int connection = ConnectionNumber(display);
    const int flags = fcntl(connection, F_GETFD);
    if (flags >= 0) {
        fcntl(connection, F_SETFD, flags | FD_CLOEXEC);
    }
    return display;
}

// The side bars run under the bottom bar, which is painted over their lowest rows.
Area VisiblePart(const Area& sideBar) {
    return {sideBar.x, sideBar.y, sideBar.w, std::min(sideBar.h, kBarBottomArea.y - sideBar.y)};
}

FormAbout::Layout AboutLayout() {
    return FormAbout::LayOut(FormAbout::kWidth, FormAbout::kHeight, kLogoArea.w);
}

} // namespace

GameDriver::GameDriver(const char* displayName)
    : display(OpenWithXTest(displayName)), windows(display, kGameWindowClass), input(display),
      screen(display) {
    if (display == nullptr) {
        return;
    }
    font = LoadProgramFont(display);
    // Every frame of a strip is shown at the size of the strip's first picture.
    for (int frame = 0; frame < kResultStripFrames; ++frame) {
        resultPictures.push_back(DecodePicture(resultStrip[frame], wRESULT0, hRESULT0));
    }
    for (int frame = 0; frame < kHandsStripFrames; ++frame) {
        handPictures.push_back(DecodePicture(handsStrip[frame], wHAND0, hHAND0));
    }
    logoPicture = DecodePicture(imgLOGO, wLOGO, hLOGO);
    barTopPicture = DecodePicture(imgBAR_TOP, wBAR_TOP, hBAR_TOP);
    barBottomPicture = DecodePicture(imgBAR_BOTTOM, wBAR_BOTTOM, hBAR_BOTTOM);
    barLeftPicture = DecodePicture(imgBAR_LEFT, wBAR_LEFT, hBAR_LEFT);
    barRightPicture = DecodePicture(imgBAR_RIGHT, wBAR_RIGHT, hBAR_RIGHT);
}

GameDriver::~GameDriver() {
    if (display == nullptr) {
        return;
    }
    if (font != nullptr) {
        XFreeFont(display, font);
    }
    XCloseDisplay(display);
}

bool GameDriver::FindGameWindow(int timeoutMs) {
    if (display == nullptr) {
        return false;
    }
    const std::string titlePrefix = std::string(kProductName) + " ";
    const auto start = std::chrono::steady_clock::now();
    const bool found = WaitUntil(
        [&] {
            gameWindow = windows.Find([&](Window window) {
                return windows.HasClass(window) && windows.Title(window).rfind(titlePrefix, 0) == 0;
            });
            return gameWindow != 0;
        },
        timeoutMs);
    if (!found) {
        return false;
    }
    const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now() - start)
                           .count();
    return windows.WaitUntilManaged(gameWindow, std::max(0, timeoutMs - static_cast<int>(spent)));
}

void GameDriver::Press(const Area& area) {
    input.ClickCentre(gameWindow, area);
}

void GameDriver::PressIn(Window window, const Area& area) {
    input.ClickCentre(window, area);
}

Area GameDriver::AboutWebLinkArea() {
    return AboutLayout().webLink;
}
Area GameDriver::AboutMailLinkArea() {
    return AboutLayout().mailLink;
}
Area GameDriver::AboutOkArea() {
    return AboutLayout().ok;
}

int GameDriver::ResultShown() {
    return PictureShown(kResultArea, resultPictures);
}
int GameDriver::ComputerHandShown() {
    return PictureShown(kComputerHandArea, handPictures);
}
int GameDriver::PlayerHandShown() {
    return PictureShown(kPlayerHandArea, handPictures);
}

int GameDriver::ChoiceShown(int hand) {
    if (hand < kPlayerPaper || hand > kPlayerScissors) {
        return kPictureUnknown;
    }
    return PictureShown(kChoiceAreas[hand], handPictures);
}

bool GameDriver::ChoicesShown() {
    return ChoiceShown(kPlayerPaper) == kPlayerPaper && ChoiceShown(kPlayerRock) == kPlayerRock &&
           ChoiceShown(kPlayerScissors) == kPlayerScissors;
}

bool GameDriver::ChoicesHidden() {
    return ChoiceShown(kPlayerPaper) == kPictureHidden &&
           ChoiceShown(kPlayerRock) == kPictureHidden &&
           ChoiceShown(kPlayerScissors) == kPictureHidden;
}

bool GameDriver::DecorationShown() {
    return PictureAt(kLogoArea, logoPicture, wLOGO) &&
           PictureAt(kBarTopArea, barTopPicture, wBAR_TOP) &&
           PictureAt(kBarBottomArea, barBottomPicture, wBAR_BOTTOM) &&
           PictureAt(VisiblePart(kBarLeftArea), barLeftPicture, wBAR_LEFT) &&
           PictureAt(VisiblePart(kBarRightArea), barRightPicture, wBAR_RIGHT);
}

bool GameDriver::IdleBoardShown() {
    return ResultShown() == kTitleFrame && ComputerHandShown() == kComputerScissors &&
           PlayerHandShown() == kPlayerRock && ChoicesHidden() && DecorationShown() &&
           StartCaptionShows(kStartCaption);
}

bool GameDriver::TextShownIn(Window window, const Area& area, const std::string& text,
                             unsigned long fg, unsigned long bg, int alignment) {
    const Pixels seen = screen.ReadScreen(window, area);
    const Pixels expected = RenderText(display, font, area.w, area.h, text, fg, bg, alignment);
    if (seen.empty() || seen.size() != expected.size()) {
        return false;
    }
    // The toolkit fills every column of the box but the last one, which keeps whatever was
    // there before; only the text's own pixels count in it.
    for (size_t i = 0; i < expected.size(); ++i) {
        const bool lastColumn = static_cast<int>(i % static_cast<size_t>(area.w)) == area.w - 1;
        if (seen[i] != expected[i] && !(lastColumn && expected[i] == bg)) {
            return false;
        }
    }
    return true;
}

bool GameDriver::ScoreLineShows(const std::string& text) {
    return TextShownIn(gameWindow, kScoreLineArea, text, kLineTextColor, kBoardColor, kAlignLeft);
}

bool GameDriver::StatusLineShows(const std::string& text) {
    return TextShownIn(gameWindow, kStatusLineArea, text, kLineTextColor, kBoardColor,
                       kAlignCenter);
}

bool GameDriver::StartCaptionShows(const std::string& text) {
    const Area caption =
        kStartButtonArea.Inset(ButtonCustom::kCaptionMarginX, ButtonCustom::kCaptionMarginY);
    return TextShownIn(gameWindow, caption, text, kStartCaptionColor, kStartFaceColor,
                       kAlignCenter);
}

RoundSeen GameDriver::PlayRound(int hand, int timeoutMs) {
    RoundSeen seen;
    if (hand < kPlayerPaper || hand > kPlayerScissors) {
        return seen;
    }
    if (!WaitUntil([&] { return ChoicesShown(); }, timeoutMs)) {
        return seen;
    }
    Press(kChoiceAreas[hand]);
    const bool decided = WaitUntil(
        [&] {
            seen.result = ResultShown();
            return seen.result >= kWonFrame && seen.result <= kTieFrame;
        },
        timeoutMs);
    // The game shows both hands before the result, so they are on the screen by now.
    seen.playerHand = PlayerHandShown();
    seen.computerHand = ComputerHandShown();
    seen.played = decided;
    return seen;
}

std::string GameDriver::HandName(int frame) {
    static const char* const names[] = {"paper", "rock", "scissors", "scissors", "rock", "paper"};
    if (frame >= 0 && frame < kHandsStripFrames) {
        return names[frame];
    }
    return frame == kPictureHidden ? "hidden" : "unknown";
}

std::string GameDriver::ResultName(int frame) {
    static const char* const names[] = {"title", "3", "2", "1", "YOU WON", "YOU LOST", "TIE"};
    if (frame >= 0 && frame < kResultStripFrames) {
        return names[frame];
    }
    return frame == kPictureHidden ? "hidden" : "unknown";
}

int GameDriver::PictureShown(const Area& area, const std::vector<Pixels>& candidates) {
    const Pixels seen = screen.ReadScreen(gameWindow, area);
    if (seen.empty()) {
        return kPictureUnknown;
    }
    for (size_t frame = 0; frame < candidates.size(); ++frame) {
        if (seen == candidates[frame]) {
            return static_cast<int>(frame);
        }
    }
    if (std::all_of(seen.begin(), seen.end(),
                    [](unsigned long pixel) { return pixel == kBoardColor; })) {
        return kPictureHidden;
    }
    return kPictureUnknown;
}

bool GameDriver::PictureAt(const Area& area, const Pixels& picture, int pictureWidth) {
    const Pixels seen = screen.ReadScreen(gameWindow, area);
    if (seen.empty() || pictureWidth < area.w ||
        picture.size() < static_cast<size_t>(pictureWidth) * static_cast<size_t>(area.h)) {
        return false;
    }
    for (int row = 0; row < area.h; ++row) {
        const auto seenRow = seen.begin() + static_cast<long>(row) * area.w;
        const auto pictureRow = picture.begin() + static_cast<long>(row) * pictureWidth;
        if (!std::equal(seenRow, seenRow + area.w, pictureRow)) {
            return false;
        }
    }
    return true;
}
