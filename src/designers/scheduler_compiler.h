#pragma once
// Scheduler and logger tasks compiled into the block each task carries.
#include "core/designer_data.h"

namespace frm_scheduler {

// Rebuilds TaskBlock of tasks 1..count from their settings.
void CompilaOggetti(TaskArray& tasks);

} // namespace frm_scheduler
