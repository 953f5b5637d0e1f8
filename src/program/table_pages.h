#pragma once
// Page numbers of the lookup tables, counted downward in pages of 8 points.
#include "core/project_data.h"

// Recomputes StartPage of every table; run after the tables were read or one was edited.
void AllocaTabelle(LookupTableArray& tables);
