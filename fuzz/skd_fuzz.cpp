// libFuzzer target: the scheduler and logger tasks file (".skd"), then the task compile the load runs.
#include "designers/scheduler_compiler.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto in = fuzzInput(data, size);
    if (!in) return 0;
    auto tasks = std::make_unique<TaskArray>();
    LoadReport report;
    readTaskFile(in->text, in->layout(), *tasks, report);
    frm_scheduler::CompilaOggetti(*tasks);
    return 0;
}
