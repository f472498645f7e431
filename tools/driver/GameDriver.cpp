#include "tools/driver/GameDriver.h"

#include <X11/extensions/XTest.h>
#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <thread>

#include "game/Pictures.h"
#include "game/RoundRules.h"
#include "gui/graphics/ImageBlock.h"

namespace {

using Clock = std::chrono::steady_clock;

const char* const kGameClass = "Brisgola.exe";
const char* const kGameTitlePrefix = "Brisgola ";
// The game draws every text with the first font that matches this name on the server, and
// falls back to "fixed" when none does; the driver asks the same server the same way.
const char* const kFontPattern = "-*-*-Medium-R-Normal--14-*";
const char* const kFallbackFont = "fixed";
// The toolkit never puts two lines closer than this, and draws no text into lower boxes.
const int kMinLineHeight = 15;
const int kMinTextBoxHeight = 9;
// Screen polls are cheap (a few small image reads), so a short pause keeps waits responsive
// without keeping the server busy.
const auto kPollInterval = std::chrono::milliseconds(10);
// A window that has not moved for this long has been placed by the window manager.
const auto kSettledFor = std::chrono::milliseconds(150);
// The pointer button that a person clicks with.
const unsigned int kLeftButton = 1;

// The frame around the board; the bottom bar covers the lowest rows of the side bars.
const Area kLogoArea{28, 22, 163, 50};
const Area kBarTopArea{140, 150, 519, 16};
const Area kBarBottomArea{140, 353, 519, 16};
const Area kBarLeftArea{140, 166, 19, 187};
const Area kBarRightArea{640, 166, 19, 187};

// Errors of the driver's own requests about windows that may vanish at any moment (the game
// closes dialogs and ends) are expected; they are counted instead of ending the process,
// which is what Xlib's default handler would do.
int trappedErrors = 0;

int CountError(Display*, XErrorEvent*) {
    ++trappedErrors;
    return 0;
}

class ErrorTrap {
public:
    explicit ErrorTrap(Display* display) : display(display) {
        XSync(display, False);
        trappedErrors = 0;
        previous = XSetErrorHandler(CountError);
    }
    ~ErrorTrap() {
        XSync(display, False);
        XSetErrorHandler(previous);
    }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    bool Failed() {
        XSync(display, False);
        return trappedErrors > 0;
    }

private:
    Display* display;
    XErrorHandler previous = nullptr;
};

std::vector<unsigned long> ImagePixels(XImage* image) {
    std::vector<unsigned long> pixels;
    pixels.reserve(static_cast<size_t>(image->width) * static_cast<size_t>(image->height));
    for (int row = 0; row < image->height; ++row) {
        for (int column = 0; column < image->width; ++column) {
            // The game needs a 24-bit TrueColor visual, where a pixel value is 0xRRGGBB.
            pixels.push_back(XGetPixel(image, column, row) & 0xffffff);
        }
    }
    return pixels;
}

// Reads without a trap of its own, for callers that hold one.
std::string TitleOf(Display* display, Window window) {
    char* name = nullptr;
    if (XFetchName(display, window, &name) == 0 || name == nullptr) {
        return {};
    }
    std::string title(name);
    XFree(name);
    return title;
}

std::vector<std::string> ClassOf(Display* display, Window window) {
    XClassHint hint{};
    if (XGetClassHint(display, window, &hint) == 0) {
        return {};
    }
    std::vector<std::string> names{hint.res_name != nullptr ? hint.res_name : "",
                                   hint.res_class != nullptr ? hint.res_class : ""};
    XFree(hint.res_name);
    XFree(hint.res_class);
    return names;
}

bool IsGameClass(Display* display, Window window) {
    const std::vector<std::string> names = ClassOf(display, window);
    return names.size() == 2 && names[0] == kGameClass && names[1] == kGameClass;
}

bool ViewableUntrapped(Display* display, Window window) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) != 0 &&
           attributes.map_state == IsViewable;
}

bool HasFrameExtents(Display* display, Window window, Atom frameExtents) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, window, frameExtents, 0, 4, False, XA_CARDINAL,
                                          &type, &format, &count, &remaining, &data);
    if (data != nullptr) {
        XFree(data);
    }
    // Left, right, top and bottom.
    return status == Success && count == 4;
}

std::vector<Window> ChildrenOf(Display* display, Window window, Window* parent = nullptr) {
    Window rootReturn = 0;
    Window parentReturn = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<Window> list;
    if (XQueryTree(display, window, &rootReturn, &parentReturn, &children, &count) == 0) {
        return list;
    }
    if (children != nullptr) {
        list.assign(children, children + count);
        XFree(children);
    }
    if (parent != nullptr) {
        *parent = parentReturn;
    }
    return list;
}

} // namespace

GameDriver::GameDriver(const char* displayName) {
    display = XOpenDisplay(displayName);
    if (display == nullptr) {
        return;
    }
    int eventBase, errorBase, major, minor;
    if (!XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
        XCloseDisplay(display);
        display = nullptr;
        return;
    }
    // The programs the driver starts must not inherit its connection.
    const int connection = ConnectionNumber(display);
    const int flags = fcntl(connection, F_GETFD);
    if (flags >= 0) {
        fcntl(connection, F_SETFD, flags | FD_CLOEXEC);
    }
    root = DefaultRootWindow(display);
    font = LoadGameFont(display);

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
    const auto start = Clock::now();
    const bool found = WaitFor(
        [&] {
            gameWindow = FindWindow([&](Window window) {
                return IsGameClass(display, window) &&
                       TitleOf(display, window).rfind(kGameTitlePrefix, 0) == 0;
            });
            return gameWindow != 0;
        },
        timeoutMs);
    if (!found) {
        return false;
    }
    const auto spent =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    return WaitUntilManaged(gameWindow, std::max(0, timeoutMs - static_cast<int>(spent)));
}

Window GameDriver::FindDialog(const std::string& title) {
    if (display == nullptr) {
        return 0;
    }
    return FindWindow([&](Window window) {
        return IsGameClass(display, window) && TitleOf(display, window) == title &&
               ViewableUntrapped(display, window);
    });
}

int GameDriver::CountWindows(const std::string& title) {
    const auto named = [&](Window window) {
        return IsGameClass(display, window) && TitleOf(display, window) == title;
    };
    return static_cast<int>(FindWindows(named, false).size());
}

Window GameDriver::WaitForDialog(const std::string& title, int timeoutMs) {
    Window dialog = 0;
    if (!WaitFor(
            [&] {
                dialog = FindDialog(title);
                return dialog != 0;
            },
            timeoutMs)) {
        return 0;
    }
    return WaitUntilManaged(dialog, timeoutMs) ? dialog : 0;
}

bool GameDriver::WaitForDialogGone(const std::string& title, int timeoutMs) {
    return WaitFor([&] { return FindDialog(title) == 0; }, timeoutMs);
}

bool GameDriver::WaitUntilManaged(Window window, int timeoutMs) {
    if (display == nullptr || window == 0) {
        return false;
    }
    const Atom frameExtents = XInternAtom(display, "_NET_FRAME_EXTENTS", False);
    int lastX = -1;
    int lastY = -1;
    auto stillSince = Clock::now();
    return WaitFor(
        [&] {
            if (!IsWindowViewable(window) || FrameOf(window) == window) {
                return false;
            }
            {
                // The window manager announces the frame's borders once it has framed it.
                ErrorTrap trap(display);
                if (!HasFrameExtents(display, window, frameExtents) || trap.Failed()) {
                    return false;
                }
            }
            int x = 0;
            int y = 0;
            if (!RootPosition(window, x, y)) {
                return false;
            }
            if (x != lastX || y != lastY) {
                lastX = x;
                lastY = y;
                stillSince = Clock::now();
                return false;
            }
            return Clock::now() - stillSince >= kSettledFor;
        },
        timeoutMs);
}

bool GameDriver::IsWindowViewable(Window window) {
    if (display == nullptr || window == 0) {
        return false;
    }
    ErrorTrap trap(display);
    const bool viewable = ViewableUntrapped(display, window);
    return !trap.Failed() && viewable;
}

std::string GameDriver::WindowTitle(Window window) {
    if (display == nullptr || window == 0) {
        return {};
    }
    ErrorTrap trap(display);
    return TitleOf(display, window);
}

std::vector<std::string> GameDriver::WindowClass(Window window) {
    if (display == nullptr || window == 0) {
        return {};
    }
    ErrorTrap trap(display);
    return ClassOf(display, window);
}

std::vector<int> GameDriver::SizeHints(Window window) {
    if (display == nullptr || window == 0) {
        return {};
    }
    ErrorTrap trap(display);
    XSizeHints hints{};
    long supplied = 0;
    if (XGetWMNormalHints(display, window, &hints, &supplied) == 0 ||
        (hints.flags & (PMinSize | PMaxSize)) != (PMinSize | PMaxSize)) {
        return {};
    }
    return {hints.min_width, hints.min_height, hints.max_width, hints.max_height};
}

std::vector<int> GameDriver::WindowSize(Window window) {
    if (display == nullptr || window == 0) {
        return {};
    }
    ErrorTrap trap(display);
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes) == 0 || trap.Failed()) {
        return {};
    }
    return {attributes.width, attributes.height};
}

bool GameDriver::IsStackedAbove(Window upper, Window lower) {
    if (display == nullptr) {
        return false;
    }
    const Window upperFrame = FrameOf(upper);
    const Window lowerFrame = FrameOf(lower);
    std::vector<Window> stack;
    {
        ErrorTrap trap(display);
        stack = ChildrenOf(display, root);
    }
    // The root's children come bottom first.
    const auto upperAt = std::find(stack.begin(), stack.end(), upperFrame);
    const auto lowerAt = std::find(stack.begin(), stack.end(), lowerFrame);
    return upperAt != stack.end() && lowerAt != stack.end() && upperAt > lowerAt;
}

void GameDriver::RequestClose(Window window) {
    if (display == nullptr || window == 0) {
        return;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "_NET_CLOSE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = CurrentTime;
    // Source 2: the request comes from the user, through a pager or the like.
    event.xclient.data.l[1] = 2;
    XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XSync(display, False);
}

void GameDriver::Click(int x, int y) {
    ClickIn(gameWindow, x, y);
}

void GameDriver::ClickIn(Window window, int x, int y) {
    if (display == nullptr || window == 0) {
        return;
    }
    int rootX = 0;
    int rootY = 0;
    {
        ErrorTrap trap(display);
        Window child = 0;
        const bool translated =
            XTranslateCoordinates(display, window, root, x, y, &rootX, &rootY, &child) != 0;
        if (trap.Failed() || !translated) {
            return;
        }
    }
    XTestFakeMotionEvent(display, DefaultScreen(display), rootX, rootY, CurrentTime);
    XTestFakeButtonEvent(display, kLeftButton, True, CurrentTime);
    XTestFakeButtonEvent(display, kLeftButton, False, CurrentTime);
    XSync(display, False);
}

void GameDriver::ClickCentre(const Area& area) {
    ClickCentreIn(gameWindow, area);
}

void GameDriver::ClickCentreIn(Window window, const Area& area) {
    ClickIn(window, area.x + area.w / 2, area.y + area.h / 2);
}

bool GameDriver::HasFocus(Window window) {
    if (display == nullptr || window == 0) {
        return false;
    }
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    return focus == window;
}

void GameDriver::TapKey(KeySym key) {
    if (display == nullptr) {
        return;
    }
    const KeyCode code = XKeysymToKeycode(display, key);
    if (code == 0) {
        return;
    }
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XSync(display, False);
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
    if (hand < 0 || hand > 2) {
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
           PictureAt(kBarLeftArea, barLeftPicture, wBAR_LEFT) &&
           PictureAt(kBarRightArea, barRightPicture, wBAR_RIGHT);
}

bool GameDriver::IdleBoardShown() {
    return ResultShown() == kTitleFrame && ComputerHandShown() == kComputerScissors &&
           PlayerHandShown() == kPlayerRock && ChoicesHidden() && DecorationShown() &&
           StartCaptionShows("START");
}

bool GameDriver::TextShown(int x, int y, int w, int h, const std::string& text, unsigned long fg,
                           unsigned long bg, int alignment) {
    return TextShownIn(gameWindow, x, y, w, h, text, fg, bg, alignment);
}

bool GameDriver::TextShownIn(Window window, int x, int y, int w, int h, const std::string& text,
                             unsigned long fg, unsigned long bg, int alignment) {
    if (display == nullptr || window == 0 || font == nullptr || w <= 0 || h <= kMinTextBoxHeight ||
        text.find('\n') != std::string::npos) {
        return false;
    }
    const int textWidth = XTextWidth(font, text.data(), static_cast<int>(text.size()));
    if (textWidth > w) {
        // The toolkit would break the text over several lines.
        return false;
    }
    const Pixels seen = ReadArea(window, {x, y, w, h});
    if (seen.empty()) {
        return false;
    }

    const Pixels expected = RenderTextLine(display, font, w, h, text, fg, bg, alignment);
    if (expected.size() != seen.size()) {
        return false;
    }
    // The toolkit fills every column of the box but the last one, which keeps whatever was
    // there before; only the text's own pixels count in it.
    for (size_t i = 0; i < expected.size(); ++i) {
        const bool lastColumn = static_cast<int>(i % static_cast<size_t>(w)) == w - 1;
        if (seen[i] != expected[i] && !(lastColumn && expected[i] == bg)) {
            return false;
        }
    }
    return true;
}

bool GameDriver::ScoreLineShows(const std::string& text) {
    const Area& a = kScoreLineArea;
    return TextShown(a.x, a.y, a.w, a.h, text, kLineTextColor, kBoardColor, kTextLeft);
}

bool GameDriver::StatusLineShows(const std::string& text) {
    const Area& a = kStatusLineArea;
    return TextShown(a.x, a.y, a.w, a.h, text, kLineTextColor, kBoardColor, kTextCentre);
}

bool GameDriver::StartCaptionShows(const std::string& text) {
    // The caption box lies inside the button's bevel.
    const Area& a = kStartButtonArea;
    return TextShown(a.x + 6, a.y + 4, a.w - 12, a.h - 8, text, kStartCaptionColor, kStartFaceColor,
                     kTextCentre);
}

GameDriver::Pixels GameDriver::DecodePicture(const unsigned char* block, int w, int h) {
    Pixels pixels;
    const RgbBuffer rgb = BlockToRgb(w, h, block);
    if (rgb == nullptr) {
        return pixels;
    }
    pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<unsigned long>(rgb[3 * i]) << 16 |
                    static_cast<unsigned long>(rgb[3 * i + 1]) << 8 | rgb[3 * i + 2];
    }
    return pixels;
}

GameDriver::Pixels GameDriver::RenderTextLine(Display* display, XFontStruct* font, int w, int h,
                                              const std::string& text, unsigned long fg,
                                              unsigned long bg, int alignment) {
    if (display == nullptr || font == nullptr || w <= 0 || h <= 0) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int textWidth = XTextWidth(font, text.data(), length);
    // The toolkit's placement of a single line: the line height is the ascent + 1 when the
    // ascent is above the minimum, else the minimum; the baseline sits one above the line's
    // bottom, with the line centred vertically in the box (integer division truncating).
    const int lineHeight = font->ascent > kMinLineHeight ? font->ascent + 1 : kMinLineHeight;
    const int baseline = lineHeight - 1 + (h - lineHeight) / 2;
    int left = 0;
    if (textWidth != 0 && alignment == kTextRight) {
        left = w - textWidth;
    } else if (textWidth != 0 && alignment == kTextCentre) {
        left = (w - textWidth) / 2;
    }
    const int screen = DefaultScreen(display);
    const Pixmap canvas = XCreatePixmap(display, RootWindow(display, screen),
                                        static_cast<unsigned>(w), static_cast<unsigned>(h),
                                        static_cast<unsigned>(DefaultDepth(display, screen)));
    GC gc = XCreateGC(display, canvas, 0, nullptr);
    XSetFont(display, gc, font->fid);
    XSetForeground(display, gc, bg);
    XFillRectangle(display, canvas, gc, 0, 0, static_cast<unsigned>(w), static_cast<unsigned>(h));
    XSetForeground(display, gc, fg);
    XDrawString(display, canvas, gc, left, baseline, text.data(), length);
    XImage* image = XGetImage(display, canvas, 0, 0, static_cast<unsigned>(w),
                              static_cast<unsigned>(h), AllPlanes, ZPixmap);
    XFreeGC(display, gc);
    XFreePixmap(display, canvas);
    if (image == nullptr) {
        return {};
    }
    Pixels pixels = ImagePixels(image);
    XDestroyImage(image);
    return pixels;
}

XFontStruct* GameDriver::LoadGameFont(Display* display) {
    XFontStruct* font = XLoadQueryFont(display, kFontPattern);
    return font != nullptr ? font : XLoadQueryFont(display, kFallbackFont);
}

bool GameDriver::WaitFor(const std::function<bool()>& condition, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (condition()) {
            return true;
        }
        if (Clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
}

RoundSeen GameDriver::PlayRound(int hand, int timeoutMs) {
    RoundSeen seen;
    if (hand < kPlayerPaper || hand > kPlayerScissors) {
        return seen;
    }
    if (!WaitFor([&] { return ChoicesShown(); }, timeoutMs)) {
        return seen;
    }
    ClickCentre(kChoiceAreas[hand]);
    const bool decided = WaitFor(
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
    const Pixels seen = ReadArea(gameWindow, area);
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
    const Pixels seen = ReadArea(gameWindow, area);
    if (seen.empty() || pictureWidth < area.w ||
        picture.size() < static_cast<size_t>(pictureWidth) * static_cast<size_t>(area.h)) {
        return false;
    }
    // The area may show only the top left part of the picture.
    for (int row = 0; row < area.h; ++row) {
        const auto seenRow = seen.begin() + static_cast<long>(row) * area.w;
        const auto pictureRow = picture.begin() + static_cast<long>(row) * pictureWidth;
        if (!std::equal(seenRow, seenRow + area.w, pictureRow)) {
            return false;
        }
    }
    return true;
}

GameDriver::Pixels GameDriver::ReadArea(Window window, const Area& area) {
    if (display == nullptr || window == 0 || area.w <= 0 || area.h <= 0) {
        return {};
    }
    // The screen is read, not the window: a window's hidden parts come back from the server
    // as plain black, which would pass for a hidden picture, while the screen shows what
    // covers them, as a person would see it. Reading outside the screen, or a window that
    // is gone, is an error, not an empty answer; the trap turns it into one.
    ErrorTrap trap(display);
    if (!ViewableUntrapped(display, window)) {
        return {};
    }
    int rootX = 0;
    int rootY = 0;
    Window child = 0;
    if (XTranslateCoordinates(display, window, root, area.x, area.y, &rootX, &rootY, &child) == 0 ||
        trap.Failed()) {
        return {};
    }
    XImage* image = XGetImage(display, root, rootX, rootY, static_cast<unsigned>(area.w),
                              static_cast<unsigned>(area.h), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return {};
    }
    Pixels pixels = ImagePixels(image);
    XDestroyImage(image);
    if (trap.Failed()) {
        return {};
    }
    return pixels;
}

std::vector<Window> GameDriver::FindWindows(const std::function<bool(Window)>& wanted,
                                            bool firstOnly) {
    std::vector<Window> found;
    if (display == nullptr) {
        return found;
    }
    ErrorTrap trap(display);
    // Window managers put a client a few levels below the root, inside their frame.
    std::vector<Window> pending{root};
    while (!pending.empty()) {
        const Window window = pending.back();
        pending.pop_back();
        for (Window child : ChildrenOf(display, window)) {
            if (wanted(child)) {
                found.push_back(child);
                if (firstOnly) {
                    return found;
                }
            }
            pending.push_back(child);
        }
    }
    return found;
}

Window GameDriver::FindWindow(const std::function<bool(Window)>& wanted) {
    const std::vector<Window> found = FindWindows(wanted, true);
    return found.empty() ? 0 : found.front();
}

Window GameDriver::FrameOf(Window window) {
    ErrorTrap trap(display);
    Window current = window;
    for (;;) {
        Window parent = 0;
        ChildrenOf(display, current, &parent);
        if (trap.Failed() || parent == 0) {
            return 0;
        }
        if (parent == root) {
            return current;
        }
        current = parent;
    }
}

bool GameDriver::RootPosition(Window window, int& x, int& y) {
    ErrorTrap trap(display);
    Window child = 0;
    const bool translated = XTranslateCoordinates(display, window, root, 0, 0, &x, &y, &child) != 0;
    return translated && !trap.Failed();
}
