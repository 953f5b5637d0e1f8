#pragma once
// One lookup table as items: its name, point count, inputs and outputs. The ".ptb" file holds one such
// group per table; the table file (".csv") holds exactly one.
#include <string>
#include <string_view>

#include "project/item_reader.h"
#include "project/item_writer.h"
#include "core/project_data.h"

void writeTableItems(ItemWriter& out, const LookupTable& table);
// Reads one table; points beyond MaxTablePoints are read past and dropped. Returns how many were dropped.
int readTableItems(ItemReader& in, LookupTable& table);

// The table file: 2 + 2n lines.
std::string writeTableFile(const LookupTable& table);

enum class TableFileResult { Ok, BadPointCount };
// Reads a table file into table. A point count outside 2..26 changes nothing.
TableFileResult readTableFile(std::string_view data, LookupTable& table);
