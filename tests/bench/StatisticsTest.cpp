#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "bench/Statistics.h"

TEST(Statistics, SummaryOfUnsortedSamplesAndTheRatioOfMediansWhereBothSidesHaveSome) {
    // Samples, then count, median, min and max.
    const std::pair<std::vector<double>, Summary> cases[] = {{{}, {0, 0, 0, 0}},
                                                             {{3, 1, 2}, {3, 2, 1, 3}},
                                                             {{4, 1, 3, 2}, {4, 2.5, 1, 4}},
                                                             {{7, -1, 7}, {3, 7, -1, 7}}};
    const auto fields = [](const Summary& s) { return std::tie(s.count, s.median, s.min, s.max); };
    for (const auto& [samples, expected] : cases) {
        EXPECT_EQ(fields(Summarise(samples)), fields(expected)) << samples.size() << " samples";
    }
    const Summary some = Summarise({1, 2, 3});
    EXPECT_DOUBLE_EQ(Ratio(Summarise({2, 40, 4, 6, 1}), Summarise({2, 1, 3})), 2.0);
    EXPECT_TRUE(std::isnan(Ratio(Summarise({}), some)));
    EXPECT_TRUE(std::isnan(Ratio(some, Summarise({}))));
    EXPECT_TRUE(std::isnan(Ratio(some, Summarise({0, 0, 1}))));
}
