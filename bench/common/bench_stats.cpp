#include "bench_stats.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
bool shortRun = false;
}

void ReadBenchMode(int& argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--short") != 0) return;
    shortRun = true;
    for (int i = 1; i < argc; ++i)
        argv[i] = argv[i + 1]; // argv[argc] is the null pointer
    --argc;
}

int FullOrShort(int full, int small) {
    return shortRun ? small : full;
}

int BenchRounds() {
    return FullOrShort(7, 1);
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void PrintRatio(const std::string& what, const std::vector<double>& ratios) {
    if (ratios.empty()) return;
    const auto [lo, hi] = std::minmax_element(ratios.begin(), ratios.end());
    std::printf("%s: ours/reference min %.2f median %.2f max %.2f\n", what.c_str(), *lo, Median(ratios), *hi);
    std::fflush(stdout);
}

void FailBench(const std::string& what) {
    std::fprintf(stderr, "FAILED: %s\n", what.c_str());
    std::exit(1);
}

double SecondsPerCall(int calls, const std::function<void()>& fn) {
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < calls; ++i) fn();
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - t0;
    return wall.count() / calls;
}

std::vector<std::vector<double>> InterleavedRounds(const std::vector<std::function<double()>>& cases) {
    std::vector<std::vector<double>> seconds(cases.size());
    for (int round = 0; round < BenchRounds(); ++round)
        for (size_t k = 0; k < cases.size(); ++k) {
            const size_t i = round % 2 ? cases.size() - 1 - k : k;
            seconds[i].push_back(cases[i]());
        }
    return seconds;
}

void PrintGrowth(const std::string& what, const std::vector<int>& sizes,
                 const std::vector<std::vector<double>>& seconds) {
    for (size_t i = 0; i < sizes.size(); ++i) {
        std::vector<double> ratios;
        for (size_t r = 0; r < seconds[i].size(); ++r)
            ratios.push_back((seconds[i][r] / sizes[i]) / (seconds[0][r] / sizes[0]));
        std::printf("%s at size %d: %.3f ms median; ", what.c_str(), sizes[i], Median(seconds[i]) * 1000);
        PrintRatio("time per unit vs size " + std::to_string(sizes[0]), ratios);
    }
}
