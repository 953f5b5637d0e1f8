#pragma once
// What every benchmark shares: the short run, interleaved rounds, the ratios ours/reference as
// min/median/max, and a failure that ends the run with a non-zero exit.
#include <functional>
#include <string>
#include <vector>

// "--short" as the first argument asks for the short run the tests make: one round at small sizes, every
// result checked as in a full run, no time judged. ReadBenchMode takes it out of the arguments.
void ReadBenchMode(int& argc, char** argv);
// full in a full run, small in a short one.
int FullOrShort(int full, int small);
// Rounds of a run: 7, or 1 in a short run.
int BenchRounds();

double Median(std::vector<double> values);
// "<what>: ours/reference min 0.97 median 1.08 max 1.12"
void PrintRatio(const std::string& what, const std::vector<double>& ratios);
// Prints the reason and exits with code 1.
[[noreturn]] void FailBench(const std::string& what);
// Seconds one call of fn takes, measured over calls calls.
double SecondsPerCall(int calls, const std::function<void()>& fn);
// Runs each case once per round for BenchRounds() rounds, the order reversed every other round; returns
// the seconds of every case in every round (result[case][round]).
std::vector<std::vector<double>> InterleavedRounds(const std::vector<std::function<double()>>& cases);
// Growth check for cases measured at sizes: per size, time per unit of size over that of the smallest
// size, per round, printed as ratios (1.00 is linear).
void PrintGrowth(const std::string& what, const std::vector<int>& sizes,
                 const std::vector<std::vector<double>>& seconds);
