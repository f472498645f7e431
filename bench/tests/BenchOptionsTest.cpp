#include <gtest/gtest.h>

#include <vector>

#include "bench/BenchOptions.h"

namespace {

bool Parse(std::vector<const char*> words, BenchOptions& options, std::string& error) {
    words.insert(words.begin(), "brisgola-bench");
    return ParseBenchOptions(static_cast<int>(words.size()), words.data(), options, error);
}

} // namespace

TEST(BenchOptions, DefaultsAreTheFullRun) {
    BenchOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--game", "g", "--floor", "f", "--output", "o.txt"}, options, error))
        << error;
    EXPECT_EQ(options.game, "g");
    EXPECT_EQ(options.floor, "f");
    EXPECT_EQ(options.output, "o.txt");
    EXPECT_EQ(options.workDir, ".");
    EXPECT_EQ(options.launches, 15);
    EXPECT_EQ(options.runs, 7);
    EXPECT_EQ(options.rounds, 100);
    EXPECT_DOUBLE_EQ(options.idleSeconds, 10);
    EXPECT_DOUBLE_EQ(options.windowSeconds, 30);
    EXPECT_EQ(options.pollMicroseconds, 100);
    EXPECT_FALSE(options.quick);
    EXPECT_FALSE(options.verbose);
}

TEST(BenchOptions, QuickShrinksEverythingButGivenValuesWin) {
    BenchOptions options;
    std::string error;
    // The order must not matter: --quick comes after the value it would otherwise undo.
    ASSERT_TRUE(Parse({"--rounds", "3", "--game", "g", "--quick", "--floor", "f", "--verbose",
                       "--poll-us", "250"},
                      options, error))
        << error;
    EXPECT_EQ(options.pollMicroseconds, 250);
    EXPECT_TRUE(options.quick);
    EXPECT_TRUE(options.verbose);
    EXPECT_EQ(options.rounds, 3);
    EXPECT_EQ(options.launches, 1);
    EXPECT_EQ(options.runs, 1);
    EXPECT_DOUBLE_EQ(options.idleSeconds, 1);
    EXPECT_LT(options.windowSeconds, 30);
}

TEST(BenchOptions, BadInputIsRefusedAndLeavesValuesAlone) {
    const std::vector<std::vector<const char*>> cases = {
        {"--game", "g"},
        {"--floor", "f"},
        {"--game", "g", "--floor", "f", "--colour", "red"},
        {"--game", "g", "--floor", "f", "--runs"},
        {"--game", "g", "--floor", "f", "--runs", "0"},
        {"--game", "g", "--floor", "f", "--runs", "7x"},
        {"--game", "g", "--floor", "f", "--runs", "99999999999999999999"},
        {"--game", "g", "--floor", "f", "--rounds", "-1"},
        {"--game", "g", "--floor", "f", "--idle-seconds", "nan"},
        {"--game", "g", "--floor", "f", "--idle-seconds", "-1"},
        {"--game", "g", "--floor", "f", "--idle-seconds", "inf"},
        {"--game", "g", "--floor", "f", "--window-seconds", "0"},
        {"--game", "g", "--floor", "f", "--xserver-pid", "0"},
        {"--game", "g", "--floor", "f", "--poll-us", "5"},
        {"--game", "g", "--floor", "f", "--poll-us", "20000"},
        {"--game", "g", "--floor", "f", "--launches", "3"},
        {"--game", "g", "--floor", "f", "--work-dir", ""},
    };
    for (const auto& words : cases) {
        BenchOptions options;
        std::string error;
        EXPECT_FALSE(Parse(words, options, error)) << words.back();
        EXPECT_FALSE(error.empty()) << words.back();
        EXPECT_EQ(options.runs, 7) << words.back();
        EXPECT_EQ(options.rounds, 100) << words.back();
        EXPECT_DOUBLE_EQ(options.idleSeconds, 10) << words.back();
        EXPECT_EQ(options.pollMicroseconds, 100) << words.back();
    }
}
