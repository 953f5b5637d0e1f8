// libFuzzer target: the variables file (".fmt").
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto in = fuzzInput(data, size);
    if (!in) return 0;
    auto vars = std::make_unique<VariableTable>();
    LoadReport report;
    readVariableFile(in->text, in->layout().mode(), *vars, report);
    return 0;
}
