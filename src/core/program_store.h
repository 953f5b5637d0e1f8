#pragma once
// The rung program as the engineer edits it: five sections of up to 256 rungs.
#include <array>
#include <cstdint>

#include "core/command_record.h"

constexpr int SectionCount = 5;
constexpr int MaxRungs = 256;

struct ProgramSection {
    int16_t RungCount = 0;
    std::array<CommandRecord, MaxRungs + 1> Rungs{}; // slot 0: clipboard and swap slot
    uint8_t ViewFormat = 0;
};

struct RungBuffer {
    int16_t RungNumber = 0;
    CommandRecord Record;
};

struct ProgramStore {
    std::array<ProgramSection, SectionCount> Sections{};
    int16_t CurrentSection = 0;
    int16_t CurrentRung = 0;
    int16_t CurrentRungCount = 0;
    int16_t SubroutineCount = 0;
    RungBuffer Buffer;

    ProgramSection& current() { return Sections[static_cast<size_t>(CurrentSection)]; }
    const ProgramSection& current() const { return Sections[static_cast<size_t>(CurrentSection)]; }
};
