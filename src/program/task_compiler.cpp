#include "program/task_compiler.h"

#include <algorithm>

#include "program/compile_job.h"
#include "program/image_bytes.h"
#include "program/entry_writer.h"

namespace {

constexpr int TaskHeadBytes = 44; // opcode, 0 and 42 parameter bytes beyond DataSize
constexpr int EnableBytes = 4;
constexpr uint16_t CsvLoggerOpcode = 138;

std::string csvHeaderLine(const CompileJob& job, const SchedulerTask& task) {
    std::string line;
    for (int k = 0; k < task.FieldCount; ++k)
        line += job.project.Variables.Variables[task.FieldList[static_cast<size_t>(k)]].CsvName + ";";
    return line;
}

} // namespace

bool CompilaTask(CompileJob& job, int t) {
    SchedulerTask& task = job.project.Tasks.Tasks[static_cast<size_t>(t)];
    const CommandRecord& block = task.TaskBlock;
    bool enable = job.model.HasTrigger != 0 && task.EnableFlag == -1;
    int blockBytes = block.DataSize + TaskHeadBytes;
    int size = blockBytes + (enable ? EnableBytes : 0);
    CompilerState& st = job.state;
    int d = st.DataPointer;
    if (block.Opcode > 255 || size > 255 || !fitsImage(job.image(), d, size)) return false;
    if (!writeOperationEntry(job, size, enable ? 2 : 0)) return false;

    std::vector<uint8_t>& img = job.image();
    size_t b = static_cast<size_t>(d);
    img[b] = static_cast<uint8_t>(block.Opcode);
    img[b + 1] = 0;
    std::copy_n(task.TaskParameters.begin(), blockBytes - 2, img.begin() + static_cast<std::ptrdiff_t>(b + 2));
    size_t p = b + static_cast<size_t>(blockBytes);
    if (enable) p = putCondition(img, p, task.EnableRegister, task.EnableMask);
    st.DataPointer = static_cast<int32_t>(p);

    if (job.model.HasCsvLogger == -1 && block.Opcode == CsvLoggerOpcode) task.CsvHeaderLine = csvHeaderLine(job, task);
    return true;
}
