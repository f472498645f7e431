#include <gtest/gtest.h>

#include <regex>

#include "bench/ResultTable.h"

namespace {

using Target = ResultTable::Target;

ResultTable::Row MakeRow(Target target, std::vector<double> game, std::vector<double> floor,
                         double limit) {
    return {"figure", "ms", 2, Summarise(game), Summarise(floor), target, limit};
}

} // namespace

TEST(ResultTable, JudgesEachTargetOnItsFiguresAsPrinted) {
    const std::tuple<Target, std::vector<double>, std::vector<double>, double, const char*>
        cases[] = {
            {Target::kRatioAtMost, {13}, {10}, 1.3, "met"},
            // 1.304 prints as 1.30, so the reader sees a ratio that meets the target.
            {Target::kRatioAtMost, {13.04}, {10}, 1.3, "met"},
            {Target::kRatioAtMost, {13.06}, {10}, 1.3, "MISSED"},
            // The medians: 30 against 10, whatever the extremes.
            {Target::kRatioAtMost, {1, 30, 30}, {10, 10, 100}, 1.3, "MISSED"},
            {Target::kRatioAtMost, {13}, {}, 1.3, "MISSED"},
            {Target::kRatioAtMost, {}, {10}, 1.3, "MISSED"},
            // Every run of the game, not its median.
            {Target::kGameMaxAtMost, {0, 0, 0.5}, {}, 0, "MISSED"},
            {Target::kGameMaxAtMost, {0, 0.004, 0}, {}, 0, "met"},
            {Target::kGameMaxAtMost, {}, {}, 0, "MISSED"},
            {Target::kNone, {}, {}, 0, ""},
        };
    for (const auto& [target, game, floor, limit, verdict] : cases) {
        EXPECT_EQ(ResultTable::Verdict(MakeRow(target, game, floor, limit)), verdict)
            << game.size() << " game samples, " << floor.size() << " floor samples";
    }
}

TEST(ResultTable, PrintsBothSidesTheRatioTargetAndVerdict) {
    ResultTable table;
    table.AddHeading("a heading");
    table.AddRow(MakeRow(Target::kRatioAtMost, {10, 12, 14}, {8, 10, 12}, 1.3));
    // A figure the floor does not have shows a dash and no ratio.
    table.AddRow({"game only", "MB", 1, Summarise({6.25}), Summary{}});
    table.AddNote("a note");
    const std::string text = table.Format();
    EXPECT_EQ(text.rfind("a heading\n", 0), 0u) << text;
    EXPECT_TRUE(std::regex_search(text, std::regex("\nfigure +ms +3/3 +12.00 \\[10.00, 14.00\\] +"
                                                   "10.00 \\[8.00, 12.00\\] +1.20 <= 1.3x +met\n")))
        << text;
    EXPECT_TRUE(std::regex_search(text, std::regex("\ngame only +MB +1 +6.2 +- +-\n"))) << text;
    EXPECT_NE(text.find("\n\na note\n"), std::string::npos) << text;

    EXPECT_TRUE(table.AllTargetsMet());
    table.AddRow(MakeRow(Target::kRatioAtMost, {20}, {10}, 1.3));
    EXPECT_FALSE(table.AllTargetsMet());
}
