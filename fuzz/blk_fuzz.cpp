// libFuzzer target: the text blocks file (".blk") against the limits of every model.
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto in = fuzzInput(data, size);
    if (!in) return 0;
    auto blocks = std::make_unique<TextBlockTable>();
    LoadReport report;
    readBlockFile(in->text, in->layout(), *blocks, in->model(), report);
    return 0;
}
