#pragma once

#include <string>
#include <vector>

#include "bench/Statistics.h"

// The one table the benchmark prints: each figure of the game beside the floor's and the
// minimal client's, the game's ratio to each, the targets it is held to and whether it met
// them.
class ResultTable {
  public:
    enum class Target {
        kNone,
        kRatioAtMost,   // the game's median over the floor's median
        kGameMaxAtMost, // every run of the game, e.g. idle CPU
    };

    struct Row {
        std::string figure;
        std::string unit;
        int decimals = 2;
        Summary game;
        Summary floor; // count 0: the floor has no such figure
        Target target = Target::kNone;
        double limit = 0;
        Summary minimal = {}; // count 0: no such figure, or no minimal client in this run
        // When above zero, the game's median over the minimal client's is held to it too.
        double minimalLimit = 0;
    };

    void AddHeading(const std::string& line);
    void AddRow(const Row& row);
    void AddNote(const std::string& line);

    // "met", "MISSED", or empty for a row without a target; a target whose figures are
    // missing counts as missed.
    static std::string Verdict(const Row& row);
    bool AllTargetsMet() const;
    std::string Format() const;

  private:
    std::vector<std::string> headings;
    std::vector<Row> rows;
    std::vector<std::string> notes;
};
