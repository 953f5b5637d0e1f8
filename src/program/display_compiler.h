#pragma once
// Display pages compiled into the program sections the compiler reads ("PAG" + page number).
#include "core/designer_data.h"
#include "core/program_store.h"

namespace frm_display {

// Pages that have a program section of their own: sections 1 to 4.
constexpr int CompiledPageLimit = SectionCount - 1;

// Page p (p < 4) becomes section p + 1: one display block per object and a closing block, rung 1
// labelled "PAG" + (p + 1). Returns how many pages found no section and were left out.
int CompilaOggetti(const DisplayPageArray& pages, ProgramStore& program);

} // namespace frm_display
