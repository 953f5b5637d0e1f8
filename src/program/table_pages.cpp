#include "program/table_pages.h"

#include <algorithm>

namespace {

// Int() of the original arithmetic: the largest integer not above a / b (b > 0).
int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

} // namespace

void AllocaTabelle(LookupTableArray& tables) {
    int count = std::min<int>(tables.Count, MaxLookupTables);
    for (int t = 0; t < count; ++t) {
        LookupTable& table = tables.Tables[static_cast<size_t>(t)];
        int pages = floorDiv(table.PointCount - 1, 8) + 1;
        int top = -20;
        if (t > 0) {
            const LookupTable& prev = tables.Tables[static_cast<size_t>(t - 1)];
            top = prev.StartPage - prev.PointCount / 8 + 1;
        }
        table.StartPage = static_cast<int16_t>(top - pages);
    }
}
