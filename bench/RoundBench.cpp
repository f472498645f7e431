#include "bench/RoundBench.h"

#include <string>
#include <thread>

#include "game/RoundRules.h"
#include "tools/harness/ProcReader.h"

namespace {

using Clock = TimedInput::Clock;

// A round takes about twelve seconds on the game's one-second clock.
const int kRoundStepTimeoutMs = 30000;
// The wait for the next round spans seconds; polling it slowly keeps the harness's own share
// of the X server's CPU in the long game small.
const std::chrono::microseconds kRoundWaitPeriod(20000);
// The longest sound of a round lasts under two seconds; its player has ended after this.
const std::chrono::milliseconds kAfterRounds(3000);
// A running game shorter than this gives no CPU figure at all.
const double kMinCpuSpanSeconds = 1;
const int kHands = 3;

} // namespace

RoundBench::RoundBench(BenchSession& session)
    : session(session), input(session.Input()), rounds(session.Rounds()) {}

void RoundBench::Run() {
    if (session.Options().rounds <= 0) {
        return;
    }
    LaunchBench launcher(session);
    LaunchBench::Launch launch;
    if (!launcher.StartAndWaitForBoard(kGame, launch)) {
        launcher.Close(kGame, launch);
        return;
    }
    const pid_t pid = launch.program->Pid();
    const pid_t serverPid = session.ServerPid();
    const int descriptors = CountDescriptors(pid);
    if (descriptors >= 0) {
        rounds.descriptorsBefore = descriptors;
    }
    if (!PressStart(launch)) {
        session.Fail("game: START did not begin the long game");
        launcher.Close(kGame, launch);
        return;
    }
    rounds.games = 1;
    windowStart = Clock::now();
    windowTicks = CpuTicks(pid);
    windowServerTicks = serverPid != 0 ? CpuTicks(serverPid) : -1;
    windowSwitches = ContextSwitches(pid);
    for (int round = 0; round < session.Options().rounds; ++round) {
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
    launcher.Close(kGame, launch);
}

bool RoundBench::PressStart(LaunchBench::Launch& launch) {
    const SampleSet& captions = session.Captions();
    PixelProbe probe(session.GetDisplay(), launch.window, captions.areas);
    input.MovePointer(launch.window, kStartButtonArea);
    input.PressAndRelease();
    return input
        .Poll(
            probe,
            [&](const Pixels& seen) {
                return MatchPattern(seen, captions.patterns) == kCaptionCancel;
            },
            kPaintTimeoutMs, kCoarsePeriod)
        .has_value();
}

bool RoundBench::PlayOneRound(LaunchBench::Launch& launch, int hand) {
    Display* display = session.GetDisplay();
    GameDriver& driver = session.Driver();
    const SampleSet& choiceSamples = session.Choices();
    const SampleSet& captionSamples = session.Captions();
    const SampleSet& resultSamples = session.Results();
    const pid_t pid = launch.program->Pid();
    PixelProbe choices(display, launch.window, choiceSamples.areas);
    PixelProbe caption(display, launch.window, captionSamples.areas);
    PixelProbe result(display, launch.window, resultSamples.areas);
    const std::string round = "game: round " + std::to_string(rounds.played + 1) + ": ";

    // Between rounds the game counts down to the next choice, or it has ended, which turns
    // CANCEL back into START; a new game then begins.
    for (;;) {
        bool gameOver = false;
        const auto ready = input.Poll(
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
            session.Fail(round + "neither the choices nor the end of the game came");
            return false;
        }
        if (!gameOver) {
            break;
        }
        if (!driver.StatusLineShows(kGameOverText)) {
            session.Fail(round + "START came back without \"" + kGameOverText + "\"");
        }
        if (!PressStart(launch)) {
            session.Fail(round + "START did not begin a new game");
            return false;
        }
        ++rounds.games;
    }

    input.MovePointer(launch.window, kChoiceAreas[hand]);
    // The floor's clicks and START's read their area just before the press; so does this one,
    // so that every click is timed from the same start.
    const int before = MatchPattern(result.Read(), resultSamples.patterns);
    if (before >= kWonFrame && before <= kTieFrame) {
        session.Fail(round + "a result was shown before the click");
        return false;
    }
    int frame = -1;
    const Clock::time_point start = input.PressAndRelease();
    const auto shown = input.PollFine(
        result,
        [&](const Pixels& seen) {
            frame = MatchPattern(seen, resultSamples.patterns);
            return frame >= kWonFrame && frame <= kTieFrame;
        },
        kPaintTimeoutMs);
    if (!shown) {
        session.Fail(round + "the click showed no result");
        return false;
    }
    session.Add(rounds.click, TimedInput::Milliseconds(*shown - start),
                round + GameDriver::ResultName(frame) + ": click ms");

    // The round must have been played as the rules say, or the figures are of something else.
    const int player = driver.PlayerHandShown();
    const RoundOutcome outcome = DecideRound(player, driver.ComputerHandShown());
    if (player != hand || !outcome.decided || outcome.resultFrame != frame) {
        ++rounds.mismatches;
    }
    // The choices go as the result comes; the next wait must not take this round's for new
    // ones.
    if (!input.Poll(
            choices,
            [&](const Pixels& seen) {
                return MatchPattern(seen, choiceSamples.patterns) == kChoicesHidden;
            },
            kPaintTimeoutMs, kCoarsePeriod)) {
        session.Fail(round + "the choices stayed after the result");
        return false;
    }
    return true;
}

void RoundBench::TickCpuWindow(pid_t pid, bool last) {
    const pid_t serverPid = session.ServerPid();
    const Clock::time_point now = Clock::now();
    const double seconds = TimedInput::Seconds(now - windowStart);
    const bool due = seconds >= session.Options().windowSeconds;
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
        session.Add(rounds.cpu, CpuPercent(ticks - windowTicks, seconds), "running CPU %");
    }
    if (serverTicks >= 0 && windowServerTicks >= 0) {
        session.Add(rounds.serverCpu, CpuPercent(serverTicks - windowServerTicks, seconds),
                    "running X server CPU %");
    }
    windowStart = now;
    windowTicks = ticks;
    windowServerTicks = serverTicks;
    windowSwitches = switches;
}
