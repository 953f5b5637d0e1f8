// libFuzzer target: the display pages file (".dsp"), then the compile of the pages the load runs.
#include "designers/display_compiler.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto in = fuzzInput(data, size);
    if (!in) return 0;
    auto pages = std::make_unique<DisplayPageArray>();
    auto program = std::make_unique<ProgramStore>();
    LoadReport report;
    readDisplayFile(in->text, in->layout(), *pages, report);
    frm_display::CompilaOggetti(*pages, *program);
    return 0;
}
