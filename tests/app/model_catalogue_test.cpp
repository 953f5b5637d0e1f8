#include <gtest/gtest.h>

#include <set>

#include "app/build_flags.h"
#include "app/language.h"
#include "app/model_catalogue.h"

namespace {
ModelCatalogue build(const BuildFlags& flags = ThisBuild) {
    ModelCatalogue c;
    ModelNameList names{};
    InitModelli(c, names, flags);
    return c;
}
} // namespace

TEST(ModelCatalogue, RowsHoldDistinctCodesAndSharedValues) {
    ModelCatalogue c = build();
    std::set<std::string> codes;
    for (int i = 0; i < FilledModelRows; ++i) {
        const ModelRecord& r = c[static_cast<size_t>(i)];
        codes.insert(r.ModelCode);
        EXPECT_EQ(r.ModelCode.size(), 4u) << i;
        EXPECT_EQ(r.HighRegisterStart, r.NumRegisters - r.HighRegisterCount) << i;
        EXPECT_EQ(r.BlockSize, 512) << i;
        EXPECT_EQ(r.BlocksBase, 45056u) << i;
        EXPECT_EQ(r.VariablesBase, 7680) << i;
        EXPECT_EQ(r.ProgramBase, 512) << i;
        EXPECT_EQ(r.ProgramCapacity, 5634) << i;
        EXPECT_EQ(r.ProgramEnd, 6146) << i;
        EXPECT_EQ(r.StringsBase, 35840u) << i;
        EXPECT_LE(r.NumRegisters, 2049) << i;
    }
    EXPECT_EQ(codes.size(), 49u);
    for (int i : {49, 50}) {
        EXPECT_TRUE(c[static_cast<size_t>(i)].ModelCode.empty());
        EXPECT_EQ(c[static_cast<size_t>(i)].NumRegisters, 0);
    }
}

TEST(ModelCatalogue, BuildFlagsChangeOnlyTheirRows) {
    ModelCatalogue plain = build();
    ModelCatalogue variant = build({.Brand1 = -1, .Variant = -1});
    ModelCatalogue internal = build({.Internal = -1, .Brand1 = -1});
    for (int i = 0; i < FilledModelRows; ++i) {
        const auto& p = plain[static_cast<size_t>(i)];
        const auto& v = variant[static_cast<size_t>(i)];
        const auto& n = internal[static_cast<size_t>(i)];
        bool variantRow = i == 32;
        EXPECT_EQ(p.ProgramCapacity != v.ProgramCapacity, variantRow) << i;
        bool internalRow = i == 34 || i == 36 || (i >= 38 && i <= 48);
        EXPECT_EQ(p.IsProgrammable != n.IsProgrammable, internalRow) << i;
        EXPECT_NE(n.IsProgrammable, 0) << i;
    }
    EXPECT_EQ(variant[32].HighRegisterCount, 128);
    EXPECT_EQ(variant[32].HighRegisterStart, 1152);
    EXPECT_EQ(variant[32].ProgramCapacity, 7664);
    EXPECT_EQ(variant[32].ProgramEnd, 23792);
}

TEST(ModelCatalogue, NamesFollowTheListExceptRow12) {
    ModelCatalogue c = build();
    for (int i = 0; i < FilledModelRows; ++i) {
        if (i == 12)
            EXPECT_EQ(c[12].ModelName, "JXV7950-MBTCP");
        else
            EXPECT_EQ(c[static_cast<size_t>(i)].ModelName, "") << i;
    }
    ShellState shell;
    CaricaRisorse(shell, 1);
    EXPECT_EQ(shell.Models[3].ModelName, "JXV8410-DL-IO"); // two rows share one name
    EXPECT_EQ(shell.Models[4].ModelName, "JXV8410-DL-IO");
    ShellState brand3;
    brand3.BrandOffset = DeriveBrandOffset({.Brand3 = -1});
    CaricaRisorse(brand3, 1);
    EXPECT_EQ(brand3.Models[0].ModelName, "LMX3");
    EXPECT_EQ(brand3.Models[9].ModelName, "---");
    EXPECT_EQ(brand3.Models[12].ModelName, "JXV7950-MBTCP");
    EXPECT_EQ(brand3.Models[48].NumRegisters, shell.Models[48].NumRegisters);
}

TEST(ModelCatalogue, LookupByCodeFindsTheFirstRowOrNone) {
    ModelCatalogue c = build();
    EXPECT_EQ(FindModelByCode(c, "8006"), 3);
    EXPECT_EQ(FindModelByCode(c, "8409"), 4);
    EXPECT_EQ(FindModelByCode(c, "9E23"), 48);
    EXPECT_EQ(FindModelByCode(c, "9e23"), std::nullopt);
    EXPECT_EQ(FindModelByCode(c, ""), std::nullopt); // the empty rows 49, 50 are never found
}

TEST(BuildFlags, BrandOffsetLastTrueFlagWins) {
    EXPECT_EQ(DeriveBrandOffset(ThisBuild), 0);
    EXPECT_EQ(DeriveBrandOffset({}), 0);
    EXPECT_EQ(DeriveBrandOffset({.Brand2 = -1}), 50);
    EXPECT_EQ(DeriveBrandOffset({.Brand2 = -1, .Variant = -1}), 0);
    EXPECT_EQ(DeriveBrandOffset({.Brand3 = -1}), 100);
    EXPECT_EQ(DeriveBrandOffset({.Brand3 = -1, .Brand4 = -1}), 150);
    static_assert(DeriveBrandOffset({.Brand1 = -1, .Brand3 = -1, .Brand4 = -1}) == 150);
}
