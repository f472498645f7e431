#include "tools/harness/WaitUntil.h"

#include <chrono>
#include <thread>

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs, int periodMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (condition()) {
            return true;
        }
        if (Clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(periodMs));
    }
}
