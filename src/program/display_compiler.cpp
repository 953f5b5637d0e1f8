#include "program/display_compiler.h"

#include <algorithm>

namespace frm_display {

namespace {

constexpr uint16_t DisplayBlockKind = 3;  // operation block
constexpr uint16_t DisplayOpcode = 3;     // display
constexpr uint8_t RefreshSubOp = 254;     // the closing block refreshes the page
constexpr uint16_t DisplayBlockSize = 34; // opcode, 0 and eight argument slots

CommandRecord displayBlock(uint8_t subOp) {
    CommandRecord r;
    r.FunctionType = DisplayBlockKind;
    r.Opcode = DisplayOpcode;
    r.SubOp = subOp;
    r.EncodedFlag = -1;
    r.DataSize = DisplayBlockSize;
    return r;
}

} // namespace

int CompilaOggetti(const DisplayPageArray& pages, ProgramStore& program) {
    int count = std::min<int>(pages.Count, MaxDisplayPages);
    int compiled = std::min(count, CompiledPageLimit);
    for (int p = 0; p < compiled; ++p) {
        ProgramSection& section = program.Sections[static_cast<size_t>(p + 1)];
        int objects = std::min<int>(pages.Pages[static_cast<size_t>(p)].ObjectCount, MaxPageObjects);
        for (int o = 1; o <= objects; ++o)
            section.Rungs[static_cast<size_t>(o)] = displayBlock(0);
        section.Rungs[static_cast<size_t>(objects + 1)] = displayBlock(RefreshSubOp);
        section.Rungs[1].Label = "PAG" + std::to_string(p + 1);
        section.RungCount = static_cast<int16_t>(objects + 1);
    }
    return count - compiled;
}

} // namespace frm_display
