// Side-by-side timing: the variants run in alternating rounds in one process,
// so a noisy shared machine slows them alike and their ratio stays meaningful.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace bench {

inline double Seconds() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(f.QuadPart);
}

// Runs each variant `rounds` times, `iterations` calls a round, in turn, and
// returns the median seconds per call of each.
inline std::vector<double> MedianPerCall(const std::vector<std::function<void()>>& variants, int rounds,
                                         int iterations) {
    std::vector<std::vector<double>> samples(variants.size());
    for (int r = 0; r < rounds; ++r)
        for (size_t k = 0; k < variants.size(); ++k) {
            // Every other round runs the variants in reverse, so none is always first.
            const size_t v = r % 2 ? variants.size() - 1 - k : k;
            double start = Seconds();
            for (int i = 0; i < iterations; ++i) variants[v]();
            samples[v].push_back((Seconds() - start) / iterations);
        }
    std::vector<double> medians;
    for (auto& s : samples) {
        std::sort(s.begin(), s.end());
        medians.push_back(s[s.size() / 2]);
    }
    return medians;
}

}  // namespace bench
