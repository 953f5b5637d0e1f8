#include "bench_stats.h"

#include <algorithm>
#include <cstdio>

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void PrintRatio(const char* what, const std::vector<double>& ratios) {
    if (ratios.empty()) return;
    const auto [lo, hi] = std::minmax_element(ratios.begin(), ratios.end());
    std::printf("%s: ours/reference min %.2f median %.2f max %.2f\n", what, *lo, Median(ratios), *hi);
}
