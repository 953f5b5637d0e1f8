#pragma once
// The project file set: one text per file, written whole and read whole. Writers return the file's
// bytes; readers take them and fill the project's records, noting what they could not take.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/model_record.h"
#include "core/comm_state.h"
#include "core/designer_data.h"
#include "core/program_store.h"
#include "project/item_reader.h"
#include "project/load_report.h"
#include "core/project_data.h"

// Extensions in the order the save writes them after ".prj".
inline constexpr std::string_view SideFileExtensions[] = {".lst", ".wtc", ".ptb", ".dsp",
                                                          ".skd", ".fmt", ".str", ".blk"};

// How the set is read: the tagged layout of version "1.8", or the older counted one.
struct SetLayout {
    bool tagged = false;
    int32_t recordLength = 0; // counted layout: items per stored record, from the ".prj" header
    ItemMode mode() const { return tagged ? ItemMode::Lines : ItemMode::Items; }
};

// The version text a ".prj" starts with, read as the first item.
std::string programFileVersion(std::string_view data);

// ".prj": version, model code and the rungs of the section.
std::string writeProgramFile(const ProgramSection& section, std::string_view version,
                             std::string_view modelCode);
// Appends the stored rungs to section 0, which it makes current; onRung runs for each appended rung, made
// current. Sets layout.recordLength from a counted header.
void readProgramFile(std::string_view data, SetLayout& layout, ProgramStore& store,
                     const std::function<void(int16_t rung)>& onRung, LoadReport& report);

// ".lst": names and value types of registers 0 .. NumRegisters.
std::string writeRegisterFile(const std::array<RegisterRecord, RegisterCount>& regs,
                              const ModelRecord& model);
void readRegisterFile(std::string_view data, ItemMode mode, std::array<RegisterRecord, RegisterCount>& regs,
                      const ModelRecord& model, LoadReport& report);

// ".wtc": the watch list.
std::string writeWatchFile(const WatchList& watch);
void readWatchFile(std::string_view data, ItemMode mode, WatchList& watch, LoadReport& report);

// ".ptb": the lookup tables.
std::string writeTablesFile(const LookupTableArray& tables);
void readTablesFile(std::string_view data, ItemMode mode, LookupTableArray& tables, LoadReport& report);

// ".dsp": the display pages.
std::string writeDisplayFile(const DisplayPageArray& pages);
void readDisplayFile(std::string_view data, const SetLayout& layout, DisplayPageArray& pages,
                     LoadReport& report);

// ".skd": the scheduler and logger tasks.
std::string writeTaskFile(const TaskArray& tasks);
void readTaskFile(std::string_view data, const SetLayout& layout, TaskArray& tasks, LoadReport& report);

// ".img": the display images. It is not among the side files: a set saved without it loads with no
// images.
inline constexpr std::string_view ImageFileExtension = ".img";
std::string writeImageFile(const ImageTable& images);
void readImageFile(std::string_view data, ImageTable& images, LoadReport& report);

// ".fmt": the variables.
std::string writeVariableFile(const VariableTable& vars);
void readVariableFile(std::string_view data, ItemMode mode, VariableTable& vars, LoadReport& report);

// ".str": the strings in use by the model.
std::string writeStringFile(const StringTable& strings, const ModelRecord& model);
void readStringFile(std::string_view data, ItemMode mode, StringTable& strings, const ModelRecord& model,
                    LoadReport& report);

// ".blk": the text blocks in use by the model. A line that begins with one of the markers bounds a
// block, so no line of a block's text may begin with one.
inline constexpr std::string_view BlockOpenMarker = "<TEXT>";
inline constexpr std::string_view BlockCloseMarker = "</TEXT";
// The number (from 1) of the first line of the text that the file would read as a marker; 0 for none.
int blockMarkerLine(std::string_view text);
std::string writeBlockFile(const TextBlockTable& blocks, const ModelRecord& model);
void readBlockFile(std::string_view data, const SetLayout& layout, TextBlockTable& blocks,
                   const ModelRecord& model, LoadReport& report);
