#pragma once
// The supply current limits of the controller bench's two consumption steps, kept in the bench's
// settings file. No limit is set until the operator gives one: a step without limits only shows its
// reading. The file holds four CR LF lines, minimum and maximum in mA of the 10 V step, then of the
// 24 V step; an empty line is no limit.
#include <array>
#include <optional>
#include <string>
#include <vector>

struct ConsumptionLimits {
    double volts;
    std::optional<double> minMa, maxMa;
    bool judged() const { return minMa || maxMa; }
    // The current lies within the limits that are set.
    bool accepts(double ma) const { return (!minMa || ma >= *minMa) && (!maxMa || ma <= *maxMa); }
};

using ConsumptionSteps = std::array<ConsumptionLimits, 2>; // steps 0 (10 V) and 2 (24 V)

constexpr const char* BenchSettingsFileName = "collaudo.dat";

std::string FormatConsumptionLimits(const ConsumptionSteps& steps);
// Reads the limits over steps (volts stay). Lines that do not read are no limit; their numbers (from 1)
// are returned so the bench can say so.
std::vector<int> ParseConsumptionLimits(const std::string& text, ConsumptionSteps& steps);
// A limit as the operator types it: empty is none; otherwise a number of mA from 0 up, or nothing read.
std::optional<std::optional<double>> ParseLimitEntry(const std::string& text);
