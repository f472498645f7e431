#pragma once

#include <chrono>
#include <functional>
#include <optional>

#include "app/XlibHeaders.h"
#include "bench/PixelProbe.h"
#include "gui/core/Area.h"

class InputSender;

// Waits shared by the benchmarks. A wait that runs out is a failure, never a figure.
const int kWindowTimeoutMs = 10000;
const int kPaintTimeoutMs = 5000;
const int kCloseTimeoutMs = 5000;
// The period of waits whose length is no figure.
const std::chrono::microseconds kCoarsePeriod(5000);
// Lets the program settle between two timed inputs, so that one sample never holds the end
// of the one before.
const std::chrono::milliseconds kBetweenSamples(100);

// Input whose effect on the screen is timed. A click or a key is stamped just before XTest
// sends it; a poll then reads a probe until the screen shows the effect, and answers the
// middle of the read that first saw it. Every benchmark times through this one helper, so
// that a launch's click, a round's click and a keystroke are measured alike.
class TimedInput {
  public:
    using Clock = std::chrono::steady_clock;

    // Timed polls read every finePeriod.
    TimedInput(InputSender& input, std::chrono::microseconds finePeriod);

    // Puts the pointer on the middle of the area and lets the program take that in, so that
    // a timed click holds the click alone.
    void MovePointer(Window window, const Area& area);
    // The time just before the click or key went out.
    Clock::time_point PressAndRelease();
    Clock::time_point TapKey(KeySym key);
    // Reads the probe every `period` until `done` holds; the middle of the read that first saw
    // it, or nothing when the time ran out.
    std::optional<Clock::time_point> Poll(PixelProbe& probe,
                                          const std::function<bool(const Pixels&)>& done,
                                          int timeoutMs, std::chrono::microseconds period);
    // The same at the fine period, for the waits whose length is a figure.
    std::optional<Clock::time_point>
    PollFine(PixelProbe& probe, const std::function<bool(const Pixels&)>& done, int timeoutMs);

    static double Milliseconds(Clock::duration span);
    static double Seconds(Clock::duration span);

  private:
    InputSender& input;
    std::chrono::microseconds finePeriod;
};
