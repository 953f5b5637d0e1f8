// libFuzzer target: the lookup tables file (".ptb"), then the memory pages the load gives the tables.
#include "fuzz_input.h"
#include "program/table_pages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto in = fuzzInput(data, size);
    if (!in) return 0;
    auto tables = std::make_unique<LookupTableArray>();
    LoadReport report;
    readTablesFile(in->text, in->layout().mode(), *tables, report);
    AllocaTabelle(*tables);
    return 0;
}
