#pragma once
// Jump labels and automatic arguments: rung labels become rung-table entry numbers.
#include <cstdint>
#include <string>

struct CompileJob;

// The 0-based rung-table entry of the rung carrying the name, plus 1; 0 when no compiled rung carries
// it. "DISPLAY" names the first entry after the current section unless a rung carries that label.
int16_t IndiceEtichetta(const CompileJob& job, const std::string& name);

// Writes the resolved jump targets (and the page list of "Call Page") into the record of the rung of
// the current section; a missing label sets the "Label Error" text.
void RisolviArgomenti(CompileJob& job, int rung);
