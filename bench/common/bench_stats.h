#pragma once
// What every benchmark prints: ratios ours/reference as min/median/max over interleaved rounds.
#include <vector>

double Median(std::vector<double> values);
// "<what>: ours/reference min 0.97 median 1.08 max 1.12"
void PrintRatio(const char* what, const std::vector<double>& ratios);
