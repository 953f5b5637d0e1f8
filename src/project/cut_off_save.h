#pragma once
// A project set whose last save was cut off is put in order before it is opened or saved again.
#include <string>

#include "core/app_context.h"

// Settles a cut-off save of the set at base and tells the user how (log and message): finished, put back,
// or left as the user has it with the changed files named. Then looks at what a save left beside the set
// without a journal: what cannot be the only copy of anything is removed (an Open says so, a Save logs
// it); what may be is named, with the set the files in place form. Whether the set may now be opened
// (saving false) or written (saving true): not when it could not be put in order, and no save while
// anything that save left stays beside the files, or beside what may be the only copy of a file.
bool SettleProjectSet(AppContext& ctx, const std::string& base, bool saving);
