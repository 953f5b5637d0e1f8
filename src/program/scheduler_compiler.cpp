#include "program/scheduler_compiler.h"

#include <algorithm>

namespace frm_scheduler {

namespace {

constexpr uint16_t TaskBlockKind = 3; // operation block
// Block opcode by task type 0..6; type 3 runs opcode 143, which the function catalogue does not offer.
// The other types get theirs with the scheduler designer.
constexpr uint16_t TaskOpcodes[7] = {0, 0, 0, 143, 0, 0, 0};

} // namespace

void CompilaOggetti(TaskArray& tasks) {
    int count = std::min<int>(tasks.Count, MaxTasks);
    for (int t = 1; t <= count; ++t) {
        SchedulerTask& task = tasks.Tasks[static_cast<size_t>(t)];
        task.TaskBlock = CommandRecord{};
        task.TaskBlock.FunctionType = TaskBlockKind;
        task.TaskBlock.Opcode = task.TaskType < std::size(TaskOpcodes) ? TaskOpcodes[task.TaskType] : 0;
        task.TaskBlock.EncodedFlag = -1;
        // The enable condition tests one bit of its register; only the bit number is saved.
        task.EnableMask = task.EnableBit >= 0 && task.EnableBit <= 15 ? uint16_t(1u << task.EnableBit) : 0;
    }
}

bool hasBlockLayout(uint8_t taskType) {
    return taskType < std::size(TaskOpcodes) && TaskOpcodes[taskType] != 0;
}

} // namespace frm_scheduler
