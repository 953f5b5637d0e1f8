#pragma once
// One rung into the program image: its rung-table entry and, for an operation block, its data block.
struct CompileJob;

// What the compile reports for a rung whose function the editor has not encoded.
inline constexpr const char* NotEncodedText = "not encoded: open the rung and add it again";

// Encodes rung `rung` of the current section. A rung that would not fit the image's format is not
// written and gets the "Error" text; a rung with a function but no encoding gets NotEncodedText.
void CompilaRung(CompileJob& job, int rung);
