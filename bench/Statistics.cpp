#include "bench/Statistics.h"

#include <algorithm>
#include <cmath>

Summary Summarise(std::vector<double> samples) {
    Summary summary;
    summary.count = samples.size();
    if (samples.empty()) {
        return summary;
    }
    std::sort(samples.begin(), samples.end());
    const size_t middle = samples.size() / 2;
    summary.median =
        samples.size() % 2 == 1 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
    summary.min = samples.front();
    summary.max = samples.back();
    const size_t rank = static_cast<size_t>(std::ceil(0.9 * static_cast<double>(samples.size())));
    summary.ninetieth = samples[std::max<size_t>(rank, 1) - 1];
    return summary;
}

double Ratio(const Summary& game, const Summary& floor) {
    if (game.count == 0 || floor.count == 0 || !(floor.median > 0)) {
        return std::nan("");
    }
    return game.median / floor.median;
}
