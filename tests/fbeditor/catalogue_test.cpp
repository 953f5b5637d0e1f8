#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "editor_fixture.h"
#include "fbeditor/catalogue.h"

namespace {

struct Placed {
    int Index, Tab;
    uint32_t Colour;
    int Type, Opcode, SubOp, Picture, Row, Column;
};

// Every entry the tabs place, as the catalogue lists it.
const Placed PlacedEntries[] = {
    {0, 1, 0x01FF00, 2, 0, 0, 1, 0, 1},      {1, 1, 0x01FF00, 1, 0, 0, 2, 1, 1},
    {2, 1, 0x01FF00, 2, 1, 0, 8, 3, 0},      {3, 5, 0x00FFFF, 3, 2, 0, 5, 1, 1},
    {4, 5, 0x00FFFF, 3, 1, 0, 17, 0, 0},     {5, 5, 0x00FFFF, 3, 1, 1, 18, 0, 1},
    {7, 2, 0x00FFFF, 3, 1, 4, 3, 0, 0},      {8, 5, 0x00FFFF, 3, 1, 7, 6, 1, 2},
    {9, 1, 0x01FF00, 1, 1, 0, 9, 3, 1},      {11, 7, 0xFFFF80, 3, 130, 0, 11, 0, 0},
    {13, 7, 0xFFFF80, 3, 129, 0, 12, 0, 1},  {14, 7, 0xFFFF80, 3, 131, 0, 13, 0, 2},
    {15, 7, 0xFFFF80, 3, 132, 0, 14, 1, 0},  {16, 8, 0xFF00FF, 3, 134, 0, 15, 0, 0},
    {18, 5, 0x00FFFF, 3, 1, 2, 21, 0, 2},    {19, 5, 0x00FFFF, 3, 1, 3, 22, 1, 0},
    {20, 6, 0x80C0FF, 3, 137, 0, 20, 2, 2},  {21, 3, 0xFFFF00, 3, 133, 0, 23, 1, 0},
    {22, 3, 0xFFFF00, 3, 133, 1, 24, 1, 1},  {23, 3, 0xFFFF00, 3, 133, 2, 25, 1, 2},
    {24, 3, 0xFFFF00, 3, 133, 3, 26, 2, 0},  {25, 4, 0xFFFF00, 3, 133, 4, 27, 0, 0},
    {26, 4, 0xFFFF00, 3, 133, 5, 28, 0, 1},  {27, 4, 0xFFFF00, 3, 133, 6, 29, 1, 0},
    {28, 4, 0xFFFF00, 3, 133, 7, 30, 1, 1},  {29, 5, 0x00FFFF, 3, 1, 5, 31, 2, 0},
    {30, 5, 0x00FFFF, 3, 1, 8, 32, 2, 1},    {32, 5, 0x00FFFF, 3, 1, 9, 34, 2, 2},
    {33, 3, 0xFFFF00, 3, 133, 8, 35, 0, 0},  {34, 3, 0xFFFF00, 3, 133, 9, 36, 0, 1},
    {35, 3, 0xFFFF00, 3, 133, 10, 37, 0, 2}, {36, 3, 0xFFFF00, 3, 133, 13, 38, 2, 1},
    {37, 3, 0xFFFF00, 3, 133, 14, 39, 2, 2}, {38, 5, 0x00FFFF, 3, 1, 10, 40, 3, 0},
    {39, 5, 0x00FFFF, 3, 1, 6, 41, 3, 1},    {40, 1, 0x01FF00, 4, 0, 0, 4, 0, 0},
    {42, 7, 0xFFFF80, 3, 139, 0, 44, 1, 1},  {43, 9, 0x0000FF, 3, 3, 253, 45, 0, 0},
    {45, 7, 0xFFFF80, 3, 140, 0, 47, 1, 2},  {46, 2, 0x00FFFF, 3, 6, 0, 48, 0, 1},
    {47, 6, 0x80C0FF, 3, 141, 0, 49, 0, 0},  {48, 6, 0x80C0FF, 3, 141, 1, 50, 0, 1},
    {49, 6, 0x80C0FF, 3, 141, 2, 51, 0, 2},  {50, 6, 0x80C0FF, 3, 141, 3, 52, 1, 0},
    {51, 6, 0x80C0FF, 3, 141, 4, 53, 1, 1},  {52, 6, 0x80C0FF, 3, 141, 5, 54, 1, 2},
    {53, 6, 0x80C0FF, 3, 141, 6, 55, 2, 0},  {54, 6, 0x80C0FF, 3, 141, 7, 56, 2, 1},
    {55, 5, 0x00FFFF, 3, 142, 0, 57, 3, 2},  {56, 3, 0xFFFF00, 3, 133, 11, 58, 3, 0},
    {57, 3, 0xFFFF00, 3, 133, 12, 59, 3, 1}, {58, 3, 0xFFFF00, 3, 133, 15, 60, 4, 0},
    {59, 3, 0xFFFF00, 3, 133, 16, 61, 4, 1}, {60, 1, 0x01FF00, 6, 0, 0, 62, 2, 0},
    {61, 1, 0x01FF00, 7, 0, 0, 63, 2, 1},    {62, 1, 0x01FF00, 8, 0, 0, 64, 2, 2},
    {63, 1, 0x01FF00, 14, 0, 0, 1, 4, 0},    {64, 1, 0x01FF00, 15, 0, 0, 2, 4, 1},
    {65, 1, 0x01FF00, 9, 0, 0, 65, 1, 0},    {66, 7, 0xFFFF80, 3, 147, 0, 66, 2, 0},
    {67, 5, 0x00FFFF, 3, 1, 11, 67, 4, 0},   {68, 5, 0x00FFFF, 3, 1, 12, 68, 4, 1},
};

struct Cell {
    int Index, Row, Column;
    bool operator<(const Cell& o) const {
        return std::tie(Index, Row, Column) < std::tie(o.Index, o.Row, o.Column);
    }
    bool operator==(const Cell&) const = default;
};

} // namespace

TEST(Catalogue, EveryPlacedEntryHasItsCodesAndPlace) {
    for (const Placed& p : PlacedEntries) {
        SCOPED_TRACE(p.Index);
        const CatalogueEntry& c = catalogueEntry(p.Index);
        EXPECT_EQ(c.Tab, p.Tab);
        EXPECT_EQ(c.Colour, p.Colour);
        EXPECT_EQ(c.Type, p.Type);
        EXPECT_EQ(c.Opcode, p.Opcode);
        EXPECT_EQ(c.SubOp, p.SubOp);
        EXPECT_EQ(c.Picture, p.Picture);
        bool found = false;
        for (const Placement& pl : tabPlacements(TabCaptions[static_cast<size_t>(p.Tab - 1)]))
            if (pl.Index == p.Index) {
                found = true;
                EXPECT_EQ(pl.Row, p.Row);
                EXPECT_EQ(pl.Column, p.Column);
            }
        EXPECT_TRUE(found);
        EXPECT_EQ(FunzToOpt(p.Type, p.Opcode, static_cast<uint8_t>(p.SubOp)), p.Index);
    }
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
    EXPECT_EQ(editor.state.Options[40].Caption, "Read Holding");
    EXPECT_EQ(editor.state.Options[40].Colour, 0x01FF00u);
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
        for (Cell c : visible())
            shown.insert(c.Index);
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
