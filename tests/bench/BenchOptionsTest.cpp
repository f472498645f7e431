#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <tuple>

#include "bench/BenchOptions.h"

namespace {

// The words of the command line, split at blanks; '' is an empty word.
bool Parse(const std::string& line, BenchOptions& options) {
    std::istringstream stream("brisgola-bench " + line);
    std::vector<std::string> words(std::istream_iterator<std::string>(stream), {});
    std::vector<const char*> argv;
    for (const std::string& word : words) {
        argv.push_back(word == "''" ? "" : word.c_str());
    }
    std::string error;
    const bool parsed =
        ParseBenchOptions(static_cast<int>(argv.size()), argv.data(), options, error);
    // A refusal always says why.
    EXPECT_EQ(parsed, error.empty()) << line << ": " << error;
    return parsed;
}

} // namespace

// --quick shortens the spans and counts the options leave open, not those they give.
TEST(BenchOptions, QuickKeepsTheCountsGivenBeforeIt) {
    const BenchOptions full;
    BenchOptions quick;
    ASSERT_TRUE(Parse("--game g --floor f --launches 4 --runs 2 --rounds 9 --quick", quick));
    EXPECT_EQ(std::tie(quick.launches, quick.runs, quick.rounds), std::make_tuple(4, 2, 9));
    EXPECT_LT(quick.idleSeconds + quick.windowSeconds, full.idleSeconds + full.windowSeconds);
}

TEST(BenchOptions, AcceptsValuesUpToTheirBoundsAndRefusesTheRest) {
    for (const char* given : {"--runs 1 --launches 1", "--rounds 0", "--poll-us 10",
                              "--poll-us 10000", "--idle-seconds 0.5", "--window-seconds 86400"}) {
        BenchOptions options;
        EXPECT_TRUE(Parse(std::string("--game g --floor f ") + given, options)) << given;
    }
    // "--launches 3 --runs 4": fewer launches than the idle runs that need them.
    for (const char* given :
         {"--runs 0", "--runs", "--runs 7x", "--runs 99999999999999999999", "--launches 3 --runs 4",
          "--rounds -1", "--poll-us 9", "--poll-us 10001", "--idle-seconds 0", "--idle-seconds nan",
          "--idle-seconds inf", "--window-seconds 86401", "--xserver-pid 0", "--keystrokes 0",
          "--work-dir ''", "--colour red"}) {
        BenchOptions options;
        EXPECT_FALSE(Parse(std::string("--game g --floor f ") + given, options)) << given;
    }
    BenchOptions gameOnly, floorOnly;
    EXPECT_FALSE(Parse("--game g", gameOnly) || Parse("--floor f", floorOnly));
}
