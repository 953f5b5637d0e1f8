#pragma once
// Operations on the program store that several editors share.
#include <cstdint>
#include <string>

#include "core/program_store.h"

// A record whose FunctionType is 0 is an empty rung, whatever its texts and trigger fields hold.
inline bool isEmptyRung(const CommandRecord& r) { return r.FunctionType == 0; }

// A Linearization rung: operation 1 with sub-operation 8; byte 0 of its slot 2 names its lookup table.
inline bool isLinearization(const CommandRecord& r) {
    return r.FunctionType == 3 && r.Opcode == 1 && r.SubOp == 8;
}

// The first rung of the main program whose Linearization uses lookup table `table`; 0 when none does.
int16_t LinearizationRung(const ProgramStore& store, int table);

// The description box's text as the record keeps it: a description never holds a ",".
void SetDescription(CommandRecord& r, const std::string& text);

// Closing the program: rungs 1..RungCount of the current section become empty rungs, and the section,
// CurrentRungCount and CurrentRung go to 0. Other sections and CurrentSection keep their values.
void ClearCurrentSection(ProgramStore& store);

// Appends a rung slot to the current section (RungCount + 1, CurrentRungCount kept in step) and returns
// its number; 0 when the section already holds MaxRungs rungs. The slot keeps whatever record it holds.
int16_t AppendRung(ProgramStore& store);
