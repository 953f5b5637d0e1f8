// libFuzzer target: the strings file (".str") against the limits of every model.
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto in = fuzzInput(data, size);
    if (!in) return 0;
    auto strings = std::make_unique<StringTable>();
    LoadReport report;
    readStringFile(in->text, in->layout().mode(), *strings, in->model(), report);
    return 0;
}
