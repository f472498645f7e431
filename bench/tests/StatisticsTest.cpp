#include <gtest/gtest.h>

#include <cmath>

#include "bench/Statistics.h"

TEST(Statistics, SummaryOfUnsortedSamples) {
    struct Case {
        std::vector<double> samples;
        double median;
        double min;
        double max;
    };
    const Case cases[] = {
        {{5}, 5, 5, 5},
        {{3, 1, 2}, 2, 1, 3},
        {{4, 1, 3, 2}, 2.5, 1, 4},
        {{7, -1, 7}, 7, -1, 7},
        {{0.5, 10, 0.25, 0.75, 100}, 0.75, 0.25, 100},
    };
    for (const Case& c : cases) {
        const Summary summary = Summarise(c.samples);
        EXPECT_EQ(summary.count, c.samples.size());
        EXPECT_DOUBLE_EQ(summary.median, c.median);
        EXPECT_DOUBLE_EQ(summary.min, c.min);
        EXPECT_DOUBLE_EQ(summary.max, c.max);
    }
}

TEST(Statistics, RatioIsGameMedianOverFloorMedian) {
    EXPECT_DOUBLE_EQ(Ratio(Summarise({2, 40, 4, 6, 1}), Summarise({2, 1, 3})), 2.0);
}

TEST(Statistics, NoRatioWithoutSamplesOrWithAFloorOfZero) {
    const Summary some = Summarise({1, 2, 3});
    EXPECT_EQ(Summarise({}).count, 0u);
    EXPECT_TRUE(std::isnan(Ratio(Summarise({}), some)));
    EXPECT_TRUE(std::isnan(Ratio(some, Summarise({}))));
    EXPECT_TRUE(std::isnan(Ratio(some, Summarise({0, 0, 1}))));
}
