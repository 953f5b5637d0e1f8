#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "editor_fixture.h"
#include "fbeditor/catalogue.h"

namespace {

struct Cell {
    int Index, Row, Column;
    bool operator<(const Cell& o) const {
        return std::tie(Index, Row, Column) < std::tie(o.Index, o.Row, o.Column);
    }
    bool operator==(const Cell&) const = default;
};

} // namespace

// Every entry the tabs place is found again from the codes it writes to the rung.
TEST(Catalogue, PlacedEntriesRoundTripThroughTheirCodes) {
    int placed = 0;
    for (int tab = 1; tab <= TabCount; ++tab)
        for (const Placement& pl : tabPlacements(TabCaptions[static_cast<size_t>(tab - 1)])) {
            const CatalogueEntry& c = catalogueEntry(pl.Index);
            EXPECT_EQ(c.Tab, tab) << pl.Index;
            EXPECT_EQ(FunzToOpt(c.Type, c.Opcode, c.SubOp), pl.Index) << pl.Index;
            ++placed;
        }
    EXPECT_EQ(placed, 62);
}

TEST(Catalogue, PlaceholdersAndUnusedEntries) {
    const CatalogueEntry& e12 = catalogueEntry(12);
    EXPECT_EQ((std::array<int, 5>{e12.Tab, e12.Type, e12.Opcode, e12.SubOp, e12.Picture}),
              (std::array<int, 5>{5, 0, 0, 0, 0}));
    const CatalogueEntry& e17 = catalogueEntry(17);
    EXPECT_EQ((std::array<int, 5>{e17.Tab, e17.Type, e17.Opcode, e17.SubOp, e17.Picture}),
              (std::array<int, 5>{2, 0, 0, 0, 0}));
    for (int k : {69, 70, -1, 71}) {
        EXPECT_EQ(catalogueEntry(k).Tab, 0);
        EXPECT_EQ(catalogueEntry(k).Type, 0);
    }
    EXPECT_EQ(catalogueEntry(41).Tab, 10);
}

TEST(Catalogue, FunzToOptOddCases) {
    EXPECT_EQ(FunzToOpt(3, 1, 7), 8);
    EXPECT_EQ(FunzToOpt(3, 4, 0), 8);
    EXPECT_EQ(FunzToOpt(3, 3, 0), 0);
    EXPECT_EQ(FunzToOpt(3, 147, 1), 0);
    EXPECT_EQ(FunzToOpt(15, 0, 0), 64);
    EXPECT_EQ(FunzToOpt(5, 0, 0), 0);
    EXPECT_EQ(FunzToOpt(2, 0, 0), 0); // never the Read/Write entry 31
    EXPECT_EQ(FunzToOpt(1, 2, 0), 0);
    EXPECT_EQ(FunzToOpt(3, 133, 17), 0);
    EXPECT_EQ(FunzToOpt(3, 141, 8), 0);
    EXPECT_EQ(FunzToOpt(3, 1, 13), 0);
    EXPECT_EQ(FunzToOpt(3, 3, 254), 44);
    EXPECT_EQ(FunzToOpt(3, 138, 0), 41);
    EXPECT_EQ(FunzToOpt(4, 9, 9), 40);
}

class CatalogueLayout : public EditorTest {
  protected:
    std::vector<Cell> visible() {
        std::vector<Cell> cells;
        for (int k = 0; k < CatalogueSize; ++k) {
            const FunctionOption& o = editor.state.Options[static_cast<size_t>(k)];
            if (o.Visible) cells.push_back({k, o.Row, o.Column});
        }
        return cells;
    }
};

TEST_F(CatalogueLayout, FreshCommTabOnAnOrdinaryModel) {
    editor.load();
    EXPECT_EQ(editor.state.SelectedTab, 1);
    std::vector<Cell> expected = {{0, 0, 1}, {1, 1, 1}, {2, 3, 0}, {9, 3, 1}, {40, 0, 0}, {65, 1, 0}};
    EXPECT_EQ(visible(), expected);
    EXPECT_EQ(editor.state.Caption, "Functions");
    EXPECT_EQ(editor.state.OptionsFrame, "Options");
}

TEST_F(CatalogueLayout, CoilFunctionsOnlyForThe88D0Model) {
    model().ModelCode = "88D0";
    editor.load();
    auto cells = visible();
    for (Cell c : {Cell{60, 2, 0}, Cell{61, 2, 1}, Cell{62, 2, 2}})
        EXPECT_NE(std::find(cells.begin(), cells.end(), c), cells.end());
    model().ModelCode = "88d0";
    editor.tabClick(5);
    editor.tabClick(1);
    cells = visible();
    EXPECT_EQ(cells.size(), 6u);
}

TEST_F(CatalogueLayout, EachTabPlacesOnlyItsOwnEntries) {
    editor.load();
    editor.tabClick(5); // Math
    auto cells = visible();
    EXPECT_EQ(cells.size(), 14u);
    for (Cell c : cells)
        EXPECT_EQ(catalogueEntry(c.Index).Tab, 5);
    std::set<int> shown;
    for (int tab = 1; tab <= TabCount; ++tab) {
        editor.tabClick(tab);
        std::set<std::pair<int, int>> places; // no two entries share a button's place
        for (Cell c : visible()) {
            shown.insert(c.Index);
            EXPECT_TRUE(places.insert({c.Row, c.Column}).second) << "tab " << tab << " entry " << c.Index;
        }
    }
    for (int never : {6, 10, 12, 17, 31, 41, 44, 60, 61, 62, 63, 64})
        EXPECT_FALSE(shown.count(never)) << never;
    editor.tabClick(10); // no such tab: nothing changes
    EXPECT_EQ(editor.state.SelectedTab, TabCount);
}

TEST_F(CatalogueLayout, ChoosingAFunctionSelectsItsTab) {
    choose(55);
    EXPECT_EQ(editor.state.SelectedTab, 5);
    EXPECT_EQ(editor.state.Title, "PID");
    choose(41); // "Logger" does not exist: the tab stays
    EXPECT_EQ(editor.state.SelectedTab, 5);
    EXPECT_EQ(editor.state.Title, "Log Write");
}
