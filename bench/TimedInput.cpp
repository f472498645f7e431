#include "bench/TimedInput.h"

#include <thread>

#include "tools/driver/InputSender.h"

namespace {

// Lets a program take in the pointer's arrival before a timed click, so the click's figure
// holds the click alone.
const std::chrono::milliseconds kPointerSettle(30);

} // namespace

TimedInput::TimedInput(InputSender& input, std::chrono::microseconds finePeriod)
    : input(input), finePeriod(finePeriod) {}

void TimedInput::MovePointer(Window window, const Area& area) {
    input.MoveTo(window, area.CentreX(), area.CentreY());
    std::this_thread::sleep_for(kPointerSettle);
}

TimedInput::Clock::time_point TimedInput::PressAndRelease() {
    const Clock::time_point start = Clock::now();
    input.ClickNow();
    return start;
}

TimedInput::Clock::time_point TimedInput::TapKey(KeySym key) {
    const Clock::time_point start = Clock::now();
    input.TapKeyNow(key);
    return start;
}

std::optional<TimedInput::Clock::time_point>
TimedInput::Poll(PixelProbe& probe, const std::function<bool(const Pixels&)>& done, int timeoutMs,
                 std::chrono::microseconds period) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
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

std::optional<TimedInput::Clock::time_point>
TimedInput::PollFine(PixelProbe& probe, const std::function<bool(const Pixels&)>& done,
                     int timeoutMs) {
    return Poll(probe, done, timeoutMs, finePeriod);
}

double TimedInput::Milliseconds(Clock::duration span) {
    return std::chrono::duration<double, std::milli>(span).count();
}

double TimedInput::Seconds(Clock::duration span) {
    return std::chrono::duration<double>(span).count();
}
