#pragma once

#include <QStringList>
#include <cstdint>
#include <random>
#include <vector>

// The generator's source of chance: a fixed-seed Mersenne twister with its own small helpers
// (the standard distributions may differ between libraries, which would change the suite).
class SuiteRandom {
public:
    explicit SuiteRandom(std::uint64_t seed) : m_engine(seed) {}

    // A whole number in [0, bound).
    int below(int bound) { return int(m_engine() % std::uint64_t(bound)); }
    // A whole number in [low, high].
    int between(int low, int high) { return low + below(high - low + 1); }
    // True with the given chance (0..1).
    bool chance(double p) { return double(m_engine() % 1000000) < p * 1000000.0; }
    const QString& pick(const QStringList& words) { return words.at(below(int(words.size()))); }

    template <typename T> void shuffle(std::vector<T>& values) {
        for (std::size_t i = values.size(); i > 1; --i)
            std::swap(values[i - 1], values[std::size_t(below(int(i)))]);
    }

    // count distinct values of [0, bound), in random order.
    std::vector<int> distinct(int count, int bound);

    // Splits total into parts counts with a long tail: part k (0-based, before shuffling)
    // weighs 1 / (k + offset); each part gets at least one. The parts come out shuffled.
    std::vector<int> longTail(int total, int parts, double offset);

private:
    std::mt19937_64 m_engine;
};
