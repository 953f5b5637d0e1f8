// libFuzzer target: the watch list file (".wtc").
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto in = fuzzInput(data, size);
    if (!in) return 0;
    auto watch = std::make_unique<WatchList>();
    LoadReport report;
    readWatchFile(in->text, in->layout().mode(), *watch, report);
    return 0;
}
