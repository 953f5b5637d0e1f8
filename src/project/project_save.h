#pragma once
// Saving the project as its file set.
#include "core/app_context.h"

// Writes the file set; asks for a name when askName is set or the project has none. The whole set is
// written to temporary files and renamed only when every file was written. Returns true when saved;
// false when cancelled or failed (one message names the file; ProjectModified stays set).
bool SalvaProgetto(AppContext& ctx, bool askName);
