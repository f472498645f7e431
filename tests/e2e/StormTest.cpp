#include "tests/e2e/GameTest.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "game/RoundRules.h"
#include "gui/controls/FormMsgBox.h"
#include "tools/driver/XErrorTrap.h"
#include "tools/harness/ProcReader.h"
#include "tools/harness/WaitUntil.h"

namespace {

const int kEvents = 10000;
const int kCatchUpEvery = 250;
const int kQuestionEvery = 1000;
const unsigned kDefaultSeed = 20261207;
// Keys that press a focused button (Return, Enter, space) or move the focus onto one (Tab),
// or close a dialog as its default answer (Escape), are left out: YES must never be answered.
const KeySym kKeys[] = {XK_a,    XK_q,   XK_z,    XK_1,    XK_9,    XK_BackSpace, XK_Delete,
                        XK_Home, XK_End, XK_Left, XK_Up, XK_Right, XK_Down};
// Around the YES button, so that no click lands on it even a few pixels off.
const int kYesMargin = 10;

// A window of the game as it lies on the screen, in root coordinates.
struct Shown {
    Window window = 0;
    Area client;
    Area frame;
};

class Storm : public GameTest {
protected:
    // Finds the windows of the game and where they lie, and the YES buttons of the questions.
    // Every open dialog is known from here on, so the pointer is parked where no later click
    // that misses its vanished window can fall on anything new.
    void Survey() {
        Display* display = driver.GetDisplay();
        XErrorTrap trap(display);
        shown.clear();
        for (const Window window : driver.windows.FindAll([&](Window candidate) {
                 return driver.windows.HasClass(candidate) && driver.windows.IsShown(candidate);
             })) {
            Shown place;
            place.window = window;
            XWindowAttributes client;
            XWindowAttributes frame;
            Window child = 0;
            if (!XGetWindowAttributes(display, window, &client) ||
                !XGetWindowAttributes(display, driver.windows.FrameOf(window), &frame) ||
                !XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0,
                                       &place.client.x, &place.client.y, &child)) {
                continue;
            }
            place.client.w = client.width;
            place.client.h = client.height;
            place.frame = {frame.x, frame.y, frame.width + 2 * frame.border_width,
                           frame.height + 2 * frame.border_width};
            const Area& yes = FormMsgBox::kYesArea;
            if (driver.windows.Title(window) == kExitDialogTitle) {
                yesButtons.push_back({place.client.x + yes.x - kYesMargin,
                                      place.client.y + yes.y - kYesMargin,
                                      yes.w + 2 * kYesMargin, yes.h + 2 * kYesMargin});
            }
            if (window == driver.GetGameWindow()) {
                gameWindow = place;
            } else {
                shown.push_back(place);
            }
        }
        driver.input.MoveTo(gameWindow.window, kLogoArea.CentreX(), kLogoArea.CentreY());
    }

    // Waits until the game has left the processor alone for a moment: it has handled all the
    // input sent so far.
    void CatchUp() {
        XSync(driver.GetDisplay(), False);
        long long before = -1;
        WaitUntil(
            [&] {
                const long long now = CpuTicks(game.Pid());
                const bool idle = now == before;
                before = now;
                return idle;
            },
            kDialogTimeoutMs, 40);
        Survey();
    }

    // Whether a click at the point of the window can answer YES or reach a window manager's
    // frame (its buttons iconify and shade): the frame of any dialog over it, the Exit button.
    bool Safe(const Shown& target, int x, int y) const {
        const int rootX = target.client.x + x;
        const int rootY = target.client.y + y;
        for (const Area& yes : yesButtons) {
            if (yes.Contains(rootX, rootY)) {
                return false;
            }
        }
        for (const Shown& dialog : shown) {
            if (dialog.window != target.window && dialog.frame.Contains(rootX, rootY)) {
                return false;
            }
        }
        return target.window != gameWindow.window || !kExitButtonArea.Contains(x, y);
    }

    // Brings up the exit question by Exit, by the window manager's close request or by the
    // close message itself.
    void AskToExit(int way) {
        CatchUp();
        const Window window = driver.GetGameWindow();
        if (way == 0 && shown.empty()) {
            driver.Press(kExitButtonArea);
        } else if (way == 1) {
            driver.windows.RequestClose(window);
        } else {
            driver.windows.SendDeleteWindow(window);
        }
        ASSERT_NE(driver.windows.WaitForTitled(kExitDialogTitle, kDialogTimeoutMs), 0u);
        CatchUp();
    }

    Shown gameWindow;
    std::vector<Shown> shown; // the dialogs
    std::vector<Area> yesButtons;
};

} // namespace

// Ten thousand random clicks, keys and close requests over the game and its dialogs, mid-game;
// afterwards the game still plays a round and ends cleanly through the question (TearDown).
TEST_F(Storm, RandomInputOverTheGameAndItsDialogsLeavesItPlayable) {
    const char* seedSetting = std::getenv("BRISGOLA_STORM_SEED");
    const unsigned seed = seedSetting != nullptr ? std::strtoul(seedSetting, nullptr, 10)
                                                 : kDefaultSeed;
    std::printf("storm seed %u (BRISGOLA_STORM_SEED replays another)\n", seed);
    std::mt19937 random(seed);
    auto below = [&](int bound) { return static_cast<int>(random() % bound); };
    XErrorTrap::CountAlways(); // a close message may find its dialog gone

    ASSERT_TRUE(StartGame()) << DescribeBoard();
    const auto start = std::chrono::steady_clock::now();
    int clicks = 0;
    int keys = 0;
    int closes = 0;
    for (int turn = 0; clicks + keys + closes < kEvents; ++turn) {
        if (turn % kQuestionEvery == kQuestionEvery / 2) {
            ASSERT_NO_FATAL_FAILURE(AskToExit(turn / kQuestionEvery % 3));
        } else if (turn % kCatchUpEvery == 0) {
            CatchUp();
        }
        const int kind = below(100);
        if (kind < 3 && !shown.empty()) {
            const Window dialog = shown[below(static_cast<int>(shown.size()))].window;
            below(2) == 0 ? driver.windows.RequestClose(dialog)
                          : driver.windows.SendDeleteWindow(dialog);
            ++closes;
        } else if (kind < 30) {
            driver.input.TapKey(kKeys[below(sizeof kKeys / sizeof kKeys[0])]);
            ++keys;
        } else {
            const int pick = below(static_cast<int>(shown.size()) + 1);
            const Shown& target = pick == 0 ? gameWindow : shown[pick - 1];
            const int x = below(target.client.w);
            const int y = below(target.client.h);
            if (!Safe(target, x, y)) {
                continue;
            }
            const int button = below(10);
            driver.input.Click(target.window, x, y, button < 8 ? 1 : button - 6);
            ++clicks;
            // A click on Info opens the about box, whose frame later clicks must avoid.
            if (target.window == gameWindow.window && kInfoButtonArea.Contains(x, y)) {
                CatchUp();
            }
        }
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("storm sent %d events (%d clicks, %d keys, %d close requests) in %.1f s\n",
                clicks + keys + closes, clicks, keys, closes, took.count());

    // Close whatever is open, as the window manager's close button would: never YES.
    CatchUp();
    for (const char* title : {kExitDialogTitle, kAboutDialogTitle}) {
        for (int tries = 0; tries < 5 && driver.windows.FindTitled(title) != 0; ++tries) {
            driver.windows.SendDeleteWindow(driver.windows.FindTitled(title));
            driver.windows.WaitUntilGone(title, kDialogTimeoutMs);
        }
        ASSERT_EQ(driver.windows.FindTitled(title), 0u) << title << " stays open";
    }
    if (driver.StartCaptionShows("CANCEL")) {
        driver.Press(kStartButtonArea);
    }
    ASSERT_TRUE(WaitUntil([&] { return driver.StartCaptionShows("START"); }, kStepTimeoutMs))
        << DescribeBoard();
    ASSERT_TRUE(StartGame()) << DescribeBoard();
    const RoundSeen seen = driver.PlayRound(kPlayerScissors, kRoundTimeoutMs);
    ASSERT_TRUE(seen.played) << DescribeBoard();
    EXPECT_EQ(seen.result, DecideRound(kPlayerScissors, seen.computerHand).resultFrame);
}
