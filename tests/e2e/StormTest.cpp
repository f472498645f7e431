#include "tests/e2e/GameTest.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <random>

#include "game/RoundRules.h"
#include "gui/controls/FormMsgBox.h"
#include "tools/driver/XErrorTrap.h"
#include "tools/harness/ProcReader.h"
#include "tools/harness/WaitUntil.h"
#include "tools/harness/WholeFile.h"

namespace {

const int kEvents = 10000;
const int kCatchUpEvery = 250;
const int kQuestionEvery = 1000;
const unsigned kDefaultSeed = 20261207;
// Keys that press a focused button (Return, Enter, space) or move the focus onto one (Tab),
// or close a dialog as its default answer (Escape), are left out: YES must never be answered.
const KeySym kKeys[] = {XK_a,    XK_q,   XK_z,    XK_1,  XK_9,     XK_BackSpace, XK_Delete,
                        XK_Home, XK_End, XK_Left, XK_Up, XK_Right, XK_Down};
// Around the YES button, so that no click lands on it even a few pixels off.
const int kYesMargin = 10;
// How many of the last inputs a failure lists.
const size_t kRecentInputs = 300;

// Where a control takes clicks: the toolkit's hit test counts its right and bottom edges as
// its own, one pixel beyond what Area::Contains does.
Area HitArea(const Area& control) {
    return {control.x, control.y, control.w + 1, control.h + 1};
}

// A window of the game and its window manager's frame, in root coordinates.
struct Shown {
    Window window = 0;
    Area client;
    Area frame;
};

class Storm : public GameTest {
  protected:
    // Waits until the game has handled all the input sent so far and the window manager has
    // put every window the game opened on the screen, then finds them and where they lie.
    // Processor time tells neither: a handled click costs far less than a clock tick, and a
    // window being mapped waits for the window manager, which may not have had its turn yet.
    // Nor does the game asleep on its own: input the test has sent may still wait in the X
    // server, or for the window manager to let a grabbed click through, while the game sleeps
    // for want of it. So the server and the manager must be asleep at the same look too.
    void CatchUp() {
        XSync(driver.GetDisplay(), False);
        WindowFinder& windows = driver.windows;
        if (display.empty()) {
            display = ProcessesOfDisplay(LocalDisplayNumber(DisplayString(driver.GetDisplay())));
        }
        // Asleep once its windows are on their way, and again once they have arrived and the
        // game has answered what the window manager did with them.
        WaitUntilAllAsleep(display, kDialogTimeoutMs);
        WaitUntil(
            [&] {
                return windows
                    .FindAll([&](Window window) {
                        return windows.HasClass(window) && Describe(window) == "on its way";
                    })
                    .empty();
            },
            kDialogTimeoutMs);
        WaitUntilAllAsleep(display, kDialogTimeoutMs);
        dialogs.clear();
        for (const Window window : windows.FindAll([&](Window candidate) {
                 return windows.HasClass(candidate) && windows.IsShown(candidate);
             })) {
            const Shown place{window, windows.RootArea(window),
                              windows.RootArea(windows.FrameOf(window))};
            if (place.client.w > 0 && place.frame.w > 0) {
                (window == driver.GetGameWindow() ? gameWindow : dialogs.emplace_back()) = place;
            }
        }
        std::string seen = "caught up; dialogs:";
        for (const Shown& dialog : dialogs) {
            seen += " \"" + windows.Title(dialog.window) + "\" at " +
                    std::to_string(dialog.client.x) + "," + std::to_string(dialog.client.y);
        }
        Note(seen);
    }

    // Where a window of the game's stands with the window manager.
    std::string Describe(Window window) {
        WindowFinder& windows = driver.windows;
        if (windows.IsShown(window)) {
            return windows.FrameOf(window) != window ? "shown" : "on its way";
        }
        const std::vector<long> state = windows.LongProperty(window, "WM_STATE", AnyPropertyType);
        return !state.empty() && state[0] == IconicState ? "iconified" : "on its way";
    }

    std::string DescribeWindows() {
        WindowFinder& windows = driver.windows;
        std::string list;
        for (const Window window :
             windows.FindAll([&](Window candidate) { return windows.HasClass(candidate); })) {
            list += "\n  \"" + windows.Title(window) + "\" " + Describe(window);
        }
        return "windows of the game:" + list;
    }

    // A click must never answer YES (nor press Exit, which asks), and must keep off the frame
    // of any dialog over the window: the frame's buttons iconify and shade.
    bool Safe(const Shown& target, int x, int y) {
        for (const Shown& dialog : dialogs) {
            if (dialog.window != target.window &&
                dialog.frame.Contains(target.client.x + x, target.client.y + y)) {
                return false;
            }
        }
        if (target.window == gameWindow.window) {
            return !HitArea(kExitButtonArea).Contains(x, y);
        }
        return driver.windows.Title(target.window) != kExitDialogTitle ||
               !HitArea(FormMsgBox::kYesArea).Inset(-kYesMargin, -kYesMargin).Contains(x, y);
    }

    // Asks to exit by Exit, by the window manager's close request or by the close message.
    void AskToExit(int way) {
        CatchUp();
        if (way == 0 && dialogs.empty()) {
            driver.Press(kExitButtonArea);
            Note("Exit pressed");
        } else if (way == 1) {
            driver.windows.RequestClose(driver.GetGameWindow());
            Note("close request for the game");
        } else {
            driver.windows.SendDeleteWindow(driver.GetGameWindow());
            Note("close message to the game");
        }
        ASSERT_NE(driver.windows.WaitForTitled(kExitDialogTitle, kDialogTimeoutMs), 0u)
            << "asked by way " << way << DescribeAfter();
        CatchUp();
    }

    // What the game did: its windows, the programs it started since the call numbered
    // `after`, how it ended if it has, and the inputs that came before.
    std::string DescribeAfter(size_t after = 0) {
        std::string report = "\n" + DescribeWindows() + "\n" + DescribeCalls(after);
        if (!game.IsRunning()) {
            report += "\nthe game has ended with status " + std::to_string(game.ExitStatus()) +
                      "\nits standard error: " + ReadWholeFile(sandbox.File("stderr")) +
                      "\nits log: " + ReadWholeFile(sandbox.File("work") + "/log.txt");
        }
        report += "\nthe last inputs, oldest first:";
        for (const std::string& input : recent) {
            report += "\n  " + input;
        }
        return report;
    }

    // Notes an input for the failure report; only the last few are kept.
    void Note(const std::string& input) {
        if (recent.size() == kRecentInputs) {
            recent.pop_front();
        }
        recent.push_back(input);
    }

    // The X server, the window manager and the game.
    std::vector<pid_t> display;
    Shown gameWindow;
    std::vector<Shown> dialogs;
    std::deque<std::string> recent;
};

} // namespace

// Ten thousand random clicks, keys and close requests over the game and its dialogs, mid-game;
// afterwards the game still plays a round and ends cleanly through the question (TearDown).
TEST_F(Storm, RandomInputOverTheGameAndItsDialogsLeavesItPlayable) {
    const char* seedSetting = std::getenv("BRISGOLA_STORM_SEED");
    const unsigned seed =
        seedSetting != nullptr ? std::strtoul(seedSetting, nullptr, 10) : kDefaultSeed;
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
            ASSERT_TRUE(game.IsRunning()) << "after turn " << turn << DescribeAfter();
        }
        const int kind = below(100);
        if (kind < 3 && !dialogs.empty()) {
            const Window dialog = dialogs[below(static_cast<int>(dialogs.size()))].window;
            const bool byManager = below(2) == 0;
            byManager ? driver.windows.RequestClose(dialog)
                      : driver.windows.SendDeleteWindow(dialog);
            Note((byManager ? "close request for \"" : "close message to \"") +
                 driver.windows.Title(dialog) + "\"");
            ++closes;
        } else if (kind < 30) {
            const KeySym key = kKeys[below(sizeof kKeys / sizeof kKeys[0])];
            driver.input.TapKey(key);
            Note(std::string("key ") + XKeysymToString(key));
            ++keys;
        } else {
            const int pick = below(static_cast<int>(dialogs.size()) + 1);
            const Shown& target = pick == 0 ? gameWindow : dialogs[pick - 1];
            const int x = below(target.client.w);
            const int y = below(target.client.h);
            if (!Safe(target, x, y)) {
                continue;
            }
            const int button = below(10);
            driver.input.Click(target.window, x, y, button < 8 ? 1 : button - 6);
            Note("button " + std::to_string(button < 8 ? 1 : button - 6) + " at " +
                 std::to_string(x) + "," + std::to_string(y) + " of \"" +
                 driver.windows.Title(target.window) + "\"" +
                 (target.window == gameWindow.window ? " (the game)" : ""));
            ++clicks;
            // A click on Info opens the about box, whose frame later clicks must keep off.
            if (target.window == gameWindow.window && HitArea(kInfoButtonArea).Contains(x, y)) {
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
    if (driver.StartCaptionShows(kCancelCaption)) {
        driver.Press(kStartButtonArea);
        Note("CANCEL pressed");
    }
    ASSERT_TRUE(WaitUntil([&] { return driver.StartCaptionShows(kStartCaption); }, kStepTimeoutMs))
        << DescribeBoard() << DescribeAfter();
    const size_t before = CallCount();
    ASSERT_TRUE(StartGame()) << DescribeBoard() << DescribeAfter(before);
    Note("START pressed");
    const RoundSeen seen = driver.PlayRound(kPlayerScissors, kRoundTimeoutMs);
    ASSERT_TRUE(seen.played) << DescribeBoard() << DescribeAfter(before);
    EXPECT_EQ(seen.result, DecideRound(kPlayerScissors, seen.computerHand).resultFrame);
}
