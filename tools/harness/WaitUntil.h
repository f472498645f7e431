#pragma once

#include <functional>

// Checks the condition every few milliseconds until it holds or the time is up; answers
// whether it held. Programs and X servers answer on their own time, so every tool and test
// that waits for one of them waits through this, with a bound.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs, int periodMs = 10);
