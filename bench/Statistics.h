#pragma once

#include <cstddef>
#include <vector>

// Figures are reported as the median of their samples with the smallest and largest beside
// it: the median shrugs off the odd run that a busy machine spoils, and min and max show how
// much the runs spread.
struct Summary {
    size_t count = 0;
    double median = 0;
    double min = 0;
    double max = 0;
    // The smallest sample that at least 90 % of the samples do not exceed.
    double ninetieth = 0;
};

// An empty list gives a summary with count 0.
Summary Summarise(std::vector<double> samples);

// The game's median over the floor's; NaN when either has no samples or the floor's median is
// not above zero, so that no ratio is ever printed for a figure that has none.
double Ratio(const Summary& game, const Summary& floor);
