#include <gtest/gtest.h>

#include <set>

#include "core/build_flags.h"
#include "editor_fixture.h"
#include "fbeditor/catalogue.h"

// Codes a stored rung may carry that no entry writes, or that several entries share.
TEST(Catalogue, FunzToOptOddCases) {
    // clang-format off
    const std::array<std::array<int, 4>, 14> cases{{
        {3, 1, 7, 8},    {3, 4, 0, 8},    {3, 3, 0, 0},   {3, 147, 1, 0}, {15, 0, 0, 64},   {5, 0, 0, 0},
        {2, 0, 0, 0}, // never the Read/Write entry 31
        {1, 2, 0, 0},    {3, 133, 17, 0}, {3, 141, 8, 0}, {3, 1, 13, 0},  {3, 3, 254, 44}, {3, 138, 0, 41},
        {4, 9, 9, 40}}};
    // clang-format on
    for (auto [type, opcode, subop, entry] : cases)
        EXPECT_EQ(FunzToOpt(type, opcode, static_cast<uint8_t>(subop)), entry)
            << type << " " << opcode << " " << subop;
}

using CatalogueLayout = EditorTest;

// Each tab places only its own entries, each in its own place; coil functions only for the 88D0 model.
TEST_F(CatalogueLayout, TabsPlaceTheirEntriesAndCoilFunctionsOnlyFor88D0) {
    for (const char* code : {"88D0", "88d0"}) {
        model().ModelCode = code;
        editor.load();
        const bool coils = std::string(code) == "88D0";
        for (int k : {60, 61, 62})
            EXPECT_EQ(editor.state.Options[static_cast<size_t>(k)].Visible, coils) << code << " " << k;
    }
    editor.load(); // the lower-case code gets no coil functions: the usual layout
    std::set<int> shown;
    for (int tab = 1; tab <= TabCount; ++tab) {
        editor.tabClick(tab);
        std::set<std::pair<int, int>> places;
        for (int k = 0; k < CatalogueSize; ++k) {
            const FunctionOption& o = editor.state.Options[static_cast<size_t>(k)];
            if (!o.Visible) continue;
            shown.insert(k);
            EXPECT_EQ(catalogueEntry(k).Tab, tab) << k;
            EXPECT_TRUE(places.insert({o.Row, o.Column}).second) << "tab " << tab << " entry " << k;
        }
    }
    // Every placed entry but the 88D0 model's coil ones and the internal edition's pointer ones.
    EXPECT_EQ(shown.size(), BuildInternal ? 59u : 57u);
    for (int outside : {-1, CatalogueSize})
        EXPECT_EQ(catalogueEntry(outside).Type, 0);
    // No such tab, as for "Log Write" whose "Logger" tab does not exist: nothing changes.
    editor.tabClick(TabCount + 1);
    EXPECT_EQ(editor.state.SelectedTab, TabCount);
}
