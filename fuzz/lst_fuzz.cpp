// libFuzzer target: the register names file (".lst") against the limits of every model.
#include "comm/comm_state.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto in = fuzzInput(data, size);
    if (!in) return 0;
    auto regs = std::make_unique<std::array<RegisterRecord, RegisterCount>>();
    LoadReport report;
    readRegisterFile(in->text, in->layout().mode(), *regs, in->model(), report);
    return 0;
}
