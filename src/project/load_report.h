#pragma once
// What a load could not take as it was: collected, then shown once and logged.
#include <string>
#include <vector>

#include "project/item_reader.h"

struct LoadReport {
    std::vector<std::string> problems;

    void add(std::string problem) { problems.push_back(std::move(problem)); }
    // Notes unconvertible items and an early end of the file read by in.
    void noteItems(const std::string& file, const ItemReader& in) {
        if (in.unconvertible > 0)
            add(file + ": " + std::to_string(in.unconvertible) + " item(s) could not be converted");
        if (in.truncated) add(file + ": the file ends early");
    }
    void noteDropped(const std::string& file, const std::string& what, int64_t dropped, int limit) {
        if (dropped > 0)
            add(file + ": " + std::to_string(dropped) + " " + what + " beyond " + std::to_string(limit) +
                " dropped");
    }
};
