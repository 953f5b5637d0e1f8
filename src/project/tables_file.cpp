// ".ptb": the lookup tables.
#include <algorithm>

#include "project/item_writer.h"
#include "project/project_files.h"
#include "project/table_file.h"

std::string writeTablesFile(const LookupTableArray& tables) {
    ItemWriter out;
    int count = std::min<int>(tables.Count, MaxLookupTables);
    out.number(count);
    for (int t = 0; t < count; ++t)
        writeTableItems(out, tables.Tables[static_cast<size_t>(t)]);
    return out.contents();
}

void readTablesFile(std::string_view data, ItemMode mode, LookupTableArray& tables, LoadReport& report) {
    ItemReader in(data, mode);
    uint8_t count = tables.Count;
    in.byte(count);
    report.noteDropped(".ptb", "table(s)", count - MaxLookupTables, MaxLookupTables);
    tables.Count = std::min<uint8_t>(count, MaxLookupTables);
    for (int t = 0; t < count; ++t) {
        LookupTable dropped; // tables beyond the array are read past: reported above
        int excess = readTableItems(in, t < tables.Count ? tables.Tables[static_cast<size_t>(t)] : dropped);
        if (excess > 0 && t < tables.Count)
            report.add(".ptb: table " + std::to_string(t) + " has " + std::to_string(excess) +
                       " point(s) beyond " + std::to_string(MaxTablePoints) + ", dropped");
    }
    report.noteItems(".ptb", in);
}
