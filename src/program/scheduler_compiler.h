#pragma once
// Scheduler and logger tasks compiled into the block each task carries.
#include <cstdint>

#include "core/designer_data.h"

namespace frm_scheduler {

// Rebuilds TaskBlock of tasks 1..count from their settings.
void CompilaOggetti(TaskArray& tasks);

// Whether the block of a task of this type is known; the others compile with opcode 0.
bool hasBlockLayout(uint8_t taskType);

} // namespace frm_scheduler
