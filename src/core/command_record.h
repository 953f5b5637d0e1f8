#pragma once
// One rung of a program section, or one compiled block (display object, scheduler task).
#include <array>
#include <cstdint>
#include <string>

constexpr int ArgSlotCount = 9;

struct CommandRecord {
    std::string Description = "<...>"; // rung comment; "<...>" marks an empty rung, never holds ","
    std::string Label;                  // jump label, empty when none
    uint16_t FunctionType = 0;          // block kind, 0 = empty rung
    uint8_t SubOp = 0;
    uint16_t Opcode = 0;                                       // function-block number
    std::array<std::array<uint8_t, 4>, ArgSlotCount> ArgBytes{}; // encoded argument values
    std::array<std::string, ArgSlotCount> ArgTexts;             // arguments as the engineer typed them
    uint16_t Delay = 0;
    int16_t BreakFlag = 0;   // -1 breakpoint set
    int16_t EncodedFlag = 0; // -1 once the editor encoded the record
    uint16_t DataSize = 0;   // data bytes of the compiled block, opcode and zero byte included
    int16_t TriggerFlag = 0;
    uint16_t TriggerRegister = 0;
    uint16_t TriggerMask = 0;

    bool operator==(const CommandRecord&) const = default;
};

// Clears a rung to the empty rung: argument texts, slot 8 and the trigger fields are kept.
inline void clearRung(CommandRecord& r) {
    r.Description = "<...>";
    r.Label.clear();
    r.FunctionType = 0;
    r.SubOp = 0;
    r.Opcode = 0;
    r.Delay = 0;
    r.BreakFlag = 0;
    r.EncodedFlag = 0;
    r.DataSize = 0;
    for (int k = 0; k < 8; ++k) r.ArgBytes[k] = {};
}
