#pragma once
// Saving the project as its file set.
#include "core/app_context.h"

// Writes the file set; asks for a name when askName is set or the project has none. The whole set is
// written to temporary files and renamed only when every file was written. Returns true when saved (a
// journal the save could not remove is told); false when cancelled or failed (one message names the file
// and, where the failure could not be undone, what the files hold; ProjectModified stays set).
bool SalvaProgetto(AppContext& ctx, bool askName);
