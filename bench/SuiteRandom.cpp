#include "SuiteRandom.h"

#include <algorithm>
#include <numeric>

std::vector<int> SuiteRandom::distinct(int count, int bound) {
    std::vector<int> chosen;
    chosen.reserve(std::size_t(count));
    if (count * 4 > bound) {
        std::vector<int> all(static_cast<std::size_t>(bound));
        std::iota(all.begin(), all.end(), 0);
        shuffle(all);
        all.resize(std::size_t(std::min(count, bound)));
        return all;
    }
    std::vector<bool> taken(std::size_t(bound), false);
    while (int(chosen.size()) < count) {
        const int value = below(bound);
        if (!taken[std::size_t(value)]) {
            taken[std::size_t(value)] = true;
            chosen.push_back(value);
        }
    }
    return chosen;
}

std::vector<int> SuiteRandom::longTail(int total, int parts, double offset) {
    std::vector<double> weights(static_cast<std::size_t>(parts));
    for (int k = 0; k < parts; ++k)
        weights[std::size_t(k)] = 1.0 / (k + offset);
    const double sum = std::accumulate(weights.begin(), weights.end(), 0.0);
    const int spare = total - parts;
    std::vector<int> counts(static_cast<std::size_t>(parts));
    int given = 0;
    for (int k = 0; k < parts; ++k) {
        counts[std::size_t(k)] = 1 + int(spare * weights[std::size_t(k)] / sum);
        given += counts[std::size_t(k)];
    }
    // Rounding leaves a few over; the largest parts take them.
    for (int k = 0; given < total; k = (k + 1) % parts, ++given)
        ++counts[std::size_t(k)];
    shuffle(counts);
    return counts;
}
