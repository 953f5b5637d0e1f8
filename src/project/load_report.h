#pragma once
// What a load could not take as it was: collected, then shown once and logged.
#include <string>
#include <vector>

#include "project/item_reader.h"

struct LoadReport {
    std::vector<std::string> problems;
    std::string damaged; // files whose content was not all taken, as ".dsp, .skd"

    // A problem begins with its file's extension and a colon. A damaging problem means the project no
    // longer holds all the file does.
    void add(std::string problem, bool damaging = true) {
        if (std::string file = problem.substr(0, problem.find(':'));
            damaging && damaged.find(file) == std::string::npos)
            damaged += (damaged.empty() ? "" : ", ") + file;
        problems.push_back(std::move(problem));
    }
    // Notes unconvertible items, an early end of the file read by in, and lines left after its last record
    // (more than the model holds, or written by another program).
    void noteItems(const std::string& file, const ItemReader& in) {
        if (in.unconvertible > 0)
            add(file + ": " + std::to_string(in.unconvertible) + " item(s) could not be converted");
        if (in.skipped > 0) add(file + ": " + std::to_string(in.skipped) + " line(s) could not be read");
        if (in.truncated) add(file + ": the file ends early");
        if (int64_t left = in.linesLeft(); left > 0)
            add(file + ": " + std::to_string(left) + " line(s) after what the project holds dropped");
    }
    void noteDropped(const std::string& file, const std::string& what, int64_t dropped, int limit) {
        if (dropped > 0)
            add(file + ": " + std::to_string(dropped) + " " + what + " beyond " + std::to_string(limit) +
                " dropped");
    }
};
