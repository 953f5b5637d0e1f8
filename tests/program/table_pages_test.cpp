// Page numbers of the lookup tables.
#include <gtest/gtest.h>

#include <vector>

#include "program/table_pages.h"

namespace {
std::vector<int> startPages(std::initializer_list<int> points) {
    LookupTableArray a;
    a.Count = static_cast<uint8_t>(points.size());
    int t = 0;
    for (int p : points) a.Tables[static_cast<size_t>(t++)].PointCount = static_cast<uint8_t>(p);
    AllocaTabelle(a);
    std::vector<int> out;
    for (int i = 0; i < a.Count; ++i) out.push_back(a.Tables[static_cast<size_t>(i)].StartPage);
    return out;
}
} // namespace

TEST(AllocaTabelle, WorkedExamplesAndPageBoundaries) {
    EXPECT_EQ(startPages({5, 12}), (std::vector<int>{-21, -22}));
    EXPECT_EQ(startPages({8, 12}), (std::vector<int>{-21, -23}));
    EXPECT_EQ(startPages({26, 2}), (std::vector<int>{-24, -27}));
    EXPECT_EQ(startPages({9}), (std::vector<int>{-22}));
    EXPECT_EQ(startPages({0}), (std::vector<int>{-20})); // no points, no pages
}

TEST(AllocaTabelle, NoTablesAndTablesBeyondTheCountAreUntouched) {
    LookupTableArray a;
    a.Tables[0].StartPage = 7;
    AllocaTabelle(a);
    EXPECT_EQ(a.Tables[0].StartPage, 7);
    a.Count = 1;
    a.Tables[0].PointCount = 5;
    a.Tables[1].StartPage = 9;
    AllocaTabelle(a);
    AllocaTabelle(a);
    EXPECT_EQ(a.Tables[0].StartPage, -21);
    EXPECT_EQ(a.Tables[1].StartPage, 9);
}

TEST(AllocaTabelle, CountBeyondTheArrayStopsAtTheLastTable) {
    LookupTableArray a;
    a.Count = 200;
    for (auto& t : a.Tables) t.PointCount = 26;
    AllocaTabelle(a);
    EXPECT_EQ(a.Tables[8].StartPage, -24 - 8 * 6); // 4 pages each, 2 above the previous start
}
