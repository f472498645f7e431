#include "bench/TypingBench.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <thread>

#include "bench/MapWatcher.h"
#include "game/BoardLayout.h"
#include "tools/harness/ProcReader.h"
#include "tools/harness/RunningProgram.h"
#include "tools/harness/WaitUntil.h"
#include "tools/harness/WholeFile.h"

namespace {

// The text boxes typed into hold this many characters before each keystroke, and draw their
// characters in black.
const int kShortText = 10;
const int kLongText = 1500;
const unsigned long kBoxTextColor = 0x000000;

} // namespace

TypingBench::TypingBench(BenchSession& session) : session(session) {}

void TypingBench::Run() {
    const BenchOptions& options = session.Options();
    if (options.textbox.empty()) {
        return;
    }
    TypingFigures& typing = session.Typing();
    Measure({options.floor, "--typing"}, "floor", kLineTextColor, typing.floor, nullptr);
    Measure({options.textbox, std::to_string(kShortText)}, "short text box", kBoxTextColor,
            typing.shortBox, &typing.shortRequests);
    Measure({options.textbox, std::to_string(kLongText)}, "long text box", kBoxTextColor,
            typing.longBox, &typing.longRequests);
}

void TypingBench::Measure(const std::vector<std::string>& command, const std::string& name,
                          unsigned long textColor, std::vector<double>& samples,
                          std::vector<double>* requests) {
    const BenchOptions& options = session.Options();
    GameDriver& driver = session.Driver();
    TimedInput& input = session.Input();
    const std::string log = options.workDir + "/typing.log";
    std::remove(log.c_str());
    RunningProgram program;
    MapWatcher watcher(session.GetDisplay());
    if (!program.Start(command, {}, options.workDir, log)) {
        session.Fail(name + ": cannot start " + command.front() + ": " + program.Error());
        return;
    }
    if (!watcher.WaitForViewable(kWindowClass, kWindowTimeoutMs)) {
        session.Fail(name + ": no window came up");
        return;
    }
    const Window window = watcher.GetWindow();
    // The program says where the next character will appear.
    Area cell;
    if (!WaitUntil(
            [&] {
                return std::sscanf(ReadWholeFile(log).c_str(), "cell %d %d %d %d", &cell.x, &cell.y,
                                   &cell.w, &cell.h) == 4;
            },
            kWindowTimeoutMs)) {
        session.Fail(name + ": it never said where it types");
        return;
    }
    driver.input.FocusKeyboardOn(window);
    if (!WaitUntil([&] { return driver.windows.HasFocus(window); }, kPaintTimeoutMs)) {
        session.Fail(name + ": its window does not take the keyboard");
        return;
    }
    // A box of 1,500 characters takes a while to draw in a slow build. The cell must be read
    // as the program leaves it, since BackSpace has to bring exactly that back.
    if (!WaitUntilAsleep(program.Pid(), kPaintTimeoutMs)) {
        session.Fail(name + ": it never finished drawing its window");
        return;
    }
    PixelProbe probe(session.GetDisplay(), window, {cell});
    const auto hasGlyph = [textColor](const Pixels& seen) {
        return std::find(seen.begin(), seen.end(), textColor) != seen.end();
    };
    // The first keystroke warms up; the rest are timed. Each is taken back with BackSpace, so
    // every keystroke lands in the same place.
    for (int key = 0; key <= options.keystrokes; ++key) {
        std::this_thread::sleep_for(kBetweenSamples);
        const Pixels before = probe.Read();
        const TimedInput::Clock::time_point start = input.TapKey(XK_x);
        const auto shown = input.PollFine(probe, hasGlyph, kPaintTimeoutMs);
        if (!shown) {
            session.Fail(name + ": a keystroke put no character on the screen");
            break;
        }
        if (key > 0) {
            session.Add(samples, TimedInput::Milliseconds(*shown - start), name + " keystroke ms");
        }
        input.TapKey(XK_BackSpace);
        if (!input.Poll(
                probe, [&](const Pixels& seen) { return seen == before; }, kPaintTimeoutMs,
                kCoarsePeriod)) {
            session.Fail(name + ": BackSpace did not take the character back");
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
    driver.windows.RequestClose(window);
    if (!program.WaitForExit(kCloseTimeoutMs)) {
        session.Fail(name + ": did not end when closed");
    }
    program.Stop(kCloseTimeoutMs);
}
