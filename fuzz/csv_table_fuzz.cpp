// libFuzzer target: one lookup table file (".csv").
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "project/table_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    LookupTable table;
    readTableFile(std::string_view(reinterpret_cast<const char*>(data), size), table);
    return 0;
}
