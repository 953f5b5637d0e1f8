#include "project/table_file.h"

#include <algorithm>

void writeTableItems(ItemWriter& out, const LookupTable& table) {
    int n = std::min<int>(table.PointCount, static_cast<int>(table.Inputs.size()));
    out.text(table.Name);
    out.number(n);
    for (int i = 0; i < n; ++i)
        out.tableValue(table.Inputs[static_cast<size_t>(i)]);
    for (int i = 0; i < n; ++i)
        out.tableValue(table.Outputs[static_cast<size_t>(i)]);
}

int readTableItems(ItemReader& in, LookupTable& table) {
    in.text(table.Name);
    uint8_t n = table.PointCount;
    in.byte(n);
    table.PointCount = std::min<uint8_t>(n, MaxTablePoints);
    double scratch = 0;
    for (int i = 0; i < n; ++i)
        in.dbl(i < MaxTablePoints ? table.Inputs[static_cast<size_t>(i)] : scratch);
    for (int i = 0; i < n; ++i)
        in.dbl(i < MaxTablePoints ? table.Outputs[static_cast<size_t>(i)] : scratch);
    return std::max(0, n - MaxTablePoints);
}

std::string writeTableFile(const LookupTable& table) {
    ItemWriter out;
    writeTableItems(out, table);
    return out.contents();
}

TableFileResult readTableFile(std::string_view data, LookupTable& table) {
    LookupTable read = table;
    read.PointCount = 0; // a missing or unreadable count is refused like a wrong one
    ItemReader in(data, ItemMode::Lines);
    if (readTableItems(in, read) > 0 || read.PointCount < 2) return TableFileResult::BadPointCount;
    table = read;
    return TableFileResult::Ok;
}
