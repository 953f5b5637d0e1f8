#pragma once
// One run of the compiler: the project, the model it compiles for, the texts it reports with and the
// compiler state. Shared by the driver and the rung, task and label encoders.
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/model_record.h"
#include "core/shell_state.h"
#include "core/project.h"

// A section's rung count, bounded to its slots.
inline int rungCount(const ProgramSection& s) { return std::clamp<int>(s.RungCount, 0, MaxRungs); }

struct CompileJob {
    Project& project;
    const ModelRecord& model;
    const std::array<std::string, UiTextCount>& text;
    CompilerState& state;
    int pageSections = 0; // display-page sections compiled (1..pageSections); 0 without a display
    // Label -> its entry number + 1, built at the first search of the run (labels do not change while
    // compiling), so that a search costs no walk over every rung.
    mutable std::optional<std::unordered_map<std::string, int16_t>> labelEntries;

    std::vector<uint8_t>& image() { return project.ProgramImage; }
    ProgramSection& section(int s) { return project.Program.Sections[static_cast<size_t>(s)]; }
    const ProgramSection& section(int s) const { return project.Program.Sections[static_cast<size_t>(s)]; }
    // Sets the rung's or task's error text; the driver collects it.
    void fail(int textKey) { state.CompileErrorText = text[static_cast<size_t>(textKey)]; }
};

// Interface texts the compiler reports with.
namespace CompileText {
constexpr int ErrorCheck = 44;
constexpr int Error = 45;
constexpr int ResourceUsage = 46;
constexpr int Compiling = 49;
constexpr int Compiled = 50;
constexpr int ImpossibleToCompile = 51;
constexpr int LabelError = 52;
constexpr int NoFunctionBlock = 211;
} // namespace CompileText
