// libFuzzer target: the main project file reader in both layouts, with the rung rebuild callback.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "project/project_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    static auto store = std::make_unique<ProgramStore>();
    SetLayout layout{programFileVersion(text) == "1.8", 0};
    for (bool tagged : {layout.tagged, !layout.tagged}) {
        store->Sections[0].RungCount = 0; // appended rungs are reset one by one by the reader
        SetLayout l{tagged, 0};
        LoadReport report;
        int rebuilt = 0;
        readProgramFile(
            text, l, *store,
            [&](int16_t rung) {
                if (rung < 1 || rung > MaxRungs || rung != store->Sections[0].RungCount) __builtin_trap();
                ++rebuilt;
            },
            report);
        if (store->Sections[0].RungCount > MaxRungs || rebuilt != store->Sections[0].RungCount)
            __builtin_trap();
    }
    return 0;
}
