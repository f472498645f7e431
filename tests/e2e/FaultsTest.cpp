#include "tests/e2e/GameTest.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "game/RoundRules.h"
#include "support/PrivateXvfb.h"
#include "tools/harness/ProcReader.h"
#include "tools/harness/WaitUntil.h"
#include "tools/harness/WholeFile.h"

namespace {

enum class Twist { kNone, kLogIsAFolder, kReadOnlyFolder, kNoPlayerOnPath, kForkFails };

struct Fault {
    const char* name;
    Twist twist;
    bool withData;
};

const Fault kFaults[] = {
    {"NoDataFolder", Twist::kNone, false},
    {"LogIsAFolder", Twist::kLogIsAFolder, false},
    {"ReadOnlyWorkFolder", Twist::kReadOnlyFolder, false},
    {"NoPlayerOnPath", Twist::kNoPlayerOnPath, true},
    {"ForkFails", Twist::kForkFails, true},
};

// Permissions and process limits bind only a user without privileges: root ignores both.
std::vector<std::string> AsUnprivilegedUser() {
    if (geteuid() != 0) {
        return {};
    }
    return {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
}

const char* const kMissingBeep = "Data/beep.wav non trovato.";

class GameFault : public GameTest, public ::testing::WithParamInterface<Fault> {
  protected:
    void SetUp() override {
        const Fault& fault = GetParam();
        MakeWorkFolder(fault.withData);
        if (HasFatalFailure()) {
            return;
        }
        checkWorkFolder = fault.withData;
        const std::string work = sandbox.File("work");
        Arguments launcher;
        Arguments environment = {standIns.PathSetting()};
        switch (fault.twist) {
        case Twist::kNone:
            break;
        case Twist::kLogIsAFolder:
            ASSERT_EQ(mkdir((work + "/log.txt").c_str(), 0755), 0);
            break;
        case Twist::kReadOnlyFolder:
            launcher = AsUnprivilegedUser();
            ASSERT_EQ(chmod(sandbox.Path().c_str(), 0755), 0);
            ASSERT_EQ(chmod(work.c_str(), 0555), 0);
            break;
        case Twist::kNoPlayerOnPath:
            ASSERT_EQ(remove(sandbox.File("bin/aplay").c_str()), 0);
            environment = {"PATH=" + sandbox.File("bin")};
            break;
        case Twist::kForkFails:
            // One process for the user: the game itself, and no child at all. The leak check
            // at exit needs a task of its own, which the limit forbids too; every other test
            // checks for leaks.
            launcher = AsUnprivilegedUser();
            launcher.insert(launcher.end(), {"prlimit", "--nproc=1"});
            environment.push_back("ASAN_OPTIONS=detect_leaks=0");
            ASSERT_EQ(chmod(sandbox.Path().c_str(), 0755), 0);
            break;
        }
        Launch(launcher, environment);
    }
};

// Names the case in the test's name.
void PrintTo(const Fault& fault, std::ostream* out) {
    *out << fault.name;
}

} // namespace

// Whatever is missing or refused, a round plays, nothing crashes, and the game ends with status
// 0 through the exit question with nothing on stderr (TearDown). A missing sound is logged; the
// log reaches standard output always and log.txt only when it can be the program's own file.
TEST_P(GameFault, RoundStillPlaysAndTheLogGoesWhereItCan) {
    const Fault& fault = GetParam();
    ASSERT_TRUE(StartGame()) << DescribeBoard();
    ASSERT_TRUE(driver.PlayRound(kPlayerRock, kRoundTimeoutMs).played) << DescribeBoard();
    // In no case can a player run: the sounds or the player are missing, or no child starts.
    WaitUntil([] { return false; }, kSilenceMs);
    EXPECT_EQ(CallCount(), 0u);

    const std::string output = ReadWholeFile(sandbox.File("stdout"));
    size_t beeps = 0;
    for (size_t at = 0; (at = output.find(kMissingBeep, at)) != std::string::npos; ++at) {
        ++beeps;
    }
    EXPECT_EQ(beeps, fault.withData ? 0u : 3u) << output;
    const std::string log = sandbox.File("work/log.txt");
    switch (fault.twist) {
    case Twist::kLogIsAFolder:
        EXPECT_TRUE(std::filesystem::is_directory(log) && std::filesystem::is_empty(log));
        break;
    case Twist::kReadOnlyFolder:
        EXPECT_FALSE(std::filesystem::exists(log));
        break;
    default:
        EXPECT_EQ(ReadWholeFile(log), output);
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Faults, GameFault, ::testing::ValuesIn(kFaults));

namespace {

class ServerLoss : public GameTest {
  protected:
    void SetUp() override { MakeWorkFolder(true); }
};

} // namespace

// The game runs alone on a server of its own, which is killed mid-game: the game must end by
// itself, soon, with a status of its own rather than a signal, and its sound children too.
TEST_F(ServerLoss, GameEndsWithAnExitStatusWhenTheServerDies) {
    PrivateXvfb server(24);
    ASSERT_FALSE(server.name.empty()) << "no private X server";
    RunningProgram lost;
    ASSERT_TRUE(lost.Start({BRISGOLA_GAME}, {standIns.PathSetting(), "DISPLAY=" + server.name},
                           sandbox.File("work"), sandbox.File("stdout"), sandbox.File("stderr")));
    {
        // The driver's connection goes before the server does, or Xlib would end the test.
        GameDriver onServer(server.name.c_str());
        const std::string title = std::string(kProductName) + " " + kCopyrightNotice;
        Window window = 0;
        ASSERT_TRUE(WaitUntil([&] { return (window = onServer.windows.FindTitled(title)) != 0; },
                              kStepTimeoutMs));
        // Without a window manager the window stays where the game centred it, partly off
        // this small screen; START must be on it.
        XMoveWindow(onServer.GetDisplay(), window, 0, 0);
        XSync(onServer.GetDisplay(), False);
        WaitUntil([] { return false; }, 200);
        onServer.input.ClickCentre(window, kStartButtonArea);
        ASSERT_TRUE(standIns.WaitForCalls(1, kStepTimeoutMs)) << "the countdown never began";
    }
    const std::vector<pid_t> children = ChildrenOf(lost.Pid());
    const pid_t serverPid = FindXServer(LocalDisplayNumber(server.name));
    ASSERT_GT(serverPid, 0);
    ASSERT_EQ(kill(serverPid, SIGKILL), 0);

    ASSERT_TRUE(lost.WaitForExit(kDialogTimeoutMs)) << "the game outlived its X server";
    EXPECT_GT(lost.ExitStatus(), 0);
    EXPECT_LT(lost.ExitStatus(), 128) << "ended by signal " << lost.ExitStatus() - 128;
    EXPECT_EQ(ReadWholeFile(sandbox.File("stderr")).find("Sanitizer"), std::string::npos)
        << ReadWholeFile(sandbox.File("stderr"));
    EXPECT_TRUE(WaitUntil(
        [&] {
            return std::none_of(children.begin(), children.end(), ProcessExists) &&
                   ProcessesMentioning(sandbox.Path()).empty();
        },
        kSettleMs));
}

namespace {

class ChildDescriptors : public GameTest {};

} // namespace

// A sound's shell and player hold nothing of the game's: not its X connection, not the pipe
// its timer wakes the loop through.
TEST_F(ChildDescriptors, PlayersHoldNoSocketOrPipeOfTheGame) {
    standIns.Install("aplay", StandIns::Ending::kListDescriptors);
    ASSERT_TRUE(StartGame()) << DescribeBoard();
    ASSERT_TRUE(standIns.WaitForCalls(1, kStepTimeoutMs));
    ASSERT_TRUE(WaitUntil([&] { return ProcessesMentioning(sandbox.Path()).empty(); }, kSettleMs));
    const std::vector<std::string> seen = standIns.DescriptorsSeen();
    ASSERT_FALSE(seen.empty()) << "the stand-in listed nothing";
    int held = 0;
    for (const std::string& target : OpenDescriptors(game.Pid())) {
        if (target.rfind("socket:", 0) == 0 || target.rfind("pipe:", 0) == 0) {
            ++held;
            EXPECT_EQ(std::count(seen.begin(), seen.end(), target), 0) << target << " leaked";
        }
    }
    EXPECT_GT(held, 0) << "the game holds no connection at all";
}
