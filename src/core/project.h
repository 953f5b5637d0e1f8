#pragma once
// Everything a project holds, owned once by the application and passed by reference.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/designer_data.h"
#include "core/compiler_state.h"
#include "core/program_store.h"
#include "core/project_data.h"

constexpr int MemoryImageSize = 65536;

struct Project {
    ProgramStore Program;
    VariableTable Variables;
    StringTable Strings{};
    TextBlockTable Blocks{};
    LookupTableArray Tables;
    WatchList Watch{};
    DisplayPageArray Pages;
    TaskArray Tasks;
    ImageTable Images;

    int16_t ProjectModified = 0; // -1 when changed since the last save or load
    std::string ProjectPath = "Project"; // base of every file name of the set, no extension
    std::string CurrentFilePath;
    // Files of the set the last load could not take whole, as ".dsp, .skd": saving over them loses what
    // the load could not read, so the next save asks first.
    std::string DamagedFiles;

    // Compiler output: byte k goes to controller address ProgramBase + k.
    std::vector<uint8_t> ProgramImage = std::vector<uint8_t>(MemoryImageSize, 0);
    CompilerState Compiler; // counters and errors of the last compile
    // Controller memory by address, used to build side areas of downloads and exports.
    std::vector<uint8_t> MemoryImage = std::vector<uint8_t>(MemoryImageSize, 0);
};
