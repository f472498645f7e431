#include "bench/BenchOptions.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

const long kMaxLaunches = 1000;
const long kMaxRounds = 100000;
// Linux never hands out a process id above this.
const long kMaxPid = 4194304;
const double kSecondsPerDay = 86400;
// Beyond this a timed wait is too coarse to tell the programs apart.
const long kMaxPollMicroseconds = 10000;

bool ParseInt(const char* text, long low, long high, long& value) {
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || parsed < low || parsed > high) {
        return false;
    }
    value = parsed;
    return true;
}

bool ParseSeconds(const char* text, double& value) {
    char* end = nullptr;
    errno = 0;
    const double parsed = std::strtod(text, &end);
    // A day is far beyond any span the benchmark means; the bound also keeps NaN and infinity
    // out.
    if (errno != 0 || end == text || *end != '\0' || !(parsed > 0) || parsed > kSecondsPerDay) {
        return false;
    }
    value = parsed;
    return true;
}

void ShrinkToSmokeRun(BenchOptions& options) {
    options.quick = true;
    options.launches = 1;
    options.runs = 1;
    options.rounds = 1;
    options.idleSeconds = 1;
    options.windowSeconds = 5;
    options.exposesPerRun = 1;
    options.captionsPerRun = 1;
    options.clicksPerRun = 2;
    options.keystrokes = 2;
}

} // namespace

std::string BenchUsage() {
    return "usage: brisgola-bench --game PATH --floor PATH [--work-dir DIR] [--output FILE]\n"
           "                      [--minimal PATH] [--textbox PATH] [--quick] [--launches N] "
           "[--runs N]\n"
           "                      [--rounds N] [--keystrokes N]"
           " [--idle-seconds S]\n"
           "                      [--window-seconds S] [--poll-us N] [--xserver-pid PID]\n"
           "                      [--verbose]\n";
}

bool ParseBenchOptions(int argc, const char* const* argv, BenchOptions& options,
                       std::string& error) {
    // --quick sets the smoke-run values first, so counts given beside it still win.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0) {
            ShrinkToSmokeRun(options);
        }
    }
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--quick") {
            continue;
        }
        if (name == "--verbose") {
            options.verbose = true;
            continue;
        }
        if (i + 1 >= argc) {
            error = "missing value for " + name;
            return false;
        }
        const char* value = argv[++i];
        // Counts are only stored once they have parsed and are in range.
        auto count = [&](int& field, long low, long high) {
            long number = 0;
            if (!ParseInt(value, low, high, number)) {
                return false;
            }
            field = static_cast<int>(number);
            return true;
        };
        bool good = true;
        if (name == "--game") {
            options.game = value;
        } else if (name == "--floor") {
            options.floor = value;
        } else if (name == "--minimal") {
            options.minimal = value;
        } else if (name == "--textbox") {
            options.textbox = value;
        } else if (name == "--keystrokes") {
            good = count(options.keystrokes, 1, kMaxRounds);
        } else if (name == "--work-dir") {
            options.workDir = value;
        } else if (name == "--output") {
            options.output = value;
        } else if (name == "--launches") {
            good = count(options.launches, 1, kMaxLaunches);
        } else if (name == "--runs") {
            good = count(options.runs, 1, kMaxLaunches);
        } else if (name == "--rounds") {
            good = count(options.rounds, 0, kMaxRounds);
        } else if (name == "--idle-seconds") {
            good = ParseSeconds(value, options.idleSeconds);
        } else if (name == "--window-seconds") {
            good = ParseSeconds(value, options.windowSeconds);
        } else if (name == "--poll-us") {
            good = count(options.pollMicroseconds, 10, kMaxPollMicroseconds);
        } else if (name == "--xserver-pid") {
            int pid = 0;
            good = count(pid, 1, kMaxPid);
            options.xserverPid = good ? static_cast<pid_t>(pid) : options.xserverPid;
        } else {
            error = "unknown option " + name;
            return false;
        }
        if (!good) {
            error = "bad value for " + name + ": " + value;
            return false;
        }
    }
    if (options.game.empty() || options.floor.empty()) {
        error = "both --game and --floor are needed";
        return false;
    }
    if (options.runs > options.launches) {
        error = "--runs may not exceed --launches";
        return false;
    }
    if (options.workDir.empty()) {
        error = "the working folder may not be empty";
        return false;
    }
    return true;
}
