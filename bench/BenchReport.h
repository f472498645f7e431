#pragma once

#include <string>
#include <vector>

#include "bench/BenchFigures.h"
#include "bench/BenchOptions.h"
#include "bench/ResultTable.h"

// Everything the benchmark measured, summarised into its one table: the figures of the game
// beside the floor's and the minimal client's with their targets, what the machine and the X server
// were, and notes on how the figures were taken and what went wrong on the way.
struct BenchReport {
    const BenchOptions& options;
    const LaunchFigures& game;
    const LaunchFigures& floor;
    const LaunchFigures& minimal;
    const RoundFigures& rounds;
    const TypingFigures& typing;
    std::string server; // as DescribeServer gives it
    const std::vector<std::string>& failures;

    ResultTable MakeTable() const;
};
