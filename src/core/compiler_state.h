#pragma once
// What the compiler leaves behind for the download, verify and export: its counters and the errors of
// the last compile.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

constexpr int MaxCompileErrors = 21;

struct CompileError {
    int16_t Section = 0;    // 0 the main program, p + 1 display page p + 1
    int16_t RungNumber = 0; // rung within its section, or task number
    std::string Text;
};

// The rung a rung-table entry was compiled from.
struct EntryRung {
    int16_t Section = 0;
    int16_t Rung = 0;
};

struct CompilerState {
    // Counters are wider than the image's 8-bit fields so that an overflow is caught, never wrapped.
    int EntryCount = 0;        // entries written so far
    int BlockIndex = 0;        // kind-3 entries written so far
    int32_t DataStart = 0;     // image offset where the data area begins
    int32_t DataPointer = 0;   // image offset of the next free data byte
    std::string CompileErrorText; // error of the rung or task being compiled; empty when clean
    std::array<CompileError, MaxCompileErrors> CompileErrors{};
    int16_t CompileErrorCount = 0; // read by the download after compiling
    // By entry number, the rung of each rung entry: the controller's program counter counts entries,
    // and rungs that compile to nothing have none, so the debugger finds the rung here.
    std::vector<EntryRung> EntryRungs;
};
