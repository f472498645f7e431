#include "bench/BenchSession.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <sys/prctl.h>
#include <thread>
#include <unistd.h>

#include "bench/BenchReport.h"
#include "bench/MapWatcher.h"
#include "bench/MinimalBoard.h"
#include "bench/ServerDescription.h"
#include "game/RoundRules.h"
#include "gui/controls/FormMsgBox.h"
#include "tools/driver/ExpectedPixels.h"
#include "tools/driver/XErrorTrap.h"
#include "tools/harness/ProcReader.h"
#include "tools/harness/RunningProgram.h"
#include "tools/harness/WaitUntil.h"
#include "tools/harness/WholeFile.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::microseconds;
using std::chrono::milliseconds;

const char* const kWindowClass = kGameWindowClass;
const char* const kGameOverText = kGameOverStatus;
// The text boxes typed into hold this many characters before each keystroke, and draw their
// characters in black.
const int kShortText = 10;
const int kLongText = 1500;
const unsigned long kBoxTextColor = 0x000000;

const int kWindowTimeoutMs = 10000;
const int kPaintTimeoutMs = 5000;
const int kCloseTimeoutMs = 5000;
// A round takes about twelve seconds on the game's one-second clock.
const int kRoundStepTimeoutMs = 30000;

// Waits whose length is no figure.
const microseconds kCoarsePeriod(5000);
// The wait for the next round spans seconds; polling it slowly keeps the harness's own share
// of the X server's CPU in the long game small.
const microseconds kRoundWaitPeriod(20000);
// Lets a program take in the pointer's arrival before a timed click, so the click's figure
// holds the click alone.
const milliseconds kPointerSettle(30);
const milliseconds kBetweenSamples(100);
// Lets the window manager and the program finish with the last input before an idle span.
const milliseconds kBeforeIdle(500);
// The longest sound of a round lasts under two seconds; its player has ended after this.
const milliseconds kAfterRounds(3000);
// A running game shorter than this gives no CPU figure at all.
const double kMinCpuSpanSeconds = 1;
const double kKilobytesPerMegabyte = 1024;
const int kHands = 3;

double Milliseconds(Clock::duration span) {
    return std::chrono::duration<double, std::milli>(span).count();
}

double Seconds(Clock::duration span) {
    return std::chrono::duration<double>(span).count();
}

double CpuPercent(long long ticks, double seconds) {
    return 100.0 * static_cast<double>(ticks) / static_cast<double>(TicksPerSecond()) / seconds;
}

long long ContextSwitches(pid_t pid) {
    const long long voluntary = StatusField(pid, "voluntary_ctxt_switches");
    const long long forced = StatusField(pid, "nonvoluntary_ctxt_switches");
    return voluntary < 0 || forced < 0 ? -1 : voluntary + forced;
}

} // namespace

BenchSession::BenchSession(const BenchOptions& options) : options(options) {}

microseconds BenchSession::FinePeriod() const {
    return microseconds(options.pollMicroseconds);
}

const char* BenchSession::Name(ProgramKind kind) {
    static const char* const names[kProgramKinds] = {"game", "floor", "minimal"};
    return names[kind];
}

BenchSession::~BenchSession() {
    if (font != nullptr) {
        XFreeFont(display, font);
    }
}

void BenchSession::Add(std::vector<double>& samples, double value, const std::string& label) {
    samples.push_back(value);
    if (options.verbose) {
        std::fprintf(stderr, "%s: %.3f\n", label.c_str(), value);
    }
}

void BenchSession::Fail(const std::string& message) {
    std::fprintf(stderr, "brisgola-bench: %s\n", message.c_str());
    failures.push_back(message);
}

bool BenchSession::Open() {
    // The timed polls sleep a tenth of a millisecond; the kernel's default slack would stretch
    // that by half again.
    prctl(PR_SET_TIMERSLACK, 1000UL, 0UL, 0UL, 0UL);
    driver = std::make_unique<GameDriver>();
    display = driver->GetDisplay();
    if (!driver->IsConnected()) {
        Fail("cannot open the display named by DISPLAY, or it has no XTest extension");
        return false;
    }
    // The windows the benchmark reads belong to programs that may end at any moment.
    XErrorTrap::CountAlways();
    if (DefaultDepth(display, DefaultScreen(display)) != 24) {
        Fail("the X server's screen is not 24 bits deep");
        return false;
    }
    font = LoadProgramFont(display);
    if (font == nullptr) {
        Fail("no font loads");
        return false;
    }
    boardSamples = IdleBoardSamples(display, font);
    minimalSamples = {{kMinimalMarkerArea.Inset(1, 1)},
                      {Pixels(static_cast<size_t>((kMinimalMarkerArea.w - 2) *
                                                  (kMinimalMarkerArea.h - 2)),
                              kMinimalMarkerColor)}};
    resultSamples = ResultSamples();
    choiceSamples = ChoiceSamples();
    captionSamples = StartCaptionSamples(display, font);
    for (const SampleSet* set : {&boardSamples, &resultSamples, &choiceSamples, &captionSamples}) {
        for (const Pixels& pattern : set->patterns) {
            if (set->areas.empty() || pattern.empty()) {
                Fail("the expected pictures or captions could not be worked out");
                return false;
            }
        }
    }
    serverPid = options.xserverPid != 0 ? options.xserverPid
                                        : FindXServer(LocalDisplayNumber(DisplayString(display)));
    if (serverPid == 0) {
        std::fprintf(stderr, "brisgola-bench: the X server's process is unknown; its CPU is "
                             "left out\n");
    }
    return true;
}

void BenchSession::RunLaunches() {
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

bool BenchSession::StartAndWaitForBoard(ProgramKind kind, Launch& launch) {
    const std::string& path =
        kind == kGame ? options.game : kind == kFloor ? options.floor : options.minimal;
    launch.program = std::make_unique<RunningProgram>();
    MapWatcher watcher(display);
    if (!launch.program->Start({path}, {}, options.workDir,
                               options.workDir + "/" + Name(kind) + ".log")) {
        Fail(std::string(Name(kind)) + ": cannot start " + path + ": " + launch.program->Error());
        return false;
    }
    if (!watcher.WaitForViewable(kWindowClass, kWindowTimeoutMs)) {
        Fail(std::string(Name(kind)) + ": no window came up");
        return false;
    }
    launch.window = watcher.GetWindow();
    launch.viewableAt = watcher.ViewableAt();
    const SampleSet& samples = IdleSamples(kind);
    PixelProbe probe(display, launch.window, samples.areas);
    const Pixels& board = samples.patterns.front();
    const auto painted = Poll(
        probe, [&](const Pixels& seen) { return seen == board; }, kPaintTimeoutMs, FinePeriod());
    if (!painted) {
        Fail(std::string(Name(kind)) + ": the idle board never showed completely");
        return false;
    }
    launch.boardAt = *painted;
    if (kind == kMinimal) {
        return true;
    }
    // The driver checks every pixel of the board, which the samples above only spot-check.
    if (!driver->FindGameWindow(kWindowTimeoutMs) || driver->GetGameWindow() != launch.window) {
        Fail(std::string(Name(kind)) + ": the driver does not find the window");
        return false;
    }
    if (!driver->IdleBoardShown()) {
        Fail(std::string(Name(kind)) + ": the window does not show the idle board");
        return false;
    }
    return true;
}

void BenchSession::Close(ProgramKind kind, Launch& launch) {
    if (launch.program == nullptr) {
        return;
    }
    const std::string name = Name(kind);
    if (launch.window != 0 && launch.program->IsRunning()) {
        // As a user does: the window manager's close control, and for the game YES to its
        // question.
        driver->windows.RequestClose(launch.window);
        if (kind == kGame) {
            const Window question =
                driver->windows.WaitForTitled(kExitDialogTitle, kCloseTimeoutMs);
            if (question != 0) {
                driver->PressIn(question, FormMsgBox::kYesArea);
            } else {
                Fail("game: the exit question did not come");
            }
        }
        if (!launch.program->WaitForExit(kCloseTimeoutMs)) {
            Fail(name + ": did not end when closed");
        }
    }
    launch.program->Stop(kCloseTimeoutMs);
    if (launch.program->ExitStatus() != 0) {
        Fail(name + ": ended with status " + std::to_string(launch.program->ExitStatus()));
    }
    // The next launch must not find this window still about.
    if (launch.window != 0 && !WaitForWindowGone(launch.window, kCloseTimeoutMs)) {
        Fail(name + ": the window outlived the program");
    }
    launch.program.reset();
}

void BenchSession::MeasureLaunch(ProgramKind kind, bool record, bool idle) {
    Launch launch;
    if (StartAndWaitForBoard(kind, launch) && record) {
        LaunchFigures& figures = launches[kind];
        const std::string name = Name(kind);
        const Clock::time_point start = launch.program->StartTime();
        Add(figures.mapped, Milliseconds(launch.viewableAt - start), name + " mapped ms");
        Add(figures.board, Milliseconds(launch.boardAt - start), name + " board ms");
        figures.firstPaint.push_back(Milliseconds(launch.boardAt - launch.viewableAt));
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

const SampleSet& BenchSession::IdleSamples(ProgramKind kind) const {
    return kind == kMinimal ? minimalSamples : boardSamples;
}

void BenchSession::MeasureExposes(ProgramKind kind, Launch& launch, std::vector<double>& samples) {
    const SampleSet& expected = IdleSamples(kind);
    PixelProbe probe(display, launch.window, expected.areas);
    const Pixels& board = expected.patterns.front();
    for (int i = 0; i < options.exposesPerRun; ++i) {
        std::this_thread::sleep_for(kBetweenSamples);
        // Clearing the whole window with exposures blanks it and sends the program one Expose
        // for all of it: the same for every program, and no other window is involved.
        const Clock::time_point start = Clock::now();
        XClearArea(display, launch.window, 0, 0, 0, 0, True);
        XFlush(display);
        const auto back = Poll(
            probe, [&](const Pixels& seen) { return seen == board; }, kPaintTimeoutMs,
            FinePeriod());
        if (!back) {
            Fail("the board did not come back after an Expose");
            return;
        }
        Add(samples, Milliseconds(*back - start), "expose ms");
    }
}

void BenchSession::MeasureCaptions(ProgramKind kind, Launch& launch, std::vector<double>& samples) {
    PixelProbe probe(display, launch.window, captionSamples.areas);
    const std::vector<Pixels>& patterns = captionSamples.patterns;
    const auto shows = [&](int caption) {
        return [&patterns, caption](const Pixels& seen) {
            return MatchPattern(seen, patterns) == caption;
        };
    };
    MovePointer(launch.window, kStartButtonArea);
    for (int i = 0; i < options.captionsPerRun; ++i) {
        if (MatchPattern(probe.Read(), patterns) != kCaptionStart) {
            Fail(std::string(Name(kind)) + ": START is not shown before the click");
            return;
        }
        const Clock::time_point start = PressAndRelease();
        const auto changed = Poll(probe, shows(kCaptionCancel), kPaintTimeoutMs, FinePeriod());
        if (!changed) {
            Fail(std::string(Name(kind)) + ": START did not turn into CANCEL");
            return;
        }
        Add(samples, Milliseconds(*changed - start), std::string(Name(kind)) + " caption ms");
        // CANCEL at once, which for the game stops its clock before the first tick does
        // anything and brings back the idle board.
        std::this_thread::sleep_for(kBetweenSamples);
        PressAndRelease();
        if (!Poll(probe, shows(kCaptionStart), kPaintTimeoutMs, kCoarsePeriod)) {
            Fail(std::string(Name(kind)) + ": CANCEL did not turn back into START");
            return;
        }
        std::this_thread::sleep_for(kBetweenSamples);
    }
    if (!driver->IdleBoardShown()) {
        Fail(std::string(Name(kind)) + ": CANCEL did not bring back the idle board");
    }
}

void BenchSession::MeasureFloorClicks(Launch& launch, std::vector<double>& samples) {
    PixelProbe probe(display, launch.window, resultSamples.areas);
    const std::vector<Pixels>& patterns = resultSamples.patterns;
    MovePointer(launch.window, kChoiceAreas[kPlayerRock]);
    for (int i = 0; i < options.clicksPerRun; ++i) {
        const int before = MatchPattern(probe.Read(), patterns);
        if (before < 0) {
            Fail("floor: the result area shows none of the result pictures");
            return;
        }
        const Clock::time_point start = PressAndRelease();
        const auto shown = Poll(
            probe,
            [&](const Pixels& seen) {
                const int now = MatchPattern(seen, patterns);
                return now >= 0 && now != before;
            },
            kPaintTimeoutMs, FinePeriod());
        if (!shown) {
            Fail("floor: a click on the choices put no picture");
            return;
        }
        Add(samples, Milliseconds(*shown - start), "floor click ms");
        std::this_thread::sleep_for(kBetweenSamples);
    }
}

void BenchSession::MeasureIdle(ProgramKind kind, Launch& launch, LaunchFigures& figures) {
    const pid_t pid = launch.program->Pid();
    std::this_thread::sleep_for(kBeforeIdle);
    const long long ticks = CpuTicks(pid);
    const long long serverTicks = serverPid != 0 ? CpuTicks(serverPid) : -1;
    const long long switches = ContextSwitches(pid);
    const Clock::time_point start = Clock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(options.idleSeconds));
    const double seconds = Seconds(Clock::now() - start);
    const long long ticksAfter = CpuTicks(pid);
    const long long serverTicksAfter = serverPid != 0 ? CpuTicks(serverPid) : -1;
    const long long switchesAfter = ContextSwitches(pid);
    if (ticks < 0 || ticksAfter < 0 || switches < 0 || switchesAfter < 0) {
        Fail(std::string(Name(kind)) + ": its CPU time could not be read");
        return;
    }
    Add(figures.idleCpu, CpuPercent(ticksAfter - ticks, seconds),
        std::string(Name(kind)) + " idle CPU %");
    figures.idleWakeups.push_back(static_cast<double>(switchesAfter - switches));
    if (serverTicks >= 0 && serverTicksAfter >= 0) {
        figures.idleServerCpu.push_back(CpuPercent(serverTicksAfter - serverTicks, seconds));
    }
    const long long peak = StatusField(pid, "VmHWM");
    const long long settled = StatusField(pid, "VmRSS");
    const int descriptors = CountDescriptors(pid);
    if (peak < 0 || settled < 0 || descriptors < 0) {
        Fail(std::string(Name(kind)) + ": its memory or descriptors could not be read");
        return;
    }
    figures.peakRss.push_back(static_cast<double>(peak) / kKilobytesPerMegabyte);
    figures.settledRss.push_back(static_cast<double>(settled) / kKilobytesPerMegabyte);
    figures.descriptors.push_back(descriptors);
}

void BenchSession::RunRounds() {
    if (options.rounds <= 0) {
        return;
    }
    Launch launch;
    if (!StartAndWaitForBoard(kGame, launch)) {
        Close(kGame, launch);
        return;
    }
    const pid_t pid = launch.program->Pid();
    const int descriptors = CountDescriptors(pid);
    if (descriptors >= 0) {
        rounds.descriptorsBefore = descriptors;
    }
    if (!PressStart(launch)) {
        Fail("game: START did not begin the long game");
        Close(kGame, launch);
        return;
    }
    rounds.games = 1;
    windowStart = Clock::now();
    windowTicks = CpuTicks(pid);
    windowServerTicks = serverPid != 0 ? CpuTicks(serverPid) : -1;
    windowSwitches = ContextSwitches(pid);
    for (int round = 0; round < options.rounds; ++round) {
        if (!PlayOneRound(launch, round % kHands)) {
            break;
        }
        ++rounds.played;
    }
    TickCpuWindow(pid, true);

    std::this_thread::sleep_for(kAfterRounds);
    const int descriptorsAfter = CountDescriptors(pid);
    const ChildCount children = CountChildren(pid);
    const long long settled = StatusField(pid, "VmRSS");
    const long long peak = StatusField(pid, "VmHWM");
    if (descriptorsAfter >= 0) {
        rounds.descriptorsAfter = descriptorsAfter;
        rounds.zombies = children.zombies;
        rounds.children = children.alive;
    }
    if (settled >= 0 && peak >= 0) {
        rounds.rss = static_cast<double>(settled) / kKilobytesPerMegabyte;
        rounds.peakRss = static_cast<double>(peak) / kKilobytesPerMegabyte;
    }
    Close(kGame, launch);
}

void BenchSession::RunTyping() {
    if (options.textbox.empty()) {
        return;
    }
    MeasureTyping({options.floor, "--typing"}, "floor", kLineTextColor, typing.floor, nullptr);
    MeasureTyping({options.textbox, std::to_string(kShortText)}, "short text box", kBoxTextColor,
                  typing.shortBox, &typing.shortRequests);
    MeasureTyping({options.textbox, std::to_string(kLongText)}, "long text box", kBoxTextColor,
                  typing.longBox, &typing.longRequests);
}

void BenchSession::MeasureTyping(const std::vector<std::string>& command, const std::string& name,
                                 unsigned long textColor, std::vector<double>& samples,
                                 std::vector<double>* requests) {
    const std::string log = options.workDir + "/typing.log";
    std::remove(log.c_str());
    RunningProgram program;
    MapWatcher watcher(display);
    if (!program.Start(command, {}, options.workDir, log)) {
        Fail(name + ": cannot start " + command.front() + ": " + program.Error());
        return;
    }
    if (!watcher.WaitForViewable(kWindowClass, kWindowTimeoutMs)) {
        Fail(name + ": no window came up");
        return;
    }
    const Window window = watcher.GetWindow();
    // The program says where the next character will appear.
    Area cell;
    if (!WaitUntil(
            [&] {
                return std::sscanf(ReadWholeFile(log).c_str(), "cell %d %d %d %d", &cell.x,
                                   &cell.y, &cell.w, &cell.h) == 4;
            },
            kWindowTimeoutMs)) {
        Fail(name + ": it never said where it types");
        return;
    }
    driver->input.FocusKeyboardOn(window);
    if (!WaitUntil([&] { return driver->windows.HasFocus(window); }, kPaintTimeoutMs)) {
        Fail(name + ": its window does not take the keyboard");
        return;
    }
    // A box of 1,500 characters takes a while to draw in a slow build. The cell must be read
    // as the program leaves it, since BackSpace has to bring exactly that back.
    if (!WaitUntilAsleep(program.Pid(), kPaintTimeoutMs)) {
        Fail(name + ": it never finished drawing its window");
        return;
    }
    PixelProbe probe(display, window, {cell});
    const auto hasGlyph = [textColor](const Pixels& seen) {
        return std::find(seen.begin(), seen.end(), textColor) != seen.end();
    };
    // The first keystroke warms up; the rest are timed. Each is taken back with BackSpace, so
    // every keystroke lands in the same place.
    for (int key = 0; key <= options.keystrokes; ++key) {
        std::this_thread::sleep_for(kBetweenSamples);
        const Pixels before = probe.Read();
        const Clock::time_point start = Clock::now();
        driver->input.TapKeyNow(XK_x);
        const auto shown = Poll(probe, hasGlyph, kPaintTimeoutMs, FinePeriod());
        if (!shown) {
            Fail(name + ": a keystroke put no character on the screen");
            break;
        }
        if (key > 0) {
            Add(samples, Milliseconds(*shown - start), name + " keystroke ms");
        }
        driver->input.TapKeyNow(XK_BackSpace);
        if (!Poll(probe, [&](const Pixels& seen) { return seen == before; }, kPaintTimeoutMs,
                  kCoarsePeriod)) {
            Fail(name + ": BackSpace did not take the character back");
            break;
        }
    }
    if (requests != nullptr) {
        // One line per key released: the character, then its BackSpace.
        std::istringstream lines(ReadWholeFile(log));
        std::string line;
        int released = 0;
        while (std::getline(lines, line)) {
            unsigned long count = 0;
            if (std::sscanf(line.c_str(), "requests %lu", &count) == 1) {
                if (released >= 2 && released % 2 == 0) {
                    requests->push_back(static_cast<double>(count));
                }
                ++released;
            }
        }
    }
    driver->windows.RequestClose(window);
    if (!program.WaitForExit(kCloseTimeoutMs)) {
        Fail(name + ": did not end when closed");
    }
    program.Stop(kCloseTimeoutMs);
}

bool BenchSession::PressStart(Launch& launch) {
    PixelProbe probe(display, launch.window, captionSamples.areas);
    MovePointer(launch.window, kStartButtonArea);
    PressAndRelease();
    return Poll(
               probe,
               [&](const Pixels& seen) {
                   return MatchPattern(seen, captionSamples.patterns) == kCaptionCancel;
               },
               kPaintTimeoutMs, kCoarsePeriod)
        .has_value();
}

bool BenchSession::PlayOneRound(Launch& launch, int hand) {
    const pid_t pid = launch.program->Pid();
    PixelProbe choices(display, launch.window, choiceSamples.areas);
    PixelProbe caption(display, launch.window, captionSamples.areas);
    PixelProbe result(display, launch.window, resultSamples.areas);
    const std::string round = "game: round " + std::to_string(rounds.played + 1) + ": ";

    // Between rounds the game counts down to the next choice, or it has ended, which turns
    // CANCEL back into START; a new game then begins.
    for (;;) {
        bool gameOver = false;
        const auto ready = Poll(
            choices,
            [&](const Pixels& seen) {
                TickCpuWindow(pid, false);
                if (MatchPattern(seen, choiceSamples.patterns) == kChoicesShown) {
                    return true;
                }
                gameOver = MatchPattern(caption.Read(), captionSamples.patterns) == kCaptionStart;
                return gameOver;
            },
            kRoundStepTimeoutMs, kRoundWaitPeriod);
        if (!ready) {
            Fail(round + "neither the choices nor the end of the game came");
            return false;
        }
        if (!gameOver) {
            break;
        }
        if (!driver->StatusLineShows(kGameOverText)) {
            Fail(round + "START came back without \"Game over!\"");
        }
        if (!PressStart(launch)) {
            Fail(round + "START did not begin a new game");
            return false;
        }
        ++rounds.games;
    }

    MovePointer(launch.window, kChoiceAreas[hand]);
    // The floor's clicks and START's read their area just before the press; so does this one,
    // so that every click is timed from the same start.
    const int before = MatchPattern(result.Read(), resultSamples.patterns);
    if (before >= kWonFrame && before <= kTieFrame) {
        Fail(round + "a result was shown before the click");
        return false;
    }
    int frame = -1;
    const Clock::time_point start = PressAndRelease();
    const auto shown = Poll(
        result,
        [&](const Pixels& seen) {
            frame = MatchPattern(seen, resultSamples.patterns);
            return frame >= kWonFrame && frame <= kTieFrame;
        },
        kPaintTimeoutMs, FinePeriod());
    if (!shown) {
        Fail(round + "the click showed no result");
        return false;
    }
    Add(rounds.click, Milliseconds(*shown - start),
        round + GameDriver::ResultName(frame) + ": click ms");

    // The round must have been played as the rules say, or the figures are of something else.
    const int player = driver->PlayerHandShown();
    const RoundOutcome outcome = DecideRound(player, driver->ComputerHandShown());
    if (player != hand || !outcome.decided || outcome.resultFrame != frame) {
        ++rounds.mismatches;
    }
    // The choices go as the result comes; the next wait must not take this round's for new
    // ones.
    if (!Poll(
            choices,
            [&](const Pixels& seen) {
                return MatchPattern(seen, choiceSamples.patterns) == kChoicesHidden;
            },
            kPaintTimeoutMs, kCoarsePeriod)) {
        Fail(round + "the choices stayed after the result");
        return false;
    }
    return true;
}

void BenchSession::TickCpuWindow(pid_t pid, bool last) {
    const Clock::time_point now = Clock::now();
    const double seconds = Seconds(now - windowStart);
    const bool due = seconds >= options.windowSeconds;
    // A game too short for one whole span still gets a figure from what it ran.
    const bool partial = last && rounds.cpu.empty() && seconds >= kMinCpuSpanSeconds;
    if (!due && !partial) {
        return;
    }
    const long long ticks = CpuTicks(pid);
    const long long serverTicks = serverPid != 0 ? CpuTicks(serverPid) : -1;
    const long long switches = ContextSwitches(pid);
    if (switches >= 0 && windowSwitches >= 0) {
        rounds.wakeups.push_back(static_cast<double>(switches - windowSwitches));
    }
    if (ticks >= 0 && windowTicks >= 0) {
        Add(rounds.cpu, CpuPercent(ticks - windowTicks, seconds), "running CPU %");
    }
    if (serverTicks >= 0 && windowServerTicks >= 0) {
        Add(rounds.serverCpu, CpuPercent(serverTicks - windowServerTicks, seconds),
            "running X server CPU %");
    }
    windowStart = now;
    windowTicks = ticks;
    windowServerTicks = serverTicks;
    windowSwitches = switches;
}

void BenchSession::MovePointer(Window window, const Area& area) {
    driver->input.MoveTo(window, area.CentreX(), area.CentreY());
    std::this_thread::sleep_for(kPointerSettle);
}

BenchSession::Clock::time_point BenchSession::PressAndRelease() {
    const Clock::time_point start = Clock::now();
    driver->input.ClickNow();
    return start;
}

std::optional<BenchSession::Clock::time_point>
BenchSession::Poll(PixelProbe& probe, const std::function<bool(const Pixels&)>& done, int timeoutMs,
                   microseconds period) {
    const Clock::time_point deadline = Clock::now() + milliseconds(timeoutMs);
    for (;;) {
        const Clock::time_point before = Clock::now();
        const Pixels seen = probe.Read();
        const Clock::time_point after = Clock::now();
        if (done(seen)) {
            return before + (after - before) / 2;
        }
        if (after >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(period);
    }
}

bool BenchSession::WaitForWindowGone(Window window, int timeoutMs) {
    return WaitUntil([&] { return driver->windows.Size(window).empty(); }, timeoutMs,
                     static_cast<int>(kCoarsePeriod.count() / 1000));
}

ResultTable BenchSession::MakeTable() const {
    const BenchReport report{options, launches[kGame],        launches[kFloor], launches[kMinimal],
                             rounds,  typing, DescribeServer(display), failures};
    return report.MakeTable();
}
