#include <gtest/gtest.h>

#include <X11/Xutil.h>
#include <algorithm>
#include <csignal>

#include "install/StagedInstall.h"
#include "support/ProcessTable.h"
#include "support/RunningProgram.h"
#include "support/TempFolder.h"
#include "support/XTestSupport.h"

namespace {

const int kWindowTimeoutMs = 20000;
const int kStopTimeoutMs = 5000;

// Windows come and go while the tree is read; a window that is gone by the time it is asked
// about is no error here.
int IgnoreXError(Display*, XErrorEvent*) {
    return 0;
}

void CollectGameWindows(Display* display, Window window, std::vector<Window>& found) {
    XClassHint hint{};
    if (XGetClassHint(display, window, &hint) != 0) {
        if (hint.res_class != nullptr && std::string(hint.res_class) == "Brisgola.exe") {
            found.push_back(window);
        }
        XFree(hint.res_name);
        XFree(hint.res_class);
    }
    Window root, parent;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count) != 0) {
        for (unsigned index = 0; index < count; ++index) {
            CollectGameWindows(display, children[index], found);
        }
        XFree(children);
    }
}

// The game's windows on the server, however deep the window manager has framed them.
std::vector<Window> GameWindows(Display* display) {
    std::vector<Window> found;
    XSync(display, False);
    const auto previous = XSetErrorHandler(IgnoreXError);
    CollectGameWindows(display, DefaultRootWindow(display), found);
    XSync(display, False);
    XSetErrorHandler(previous);
    return found;
}

} // namespace

TEST(InstalledGame, StartsFromTheLauncherInThePlayersOwnFolder) {
    StagedInstall staged;
    ASSERT_TRUE(staged.Succeeded()) << staged.InstallerOutput();
    Display* display = xtest::OpenDisplay();
    ASSERT_NE(display, nullptr);

    struct Case {
        std::string name;
        bool xdgDataHome;
    };
    for (const Case& each :
         {Case{"with XDG_DATA_HOME unset", false}, Case{"with XDG_DATA_HOME set", true}}) {
        SCOPED_TRACE(each.name);
        const std::string tag = each.xdgDataHome ? "xdg" : "plain";
        const std::string home = staged.MakeFolderBeside("home-" + tag);
        const std::string current = staged.MakeFolderBeside("current-" + tag);
        const std::string dataHome = staged.Beside("data-" + tag);
        const std::string work =
            (each.xdgDataHome ? dataHome : home + "/.local/share") + "/brisgola";
        std::vector<std::string> environment{"HOME=" + home};
        environment.push_back(each.xdgDataHome ? "XDG_DATA_HOME=" + dataHome : "XDG_DATA_HOME");

        const std::vector<Window> before = GameWindows(display);
        RunningProgram game;
        const std::string output = staged.Beside("output-" + tag);
        ASSERT_TRUE(game.Start({staged.Installed("games/brisgola")}, environment, current, output));
        Window window = 0;
        const bool shown = xtest::WaitUntil(
            [&] {
                for (Window candidate : GameWindows(display)) {
                    if (std::find(before.begin(), before.end(), candidate) == before.end() &&
                        xtest::IsOnScreen(display, candidate)) {
                        window = candidate;
                        return true;
                    }
                }
                return !game.IsRunning();
            },
            kWindowTimeoutMs);
        ASSERT_TRUE(shown && window != 0) << "no game window; the game said:\n"
                                          << ReadRawFile(output);

        EXPECT_EQ(DescribeTree(work + "/Data"), staged.SoundLinks());
        EXPECT_TRUE(DescribeTree(current).empty());
        if (each.xdgDataHome) {
            EXPECT_TRUE(DescribeTree(home).empty());
        }

        // The launcher replaced itself with the game, so the signal reaches the game itself.
        ASSERT_EQ(kill(game.Pid(), SIGTERM), 0);
        EXPECT_TRUE(game.WaitForExit(kStopTimeoutMs));
        EXPECT_EQ(game.ExitStatus(), 128 + SIGTERM) << ReadRawFile(output);
        EXPECT_TRUE(ProcessTable::MembersOfGroup(game.Pid()).empty()) << "the game left processes behind";
        EXPECT_TRUE(xtest::WaitUntil([&] { return !xtest::IsOnScreen(display, window); }));
        EXPECT_TRUE(DescribeTree(current).empty());
    }
    XCloseDisplay(display);
}
