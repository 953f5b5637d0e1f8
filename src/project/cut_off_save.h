#pragma once
// A project set whose last save was cut off is put in order before it is opened or saved again.
#include <optional>
#include <string>

#include "core/app_context.h"
#include "core/durable_file.h"

// Settles a cut-off save of the set at base and tells the user how (log and message): finished, put back,
// or left as the user has it with the changed files named. Nothing, told too, when the set could not be
// put in order: it must then be neither read nor written.
std::optional<CutOffSave> SettleProjectSet(AppContext& ctx, const std::string& base);
