#pragma once

#include <cstdint>

// A small seeded generator (splitmix64). The standard distributions are free
// to differ between library versions; this one gives the same numbers
// everywhere, which keeps the demo files byte-identical from run to run.
class CDemoRandom
{
public:
    explicit CDemoRandom(std::uint64_t seed) : m_nState(seed) {}

    std::uint64_t Next()
    {
        std::uint64_t z = (m_nState += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // In [0, 1).
    double Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
    double Uniform(double lo, double hi) { return lo + (hi - lo) * Uniform(); }

private:
    std::uint64_t m_nState;
};
