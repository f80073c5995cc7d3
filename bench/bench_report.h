// What the benchmark programs share: a clock, simple statistics and the table row that
// bench/run collects ("ROW|figure|measured|reference|ratio|target").
#pragma once

#include "tests/support/microsecond_clock.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

using testclock::MicrosecondsNow;

inline double Mean(const std::vector<double>& values) {
    double sum = 0;
    for (double value : values) {
        sum += value;
    }
    return values.empty() ? 0 : sum / static_cast<double>(values.size());
}

inline double StandardDeviation(const std::vector<double>& values) {
    const double mean = Mean(values);
    double squares = 0;
    for (double value : values) {
        squares += (value - mean) * (value - mean);
    }
    return values.empty() ? 0 : std::sqrt(squares / static_cast<double>(values.size()));
}

inline double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// One row of the table; the ratio is measured / reference.
inline void Row(const std::string& figure, double measured, double reference,
                const std::string& target = "-", int decimals = 1) {
    const double ratio = reference != 0 ? measured / reference : 0;
    // Small ratios keep a third decimal so that they do not read as nothing.
    std::printf("ROW|%s|%.*f|%.*f|%.*f|%s\n", figure.c_str(), decimals, measured, decimals,
                reference, ratio < 0.1 ? 3 : 2, ratio, target.c_str());
    std::fflush(stdout);
}

} // namespace bench
