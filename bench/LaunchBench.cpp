#include "bench/LaunchBench.h"

#include <string>
#include <thread>

#include "bench/MapWatcher.h"
#include "game/RoundRules.h"
#include "gui/controls/FormMsgBox.h"
#include "tools/harness/ProcReader.h"
#include "tools/harness/WaitUntil.h"

namespace {

using Clock = TimedInput::Clock;

// Lets the window manager and the program finish with the last input before an idle span.
const std::chrono::milliseconds kBeforeIdle(500);

} // namespace

LaunchBench::LaunchBench(BenchSession& session) : session(session), input(session.Input()) {}

void LaunchBench::Run() {
    const BenchOptions& options = session.Options();
    // The first launch of each program pays for cold caches; it is not counted.
    const bool minimal = !options.minimal.empty();
    MeasureLaunch(kGame, false, false);
    MeasureLaunch(kFloor, false, false);
    if (minimal) {
        MeasureLaunch(kMinimal, false, false);
    }
    for (int launch = 0; launch < options.launches; ++launch) {
        const bool idle = launch < options.runs;
        MeasureLaunch(kGame, true, idle);
        MeasureLaunch(kFloor, true, idle);
        if (minimal) {
            MeasureLaunch(kMinimal, true, idle);
        }
    }
}

bool LaunchBench::StartAndWaitForBoard(ProgramKind kind, Launch& launch) {
    const BenchOptions& options = session.Options();
    const std::string name = BenchSession::Name(kind);
    const std::string& path = kind == kGame    ? options.game
                              : kind == kFloor ? options.floor
                                               : options.minimal;
    launch.program = std::make_unique<RunningProgram>();
    MapWatcher watcher(session.GetDisplay());
    if (!launch.program->Start({path}, {}, options.workDir,
                               options.workDir + "/" + name + ".log")) {
        session.Fail(name + ": cannot start " + path + ": " + launch.program->Error());
        return false;
    }
    if (!watcher.WaitForViewable(kWindowClass, kWindowTimeoutMs)) {
        session.Fail(name + ": no window came up");
        return false;
    }
    launch.window = watcher.GetWindow();
    launch.viewableAt = watcher.ViewableAt();
    const SampleSet& samples = session.IdleSamples(kind);
    PixelProbe probe(session.GetDisplay(), launch.window, samples.areas);
    const Pixels& board = samples.patterns.front();
    const auto painted = input.PollFine(
        probe, [&](const Pixels& seen) { return seen == board; }, kPaintTimeoutMs);
    if (!painted) {
        session.Fail(name + ": the idle board never showed completely");
        return false;
    }
    launch.boardAt = *painted;
    if (kind == kMinimal) {
        return true;
    }
    // The driver checks every pixel of the board, which the samples above only spot-check.
    GameDriver& driver = session.Driver();
    if (!driver.FindGameWindow(kWindowTimeoutMs) || driver.GetGameWindow() != launch.window) {
        session.Fail(name + ": the driver does not find the window");
        return false;
    }
    if (!driver.IdleBoardShown()) {
        session.Fail(name + ": the window does not show the idle board");
        return false;
    }
    return true;
}

void LaunchBench::Close(ProgramKind kind, Launch& launch) {
    if (launch.program == nullptr) {
        return;
    }
    const std::string name = BenchSession::Name(kind);
    GameDriver& driver = session.Driver();
    if (launch.window != 0 && launch.program->IsRunning()) {
        // As a user does: the window manager's close control, and for the game YES to its
        // question.
        driver.windows.RequestClose(launch.window);
        if (kind == kGame) {
            const Window question = driver.windows.WaitForTitled(kExitDialogTitle, kCloseTimeoutMs);
            if (question != 0) {
                driver.PressIn(question, FormMsgBox::kYesArea);
            } else {
                session.Fail("game: the exit question did not come");
            }
        }
        if (!launch.program->WaitForExit(kCloseTimeoutMs)) {
            session.Fail(name + ": did not end when closed");
        }
    }
    launch.program->Stop(kCloseTimeoutMs);
    if (launch.program->ExitStatus() != 0) {
        session.Fail(name + ": ended with status " + std::to_string(launch.program->ExitStatus()));
    }
    // The next launch must not find this window still about.
    if (launch.window != 0 && !WaitForWindowGone(launch.window, kCloseTimeoutMs)) {
        session.Fail(name + ": the window outlived the program");
    }
    launch.program.reset();
}

void LaunchBench::MeasureLaunch(ProgramKind kind, bool record, bool idle) {
    Launch launch;
    if (StartAndWaitForBoard(kind, launch) && record) {
        LaunchFigures& figures = session.Launches(kind);
        const std::string name = BenchSession::Name(kind);
        const Clock::time_point start = launch.program->StartTime();
        session.Add(figures.mapped, TimedInput::Milliseconds(launch.viewableAt - start),
                    name + " mapped ms");
        session.Add(figures.board, TimedInput::Milliseconds(launch.boardAt - start),
                    name + " board ms");
        figures.firstPaint.push_back(TimedInput::Milliseconds(launch.boardAt - launch.viewableAt));
        MeasureExposes(kind, launch, figures.expose);
        if (kind != kMinimal) {
            MeasureCaptions(kind, launch, figures.caption);
        }
        if (kind == kFloor) {
            MeasureFloorClicks(launch, figures.click);
        }
        if (idle) {
            MeasureIdle(kind, launch, figures);
        }
    }
    Close(kind, launch);
}

void LaunchBench::MeasureExposes(ProgramKind kind, Launch& launch, std::vector<double>& samples) {
    Display* display = session.GetDisplay();
    const SampleSet& expected = session.IdleSamples(kind);
    PixelProbe probe(display, launch.window, expected.areas);
    const Pixels& board = expected.patterns.front();
    for (int i = 0; i < session.Options().exposesPerRun; ++i) {
        std::this_thread::sleep_for(kBetweenSamples);
        // Clearing the whole window with exposures blanks it and sends the program one Expose
        // for all of it: the same for every program, and no other window is involved.
        const Clock::time_point start = Clock::now();
        XClearArea(display, launch.window, 0, 0, 0, 0, True);
        XFlush(display);
        const auto back = input.PollFine(
            probe, [&](const Pixels& seen) { return seen == board; }, kPaintTimeoutMs);
        if (!back) {
            session.Fail("the board did not come back after an Expose");
            return;
        }
        session.Add(samples, TimedInput::Milliseconds(*back - start), "expose ms");
    }
}

void LaunchBench::MeasureCaptions(ProgramKind kind, Launch& launch, std::vector<double>& samples) {
    const std::string name = BenchSession::Name(kind);
    const SampleSet& captions = session.Captions();
    PixelProbe probe(session.GetDisplay(), launch.window, captions.areas);
    const std::vector<Pixels>& patterns = captions.patterns;
    const auto shows = [&](int caption) {
        return [&patterns, caption](const Pixels& seen) {
            return MatchPattern(seen, patterns) == caption;
        };
    };
    input.MovePointer(launch.window, kStartButtonArea);
    for (int i = 0; i < session.Options().captionsPerRun; ++i) {
        if (MatchPattern(probe.Read(), patterns) != kCaptionStart) {
            session.Fail(name + ": START is not shown before the click");
            return;
        }
        const Clock::time_point start = input.PressAndRelease();
        const auto changed = input.PollFine(probe, shows(kCaptionCancel), kPaintTimeoutMs);
        if (!changed) {
            session.Fail(name + ": START did not turn into CANCEL");
            return;
        }
        session.Add(samples, TimedInput::Milliseconds(*changed - start), name + " caption ms");
        // CANCEL at once, which for the game stops its clock before the first tick does
        // anything and brings back the idle board.
        std::this_thread::sleep_for(kBetweenSamples);
        input.PressAndRelease();
        if (!input.Poll(probe, shows(kCaptionStart), kPaintTimeoutMs, kCoarsePeriod)) {
            session.Fail(name + ": CANCEL did not turn back into START");
            return;
        }
        std::this_thread::sleep_for(kBetweenSamples);
    }
    if (!session.Driver().IdleBoardShown()) {
        session.Fail(name + ": CANCEL did not bring back the idle board");
    }
}

void LaunchBench::MeasureFloorClicks(Launch& launch, std::vector<double>& samples) {
    const SampleSet& results = session.Results();
    PixelProbe probe(session.GetDisplay(), launch.window, results.areas);
    const std::vector<Pixels>& patterns = results.patterns;
    input.MovePointer(launch.window, kChoiceAreas[kPlayerRock]);
    for (int i = 0; i < session.Options().clicksPerRun; ++i) {
        const int before = MatchPattern(probe.Read(), patterns);
        if (before < 0) {
            session.Fail("floor: the result area shows none of the result pictures");
            return;
        }
        const Clock::time_point start = input.PressAndRelease();
        const auto shown = input.PollFine(
            probe,
            [&](const Pixels& seen) {
                const int now = MatchPattern(seen, patterns);
                return now >= 0 && now != before;
            },
            kPaintTimeoutMs);
        if (!shown) {
            session.Fail("floor: a click on the choices put no picture");
            return;
        }
        session.Add(samples, TimedInput::Milliseconds(*shown - start), "floor click ms");
        std::this_thread::sleep_for(kBetweenSamples);
    }
}

void LaunchBench::MeasureIdle(ProgramKind kind, Launch& launch, LaunchFigures& figures) {
    const std::string name = BenchSession::Name(kind);
    const pid_t pid = launch.program->Pid();
    const pid_t serverPid = session.ServerPid();
    std::this_thread::sleep_for(kBeforeIdle);
    const long long ticks = CpuTicks(pid);
    const long long serverTicks = serverPid != 0 ? CpuTicks(serverPid) : -1;
    const long long switches = ContextSwitches(pid);
    const Clock::time_point start = Clock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(session.Options().idleSeconds));
    const double seconds = TimedInput::Seconds(Clock::now() - start);
    const long long ticksAfter = CpuTicks(pid);
    const long long serverTicksAfter = serverPid != 0 ? CpuTicks(serverPid) : -1;
    const long long switchesAfter = ContextSwitches(pid);
    if (ticks < 0 || ticksAfter < 0 || switches < 0 || switchesAfter < 0) {
        session.Fail(name + ": its CPU time could not be read");
        return;
    }
    session.Add(figures.idleCpu, CpuPercent(ticksAfter - ticks, seconds), name + " idle CPU %");
    figures.idleWakeups.push_back(static_cast<double>(switchesAfter - switches));
    if (serverTicks >= 0 && serverTicksAfter >= 0) {
        figures.idleServerCpu.push_back(CpuPercent(serverTicksAfter - serverTicks, seconds));
    }
    const long long peak = StatusField(pid, "VmHWM");
    const long long settled = StatusField(pid, "VmRSS");
    const int descriptors = CountDescriptors(pid);
    if (peak < 0 || settled < 0 || descriptors < 0) {
        session.Fail(name + ": its memory or descriptors could not be read");
        return;
    }
    figures.peakRss.push_back(static_cast<double>(peak) / kKilobytesPerMegabyte);
    figures.settledRss.push_back(static_cast<double>(settled) / kKilobytesPerMegabyte);
    figures.descriptors.push_back(descriptors);
}

bool LaunchBench::WaitForWindowGone(Window window, int timeoutMs) {
    return WaitUntil([&] { return session.Driver().windows.Size(window).empty(); }, timeoutMs,
                     static_cast<int>(kCoarsePeriod.count() / 1000));
}
