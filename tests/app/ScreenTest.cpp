#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/Screen.h"
#include "support/TempFolder.h"
#include "support/XTestSupport.h"
#include "util/FileUtils.h"
#include "util/TextFile.h"

namespace {

std::vector<std::string> LogLines() {
    return FileExists("log.txt") ? TextFile("log.txt").ReadLines() : std::vector<std::string>{};
}

// A private Xvfb of the given depth; the server picks its own display number.
class PrivateXvfb {
public:
    explicit PrivateXvfb(int depth) {
        int channel[2];
        if (pipe2(channel, O_CLOEXEC) != 0) {
            return;
        }
        pid = fork();
        if (pid == 0) {
            // The server writes its display number to descriptor 3, which must survive exec.
            if (channel[1] == 3) {
                fcntl(3, F_SETFD, 0);
            } else {
                dup2(channel[1], 3);
            }
            const std::string screen = "640x480x" + std::to_string(depth);
            execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", screen.c_str(),
                   "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(channel[1]);
        // The number may come in pieces; the pipe stays open until the end, so the server
        // never writes into a closed pipe.
        announcement = channel[0];
        char letter;
        while (read(announcement, &letter, 1) == 1 && letter != '\n') {
            name += letter;
        }
        if (!name.empty()) {
            name = ":" + name;
        }
    }
    ~PrivateXvfb() {
        if (announcement >= 0) {
            close(announcement);
        }
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
    std::string name;

private:
    pid_t pid = -1;
    int announcement = -1;
};

} // namespace

TEST(Screen, OpensA24BitDisplayWithoutComplaint) {
    TempFolder dir{true};
    EXPECT_EQ(GetCurrentScreenWidth(), 0);
    EXPECT_EQ(GetCurrentScreenHeight(), 0);
    {
        Screen screen("title");
        ASSERT_NE(screen.GetDisplay(), nullptr);
        EXPECT_EQ(screen.HasFailed(), 0);
        EXPECT_EQ(screen.GetDepth(), 24);
        EXPECT_NE(screen.GetVisualInfo(), nullptr);
        EXPECT_EQ(GetCurrentScreenWidth(), screen.GetWidth());
        EXPECT_EQ(GetCurrentScreenHeight(), screen.GetHeight());
        EXPECT_GT(screen.GetWidth(), 0);
        EXPECT_TRUE(LogLines().empty());

        EXPECT_TRUE(screen.Close());
        EXPECT_FALSE(screen.Close());
        EXPECT_EQ(screen.GetDisplay(), nullptr);
    }
    EXPECT_TRUE(LogLines().empty());
}

TEST(Screen, A16BitDisplayIsReportedOnceAndStartUpGoesOn) {
    TempFolder dir{true};
    PrivateXvfb server(16);
    ASSERT_FALSE(server.name.empty()) << "could not start a 16-bit Xvfb";
    const std::string previous = getenv("DISPLAY") != nullptr ? getenv("DISPLAY") : "";
    setenv("DISPLAY", server.name.c_str(), 1);
    // The server announces its number a moment before it accepts connections. (-noreset keeps
    // it from resetting, and refusing connections for a moment, when this probe disconnects.)
    ASSERT_TRUE(xtest::WaitUntil([] {
        Display* probe = XOpenDisplay(nullptr);
        if (probe != nullptr) {
            XCloseDisplay(probe);
        }
        return probe != nullptr;
    }));
    {
        Screen screen("title");
        EXPECT_NE(screen.GetDisplay(), nullptr);
        EXPECT_EQ(screen.GetDepth(), 16);
        EXPECT_TRUE(screen.Close());
    }
    setenv("DISPLAY", previous.c_str(), 1);
    EXPECT_EQ(LogLines(), std::vector<std::string>{"This app requires 24-bit depth."});
}

TEST(Screen, MissingDisplayIsLoggedAndLeavesAClosedScreen) {
    TempFolder dir{true};
    const std::string previous = getenv("DISPLAY") != nullptr ? getenv("DISPLAY") : "";
    setenv("DISPLAY", ":9999", 1);
    {
        Screen screen("title");
        EXPECT_EQ(screen.HasFailed(), 1);
        EXPECT_EQ(screen.GetDisplay(), nullptr);
        EXPECT_FALSE(screen.Close());
    }
    setenv("DISPLAY", previous.c_str(), 1);
    EXPECT_EQ(LogLines(), std::vector<std::string>{"XOpenDisplay(0) failed."});
}
