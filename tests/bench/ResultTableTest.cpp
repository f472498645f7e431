#include <gtest/gtest.h>

#include <regex>
#include <tuple>

#include "bench/ResultTable.h"

namespace {

using Target = ResultTable::Target;

ResultTable::Row MakeRow(Target target, std::vector<double> game, std::vector<double> floor,
                         double limit = 1.3, std::vector<double> minimal = {},
                         double minimalLimit = 0) {
    return {"figure",           "ms",        2, Summarise(game), Summarise(floor), target, limit,
            Summarise(minimal), minimalLimit};
}

} // namespace

TEST(ResultTable, JudgesEachTargetOnItsFiguresAsPrinted) {
    const std::tuple<ResultTable::Row, const char*> cases[] = {
        // 1.304 prints as 1.30, so the reader sees a ratio that meets the target.
        {MakeRow(Target::kRatioAtMost, {13.04}, {10}), "met"},
        {MakeRow(Target::kRatioAtMost, {13.06}, {10}), "MISSED"},
        // The medians: 30 against 10, whatever the extremes.
        {MakeRow(Target::kRatioAtMost, {1, 30, 30}, {10, 10, 100}), "MISSED"},
        {MakeRow(Target::kRatioAtMost, {13}, {}), "MISSED"},
        // Every run of the game, not its median.
        {MakeRow(Target::kGameMaxAtMost, {0, 0, 0.5}, {}, 0), "MISSED"},
        {MakeRow(Target::kGameMaxAtMost, {0, 0.004, 0}, {}, 0), "met"},
        {MakeRow(Target::kGameMaxAtMost, {}, {}, 0), "MISSED"},
        // Held to the minimal client as well: both ratios must meet their targets.
        {MakeRow(Target::kRatioAtMost, {13}, {10}, 1.3, {9.3}, 1.4), "met"},
        {MakeRow(Target::kRatioAtMost, {13}, {10}, 1.3, {9.2}, 1.4), "MISSED"},
        {MakeRow(Target::kRatioAtMost, {13}, {10}, 1.3, {}, 1.4), "MISSED"},
        {MakeRow(Target::kNone, {}, {}), ""}};
    for (const auto& [row, verdict] : cases) {
        EXPECT_EQ(ResultTable::Verdict(row), verdict)
            << row.game.count << " game samples, " << row.floor.count << " floor samples";
    }
}

TEST(ResultTable, PrintsBothSidesTheRatioTargetAndVerdict) {
    ResultTable table;
    table.AddHeading("a heading");
    table.AddRow(MakeRow(Target::kRatioAtMost, {10, 12, 14}, {8, 10, 12}));
    // A figure the floor does not have shows a dash and no ratio.
    table.AddRow({"game only", "MB", 1, Summarise({6.25}), Summary{}});
    table.AddNote("a note");
    const std::string text = table.Format();
    // The columns of other yardsticks may stand between the floor's ratio and the verdict.
    EXPECT_TRUE(std::regex_search(
        text, std::regex("^a heading\n(.*\n)*figure +ms +3/3 +12.00 \\[10.00, 14.00\\] +10.00 "
                         "\\[8.00, 12.00\\] +1.20 <= 1.3x.* met\ngame only +MB +1 +6.2 +- +-.*"
                         "\n(.*\n)*\na note\n")))
        << text;
    EXPECT_TRUE(table.AllTargetsMet());
    table.AddRow(MakeRow(Target::kRatioAtMost, {20}, {10}));
    EXPECT_FALSE(table.AllTargetsMet());
}
