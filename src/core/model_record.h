#pragma once
// One device model the program knows, and the catalogue of all of them.
#include <array>
#include <cstdint>
#include <string>

struct ModelRecord {
    std::string ModelCode; // four upper-case hex digits as the device reports them
    std::string ModelName;
    uint16_t NumRegisters = 0;
    uint16_t MaxVariables = 0;
    uint16_t MaxStrings = 0;
    uint16_t MaxBlocks = 0;
    uint16_t BlockSize = 0;
    uint32_t BlocksBase = 0;
    uint16_t MaxTasks = 0;
    uint16_t HighRegisterCount = 0;
    uint16_t HighRegisterStart = 0; // NumRegisters - HighRegisterCount
    uint16_t FirstUserRegister = 0;
    uint16_t VariablesBase = 0;
    uint8_t VariableRecordSize = 0;
    uint16_t ProgramBase = 0;
    uint16_t ProgramCapacity = 0;
    uint16_t ProgramEnd = 0;
    uint32_t StringsBase = 0;
    uint8_t LocalIoCount = 0;
    // Capability words: -1 true, 0 false, tested for non-zero.
    int16_t HasDisplay = 0;
    int16_t IsProgrammable = 0;
    int16_t HasRtc = 0;
    int16_t HasCsvLogger = 0;
    int16_t EditorFeatureA = 0;
    int16_t HasTrigger = 0;
    int16_t SchedulerFeatureA = 0;
    int16_t EditorFeatureB = 0;
    int16_t SchedulerFeatureB = 0;
    int16_t ProjectTextBlocks = 0;
};

constexpr int ModelRows = 51;
constexpr int DefaultModelIndex = 48;
using ModelCatalogue = std::array<ModelRecord, ModelRows>;

// The brand's model names that the catalogue rows take by a fixed entry.
constexpr int ModelNameCount = 41;
using ModelNameList = std::array<std::string, ModelNameCount>;
