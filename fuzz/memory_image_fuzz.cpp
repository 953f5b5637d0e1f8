// libFuzzer target: the memory-image text file, for any count of values asked for.
#include <string>

#include "fuzz_input.h"
#include "program/transfer/memory_image_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto in = fuzzInput(data, size);
    if (!in) return 0;
    size_t count = size_t{in->selector} * 32;
    auto values = ParseMemoryImageText(std::string(in->text), count);
    if (values && values->size() != count) __builtin_trap();
    return 0;
}
