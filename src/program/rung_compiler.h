#pragma once
// One rung into the program image: its rung-table entry and, for an operation block, its data block.
struct CompileJob;

// Encodes rung `rung` of the current section. A rung that would not fit the image's format is not
// written and gets the "Error" text.
void CompilaRung(CompileJob& job, int rung);
