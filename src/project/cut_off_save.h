#pragma once
// A project set whose last save was cut off is put in order before it is opened or saved again.
#include <string>

#include "core/app_context.h"

// Settles a cut-off save of the set at base and tells the user how (log and message): finished, put back,
// or left as the user has it with the changed files named. Then names, told too, the files a save cut off
// before its journal (or an earlier version's save) left beside the set. Whether the set may now be opened
// (saving false) or written (saving true): not when it could not be put in order, and no save over files
// left as the user has them or beside such leftovers.
bool SettleProjectSet(AppContext& ctx, const std::string& base, bool saving);
