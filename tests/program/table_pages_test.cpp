// Page numbers of the lookup tables.
#include <gtest/gtest.h>

#include <vector>

#include "program/table_pages.h"

namespace {
// Start pages of tables with the given point counts, and of the one table beyond the count (kept at 9).
std::vector<int> startPages(std::initializer_list<int> points, int count) {
    LookupTableArray a;
    a.Count = static_cast<uint8_t>(count);
    int t = 0;
    for (int p : points)
        a.Tables[static_cast<size_t>(t++)].PointCount = static_cast<uint8_t>(p);
    a.Tables[points.size()].StartPage = 9;
    AllocaTabelle(a);
    AllocaTabelle(a); // a second run gives the same pages
    std::vector<int> out;
    for (size_t i = 0; i <= points.size(); ++i)
        out.push_back(a.Tables[i].StartPage);
    return out;
}
} // namespace

TEST(AllocaTabelle, WorkedExamplesPageBoundariesAndTheArrayEnd) {
    EXPECT_EQ(startPages({5, 12}, 2), (std::vector<int>{-21, -22, 9}));
    EXPECT_EQ(startPages({8, 12}, 2), (std::vector<int>{-21, -23, 9}));
    EXPECT_EQ(startPages({26, 2}, 2), (std::vector<int>{-24, -27, 9}));
    EXPECT_EQ(startPages({9}, 1), (std::vector<int>{-22, 9}));
    EXPECT_EQ(startPages({0}, 1), (std::vector<int>{-20, 9})); // no points, no pages
    EXPECT_EQ(startPages({5}, 0), (std::vector<int>{0, 9}));   // no tables: nothing touched
    // A count beyond the array stops at the last table.
    LookupTableArray a;
    a.Count = 200;
    for (auto& t : a.Tables)
        t.PointCount = 26;
    AllocaTabelle(a);
    EXPECT_EQ(a.Tables[8].StartPage, -24 - 8 * 6); // 4 pages each, 2 above the previous start
}
