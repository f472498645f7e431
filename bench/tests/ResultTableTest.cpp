#include <gtest/gtest.h>

#include "bench/ResultTable.h"

namespace {

ResultTable::Row RatioRow(std::vector<double> game, std::vector<double> floor, double limit) {
    return {"figure", "ms", 2, Summarise(game), Summarise(floor), ResultTable::Target::kRatioAtMost,
            limit};
}

} // namespace

TEST(ResultTable, RatioTargetIsJudgedAsPrinted) {
    EXPECT_EQ(ResultTable::Verdict(RatioRow({13}, {10}, 1.3)), "met");
    // 1.304 prints as 1.30, so the reader sees a ratio that meets the target.
    EXPECT_EQ(ResultTable::Verdict(RatioRow({13.04}, {10}, 1.3)), "met");
    EXPECT_EQ(ResultTable::Verdict(RatioRow({13.06}, {10}, 1.3)), "MISSED");
    EXPECT_EQ(ResultTable::Verdict(RatioRow({1, 30, 30}, {10, 10, 1}, 1.3)), "MISSED");
}

TEST(ResultTable, TargetWithoutFiguresIsMissed) {
    EXPECT_EQ(ResultTable::Verdict(RatioRow({13}, {}, 1.3)), "MISSED");
    EXPECT_EQ(ResultTable::Verdict(RatioRow({}, {10}, 1.3)), "MISSED");
    ResultTable::Row idle{"idle", "%", 2, Summary{}, Summary{}, ResultTable::Target::kGameMaxAtMost,
                          0};
    EXPECT_EQ(ResultTable::Verdict(idle), "MISSED");
}

TEST(ResultTable, AbsoluteTargetHoldsForEveryRunNotTheMedian) {
    ResultTable::Row idle{
        "idle", "%", 2, Summarise({0, 0, 0.5}), Summary{}, ResultTable::Target::kGameMaxAtMost, 0};
    EXPECT_EQ(ResultTable::Verdict(idle), "MISSED");
    idle.game = Summarise({0, 0.004, 0});
    EXPECT_EQ(ResultTable::Verdict(idle), "met");
}

TEST(ResultTable, FormatShowsBothSidesRatioTargetAndNotes) {
    ResultTable table;
    table.AddHeading("a heading");
    table.AddRow(RatioRow({10, 12, 14}, {8, 10, 12}, 1.3));
    table.AddRow({"game only", "MB", 1, Summarise({6.25}), Summary{}});
    table.AddRow(RatioRow({20}, {10}, 1.3));
    table.AddNote("a note");
    const std::string text = table.Format();

    EXPECT_EQ(text.rfind("a heading\n", 0), 0u);
    EXPECT_NE(text.find("12.00 [10.00, 14.00]"), std::string::npos);
    EXPECT_NE(text.find("10.00 [8.00, 12.00]"), std::string::npos);
    EXPECT_NE(text.find("1.20 <= 1.3x"), std::string::npos);
    EXPECT_NE(text.find("met\n"), std::string::npos);
    EXPECT_NE(text.find("2.00 <= 1.3x   MISSED\n"), std::string::npos);
    // A figure the floor does not have shows a dash and no ratio.
    const size_t gameOnly = text.find("game only");
    ASSERT_NE(gameOnly, std::string::npos);
    const std::string line = text.substr(gameOnly, text.find('\n', gameOnly) - gameOnly);
    EXPECT_NE(line.find("6.2"), std::string::npos);
    EXPECT_NE(line.find(" - "), std::string::npos);
    EXPECT_EQ(line.back(), '-');
    EXPECT_NE(text.find("\na note\n"), std::string::npos);
    EXPECT_FALSE(table.AllTargetsMet());
}

TEST(ResultTable, AllTargetsMetWhenEveryTargetIs) {
    ResultTable table;
    table.AddRow(RatioRow({10}, {10}, 1.3));
    table.AddRow({"no target", "ms", 2, Summarise({100}), Summarise({1})});
    EXPECT_TRUE(table.AllTargetsMet());
}
